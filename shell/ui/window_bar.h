#pragma once
// The window bar: one button per open document, in slots that are reused lowest index first.
// A click brings the button's document(s) to the front; a double click switches a document
// window off (hidden, white button) or on again (shown, yellow button). Layout follows the
// frame's rules in twips: buttons 30 twips apart, rows wrapping at the panel's right edge, one
// scroll step per extra row. The bar itself is 375 twips high when shown and grows open.
#include "shell/ui/slide.h"
#include <QPointer>
#include <QWidget>
#include <vector>

class QPushButton;
class QScrollBar;

namespace orv {

class frmDocument;

class WindowBar : public QWidget {
    Q_OBJECT
public:
    explicit WindowBar(QWidget* parent);

    void AddFormToBar(frmDocument* form);
    void RemoveFormFromBar(frmDocument* form);
    void Holder_Resize();

    struct Slot {
        QPushButton* Button = nullptr;
        QPointer<frmDocument> Form;
        bool Free = true;
    };
    const std::vector<Slot>& barSlots() const { return WindowList; }
    void reset();   // a single free slot 0
    QWidget* holder() const { return Holder; }
    QScrollBar* holderScroll() const { return HolderScroll; }

    // Hides the bar at once, or shows it growing from nothing to its full height. A call
    // during the growth has the last word.
    void slideShown(bool shown);

signals:
    void bringToFront(frmDocument* form);
    void switchDocument(frmDocument* form, bool on);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    int GetFreeBarSlot();
    QPushButton* makeButton(int index);
    static void showCaption(const Slot& s);
    void Children_Click(int index);
    void Children_DblClick(int index);
    void HolderScroll_Change(int value);

    QWidget* Holder;
    QScrollBar* HolderScroll;
    std::vector<Slot> WindowList;
    SlideRun slide_;
};

} // namespace orv
