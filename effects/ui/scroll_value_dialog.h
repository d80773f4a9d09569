#pragma once
// A small effect dialog holding one horizontal scroll bar and OK / Cancel; the value is not
// shown. Brightness and contrast are two of these.
#include <QDialog>

class QPushButton;
class QScrollBar;

namespace orv {

class frmDocument;

class ScrollValueDialog : public QDialog {
    Q_OBJECT
public:
    ScrollValueDialog(const QString& objectName, const QString& caption, int minimum, int maximum,
                      int initial);

    QScrollBar* HScroll1;
    QPushButton* Command1;   // OK
    QPushButton* Command2;   // Cancel

signals:
    void okClicked(int value);
};

} // namespace orv
