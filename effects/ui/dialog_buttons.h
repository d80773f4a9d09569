#pragma once
// The OK and Cancel buttons every effect dialog ends with, right-aligned; OK is the default
// button and Cancel closes the dialog without running anything.
#include <QBoxLayout>
#include <QDialog>
#include <QPushButton>

namespace orv {

struct OkCancel {
    QPushButton* ok;
    QPushButton* cancel;
};

inline OkCancel AddOkCancel(QDialog* dialog, QBoxLayout* layout)
{
    auto* row = new QHBoxLayout;
    row->addStretch();
    OkCancel b{new QPushButton(QStringLiteral("OK"), dialog), new QPushButton(QStringLiteral("Cancel"), dialog)};
    b.ok->setDefault(true);
    b.ok->setAccessibleName(b.ok->text());
    b.cancel->setAccessibleName(b.cancel->text());
    row->addWidget(b.ok);
    row->addWidget(b.cancel);
    layout->addLayout(row);
    QObject::connect(b.cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    return b;
}

} // namespace orv
