#pragma once
// The splash window: the program's logo and two fixed labels, shown while the main window
// loads. Help > About shows it again as a small modal window that a click closes.
#include <QDialog>

namespace orv {

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
