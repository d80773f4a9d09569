#pragma once
// Help > About: the program's name and version, its licence (the whole text a click away), and
// the libraries it runs on with their versions.
#include <QDialog>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace orv {

class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* owner);

    QLabel* Label2 = nullptr;         // version
    QLabel* Label3 = nullptr;         // licence
    QTreeWidget* List1 = nullptr;     // libraries: name, version
    QPushButton* Command1 = nullptr;  // OK
    QPushButton* Command2 = nullptr;  // Licence...

    // The licence's whole text in a window of its own.
    void Command2_Click();
};

// The GNU General Public License, version 3, as the program carries it.
QString LicenceText();

} // namespace orv
