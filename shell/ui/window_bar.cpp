#include "shell/ui/window_bar.h"
#include "documents/ui/frmDocument.h"
#include <QEvent>
#include <QPushButton>
#include <QScrollBar>

namespace orv {

namespace {
// Layout in pixels (30 twips = 2 pixels between buttons).
constexpr int kGap = 2;
constexpr int kButtonWidth = 110;
constexpr int kButtonHeight = 21;
constexpr int kBarHeight = 25;   // 375 twips
}

WindowBar::WindowBar(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Picture3"));
    setFixedHeight(kBarHeight);
    Holder = new QWidget(this);
    Holder->setObjectName(QStringLiteral("Holder"));
    HolderScroll = new QScrollBar(Qt::Vertical, this);
    HolderScroll->setObjectName(QStringLiteral("HolderScroll"));
    HolderScroll->setMaximum(0);
    connect(HolderScroll, &QScrollBar::valueChanged, this, &WindowBar::HolderScroll_Change);
    reset();
}

void WindowBar::reset()
{
    for (Slot& s : list_) delete s.Button;
    list_.assign(1, Slot{});
    list_[0].Button = makeButton(0);
    list_[0].Button->hide();
}

QPushButton* WindowBar::makeButton(int index)
{
    auto* b = new QPushButton(QStringLiteral("Child"), Holder);
    b->setObjectName(QStringLiteral("Children_%1").arg(index));
    b->setFixedSize(kButtonWidth, kButtonHeight);
    QFont f = b->font();
    f.setPointSizeF(f.pointSizeF() * 0.85);
    b->setFont(f);
    b->setStyleSheet(QStringLiteral("background: rgb(255,255,0);"));
    b->installEventFilter(this);
    connect(b, &QPushButton::clicked, this, [this, index] { Children_Click(index); });
    return b;
}

int WindowBar::GetFreeBarSlot()
{
    for (size_t i = 0; i < list_.size(); ++i)
        if (list_[i].Free) return static_cast<int>(i);
    list_.push_back(Slot{});
    const int i = static_cast<int>(list_.size()) - 1;
    list_[i].Button = makeButton(i);
    return i;
}

void WindowBar::AddFormToBar(frmDocument* form)
{
    const int i = GetFreeBarSlot();
    Slot& s = list_[i];
    s.Form = form;
    s.Button->setText(form->windowTitle());
    s.Button->setStyleSheet(QStringLiteral("background: rgb(255,255,0);"));
    s.Button->show();
    s.Free = false;
    Holder_Resize();
}

void WindowBar::RemoveFormFromBar(frmDocument* form)
{
    for (Slot& s : list_) {
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
    int rows = 0;
    int x = kGap, y = kGap;
    const int width = this->width() - HolderScroll->width();
    for (Slot& s : list_) {
        if (s.Free || !s.Form) continue;
        s.Button->setText(s.Form->windowTitle());
        s.Button->move(x, y);
        x += kButtonWidth + kGap;
        if (x + kButtonWidth > width) {
            y += kButtonHeight + kGap;
            x = kGap;
            ++rows;
        }
        const bool on = !s.Form->isSwitchedOff();
        s.Button->setStyleSheet(on ? QStringLiteral("background: rgb(255,255,0);")
                                   : QStringLiteral("background: rgb(255,255,255);"));
    }
    Holder->resize(width, y + 2 * (kButtonHeight + kGap));
    HolderScroll->setMaximum(rows);
    HolderScroll->setGeometry(this->width() - HolderScroll->sizeHint().width(), 0,
                              HolderScroll->sizeHint().width(), height());
}

void WindowBar::HolderScroll_Change(int value)
{
    Holder->move(0, -value * (kButtonHeight + kGap));
}

void WindowBar::resizeEvent(QResizeEvent*)
{
    Holder_Resize();
}

void WindowBar::Children_Click(int index)
{
    const QString caption = list_[index].Button->text();
    for (Slot& s : list_)
        if (!s.Free && s.Form && s.Form->windowTitle() == caption) emit bringToFront(s.Form);
}

void WindowBar::Children_DblClick(int index)
{
    const QString caption = list_[index].Button->text();
    for (Slot& s : list_) {
        if (s.Free || !s.Form || s.Form->windowTitle() != caption) continue;
        emit switchDocument(s.Form, s.Form->isSwitchedOff());
    }
    Holder_Resize();
}

bool WindowBar::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        for (size_t i = 0; i < list_.size(); ++i)
            if (list_[i].Button == watched) {
                Children_DblClick(static_cast<int>(i));
                return true;
            }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace orv
