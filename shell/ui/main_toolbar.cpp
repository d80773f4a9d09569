#include "shell/ui/main_toolbar.h"
#include "documents/ui/frmDocument.h"
#include "shell/settings_store.h"
#include "shell/ui/window_bar.h"
#include <QAction>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QWindow>

namespace orv {

namespace {

constexpr int kBandTwips = 480;   // the slid-in toolbar's top
const QString kSettings = QStringLiteral("Settings");

int bandPixels()
{
    return TwipsToPixels(kBandTwips);
}

} // namespace

MainToolbar::MainToolbar(WindowBar* windowBar, QAction* viewWindows, QWidget* parent)
    : QWidget(parent), windowBar_(windowBar), viewWindows_(viewWindows)
{
    setObjectName(QStringLiteral("ToolbarHolder"));
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    setAccessibleName(QStringLiteral("Main toolbar and window bar"));

    Toolbar1 = new QToolBar(QStringLiteral("Main"), this);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setAccessibleName(QStringLiteral("Main toolbar"));
    Toolbar1->setMovable(false);
    struct Button {
        int position;
        const char* theme;
        QStyle::StandardPixmap fallback;
        const char* tip;
    };
    const Button buttons[] = {
        {1, "document-new", QStyle::SP_FileIcon, "New"},
        {2, "document-open", QStyle::SP_DialogOpenButton, "Open"},
        {3, "document-save-as", QStyle::SP_DialogSaveButton, "Save As"},
        {5, "document-print", QStyle::SP_FileDialogContentsView, "Print"},
        {7, "view-list-details", QStyle::SP_FileDialogDetailedView, "View"},
        {8, "applications-graphics", QStyle::SP_DesktopIcon, "Tools"},
        {10, "window-close", QStyle::SP_DialogCloseButton, "Close"},
    };
    buttons_.fill(nullptr, 10);
    int next = 1;
    for (const Button& b : buttons) {
        while (next < b.position) {   // positions without a button are gaps
            Toolbar1->addSeparator();
            ++next;
        }
        QIcon icon = QIcon::fromTheme(QString::fromLatin1(b.theme), style()->standardIcon(b.fallback));
        QAction* a = Toolbar1->addAction(icon, QString::fromLatin1(b.tip));
        a->setObjectName(QStringLiteral("Toolbar1_%1").arg(b.position));
        const int position = b.position;
        connect(a, &QAction::triggered, this, [this, position] { emit buttonClicked(position); });
        buttons_[b.position - 1] = a;
        ++next;
    }
    Toolbar1->adjustSize();

    Command1 = new QToolButton(this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setAccessibleName(QStringLiteral("Slide toolbar"));
    Command1->setToolTip(QStringLiteral("Slide the toolbar out of sight or back"));
    Command1->setArrowType(Qt::UpArrow);
    Command1->setAutoRaise(true);
    Command1->setFixedSize(24, 24);
    connect(Command1, &QToolButton::clicked, this, &MainToolbar::Command1_Click);

    windowBar_->setParent(this);
    windowBar_->show();   // a new parent leaves it hidden
    placeToolbar(true);
}

QAction* MainToolbar::button(int position) const
{
    return position >= 1 && position <= buttons_.size() ? buttons_[position - 1] : nullptr;
}

int MainToolbar::toolbarTopTwips() const
{
    return PixelsToTwips(Toolbar1->y());
}

int MainToolbar::toolbarHeightTwips() const
{
    return PixelsToTwips(Toolbar1->height());
}

void MainToolbar::moveToolbar(int topPixels)
{
    Toolbar1->move(0, topPixels);
    updateGeometry();   // the strip's height follows the toolbar's bottom edge
    // The band stays in front of the toolbar passing behind it.
    windowBar_->raise();
    Command1->raise();
}

QSize MainToolbar::sizeHint() const
{
    return {Toolbar1->sizeHint().width(), std::max(bandPixels(), Toolbar1->y() + Toolbar1->height())};
}

QSize MainToolbar::minimumSizeHint() const
{
    return {0, bandPixels()};
}

void MainToolbar::placeToolbar(bool slidIn)
{
    slide_.stop();
    moveToolbar(slidIn ? bandPixels() : -Toolbar1->height());
    Command1->setArrowType(slidIn ? Qt::UpArrow : Qt::DownArrow);
}

void MainToolbar::Command1_Click()
{
    Command1->raise();
    const int in = bandPixels();
    const int out = -Toolbar1->height();
    // At rest the toolbar slides to the other place; a click during a slide turns it round.
    const bool slideIn = slide_.running() ? !slidingIn_ : Toolbar1->y() != in;
    slidingIn_ = slideIn;
    SaveSetting(kAppTitle, kSettings, QStringLiteral("ToolBar"), SettingText(slideIn));
    Command1->setArrowType(slideIn ? Qt::UpArrow : Qt::DownArrow);
    slide_.run(Toolbar1->y(), slideIn ? in : out, [this](int top) { moveToolbar(top); });
    ToggleCaption(window());
    SaveSetting(kAppTitle, kSettings, QStringLiteral("ShowWindows"), SettingText(viewWindows_->isChecked()));
}

void MainToolbar::layoutBand()
{
    Command1->move(2, 0);
    const int left = Command1->width() + 4;
    windowBar_->setGeometry(left, 0, std::max(0, width() - left), windowBar_->height());
    Toolbar1->resize(width(), Toolbar1->sizeHint().height());
}

void MainToolbar::resizeEvent(QResizeEvent*)
{
    layoutBand();
}

void ToggleCaption(QWidget* frame)
{
    // The flags change on the window as it is. Setting them the usual way makes a new native
    // window: the frame is unmapped and mapped again, and a window manager that gets two such
    // switches in quick succession may keep the frame unmapped or forget its maximised state.
    const Qt::WindowFlags flags = frame->windowFlags() ^ Qt::FramelessWindowHint;
    frame->overrideWindowFlags(flags);
    if (QWindow* window = frame->windowHandle()) window->setFlags(flags);
}

} // namespace orv
