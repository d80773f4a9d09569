#pragma once
// A small effect dialog holding one horizontal scroll bar and OK / Cancel; the value is not
// shown. OK runs the effect with the bar's value through the shared run sequence, which takes
// the undo snapshot then. Brightness and contrast are two of these.
#include "effects/column_passes.h"
#include <QDialog>
#include <functional>

class QPushButton;
class QScrollBar;

namespace orv {

class WorkingCopy;
class frmDocument;

// The passes of the effect for a value of the scroll bar.
using ValuePasses = std::function<std::vector<ColumnPass>(WorkingCopy&, int value)>;

class ScrollValueDialog : public QDialog {
    Q_OBJECT
public:
    ScrollValueDialog(const QString& objectName, const QString& caption, int minimum, int maximum,
                      int initial, frmDocument* doc, const QString& runCaption, ValuePasses passes);

    QScrollBar* HScroll1;
    QPushButton* Command1;   // OK
    QPushButton* Command2;   // Cancel
};

} // namespace orv
