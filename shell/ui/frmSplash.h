#pragma once
// The splash window: the program's logo and two fixed labels, shown while the main window
// loads. Help > About shows it again as a small modal window that a click closes.
#include <QDialog>

namespace orv {

// Makes the pictures built into the program (the logo) readable as ":/..." files. They live in
// a static library, which the linker would otherwise drop; calling it again does nothing.
void LoadProgramResources();

class frmSplash : public QDialog {
    Q_OBJECT
public:
    enum class Role { Splash, About };
    explicit frmSplash(Role role, QWidget* parent = nullptr);

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    Role role_;
};

} // namespace orv
