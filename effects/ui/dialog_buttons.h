#pragma once
// The OK and Cancel buttons every effect dialog ends with, right-aligned; OK is the default
// button and Cancel closes the dialog without running anything. And the one way a dialog
// refuses a value typed into one of its boxes, and the labelled text box the dialogs ask with.
#include "shell/settings_store.h"
#include <QBoxLayout>
#include <QDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace orv {

struct OkCancel {
    QPushButton* ok;
    QPushButton* cancel;
    QHBoxLayout* row;   // the row that holds them
};

inline OkCancel AddOkCancel(QDialog* dialog, QBoxLayout* layout)
{
    auto* row = new QHBoxLayout;
    row->addStretch();
    OkCancel b{new QPushButton(QStringLiteral("OK"), dialog), new QPushButton(QStringLiteral("Cancel"), dialog), row};
    b.ok->setDefault(true);
    b.ok->setAccessibleName(QStringLiteral("OK"));
    b.cancel->setAccessibleName(QStringLiteral("Cancel"));
    row->addWidget(b.ok);
    row->addWidget(b.cancel);
    layout->addLayout(row);
    QObject::connect(b.cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    return b;
}

// A text box with its label in a grid row, named for a screen reader.
inline QLineEdit* AddLabelledBox(QWidget* parent, QGridLayout* grid, int row, const char* name, const QString& caption,
                                 const QString& accessible, const QString& text)
{
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setAccessibleName(accessible);
    auto* label = new QLabel(caption, parent);
    label->setBuddy(edit);
    grid->addWidget(label, row, 0);
    grid->addWidget(edit, row, 1);
    return edit;
}

// Says why the value in `box` cannot be used and puts the cursor there to correct it; nothing
// runs and the dialog stays open.
inline void RefuseText(QWidget* dialog, QLineEdit* box, const QString& message)
{
    QMessageBox::warning(dialog, kAppTitle, message);
    box->setFocus();
    box->selectAll();
}

// A "Preview" button at the left end of the OK / Cancel row.
inline QPushButton* AddPreviewButton(QDialog* dialog, const OkCancel& buttons, const char* objectName)
{
    auto* preview = new QPushButton(QStringLiteral("Preview"), dialog);
    preview->setObjectName(QString::fromLatin1(objectName));
    preview->setAccessibleName(QStringLiteral("Preview"));
    buttons.row->insertWidget(0, preview);
    return preview;
}

} // namespace orv
