#pragma once
// The Preferences dialog: the splash choice (SplshScrn: 0 none, 1 picture, 2 animation) and
// the mouse-pointer choice (Pointer: 0 normal, 1 cross, 2 custom), both in the "Preferences"
// section of the settings store. OK saves both and closes; Cancel closes without saving.
// A stored value outside 0 to 2 leaves its group without a selection, and OK then keeps that
// stored value rather than inventing one.
// Also there: whether recovery copies of unsaved pictures are kept (KeepRecoveryCopies, True
// by default) and how often, at least, they are renewed during long work (RecoveryInterval,
// seconds, 60 by default).
#include <QDialog>
#include <cstdint>

class QCheckBox;
class QGroupBox;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace orv {

class frmMainPreferences : public QDialog {
    Q_OBJECT
public:
    explicit frmMainPreferences(QWidget* owner);

    QGroupBox* Frame1 = nullptr;   // "Show splash screen"
    QRadioButton* Option1 = nullptr;
    QRadioButton* Option2 = nullptr;
    QRadioButton* Option3 = nullptr;
    QGroupBox* Frame2 = nullptr;   // "Mouse pointer"
    QRadioButton* Option4 = nullptr;
    QRadioButton* Option5 = nullptr;
    QRadioButton* Option6 = nullptr;
    QPushButton* Command3 = nullptr;   // "Browse"
    QCheckBox* Check1 = nullptr;       // "Scrolling toolbars"
    QCheckBox* Check2 = nullptr;       // "Load plug-ins"
    QCheckBox* chkRecovery = nullptr;  // "Keep recovery copies" (KeepRecoveryCopies)
    QSpinBox* spnRecoveryInterval = nullptr;   // seconds between copies during long work (RecoveryInterval)
    QSpinBox* UndoMemory = nullptr;    // "Undo memory", megabytes (UndoMemory)
    QPushButton* Command1 = nullptr;   // OK
    QPushButton* Command2 = nullptr;   // Cancel

    void Command1_Click();

private:
    void Form_Load();
};

// The undo memory the preferences hold (UndoMemory, megabytes), or the machine's default.
int64_t UndoMemoryBudget();

} // namespace orv
