#include "shell/ui/frmMainPreferences.h"
#include "effects/ui/dialog_buttons.h"
#include "documents/image_loader.h"
#include "documents/ui/canvas_pointer.h"
#include "documents/undo_history.h"
#include "shell/file_names.h"
#include "shell/settings_store.h"
#include "shell/ui/open_dialog.h"
#include "shell/ui/slide.h"
#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
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

// Whether the toolbar and window-bar slides move step by step (the default) or jump.
bool ScrollingToolbars()
{
    return GetSettingBool(kAppTitle, kSection, QStringLiteral("ScrollingToolbars"), true);
}

} // namespace

bool PlugInsAtStart()
{
    return GetSettingBool(kAppTitle, kSection, QStringLiteral("PlugInsAtStart"), true);
}

void ApplyPreferences()
{
    const double pointer = GetSettingNumber(kAppTitle, kSection, QStringLiteral("Pointer"), 1);
    PointerPicture custom;
    if (pointer == 2) custom = LoadPointerPicture(GetSetting(kAppTitle, kSection, QStringLiteral("PointerFile"), {}));
    if (pointer == 2 && custom.ok()) CanvasPointer::instance().set(PointerChoice::Custom, custom.cursor);
    else CanvasPointer::instance().set(pointer == 0 ? PointerChoice::Normal : PointerChoice::Cross);
    SlideRun::setAnimated(ScrollingToolbars());
    UndoHistory::setBudget(UndoMemoryBudget());
}

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
    Command3 = new QPushButton(QStringLiteral("Browse"), Frame2);
    Command3->setObjectName(QStringLiteral("Command3"));
    Command3->setAccessibleName(QStringLiteral("Browse for a pointer picture"));
    Frame2->layout()->addWidget(Command3);
    lblPointerFile = new QLabel(Frame2);
    lblPointerFile->setObjectName(QStringLiteral("lblPointerFile"));
    lblPointerFile->setAccessibleName(QStringLiteral("Pointer picture"));
    Frame2->layout()->addWidget(lblPointerFile);
    connect(Option6, &QRadioButton::toggled, Command3, &QWidget::setEnabled);
    connect(Command3, &QPushButton::clicked, this, &frmMainPreferences::Command3_Click);
    connect(Option4->group(), &QButtonGroup::buttonToggled, this, [this](QAbstractButton* b, bool on) {
        if (!on) lastPointer_ = b;
    });
    // "Custom" without a picture asks for one; without one it goes back to the choice before.
    connect(Option6, &QRadioButton::clicked, this, [this] {
        if (!pointerFile_.isEmpty() || Command3_Click()) return;
        if (lastPointer_) return lastPointer_->setChecked(true);
        Option4->group()->setExclusive(false);
        Option6->setChecked(false);
        Option4->group()->setExclusive(true);
    });

    auto* groups = new QHBoxLayout;
    groups->addWidget(Frame1);
    groups->addWidget(Frame2);
    layout->addLayout(groups);

    Check1 = new QCheckBox(QStringLiteral("Scrolling toolbars"), this);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check1->setAccessibleName(Check1->text());
    layout->addWidget(Check1);
    auto* plugIns = new QHBoxLayout;
    Check2 = new QCheckBox(QStringLiteral("Load plug-ins"), this);
    Check2->setObjectName(QStringLiteral("Check2"));
    Check2->setAccessibleName(QStringLiteral("Load plug-ins at the next start"));
    plugIns->addWidget(Check2);
    plugIns->addWidget(new QLabel(QStringLiteral("(from the next start)"), this));
    plugIns->addStretch();
    layout->addLayout(plugIns);

    // Recovery copies of unsaved pictures, and how often they are renewed during long work.
    chkRecovery = new QCheckBox(QStringLiteral("Keep recovery copies"), this);
    chkRecovery->setObjectName(QStringLiteral("chkRecovery"));
    chkRecovery->setAccessibleName(chkRecovery->text());
    layout->addWidget(chkRecovery);
    // The interval, and the memory all pictures' undo histories may hold together (megabytes):
    // one grid, so that their boxes line up.
    auto* boxes = new QGridLayout;
    const auto addBox = [&](const QString& caption, QSpinBox* box) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(box);
        const int row = boxes->rowCount();
        boxes->addWidget(label, row, 0);
        boxes->addWidget(box, row, 1);
    };
    spnRecoveryInterval = new QSpinBox(this);
    spnRecoveryInterval->setObjectName(QStringLiteral("spnRecoveryInterval"));
    spnRecoveryInterval->setAccessibleName(QStringLiteral("Recovery interval in seconds"));
    spnRecoveryInterval->setRange(10, 3600);
    spnRecoveryInterval->setSuffix(QStringLiteral(" seconds"));
    addBox(QStringLiteral("Renew them at least every"), spnRecoveryInterval);
    connect(chkRecovery, &QCheckBox::toggled, spnRecoveryInterval, &QWidget::setEnabled);
    UndoMemory = new QSpinBox(this);
    UndoMemory->setObjectName(QStringLiteral("UndoMemory"));
    UndoMemory->setAccessibleName(QStringLiteral("Undo memory"));
    UndoMemory->setRange(16, 1 << 20);
    UndoMemory->setSuffix(QStringLiteral(" MB"));
    addBox(QStringLiteral("Undo memory"), UndoMemory);
    boxes->setColumnStretch(2, 1);
    layout->addLayout(boxes);

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
    Command3->setEnabled(Option6->isChecked());
    pointerFile_ = GetSetting(kAppTitle, kSection, QStringLiteral("PointerFile"), {});
    showPointerFile();
    Check1->setChecked(ScrollingToolbars());
    Check2->setChecked(PlugInsAtStart());
    chkRecovery->setChecked(GetSettingBool(kAppTitle, kSection, QStringLiteral("KeepRecoveryCopies"), true));
    spnRecoveryInterval->setValue(int(GetSettingNumber(kAppTitle, kSection, QStringLiteral("RecoveryInterval"), 60)));
    spnRecoveryInterval->setEnabled(chkRecovery->isChecked());
    UndoMemory->setValue(int(UndoMemoryBudget() >> 20));
}

void frmMainPreferences::Command1_Click()
{
    SaveChoice(Option1->group(), QStringLiteral("SplshScrn"));
    SaveChoice(Option4->group(), QStringLiteral("Pointer"));
    SaveSetting(kAppTitle, kSection, QStringLiteral("PointerFile"), pointerFile_);
    SaveSetting(kAppTitle, kSection, QStringLiteral("ScrollingToolbars"), SettingText(Check1->isChecked()));
    SaveSetting(kAppTitle, kSection, QStringLiteral("PlugInsAtStart"), SettingText(Check2->isChecked()));
    SaveSetting(kAppTitle, kSection, QStringLiteral("KeepRecoveryCopies"), SettingText(chkRecovery->isChecked()));
    SaveSetting(kAppTitle, kSection, QStringLiteral("RecoveryInterval"), SettingText(spnRecoveryInterval->value()));
    SaveSetting(kAppTitle, kSection, QStringLiteral("UndoMemory"), SettingText(UndoMemory->value()));
    ApplyPreferences();
    accept();
}

bool frmMainPreferences::Command3_Click()
{
    const QString path = RunOpenDialog(this, QStringLiteral("Pointer picture"), kOpenPictureFilter, pointerFile_);
    if (path.isEmpty()) return false;
    const PointerPicture picture = LoadPointerPicture(path);
    if (!picture.ok()) {
        QMessageBox::warning(this, QStringLiteral("Mouse pointer"), picture.error);
        return false;
    }
    pointerFile_ = path;
    showPointerFile();
    Option6->setChecked(true);
    return true;
}

void frmMainPreferences::showPointerFile()
{
    lblPointerFile->setText(pointerFile_.isEmpty() ? QStringLiteral("No picture chosen") : GetFileName(pointerFile_));
    lblPointerFile->setToolTip(pointerFile_);
}

} // namespace orv
