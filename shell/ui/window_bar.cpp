#include "shell/ui/window_bar.h"
#include "documents/ui/frmDocument.h"
#include "shell/file_names.h"
#include <QEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QStyleOptionButton>

namespace orv {

namespace {
// Layout in pixels (30 twips = 2 pixels between buttons).
constexpr int kGap = 2;
constexpr int kButtonWidth = 110;
constexpr int kButtonHeight = 21;
constexpr int kBarHeight = 25;   // 375 twips

const QString kYellow = QStringLiteral("background: rgb(255,255,0);");
const QString kWhite = QStringLiteral("background: rgb(255,255,255);");
}

WindowBar::WindowBar(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Picture3"));
    setAccessibleName(QStringLiteral("Window bar"));
    setFixedHeight(kBarHeight);
    Holder = new QWidget(this);
    Holder->setObjectName(QStringLiteral("Holder"));
    Holder->setAccessibleName(QStringLiteral("Open pictures"));
    HolderScroll = new QScrollBar(Qt::Vertical, this);
    HolderScroll->setObjectName(QStringLiteral("HolderScroll"));
    HolderScroll->setAccessibleName(QStringLiteral("Window bar rows"));
    HolderScroll->setMaximum(0);
    HolderScroll->setFocusPolicy(Qt::NoFocus);
    connect(HolderScroll, &QScrollBar::valueChanged, this, &WindowBar::HolderScroll_Change);
    reset();
}

void WindowBar::reset()
{
    for (Slot& s : WindowList) delete s.Button;
    WindowList.assign(1, Slot{});
    WindowList[0].Button = makeButton(0);
    WindowList[0].Button->hide();
}

QPushButton* WindowBar::makeButton(int index)
{
    auto* b = new QPushButton(QStringLiteral("Child"), Holder);
    b->setObjectName(QStringLiteral("Children_%1").arg(index));
    b->setFixedSize(kButtonWidth, kButtonHeight);
    b->setFocusPolicy(Qt::NoFocus);
    QFont f = b->font();
    f.setPointSizeF(f.pointSizeF() * 0.85);
    b->setFont(f);
    b->setStyleSheet(kYellow);
    b->installEventFilter(this);
    connect(b, &QPushButton::clicked, this, [this, index] { Children_Click(index); });
    return b;
}

void WindowBar::showCaption(const Slot& s)
{
    // A caption too long for the button loses its middle, so that both the start and the
    // file's extension show; the tooltip and a screen reader get it whole.
    const QString caption = s.Form->windowTitle();
    QStyleOptionButton option;
    option.initFrom(s.Button);
    const int room = s.Button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, s.Button).width() - 4;
    s.Button->setText(ShownAsIs(s.Button->fontMetrics().elidedText(caption, Qt::ElideMiddle, room)));
    s.Button->setToolTip(caption);
    s.Button->setAccessibleName(caption);
}

int WindowBar::GetFreeBarSlot()
{
    for (size_t i = 0; i < WindowList.size(); ++i)
        if (WindowList[i].Free) return static_cast<int>(i);
    WindowList.push_back(Slot{});
    const int i = static_cast<int>(WindowList.size()) - 1;
    WindowList[i].Button = makeButton(i);
    return i;
}

void WindowBar::AddFormToBar(frmDocument* form)
{
    const int i = GetFreeBarSlot();
    Slot& s = WindowList[i];
    s.Form = form;
    showCaption(s);
    s.Button->show();
    s.Free = false;
    form->installEventFilter(this);   // a new caption (Save As) shows on its button at once
    Holder_Resize();
}

void WindowBar::RemoveFormFromBar(frmDocument* form)
{
    for (Slot& s : WindowList) {
        if (!s.Free && s.Form == form) {
            s.Free = true;
            s.Form = nullptr;
            s.Button->hide();
        }
    }
    Holder_Resize();
}

void WindowBar::Holder_Resize()
{
    // The scroll bar stands at the right end; the buttons fill the room to its left.
    const int scrollWidth = HolderScroll->sizeHint().width();
    const int holderWidth = std::max(kGap + kButtonWidth, width() - 2 * scrollWidth);
    int rows = 0;
    int x = kGap, y = kGap;
    for (Slot& s : WindowList) {
        if (s.Free || !s.Form) continue;
        // A button that would pass the right edge starts the next row.
        if (x > kGap && x + kButtonWidth > holderWidth) {
            y += kButtonHeight + kGap;
            x = kGap;
            ++rows;
        }
        showCaption(s);
        s.Button->move(x, y);
        x += kButtonWidth + kGap;
        s.Button->setStyleSheet(s.Form->isSwitchedOff() ? kWhite : kYellow);
    }
    Holder->resize(holderWidth, y + kButtonHeight + kGap);
    HolderScroll->setMaximum(rows);
    HolderScroll->setGeometry(holderWidth, 0, scrollWidth, kBarHeight);
    HolderScroll_Change(HolderScroll->value());
}

void WindowBar::HolderScroll_Change(int value)
{
    Holder->move(0, -value * (kButtonHeight + kGap));
}

void WindowBar::resizeEvent(QResizeEvent*)
{
    Holder_Resize();
}

void WindowBar::slideShown(bool shown)
{
    if (!shown) {
        slide_.stop();
        setFixedHeight(0);
        hide();
        return;
    }
    show();
    slide_.run(0, kBarHeight, [this](int h) { setFixedHeight(h); });
}

void WindowBar::Children_Click(int index)
{
    const QString caption = WindowList[index].Form ? WindowList[index].Form->windowTitle() : QString();
    for (Slot& s : WindowList)
        if (!s.Free && s.Form && !s.Form->isSwitchedOff() && s.Form->windowTitle() == caption)
            emit bringToFront(s.Form);
}

void WindowBar::Children_DblClick(int index)
{
    const QString caption = WindowList[index].Form ? WindowList[index].Form->windowTitle() : QString();
    for (Slot& s : WindowList) {
        if (s.Free || !s.Form || s.Form->windowTitle() != caption) continue;
        emit switchDocument(s.Form, s.Form->isSwitchedOff());
    }
    Holder_Resize();
}

bool WindowBar::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::WindowTitleChange && qobject_cast<frmDocument*>(watched)) Holder_Resize();
    if (event->type() == QEvent::MouseButtonDblClick) {
        for (size_t i = 0; i < WindowList.size(); ++i)
            if (WindowList[i].Button == watched) {
                Children_DblClick(static_cast<int>(i));
                return true;
            }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace orv
