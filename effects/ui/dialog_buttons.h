#pragma once
// The OK and Cancel buttons every effect dialog ends with, right-aligned; OK is the default
// button and Cancel closes the dialog without running anything. And the one way a dialog
// refuses a value typed into one of its boxes.
#include "shell/settings_store.h"
#include <QBoxLayout>
#include <QDialog>
#include <QLineEdit>
#include <QMessageBox>
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
    b.ok->setAccessibleName(QStringLiteral("OK"));
    b.cancel->setAccessibleName(QStringLiteral("Cancel"));
    row->addWidget(b.ok);
    row->addWidget(b.cancel);
    layout->addLayout(row);
    QObject::connect(b.cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    return b;
}

// Says why the value in `box` cannot be used and puts the cursor there to correct it; nothing
// runs and the dialog stays open.
inline void RefuseText(QWidget* dialog, QLineEdit* box, const QString& message)
{
    QMessageBox::warning(dialog, kAppTitle, message);
    box->setFocus();
    box->selectAll();
}

} // namespace orv
