#include "shell/ui/frmMain.h"
#include "desktop/scanner_probe.h"
#include "desktop/ui/scan_commands.h"
#include "documents/ui/canvas_view.h"
#include "documents/ui/frmDocument.h"
#include "documents/ui/recovery_keeper.h"
#include "effects/ui/effect_run.h"
#include "plugins/ui/plugin_run.h"
#include "orvane_version.h"
#include "shell/file_names.h"
#include "shell/frame_placement.h"
#include "shell/settings_store.h"
#include "shell/ui/color_panel.h"
#include "shell/ui/effects_toolbar.h"
#include "shell/ui/file_drop.h"
#include "shell/ui/frmMainPreferences.h"
#include "shell/ui/frmAbout.h"
#include "shell/ui/frmSplash.h"
#include "shell/ui/main_toolbar.h"
#include "shell/ui/tool_icons.h"
#include "shell/ui/window_bar.h"
#include "tools/tool.h"
#include <QActionGroup>
#include <QCloseEvent>
#include <QCursor>
#include <QDockWidget>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

namespace orv {

namespace {

frmMain* gMain = nullptr;
const QString kSettings = QStringLiteral("Settings");

// Positions of the main toolbar buttons that act on the active document.
constexpr int kDocumentButtons[] = {3, 5, 7, 8, 10};

} // namespace

frmMain::frmMain()
{
    gMain = this;
    ApplyPreferences();
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(kAppTitle);
    LoadProgramResources();
    setWindowIcon(QIcon(QStringLiteral(":/orvane-logo.png")));
    setAcceptDrops(true);
    new FileDrop(this);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    windowBar_ = new WindowBar(central);
    mdi_ = new QMdiArea(central);
    mdi_->setObjectName(QStringLiteral("MDIClient"));
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // Closing a document activates the one used before it, not the oldest.
    mdi_->setActivationOrder(QMdiArea::ActivationHistoryOrder);
    mdi_->viewport()->installEventFilter(this);
    layout->addWidget(mdi_, 1);
    setCentralWidget(central);
    connect(mdi_, &QMdiArea::subWindowActivated, this, &frmMain::subWindowActivated);
    connect(windowBar_, &WindowBar::bringToFront, this, [this](frmDocument* doc) {
        if (QMdiSubWindow* sw = doc->subWindow()) {
            sw->raise();
            mdi_->setActiveSubWindow(sw);
        }
    });
    connect(windowBar_, &WindowBar::switchDocument, this, [this](frmDocument* doc, bool on) {
        doc->setSwitchedOn(on);
        // Commands go to a shown document: a hidden one hands over to the next shown one.
        if (on) {
            mdi_->setActiveSubWindow(doc->subWindow());
        } else if (ActiveDocument() == doc) {
            mdi_->activateNextSubWindow();
            if (ActiveDocument() == doc) mdi_->setActiveSubWindow(nullptr);
        }
    });

    buildMenus();
    buildToolbars();
    buildStatusBar();
    recovery_ = new RecoveryKeeper(this);
}

frmMain::~frmMain()
{
    if (gMain == this) gMain = nullptr;
}

frmMain* frmMain::instance()
{
    return gMain;
}

void frmMain::buildMenus()
{
    QMenu* file = new QMenu(QStringLiteral("&File"), this);
    QAction* fileNew = file->addAction(QStringLiteral("New"), QKeySequence(Qt::CTRL | Qt::Key_N), this,
                                       &frmMain::mnuFileNew_Click);
    fileNew->setObjectName(QStringLiteral("mnuFileNew"));
    QAction* open = file->addAction(QStringLiteral("Open"), QKeySequence(Qt::CTRL | Qt::Key_O), this,
                                    &frmMain::mnuFileOpen_Click);
    open->setObjectName(QStringLiteral("mnuFileOpen"));
    file->addAction(QStringLiteral("Open URL..."), this, &frmMain::mnuOpenURL_Click)
        ->setObjectName(QStringLiteral("mnuOpenURL"));
    QMenu* scan = file->addMenu(QStringLiteral("Scan"));
    scan->setObjectName(QStringLiteral("mnuFileScan"));
    scan->addAction(QStringLiteral("Scan..."), this, [this] { ScanToNewDocument(this, this); });
    scan->addAction(QStringLiteral("Select source..."), this, [this] { SelectScanSource(this); });
    scan->menuAction()->setEnabled(false);
    WhenScannersKnown(this, [scan](const QList<ScanDevice>& devices) {
        scan->menuAction()->setEnabled(!devices.isEmpty());
    });
    file->addSeparator();
    file->addAction(QStringLiteral("Exit"), this, &frmMain::mnuFileExit_Click)
        ->setObjectName(QStringLiteral("mnuFileExit"));

    QMenu* view = new QMenu(QStringLiteral("View"), this);
    mnuViewWindows = view->addAction(QStringLiteral("Windows"), this, &frmMain::mnuViewWindows_Click);
    mnuViewWindows->setObjectName(QStringLiteral("mnuViewWindows"));
    mnuViewWindows->setCheckable(true);
    mnuViewWindows->setChecked(true);
    view->addAction(QStringLiteral("Preferences..."), this, &frmMain::mnuViewPreferences_Click)
        ->setObjectName(QStringLiteral("mnuViewPreferences"));

    QMenu* help = new QMenu(QStringLiteral("Help"), this);
    help->addAction(QStringLiteral("About Orvane 3.0..."), this, &frmMain::mnuHelpAbout_Click)
        ->setObjectName(QStringLiteral("mnuHelpAbout"));
    help->addAction(QStringLiteral("Check for update"), this, &frmMain::mnuHelpCheckForUpdate_Click)
        ->setObjectName(QStringLiteral("mnuHelpCheckForUpdate"));

    frameMenus_ = {file, view, help};
    showMenusOf(nullptr);
}

void frmMain::buildToolbars()
{
    topPanel_ = new MainToolbar(windowBar_, mnuViewWindows, this);
    connect(topPanel_, &MainToolbar::buttonClicked, this, &frmMain::Toolbar1_ButtonClick);
    static_cast<QVBoxLayout*>(centralWidget()->layout())->insertWidget(0, topPanel_);
    for (int p : kDocumentButtons) toolbarButton(p)->setEnabled(false);

    Toolbar2 = new QToolBar(QStringLiteral("Tools"), this);
    Toolbar2->setObjectName(QStringLiteral("Toolbar2"));
    addToolBar(Qt::LeftToolBarArea, Toolbar2);
    auto* toolGroup = new QActionGroup(Toolbar2);
    toolGroup->setExclusive(true);
    for (int i = 1; i <= 13; ++i) {
        const ToolButtonInfo& info = kToolButtons[i - 1];
        QAction* a = Toolbar2->addAction(ToolIcon(i), QString::fromLatin1(info.tip));
        a->setObjectName(QString::fromLatin1(info.key));
        a->setCheckable(true);
        a->setChecked(i == 1);   // before the panel exists: nothing to follow yet
        toolGroup->addAction(a);
        // The tool follows its button however it comes to be pressed: a click, the keyboard,
        // or an accessibility client's press or toggle.
        connect(a, &QAction::toggled, this, [this, i](bool on) {
            if (on && !showingTool_) Toolbar2_ButtonClick(i);
        });
        toolButtons_.append(a);
    }
    Toolbar2->hide();
    tblEffects = new EffectsToolbar(mdi_, toolButton(12), this);
    static_cast<QVBoxLayout*>(centralWidget()->layout())->insertWidget(1, tblEffects);

    auto* colors = new QDockWidget(QStringLiteral("Colors"), this);
    colors->setObjectName(QStringLiteral("ColorsDock"));
    colors->setFeatures(QDockWidget::NoDockWidgetFeatures);
    colors->setTitleBarWidget(new QWidget(colors));
    Picture1 = colors;
    colors_ = new ColorPanel([this]() -> Canvas* {
        frmDocument* doc = ActiveDocument();
        return doc ? &doc->canvas() : nullptr;
    }, colors);
    // The panel scrolls when the frame is too low to show all of it.
    auto* scroller = new QScrollArea(colors);
    scroller->setWidget(colors_);
    scroller->setWidgetResizable(true);
    scroller->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setMinimumWidth(colors_->sizeHint().width() + scroller->verticalScrollBar()->sizeHint().width());
    colors->setWidget(scroller);
    addDockWidget(Qt::RightDockWidgetArea, colors);
    colors->hide();

    auto* options = new QDockWidget(QStringLiteral("Options"), this);
    options->setObjectName(QStringLiteral("Options"));
    options->setFeatures(QDockWidget::NoDockWidgetFeatures);
    options->setWidget(colors_->sliderPanel());
    addDockWidget(Qt::RightDockWidgetArea, options);
    Options = options;
    options->hide();
    connect(colors_, &ColorPanel::swatchDoubleClicked, this, [this] { Options->setVisible(!Options->isVisible()); });
}

void frmMain::buildStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(true);
    const int widths[] = {140, 110, 110, 0, 70};   // ..., colour read-out, zoom
    for (int w : widths) {
        auto* label = new QLabel(bar);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        if (w) label->setMinimumWidth(w);
        bar->addWidget(label, w ? 0 : 1);
        panels_.append(label);
    }
}

QAction* frmMain::toolButton(int index) const
{
    return index >= 1 && index <= toolButtons_.size() ? toolButtons_[index - 1] : nullptr;
}

void frmMain::Toolbar2_ButtonClick(int index)
{
    if (frmDocument* doc = ActiveDocument()) {
        doc->ToolIndex = int16_t(index - 1);
        const char* toolName = kToolButtons[index - 1].toolName;
        if (*toolName) doc->ToolName = QString::fromLatin1(toolName);
        doc->DrawIMG->setToolPointer(ToolPointer(doc->ToolName));
    }
    colors_->showOptions(index - 1);   // the effects and polygon buttons have no panel
}

void frmMain::showTool(int toolIndex)
{
    colors_->showOptions(toolIndex);
    showingTool_ = true;   // showing the document's own tool changes nothing of it
    if (QAction* button = toolButton(toolIndex + 1)) button->setChecked(true);
    showingTool_ = false;
}

QAction* frmMain::toolbarButton(int position) const
{
    return topPanel_->button(position);
}

QToolBar* frmMain::mainToolbar() const
{
    return topPanel_->Toolbar1;
}

void frmMain::setStatusPanel(int panel, const QString& text)
{
    if (panel >= 1 && panel <= panels_.size()) panels_[panel - 1]->setText(text);
}

QString frmMain::statusPanel(int panel) const
{
    return panel >= 1 && panel <= panels_.size() ? panels_[panel - 1]->text() : QString();
}

void frmMain::MDIForm_Load(const QString& commandLine)
{
    QList<QRect> screens;
    for (QScreen* s : QGuiApplication::screens()) screens.append(s->availableGeometry());
    const FramePlacement placement = ReadFramePlacement(screens);
    if (placement.state != kStateMinimized) {
        const QRect& t = placement.twips;
        move(TwipsToPixels(t.x()), TwipsToPixels(t.y()));
        resize(TwipsToPixels(t.width()), TwipsToPixels(t.height()));
    }

    const bool toolbarIn = GetSettingBool(kAppTitle, kSettings, QStringLiteral("ToolBar"), true);
    topPanel_->placeToolbar(toolbarIn);
    setStatusPanel(1, QStringLiteral("Orvane " ORVANE_VERSION_TEXT));
    // Without plug-ins (a preference) no library is loaded: the way out of one that breaks the start.
    const bool plugIns = PlugInsAtStart();
    if (plugIns && GetSettingBool(kAppTitle, kSettings, QStringLiteral("LoadPlugIns"), false)) RgstrPlgns();
    const QString layout = GetSetting(kAppTitle, kSettings, QStringLiteral("MainToolBar"), QString());
    if (!layout.isEmpty()) restoreState(QByteArray::fromBase64(layout.toLatin1()));
    windowBar_->reset();
    if (plugIns) RgstrPlgns();

    CheckCommand(commandLine);
    if (commandLine.isEmpty()) LoadNewDoc();
    loaded_ = true;
    switch (placement.state) {
    case kStateMinimized: showMinimized(); break;
    case kStateMaximized: showMaximized(); break;
    default: showNormal(); break;
    }
    // The workspace places and fits the windows made before it was shown only now, at its
    // first size.
    // A new empty picture keeps its window and 1:1.
    for (frmDocument* d : documents()) {
        if (d->filePath().isEmpty()) {
            keepInWorkspace(d->subWindow());
        } else {
            FitWindowToPicture(d);
            fitAtStart_.append({d, d->DrawIMG->zoomStep()});
        }
    }
    QTimer::singleShot(0, this, &frmMain::OfferLeftCopies);
}

void frmMain::CheckCommand(const QString& commandLine)
{
    if (!commandLine.isEmpty()) OpenFile(GetLongFileName(commandLine));
}

frmDocument* frmMain::LoadNewDoc()
{
    ++NewDocCount;
    auto* doc = new frmDocument(this);
    recovery_->watch(doc);
    doc->setWindowTitle(QStringLiteral("Image") + QString::number(NewDocCount));
    QMdiSubWindow* sw = mdi_->addSubWindow(doc);
    sw->setWindowIcon(windowIcon());
    sw->adjustSize();
    sw->show();
    keepInWorkspace(sw);
    mdi_->setActiveSubWindow(sw);
    subWindowActivated(sw);
    return doc;
}

void frmMain::keepInWorkspace(QMdiSubWindow* sw)
{
    // The workspace puts a window larger than its visible part so that the window's right or
    // bottom edge shows, its caption and top-left corner out of sight. Every new window starts
    // with its caption and top-left corner in view; one larger than the view reaches out to the
    // right and down, where the workspace's scroll bars lead.
    if (sw->isMaximized() || sw->isMinimized()) return;
    const QSize view = mdi_->viewport()->size();
    const int x = std::clamp(sw->x(), 0, std::max(0, view.width() - sw->width()));
    const int y = std::clamp(sw->y(), 0, std::max(0, view.height() - sw->height()));
    if (QPoint(x, y) != sw->pos()) sw->move(x, y);
}

frmDocument* frmMain::ActiveDocument() const
{
    QMdiSubWindow* sw = mdi_->currentSubWindow();
    return sw ? qobject_cast<frmDocument*>(sw->widget()) : nullptr;
}

QList<frmDocument*> frmMain::documents() const
{
    QList<frmDocument*> docs;
    for (QMdiSubWindow* sw : mdi_->subWindowList())
        if (auto* d = qobject_cast<frmDocument*>(sw->widget())) docs.append(d);
    return docs;
}

int frmMain::documentCount() const
{
    return static_cast<int>(documents().size());
}

void frmMain::subWindowActivated(QMdiSubWindow* window)
{
    if (!window) {
        if (mdi_->subWindowList().isEmpty()) {
            lastActivated_ = nullptr;
            showMenusOf(nullptr);
        }
        return;
    }
    if (window == lastActivated_) return;
    lastActivated_ = window;
    if (auto* doc = qobject_cast<frmDocument*>(window->widget())) {
        showMenusOf(doc);
        doc->Form_Activate();
    }
}

void frmMain::showMenusOf(frmDocument* doc)
{
    QMenuBar* bar = menuBar();
    bar->clear();
    for (QMenu* m : doc ? doc->menus() : frameMenus_) bar->addMenu(m);
}

void frmMain::documentLoaded()
{
    for (int p : kDocumentButtons) toolbarButton(p)->setEnabled(true);
    Toolbar2->show();
    Picture1->show();
}

void frmMain::lastDocumentClosed()
{
    for (int p : kDocumentButtons) toolbarButton(p)->setEnabled(false);
    Toolbar2->hide();
    Picture1->hide();
    Options->hide();
    lastActivated_ = nullptr;
    showMenusOf(nullptr);
    setStatusPanel(2, QString());
    setStatusPanel(3, QString());
    setStatusPanel(4, QString());   // the colour read-out of a picture no longer open
    setStatusPanel(5, QString());
}

void frmMain::AddFormToBar(frmDocument* form)
{
    windowBar_->AddFormToBar(form);
}

void frmMain::RemoveFormFromBar(frmDocument* form)
{
    windowBar_->RemoveFormFromBar(form);
}

bool frmMain::windowBarChecked() const
{
    return mnuViewWindows->isChecked();
}

void frmMain::mnuViewWindows_Click()
{
    // Called from the frame's menu (already toggled) or a document's (toggle here).
    if (sender() != mnuViewWindows) mnuViewWindows->setChecked(!mnuViewWindows->isChecked());
    windowBar_->slideShown(mnuViewWindows->isChecked());
    SaveSetting(kAppTitle, kSettings, QStringLiteral("ShowWindows"), SettingText(mnuViewWindows->isChecked()));
}

void frmMain::mnuViewPreferences_Click()
{
    frmMainPreferences preferences(this);
    if (preferences.exec() == QDialog::Accepted) recovery_->readSettings();
}

void frmMain::mnuFileNew_Click()
{
    LoadNewDoc();
}

void frmMain::mnuFileExit_Click()
{
    close();
}

void frmMain::mnuHelpAbout_Click()
{
    frmAbout about(this);
    about.exec();
}

void frmMain::Toolbar1_ButtonClick(int position)
{
    frmDocument* doc = ActiveDocument();
    switch (position) {
    case 1: LoadNewDoc(); break;
    case 2: mnuFileOpen_Click(); break;
    case 3:
        if (doc) doc->mnuFileSaveAs_Click();
        break;
    case 5:
        if (doc) doc->menuAction(QStringLiteral("mnuFilePrint"))->trigger();
        break;
    case 7:
        if (doc) doc->menus()[2]->popup(QCursor::pos());
        break;
    case 8:
        if (doc) doc->mnuViewTools_Click();
        break;
    case 10:
        if (doc && doc->subWindow()) doc->subWindow()->close();
        break;
    default: break;
    }
}

void frmMain::fillWindowMenu(QMenu* menu)
{
    menu->addAction(QStringLiteral("Cascade"), mdi_, &QMdiArea::cascadeSubWindows);
    menu->addAction(QStringLiteral("Tile Horizontal"), this, [this] { tile(Qt::Horizontal); });
    menu->addAction(QStringLiteral("Tile Vertical"), this, [this] { tile(Qt::Vertical); });
    menu->addAction(QStringLiteral("Arrange Icons"), this, &frmMain::arrangeIcons);
    QAction* listStart = menu->addSeparator();
    // The list of open documents is built each time the menu opens.
    connect(menu, &QMenu::aboutToShow, this, [this, menu, listStart] {
        const QList<QAction*> all = menu->actions();
        for (qsizetype i = all.indexOf(listStart) + 1; i < all.size(); ++i) {
            menu->removeAction(all[i]);
            all[i]->deleteLater();
        }
        int n = 0;
        for (QMdiSubWindow* sw : mdi_->subWindowList()) {
            QAction* a = menu->addAction(QStringLiteral("&%1 %2").arg(++n).arg(ShownAsIs(sw->windowTitle())));
            a->setCheckable(true);
            a->setChecked(sw == mdi_->currentSubWindow());
            connect(a, &QAction::triggered, this, [this, sw] { mdi_->setActiveSubWindow(sw); });
        }
    });
}

void frmMain::tile(Qt::Orientation orientation)
{
    // Horizontal: full-width windows stacked top to bottom; vertical: side by side.
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* sw : mdi_->subWindowList())
        if (sw->isVisible() && !sw->isMinimized()) windows.append(sw);
    if (windows.isEmpty()) return;
    const QRect area = mdi_->viewport()->rect();
    const int n = static_cast<int>(windows.size());
    for (int i = 0; i < n; ++i) {
        windows[i]->showNormal();
        if (orientation == Qt::Horizontal) {
            const int h = area.height() / n;
            windows[i]->setGeometry(0, i * h, area.width(), h);
        } else {
            const int w = area.width() / n;
            windows[i]->setGeometry(i * w, 0, w, area.height());
        }
    }
}

void frmMain::arrangeIcons()
{
    // Minimised windows in a row along the bottom of the frame.
    int x = 0;
    const int bottom = mdi_->viewport()->height();
    for (QMdiSubWindow* sw : mdi_->subWindowList()) {
        if (!sw->isMinimized()) continue;
        sw->move(x, bottom - sw->height());
        x += sw->width();
    }
}

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == mdi_->viewport() && event->type() == QEvent::Resize) {
        for (auto it = fitAtStart_.begin(); it != fitAtStart_.end();) {
            frmDocument* d = it->first;
            if (!d || d->Changed || d->DrawIMG->zoomStep() != it->second) {
                it = fitAtStart_.erase(it);
                continue;
            }
            FitWindowToPicture(d);
            it->second = d->DrawIMG->zoomStep();
            ++it;
        }
    }
    if (watched == mdi_->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        mnuFileNew_Click();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::closeEvent(QCloseEvent* event)
{
    event->ignore();
    // The window manager's close button works while an effect runs and the frame is disabled:
    // the run is cancelled first, and the exit goes on with its questions once it has ended.
    if (EffectRunning()) {
        CancelEffectRunThen([frame = QPointer<frmMain>(this)] {
            if (frame) frame->close();
        });
        return;
    }
    // A plug-in's helper works for a document: it is ended first, then the exit asks its
    // questions as usual.
    if (PlugInRunning()) {
        StopPlugInRunThen([frame = QPointer<frmMain>(this)] {
            if (frame) frame->close();
        });
        return;
    }
    // Every changed document answers its save question before any closes, so that a Cancel at
    // any of them stops the exit with every document still open.
    const QList<frmDocument*> docs = documents();
    for (frmDocument* doc : docs)
        if (!doc->AskToSave()) return;
    for (frmDocument* doc : docs) doc->closeAnswered();
    MDIForm_Unload();
    event->accept();
}

void frmMain::MDIForm_Unload()
{
    const int state = isMinimized() ? kStateMinimized : (isMaximized() ? kStateMaximized : kStateNormal);
    const QRect twips(PixelsToTwips(x()), PixelsToTwips(y()), PixelsToTwips(width()), PixelsToTwips(height()));
    SaveFramePlacement(state, twips);
    const QString layout = QString::fromLatin1(saveState().toBase64());
    SaveSetting(kAppTitle, kSettings, QStringLiteral("MainToolBar"), layout);
    SaveSetting(kAppTitle, kSettings, QStringLiteral("ToolsToolBar"), layout);
}

} // namespace orv
