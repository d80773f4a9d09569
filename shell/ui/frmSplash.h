#pragma once
// The splash window: the program's logo and two fixed labels, shown while the main window
// loads.
#include <QDialog>

class QLabel;
class QVBoxLayout;

namespace orv {

// Makes the pictures built into the program (the logo) readable as ":/..." files. They live in
// a static library, which the linker would otherwise drop; calling it again does nothing.
void LoadProgramResources();


// Adds the logo, the program's name (its font scaled by titleScale) and the version line to
// layout; the splash window and the About window both start this way. Returns the version line.
QLabel* AddProgramHeading(QWidget* owner, QVBoxLayout* layout, qreal titleScale);

class frmSplash : public QDialog {
    Q_OBJECT
public:
    explicit frmSplash(QWidget* parent = nullptr);
};

} // namespace orv
