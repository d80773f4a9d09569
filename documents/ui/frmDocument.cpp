#include "documents/ui/frmDocument.h"
#include "desktop/scanner_probe.h"
#include "documents/clipboard_picture.h"
#include "documents/ui/canvas_view.h"
#include "effects/ui/effect_menu.h"
#include "effects/ui/effect_run.h"
#include "plugins/ui/plugin_run.h"
#include "platform/recent_files.h"
#include "plugins/ui/plugin_menu.h"
#include "shell/file_names.h"
#include "shell/settings_store.h"
#include "shell/ui/color_panel.h"
#include "shell/ui/frmMain.h"
#include "tools/draw_tools.h"
#include <QClipboard>
#include <QCloseEvent>
#include <QFileInfo>
#include <QPainter>
#include <QGuiApplication>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QScrollBar>
#include <QStyle>
#include <QToolBar>

namespace orv {

namespace {

constexpr int kHandleTwips = 135;   // 9 x 9 pixels
constexpr int kHandleGap = 150;
constexpr int kHome = 100;
constexpr int kLoadMargin = 200;
constexpr int kViewportInset = 24;

QWidget* MakeHandle(QWidget* parent, const char* name, Qt::CursorShape cursor)
{
    auto* h = new QWidget(parent);
    h->setObjectName(QString::fromLatin1(name));
    h->setFixedSize(9, 9);
    h->setAutoFillBackground(true);
    h->setStyleSheet(QStringLiteral("background: #1f4e8c; border: 1px solid white;"));
    h->setAttribute(Qt::WA_StyledBackground);
    h->setCursor(cursor);
    return h;
}

} // namespace

frmDocument::frmDocument(frmMain* main) : main_(main)
{
    setObjectName(QStringLiteral("frmDocument"));
    setAcceptDrops(true);
    Picture4 = new QWidget(this);
    Picture4->setObjectName(QStringLiteral("Picture4"));
    Picture4->setAutoFillBackground(true);
    Picture4->setPalette(QPalette(QColor(128, 128, 128)));
    DrawIMG = new CanvasView(Picture4);
    history_ = std::make_unique<UndoHistory>(DrawIMG->canvas());
    Picture1 = MakeHandle(Picture4, "Picture1", Qt::SizeHorCursor);
    Picture2 = MakeHandle(Picture4, "Picture2", Qt::SizeFDiagCursor);
    Picture3 = MakeHandle(Picture4, "Picture3", Qt::SizeVerCursor);
    HScroll1 = new QScrollBar(Qt::Horizontal, this);
    HScroll1->setObjectName(QStringLiteral("HScroll1"));
    VScroll1 = new QScrollBar(Qt::Vertical, this);
    VScroll1->setObjectName(QStringLiteral("VScroll1"));
    // A scroll bar never keeps the keyboard focus: it belongs to the canvas.
    HScroll1->setFocusPolicy(Qt::NoFocus);
    VScroll1->setFocusPolicy(Qt::NoFocus);
    connect(HScroll1, &QScrollBar::valueChanged, this, &frmDocument::HScroll1_Change);
    connect(VScroll1, &QScrollBar::valueChanged, this, &frmDocument::VScroll1_Change);
    connect(DrawIMG, &CanvasView::resized, this, &frmDocument::DrawIMG_Resize);
    connect(DrawIMG, &CanvasView::pixelsChanged, this, &frmDocument::changeNoted);
    connect(DrawIMG, &CanvasView::resized, this, &frmDocument::changeNoted);
    setupTools();
    buildMenus();
    ConnectEffectMenus(this);
    resize(480, 360);
    Form_Load();
}

Canvas& frmDocument::canvas()
{
    return DrawIMG->canvas();
}

QMdiSubWindow* frmDocument::subWindow() const
{
    return qobject_cast<QMdiSubWindow*>(parentWidget());
}

QAction* frmDocument::menuAction(const QString& controlName) const
{
    for (QMenu* m : menus_)
        for (QAction* a : m->findChildren<QAction*>(controlName)) return a;
    return nullptr;
}

void frmDocument::buildMenus()
{
    auto menu = [this](const QString& caption, const QString& name) {
        auto* m = new QMenu(caption, this);
        m->setObjectName(name);
        menus_.append(m);
        return m;
    };
    // An entry: its control name, caption, shortcut and whether its command is available.
    auto item = [](QMenu* m, const char* name, const QString& caption, bool enabled,
                   QKeySequence shortcut = {}) {
        QAction* a = new QAction(caption, m);
        a->setObjectName(QString::fromLatin1(name));
        a->setShortcut(shortcut);
        a->setEnabled(enabled);
        m->addAction(a);
        return a;
    };
    auto sub = [](QMenu* parent, const char* name, const QString& caption) {
        QMenu* m = parent->addMenu(caption);
        m->setObjectName(QString::fromLatin1(name));
        return m;
    };

    QMenu* file = menu(QStringLiteral("&File"), QStringLiteral("mnuFile"));
    connect(item(file, "mnuFileNew", QStringLiteral("New"), true, QKeySequence(Qt::CTRL | Qt::Key_N)),
            &QAction::triggered, main_, &frmMain::mnuFileNew_Click);
    connect(item(file, "mnuFileOpen", QStringLiteral("Open"), true, QKeySequence(Qt::CTRL | Qt::Key_O)),
            &QAction::triggered, main_, &frmMain::mnuFileOpen_Click);
    connect(item(file, "mnuOpenURL", QStringLiteral("Open URL..."), true), &QAction::triggered, main_,
            &frmMain::mnuOpenURL_Click);
    file->addSeparator();
    connect(item(file, "mnuFileClose", QStringLiteral("Close"), true), &QAction::triggered, this,
            [this] { if (subWindow()) subWindow()->close(); else close(); });
    file->addSeparator();
    connect(item(file, "mnuFileSave", QStringLiteral("Save"), true, QKeySequence(Qt::CTRL | Qt::Key_S)),
            &QAction::triggered, this, &frmDocument::mnuFileSave_Click);
    connect(item(file, "mnuFileSaveAs", QStringLiteral("Save As..."), true), &QAction::triggered, this,
            &frmDocument::mnuFileSaveAs_Click);
    connect(item(file, "mnuFileSaveAll", QStringLiteral("Save All"), true), &QAction::triggered, main_,
            &frmMain::mnuFileSaveAll_Click);
    file->addSeparator();
    QMenu* scan = sub(file, "mnuFileScan", QStringLiteral("Scan"));
    connect(item(scan, "mnuFileScanScan", QStringLiteral("Scan..."), true), &QAction::triggered, this,
            &frmDocument::mnuFileScanScan_Click);
    connect(item(scan, "mnuFileScanSelectSource", QStringLiteral("Select source..."), true),
            &QAction::triggered, this, &frmDocument::mnuFileScanSelectSource_Click);
    scan->menuAction()->setEnabled(false);   // until a scanner is found
    connect(item(file, "mnuWallpaper", QStringLiteral("Set as wallpaper..."), true), &QAction::triggered,
            main_, &frmMain::mnuWallpaper_Click);
    file->addSeparator();
    connect(item(file, "mnuFilePageSetup", QStringLiteral("Page Setup..."), true), &QAction::triggered, this,
            &frmDocument::mnuFilePageSetup_Click);
    connect(item(file, "mnuFilePrintPreview", QStringLiteral("Print Preview"), true), &QAction::triggered, this,
            &frmDocument::mnuFilePrintPreview_Click);
    connect(item(file, "mnuFilePrint", QStringLiteral("Print..."), true, QKeySequence(Qt::CTRL | Qt::Key_P)),
            &QAction::triggered, this, &frmDocument::mnuFilePrint_Click);
    recentSeparator_ = file->addSeparator();
    for (int i = 0; i < 4; ++i) {
        QAction* entry = item(file, "mnuFileMRU", QString(), true);
        connect(entry, &QAction::triggered, this, [this, entry] { main_->OpenFile(entry->data().toString()); });
        recentEntries_.append(entry);
    }
    connect(file, &QMenu::aboutToShow, this, &frmDocument::fillRecentEntries);
    fillRecentEntries();
    file->addSeparator();
    connect(item(file, "mnuFileExit", QStringLiteral("Exit"), true), &QAction::triggered, main_,
            &frmMain::mnuFileExit_Click);

    QMenu* edit = menu(QStringLiteral("Edit"), QStringLiteral("mnuEdit"));
    connect(item(edit, "mnuEditUndo", QStringLiteral("Undo"), false, QKeySequence(Qt::CTRL | Qt::Key_Z)),
            &QAction::triggered, this, &frmDocument::mnuEditUndo_Click);
    QAction* redo = item(edit, "mnuEditRedo", QStringLiteral("Redo"), false);
    redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    connect(redo, &QAction::triggered, this, &frmDocument::mnuEditRedo_Click);
    edit->addSeparator();
    connect(item(edit, "mnuCopy", QStringLiteral("Copy"), true), &QAction::triggered, this,
            &frmDocument::mnuCopy_Click);
    QAction* paste = item(edit, "mnuPaste", QStringLiteral("Paste"), true, QKeySequence(Qt::CTRL | Qt::Key_V));
    connect(paste, &QAction::triggered, this, &frmDocument::mnuPaste_Click);
    // Paste is there while the clipboard holds a picture.
    const auto followClipboard = [paste] {
        paste->setEnabled(HoldsPicture(QGuiApplication::clipboard()->mimeData()));
    };
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, paste, followClipboard);
    followClipboard();
    edit->addSeparator();
    item(edit, "mnuEditGrid", QStringLiteral("Grid"), false);
    item(edit, "mnuEditBorder", QStringLiteral("Border"), false);
    QMenu* fill = sub(edit, "mnuEditFill", QStringLiteral("Fill"));
    item(fill, "mnuEditFillGradient", QStringLiteral("Gradient"), false);
    item(fill, "mnuEditFillImage", QStringLiteral("Image"), false);
    item(fill, "mnuEditPlasma", QStringLiteral("Plasma"), false);
    QMenu* flip = sub(edit, "mnuEditFlip", QStringLiteral("Flip"));
    item(flip, "mnuEditFlipVertical", QStringLiteral("Flip Vertical"), false);
    item(flip, "mnuEditFlipHorizontal", QStringLiteral("Flip Horizontal"), false);
    item(flip, "mnuEditRotate90", QStringLiteral("Rotate 90°"), false);
    item(flip, "mnuEditRotate", QStringLiteral("Rotate"), false);
    item(edit, "mnuEditResize", QStringLiteral("Resize..."), false);
    QMenu* convert = sub(edit, "mnuEditConvert", QStringLiteral("Convert to"));
    item(convert, "mnuEditConvertGrayscale", QStringLiteral("Grayscale"), false);
    edit->addSeparator();
    item(edit, "mnuEditBrithnest", QStringLiteral("Brithnest"), false);
    item(edit, "mnuEditContrast", QStringLiteral("Contrast"), false);

    QMenu* view = menu(QStringLiteral("View"), QStringLiteral("mnuPopUp1"));
    QAction* options = item(view, "mnuOptions", QStringLiteral("Options"), true);
    options->setCheckable(true);
    connect(options, &QAction::triggered, this, &frmDocument::mnuOptions_Click);
    view->addSeparator();
    for (auto [name, caption, slot] :
         {std::tuple{"mnuViewTools", "Tools", &frmDocument::mnuViewTools_Click},
          std::tuple{"mnuViewColors", "Colors", &frmDocument::mnuViewColors_Click},
          std::tuple{"mnuViewWindows", "Windows", &frmDocument::mnuViewWindows_Click}}) {
        QAction* a = item(view, name, QString::fromLatin1(caption), true);
        a->setCheckable(true);
        a->setChecked(true);
        connect(a, &QAction::triggered, this, slot);
    }
    view->addSeparator();
    QAction* zoomIn = item(view, "mnuViewZoomIn", QStringLiteral("Zoom In"), true);
    zoomIn->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    connect(zoomIn, &QAction::triggered, this, [this] { zoomBy(1); });
    connect(item(view, "mnuViewZoomOut", QStringLiteral("Zoom Out"), true, QKeySequence(Qt::CTRL | Qt::Key_Minus)),
            &QAction::triggered, this, [this] { zoomBy(-1); });
    connect(item(view, "mnuViewActualSize", QStringLiteral("Actual Size"), true, QKeySequence(Qt::CTRL | Qt::Key_0)),
            &QAction::triggered, this, [this] { zoomBy(kActualSizeStep - DrawIMG->zoomStep()); });
    connect(item(view, "mnuViewFit", QStringLiteral("Fit in Window"), true, QKeySequence(Qt::CTRL | Qt::Key_9)),
            &QAction::triggered, this, &frmDocument::mnuViewFit_Click);
    QAction* grid = item(view, "mnuViewPixelGrid", QStringLiteral("Pixel Grid"), true);
    grid->setCheckable(true);
    connect(grid, &QAction::toggled, DrawIMG, &CanvasView::setPixelGrid);
    view->addSeparator();
    connect(item(view, "mnuViewPreferences", QStringLiteral("Preferences..."), true), &QAction::triggered, main_,
            &frmMain::mnuViewPreferences_Click);

    QMenu* effects = menu(QStringLiteral("Effects"), QStringLiteral("mnuEffects"));
    for (auto [name, caption] :
         {std::pair{"mnuRollPicture", "Picture roll"}, std::pair{"mnuEffectsInsertImage", "Insert image"},
          std::pair{"mnuInvert", "Invert"}, std::pair{"mnuEffectsMix", "Mix"},
          std::pair{"mnuEffectsDrip", "Drip"}, std::pair{"mnuEffectsTypical", "Typical"},
          std::pair{"mnuVideoFeedBack", "Video FeedBack"}, std::pair{"mnuEffectsCirclize", "Circlize"},
          std::pair{"mnuEffectsWobbly", "Wobbly"}, std::pair{"mnuEffectsCrystalShaper", "Crystal Shaper"},
          std::pair{"mnuEffectsWaveing", "Waveing"}, std::pair{"mnuEffectsStndGlass", "Stained Glass"},
          std::pair{"mnuEffectsRndWobbly", "Round wobbly"}, std::pair{"mnuEffectsTornado", "Tornado"}})
        item(effects, name, QString::fromUtf8(caption), false);

    QMenu* plugins = menu(QStringLiteral("Plugins"), QStringLiteral("mnuPlugins"));
    item(plugins, "mnuPlugIn", QStringLiteral("(None)"), false);

    QMenu* window = menu(QStringLiteral("Window"), QStringLiteral("mnuWindow"));
    main_->fillWindowMenu(window);

    QMenu* help = menu(QStringLiteral("Help"), QStringLiteral("mnuHelp"));
    connect(item(help, "mnuHelpAbout", QStringLiteral("About Orvane 3.0..."), true), &QAction::triggered, main_,
            &frmMain::mnuHelpAbout_Click);
    connect(item(help, "mnuHelpCheckForUpdate", QStringLiteral("Check for update"), true),
            &QAction::triggered, main_, &frmMain::mnuHelpCheckForUpdate_Click);
}

void frmDocument::Form_Load()
{
    // Canvas at its home position, filling the window less the margins, a handle and the
    // scroll bars' room, so that a new picture fits without scrolling.
    const int innerW = PixelsToTwips(width() - VScroll1->sizeHint().width()) - kViewportInset;
    const int innerH = PixelsToTwips(height() - HScroll1->sizeHint().height()) - kViewportInset;
    canvas().resizePixels(std::max(1, TwipsToPixels(innerW - kLoadMargin - kHandleTwips)),
                          std::max(1, TwipsToPixels(innerH - kLoadMargin - kHandleTwips)));
    placeCanvas(kHome, kHome);
    RubberBand = RubberBandRecord{};   // a drag left half done elsewhere does not resume here
    canvas().setScaleMode(kScalePixels);
    BuildPlugInsMenu(this, main_->PlugIns);
    // The scan entries wait for the program's one look for scanners.
    WhenScannersKnown(this, [this](const QList<ScanDevice>& devices) {
        findChild<QMenu*>(QStringLiteral("mnuFileScan"))->menuAction()->setEnabled(!devices.isEmpty());
    });
    main_->documentLoaded();
}

void frmDocument::updateStatusTexts()
{
    main_->setStatusPanel(2, QStringLiteral("Height: ") + QString::number(canvas().pixelHeight()));
    main_->setStatusPanel(3, QStringLiteral("Width: ") + QString::number(canvas().pixelWidth()));
    main_->setStatusPanel(5, ZoomPercentText(DrawIMG->zoomStep()));
}

void frmDocument::placeCanvas(int leftTwips, int topTwips)
{
    canvasLeft_ = leftTwips;
    canvasTop_ = topTwips;
    DrawIMG->move(TwipsToPixels(leftTwips), TwipsToPixels(topTwips));
    placeHandles();
}

void frmDocument::placeHandles()
{
    const int l = canvasLeft_, t = canvasTop_;
    const int w = PixelsToTwips(DrawIMG->width()), h = PixelsToTwips(DrawIMG->height());
    Picture1->move(TwipsToPixels(l + w + kHandleGap), TwipsToPixels(t + h / 2.0));
    Picture2->move(TwipsToPixels(l + w + kHandleGap), TwipsToPixels(t + h + kHandleGap));
    Picture3->move(TwipsToPixels(l + w / 2.0), TwipsToPixels(t + h + kHandleGap));
}

void frmDocument::Form_Activate()
{
    updateStatusTexts();
    if (ToolName.isEmpty()) ToolName = QStringLiteral("FreeDraw");
    if (FirstActivation) {
        FirstActivation = false;
        main_->AddFormToBar(this);
    }
    main_->colors()->showCanvasColor(canvas().ForeColor());
    menuAction(QStringLiteral("mnuViewColors"))->setChecked(true);
    menuAction(QStringLiteral("mnuViewWindows"))->setChecked(main_->windowBarChecked());
    menuAction(QStringLiteral("mnuViewTools"))->setChecked(main_->toolsToolbar()->isVisibleTo(main_));
    main_->showTool(ToolIndex);
    placeHandles();
}

void frmDocument::resizeEvent(QResizeEvent*)
{
    Form_Resize();
}

void frmDocument::Form_Resize()
{
    updateStatusTexts();
    if (QMdiSubWindow* sw = subWindow(); sw && sw->isMinimized()) return;

    // Scroll bars along the right and bottom edges of the client area; the viewport fills
    // the rest less a small inset.
    const int width = PixelsToTwips(this->width());
    const int height = PixelsToTwips(this->height());
    const int hbarH = PixelsToTwips(HScroll1->sizeHint().height());
    const int vbarW = PixelsToTwips(VScroll1->sizeHint().width());
    const int hTop = height - hbarH;
    const int vLeft = width - vbarW;
    HScroll1->setGeometry(0, TwipsToPixels(hTop), TwipsToPixels(vLeft), TwipsToPixels(hbarH));
    VScroll1->setGeometry(TwipsToPixels(vLeft), 0, TwipsToPixels(vbarW), TwipsToPixels(hTop));
    int viewW = vLeft - kViewportInset;
    int viewH = hTop - kViewportInset;
    const int canvasW = PixelsToTwips(DrawIMG->width());   // the canvas as shown, at the zoom
    const int canvasH = PixelsToTwips(DrawIMG->height());

    // A canvas that fits goes home and its bar hides (the viewport then takes the room across
    // the other way); otherwise the bar's range runs past the canvas by four handle widths.
    // Ranges are plain ints, so a picture of any size can be scrolled to its edges.
    const auto fit = [](QScrollBar* bar, int canvasExtent, int viewExtent) {
        const bool fits = canvasExtent + kHandleTwips < viewExtent;
        if (fits) {
            bar->setValue(0);
        } else {
            bar->setMaximum(4 * kHandleTwips + canvasExtent - viewExtent);
            bar->setSingleStep(15);
            bar->setPageStep(std::max(15, viewExtent / 3));
        }
        bar->setVisible(!fits);
        return fits;
    };
    if (fit(HScroll1, canvasW, viewW)) {
        HScroll1_Change();
        viewH = height;
    }
    if (fit(VScroll1, canvasH, viewH)) {
        VScroll1_Change();
        viewW = width;
    }
    Picture4->setGeometry(0, 0, TwipsToPixels(viewW), TwipsToPixels(viewH));
}

void frmDocument::DrawIMG_Resize()
{
    updateStatusTexts();
    placeHandles();
    Form_Resize();
}

void frmDocument::HScroll1_Change()
{
    placeCanvas(kHome - HScroll1->value(), canvasTop_);
}

void frmDocument::VScroll1_Change()
{
    placeCanvas(canvasLeft_, kHome - VScroll1->value());
}

int frmDocument::fitStep(QSize client, int highest) const
{
    // The room the canvas has at home with both scroll bars hidden, less its handles.
    const int spare = TwipsToPixels(kHome + kHandleGap + kHandleTwips + kViewportInset) + 1;
    return FitZoomStep(QSize(DrawIMG->canvas().pixelWidth(), DrawIMG->canvas().pixelHeight()), client - QSize(spare, spare), highest);
}

int frmDocument::CountDocuments() const
{
    return main_->documentCount();
}

void frmDocument::closeEvent(QCloseEvent* event)
{
    // A running effect still writes into its canvas: it is cancelled, and the close comes back
    // with its question once the run has ended.
    if (EffectRunning()) {
        event->ignore();
        CancelEffectRunThen([sw = QPointer<QMdiSubWindow>(subWindow())] {
            if (sw) sw->close();
        });
        return;
    }
    if (PlugInRunning()) {
        event->ignore();
        StopPlugInRunThen([sw = QPointer<QMdiSubWindow>(subWindow())] {
            if (sw) sw->close();
        });
        return;
    }
    if (!Form_QueryUnload()) {
        event->ignore();
        return;
    }
    event->accept();
    if (CountDocuments() - 1 < 1) main_->lastDocumentClosed();
}

bool frmDocument::Form_QueryUnload()
{
    if (!saveAnswered_ && !AskToSave()) return false;
    main_->RemoveFormFromBar(this);
    return true;
}

void frmDocument::closeAnswered()
{
    saveAnswered_ = true;
    if (QMdiSubWindow* sw = subWindow())
        sw->close();
    else
        close();
}

bool frmDocument::AskToSave()
{
    if (Changed) {
        if (QMdiSubWindow* sw = subWindow()) sw->raise();
        const auto answer = QMessageBox::question(
            main_, kAppTitle, QStringLiteral("Do you want to save the file ") + windowTitle() + QStringLiteral("?"),
            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
        // Yes closes only once the picture is really saved; otherwise the document stays.
        if (answer == QMessageBox::Cancel) return false;
        if (answer == QMessageBox::Yes && !mnuFileSaveAs_Click()) return false;
    }
    return true;
}

void frmDocument::mnuCopy_Click()
{
    QGuiApplication::clipboard()->setImage(canvas().Image());
}

void frmDocument::mnuPaste_Click()
{
    const DecodedPicture clipboard = ClipboardPicture(QGuiApplication::clipboard()->mimeData());
    if (!clipboard.ok()) {
        QMessageBox::warning(this, kAppTitle, QStringLiteral("Cannot paste the picture: %1.").arg(clipboard.error));
        return;
    }
    const QImage& pasted = clipboard.image;
    frmDocument* d = main_->LoadNewDoc();
    Canvas& target = d->canvas();
    // Transparent parts show the canvas background, as in a picture file.
    QImage picture = NewPixelBuffer(pasted.width(), pasted.height(), target.BackColor());
    if (pasted.hasAlphaChannel()) {
        QPainter p(&picture);
        p.drawImage(0, 0, pasted);
    } else {
        picture = pasted;
    }
    target.setAutoSize(true);
    target.setPicture(picture);
    target.setAutoSize(false);
    main_->FitWindowToPicture(d);
    d->Changed = true;   // a picture not yet in any file: closing asks to save it
    d->undoHistory().forgetSaved();
}

void frmDocument::fillRecentEntries()
{
    constexpr int kEntries = 4;
    const QStringList files = RecentPictures(RecentFilesListPath(), kEntries);
    for (int i = 0; i < recentEntries_.size(); ++i) {
        QAction* entry = recentEntries_[i];
        const bool shown = i < files.size();
        entry->setVisible(shown);
        if (!shown) continue;
        const QString name = ShownAsIs(QFileInfo(files[i]).fileName());
        entry->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(name));
        entry->setToolTip(files[i]);
        entry->setStatusTip(files[i]);
        entry->setData(files[i]);
    }
    recentSeparator_->setVisible(!files.isEmpty());
}

void frmDocument::mnuOptions_Click()
{
    QWidget* options = main_->optionsPanel();
    options->setVisible(!options->isVisible());
    menuAction(QStringLiteral("mnuOptions"))->setChecked(options->isVisible());
}

void frmDocument::mnuViewTools_Click()
{
    // The toolbar's visibility is inverted whatever this document's check mark said, and every
    // document's mark then follows what is shown.
    QToolBar* tools = main_->toolsToolbar();
    const bool shown = !tools->isVisibleTo(main_);
    tools->setVisible(shown);
    for (frmDocument* doc : main_->documents())
        doc->menuAction(QStringLiteral("mnuViewTools"))->setChecked(shown);
    SaveSetting(kAppTitle, QStringLiteral("Settings"), QStringLiteral("Tools"), SettingText(shown));
}

void frmDocument::mnuViewColors_Click()
{
    const bool checked = menuAction(QStringLiteral("mnuViewColors"))->isChecked();
    main_->colorPanel()->setVisible(checked);
    SaveSetting(kAppTitle, QStringLiteral("Settings"), QStringLiteral("ShowColors"), SettingText(checked));
}

void frmDocument::mnuViewWindows_Click()
{
    main_->mnuViewWindows_Click();
    menuAction(QStringLiteral("mnuViewWindows"))->setChecked(main_->windowBarChecked());
}

void frmDocument::setSwitchedOn(bool on)
{
    switchedOff_ = !on;
    if (QMdiSubWindow* sw = subWindow()) sw->setVisible(on);
}

} // namespace orv
