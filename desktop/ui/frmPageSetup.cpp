#include "desktop/ui/frmPageSetup.h"
#include "desktop/print_page.h"
#include "effects/ui/dialog_buttons.h"
#include <QButtonGroup>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace orv {

namespace {

constexpr QPageSize::PageSizeId kPapers[] = {QPageSize::A3, QPageSize::A4, QPageSize::A5, QPageSize::B5,
                                             QPageSize::Letter, QPageSize::Legal, QPageSize::Executive,
                                             QPageSize::Tabloid};

QDoubleSpinBox* MarginBox(QWidget* parent, const char* name, const QString& side, double millimetres)
{
    auto* box = new QDoubleSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setAccessibleName(side + QStringLiteral(" margin"));
    box->setRange(0, 500);
    box->setDecimals(1);
    box->setSuffix(QStringLiteral(" mm"));
    box->setValue(millimetres);
    return box;
}

} // namespace

frmPageSetup::frmPageSetup(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmPageSetup"));
    setWindowTitle(QStringLiteral("Page Setup"));
    setModal(true);
    const QPageLayout current = SessionPageLayout();
    auto* layout = new QVBoxLayout(this);

    Combo1 = new QComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setAccessibleName(QStringLiteral("Paper"));
    for (QPageSize::PageSizeId id : kPapers) Combo1->addItem(QPageSize::name(id), int(id));
    if (Combo1->findData(int(current.pageSize().id())) < 0)
        Combo1->addItem(current.pageSize().name(), int(current.pageSize().id()));
    Combo1->setCurrentIndex(Combo1->findData(int(current.pageSize().id())));
    auto* paper = new QFormLayout;
    auto* paperLabel = new QLabel(QStringLiteral("&Paper:"), this);
    paperLabel->setBuddy(Combo1);
    paper->addRow(paperLabel, Combo1);
    layout->addLayout(paper);

    auto* orientation = new QGroupBox(QStringLiteral("Orientation"), this);
    orientation->setAccessibleName(QStringLiteral("Orientation"));
    auto* orientationRow = new QHBoxLayout(orientation);
    Option1 = new QRadioButton(QStringLiteral("P&ortrait"), orientation);
    Option1->setObjectName(QStringLiteral("Option1"));
    Option1->setAccessibleName(QStringLiteral("Portrait"));
    Option2 = new QRadioButton(QStringLiteral("&Landscape"), orientation);
    Option2->setObjectName(QStringLiteral("Option2"));
    Option2->setAccessibleName(QStringLiteral("Landscape"));
    (current.orientation() == QPageLayout::Landscape ? Option2 : Option1)->setChecked(true);
    orientationRow->addWidget(Option1);
    orientationRow->addWidget(Option2);
    layout->addWidget(orientation);

    const QMarginsF mm = current.margins(QPageLayout::Millimeter);
    auto* margins = new QGroupBox(QStringLiteral("Margins"), this);
    margins->setAccessibleName(QStringLiteral("Margins"));
    auto* marginForm = new QFormLayout(margins);
    MarginLeft = MarginBox(margins, "MarginLeft", QStringLiteral("Left"), mm.left());
    MarginTop = MarginBox(margins, "MarginTop", QStringLiteral("Top"), mm.top());
    MarginRight = MarginBox(margins, "MarginRight", QStringLiteral("Right"), mm.right());
    MarginBottom = MarginBox(margins, "MarginBottom", QStringLiteral("Bottom"), mm.bottom());
    for (auto [caption, box] : {std::pair{"Le&ft:", MarginLeft}, std::pair{"&Top:", MarginTop},
                                std::pair{"&Right:", MarginRight}, std::pair{"&Bottom:", MarginBottom}}) {
        auto* label = new QLabel(QString::fromLatin1(caption), margins);
        label->setBuddy(box);
        marginForm->addRow(label, box);
    }
    layout->addWidget(margins);

    const OkCancel buttons = AddOkCancel(this, layout);
    Command1 = buttons.ok;
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2 = buttons.cancel;
    Command2->setObjectName(QStringLiteral("Command2"));
    connect(Command1, &QPushButton::clicked, this, &frmPageSetup::accept);
}

QPageLayout frmPageSetup::chosenLayout() const
{
    const QPageSize paper(QPageSize::PageSizeId(Combo1->currentData().toInt()));
    const QPageLayout::Orientation orientation = Option2->isChecked() ? QPageLayout::Landscape : QPageLayout::Portrait;
    const QMarginsF margins(MarginLeft->value(), MarginTop->value(), MarginRight->value(), MarginBottom->value());
    QPageLayout layout(paper, orientation, QMarginsF(), QPageLayout::Millimeter);
    // The margins are the user's, not bounded by any printer's least margins.
    layout.setMode(QPageLayout::FullPageMode);
    layout.setMargins(margins);
    return layout;
}

void frmPageSetup::accept()
{
    const QPageLayout layout = chosenLayout();
    const QSizeF sheet = layout.fullRect(QPageLayout::Millimeter).size();
    const QMarginsF m = layout.margins(QPageLayout::Millimeter);
    if (m.left() + m.right() >= sheet.width() || m.top() + m.bottom() >= sheet.height()) {
        QMessageBox::warning(this, kAppTitle,
                             QStringLiteral("The margins leave no room on the page: the %1 sheet is %2 mm wide "
                                            "and %3 mm high this way round. Make the margins smaller.")
                                 .arg(layout.pageSize().name())
                                 .arg(qRound(sheet.width()))
                                 .arg(qRound(sheet.height())));
        MarginLeft->setFocus();
        MarginLeft->selectAll();
        return;
    }
    SetSessionPageLayout(layout);
    QDialog::accept();
}

} // namespace orv
