#include "shell/ui/frmMainPreferences.h"
#include "effects/ui/dialog_buttons.h"
#include "documents/undo_history.h"
#include "shell/settings_store.h"
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace orv {

namespace {

const QString kSection = QStringLiteral("Preferences");

// A framed group of three exclusive choices standing for the values 0, 1 and 2; the buttons
// are named Option<first>, Option<first + 1> and Option<first + 2>.
QGroupBox* ChoiceGroup(QWidget* parent, const QString& title, const QString& name, int first,
                       std::initializer_list<std::pair<QRadioButton**, const char*>> choices)
{
    auto* frame = new QGroupBox(title, parent);
    frame->setObjectName(name);
    frame->setAccessibleName(title);
    auto* group = new QButtonGroup(frame);
    auto* layout = new QVBoxLayout(frame);
    int value = 0;
    for (auto [button, caption] : choices) {
        *button = new QRadioButton(QString::fromLatin1(caption), frame);
        (*button)->setObjectName(QStringLiteral("Option%1").arg(first + value));
        (*button)->setAccessibleName((*button)->text());
        group->addButton(*button, value++);
        layout->addWidget(*button);
    }
    return frame;
}

// Selects the button of the stored value (default 1); another value selects none.
void ShowStored(QButtonGroup* group, const QString& key)
{
    const double stored = GetSettingNumber(kAppTitle, kSection, key, 1);
    for (QAbstractButton* b : group->buttons())
        if (group->id(b) == stored) b->setChecked(true);
}

// Saves the selected value; with nothing selected the stored value stays as it is.
void SaveChoice(const QButtonGroup* group, const QString& key)
{
    if (group->checkedId() >= 0) SaveSetting(kAppTitle, kSection, key, SettingText(group->checkedId()));
}

} // namespace

int64_t UndoMemoryBudget()
{
    const double mb = GetSettingNumber(kAppTitle, kSection, QStringLiteral("UndoMemory"), 0);
    return mb >= 1 ? int64_t(mb) << 20 : UndoHistory::defaultBudget();
}

frmMainPreferences::frmMainPreferences(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmMainPreferences"));
    setWindowTitle(QStringLiteral("Preferences"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);

    Frame1 = ChoiceGroup(this, QStringLiteral("Show splash screen"), QStringLiteral("Frame1"), 1,
                         {{&Option1, "None"}, {&Option2, "Picture"}, {&Option3, "Animation"}});
    Frame2 = ChoiceGroup(this, QStringLiteral("Mouse pointer"), QStringLiteral("Frame2"), 4,
                         {{&Option4, "Normal"}, {&Option5, "Cross"}, {&Option6, "Custom"}});
    // Choosing a custom pointer file is not there yet.
    Command3 = new QPushButton(QStringLiteral("Browse"), Frame2);
    Command3->setObjectName(QStringLiteral("Command3"));
    Command3->setAccessibleName(QStringLiteral("Browse for a pointer"));
    Command3->setEnabled(false);
    Frame2->layout()->addWidget(Command3);

    auto* groups = new QHBoxLayout;
    groups->addWidget(Frame1);
    groups->addWidget(Frame2);
    layout->addLayout(groups);

    // Two choices without a command behind them yet: shown, but not available.
    Check1 = new QCheckBox(QStringLiteral("Scrolling toolbars"), this);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check2 = new QCheckBox(QStringLiteral("Load plug-ins"), this);
    Check2->setObjectName(QStringLiteral("Check2"));
    for (QCheckBox* c : {Check1, Check2}) {
        c->setAccessibleName(c->text());
        c->setEnabled(false);
        layout->addWidget(c);
    }

    // Recovery copies of unsaved pictures, and how often they are renewed during long work.
    chkRecovery = new QCheckBox(QStringLiteral("Keep recovery copies"), this);
    chkRecovery->setObjectName(QStringLiteral("chkRecovery"));
    chkRecovery->setAccessibleName(chkRecovery->text());
    layout->addWidget(chkRecovery);
    auto* interval = new QHBoxLayout;
    auto* intervalLabel = new QLabel(QStringLiteral("Renew them at least every"), this);
    spnRecoveryInterval = new QSpinBox(this);
    spnRecoveryInterval->setObjectName(QStringLiteral("spnRecoveryInterval"));
    spnRecoveryInterval->setAccessibleName(QStringLiteral("Recovery interval in seconds"));
    spnRecoveryInterval->setRange(10, 3600);
    spnRecoveryInterval->setSuffix(QStringLiteral(" seconds"));
    intervalLabel->setBuddy(spnRecoveryInterval);
    interval->addWidget(intervalLabel);
    interval->addWidget(spnRecoveryInterval);
    interval->addStretch();
    layout->addLayout(interval);
    connect(chkRecovery, &QCheckBox::toggled, spnRecoveryInterval, &QWidget::setEnabled);
    // The memory all pictures' undo histories may hold together, in megabytes.
    auto* memory = new QHBoxLayout;
    auto* memoryLabel = new QLabel(QStringLiteral("Undo memory"), this);
    UndoMemory = new QSpinBox(this);
    UndoMemory->setObjectName(QStringLiteral("UndoMemory"));
    UndoMemory->setAccessibleName(memoryLabel->text());
    UndoMemory->setRange(16, 1 << 20);
    UndoMemory->setSuffix(QStringLiteral(" MB"));
    memoryLabel->setBuddy(UndoMemory);
    memory->addWidget(memoryLabel);
    memory->addWidget(UndoMemory);
    layout->addLayout(memory);

    const OkCancel buttons = AddOkCancel(this, layout);
    Command1 = buttons.ok;
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setAccessibleName(QStringLiteral("OK"));
    Command2 = buttons.cancel;
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setAccessibleName(QStringLiteral("Cancel"));
    connect(Command1, &QPushButton::clicked, this, &frmMainPreferences::Command1_Click);
    Form_Load();
}

void frmMainPreferences::Form_Load()
{
    ShowStored(Option1->group(), QStringLiteral("SplshScrn"));
    ShowStored(Option4->group(), QStringLiteral("Pointer"));
    chkRecovery->setChecked(GetSettingBool(kAppTitle, kSection, QStringLiteral("KeepRecoveryCopies"), true));
    spnRecoveryInterval->setValue(int(GetSettingNumber(kAppTitle, kSection, QStringLiteral("RecoveryInterval"), 60)));
    spnRecoveryInterval->setEnabled(chkRecovery->isChecked());
    UndoMemory->setValue(int(UndoMemoryBudget() >> 20));
}

void frmMainPreferences::Command1_Click()
{
    SaveChoice(Option1->group(), QStringLiteral("SplshScrn"));
    SaveChoice(Option4->group(), QStringLiteral("Pointer"));
    SaveSetting(kAppTitle, kSection, QStringLiteral("KeepRecoveryCopies"), SettingText(chkRecovery->isChecked()));
    SaveSetting(kAppTitle, kSection, QStringLiteral("RecoveryInterval"), SettingText(spnRecoveryInterval->value()));
    SaveSetting(kAppTitle, kSection, QStringLiteral("UndoMemory"), SettingText(UndoMemory->value()));
    UndoHistory::setBudget(UndoMemoryBudget());
    accept();
}

} // namespace orv
