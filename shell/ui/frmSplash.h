#pragma once
// The splash window: the program's logo and two fixed labels, shown while the main window
// loads.
#include <QDialog>

namespace orv {

// Makes the pictures built into the program (the logo) readable as ":/..." files. They live in
// a static library, which the linker would otherwise drop; calling it again does nothing.
void LoadProgramResources();

class frmSplash : public QDialog {
    Q_OBJECT
public:
    explicit frmSplash(QWidget* parent = nullptr);
};

} // namespace orv
