#include "shell/ui/frmMainPreferences.h"
#include "effects/ui/dialog_buttons.h"
#include "shell/settings_store.h"
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

namespace orv {

namespace {

const QString kSection = QStringLiteral("Preferences");

// A group of three exclusive choices standing for the values 0, 1 and 2.
QButtonGroup* Choices(QGroupBox* frame, std::initializer_list<QRadioButton*> buttons)
{
    auto* group = new QButtonGroup(frame);
    auto* layout = new QVBoxLayout(frame);
    int value = 0;
    for (QRadioButton* b : buttons) {
        group->addButton(b, value++);
        layout->addWidget(b);
    }
    return group;
}

QRadioButton* Choice(const QString& caption, const QString& name, QWidget* parent)
{
    auto* b = new QRadioButton(caption, parent);
    b->setObjectName(name);
    b->setAccessibleName(caption);
    return b;
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

frmMainPreferences::frmMainPreferences(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmMainPreferences"));
    setWindowTitle(QStringLiteral("Preferences"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);

    Frame1 = new QGroupBox(QStringLiteral("Show splash screen"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setAccessibleName(Frame1->title());
    Option1 = Choice(QStringLiteral("None"), QStringLiteral("Option1"), Frame1);
    Option2 = Choice(QStringLiteral("Picture"), QStringLiteral("Option2"), Frame1);
    Option3 = Choice(QStringLiteral("Animation"), QStringLiteral("Option3"), Frame1);
    Choices(Frame1, {Option1, Option2, Option3});

    Frame2 = new QGroupBox(QStringLiteral("Mouse pointer"), this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Frame2->setAccessibleName(Frame2->title());
    Option4 = Choice(QStringLiteral("Normal"), QStringLiteral("Option4"), Frame2);
    Option5 = Choice(QStringLiteral("Cross"), QStringLiteral("Option5"), Frame2);
    Option6 = Choice(QStringLiteral("Custom"), QStringLiteral("Option6"), Frame2);
    Choices(Frame2, {Option4, Option5, Option6});
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
}

void frmMainPreferences::Command1_Click()
{
    SaveChoice(Option1->group(), QStringLiteral("SplshScrn"));
    SaveChoice(Option4->group(), QStringLiteral("Pointer"));
    accept();
}

} // namespace orv
