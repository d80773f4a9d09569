#include "shell/ui/frmAbout.h"
#include "desktop/scanner.h"
#include "orvane_version.h"
#include "platform/library_versions.h"
#include "shell/ui/frmSplash.h"
#include <QFile>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace orv {

QString LicenceText()
{
    LoadProgramResources();
    QFile file(QStringLiteral(":/LICENSE"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

frmAbout::frmAbout(QWidget* owner) : QDialog(owner)
{
    LoadProgramResources();
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Orvane 3.0"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 16);

    Label2 = AddProgramHeading(this, layout, 1.6);

    Label3 = new QLabel(QStringLiteral("Orvane is free software: you may pass it on and change it under the terms "
                                       "of the GNU General Public License as published by the Free Software "
                                       "Foundation, version 3 or (at your option) any later version "
                                       "(GPL-3.0-or-later). It comes with ABSOLUTELY NO WARRANTY. The plug-in "
                                       "kit is under the MIT licence."),
                        this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setWordWrap(true);
    layout->addWidget(Label3);

    List1 = new QTreeWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setAccessibleName(QStringLiteral("Libraries"));
    List1->setHeaderLabels({QStringLiteral("Library"), QStringLiteral("Version")});
    List1->setRootIsDecorated(false);
    List1->setSelectionMode(QAbstractItemView::NoSelection);
    QList<LibraryVersion> libraries = LibraryVersions();
    const QString sane = ScannerLibraryVersion();
    libraries.insert(3, {QStringLiteral("SANE"), sane.isEmpty() ? QStringLiteral("not available") : sane});
    for (const LibraryVersion& l : libraries) List1->addTopLevelItem(new QTreeWidgetItem({l.name, l.version}));
    List1->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    List1->setMinimumHeight(List1->sizeHintForRow(0) * int(libraries.size() + 2));
    layout->addWidget(List1);

    auto* row = new QHBoxLayout;
    Command2 = new QPushButton(QStringLiteral("&Licence..."), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setAccessibleName(QStringLiteral("Licence"));
    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setAccessibleName(QStringLiteral("OK"));
    Command1->setDefault(true);
    row->addWidget(Command2);
    row->addStretch();
    row->addWidget(Command1);
    layout->addLayout(row);
    connect(Command1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Command2, &QPushButton::clicked, this, &frmAbout::Command2_Click);
    setMinimumWidth(440);
}

void frmAbout::Command2_Click()
{
    QDialog licence(this);
    licence.setObjectName(QStringLiteral("frmLicence"));
    licence.setWindowTitle(QStringLiteral("Licence"));
    auto* layout = new QVBoxLayout(&licence);
    auto* text = new QPlainTextEdit(LicenceText(), &licence);
    text->setObjectName(QStringLiteral("Text1"));
    text->setAccessibleName(QStringLiteral("Licence text"));
    text->setReadOnly(true);
    text->setLineWrapMode(QPlainTextEdit::NoWrap);
    text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    layout->addWidget(text);
    auto* close = new QPushButton(QStringLiteral("Close"), &licence);
    close->setObjectName(QStringLiteral("Command1"));
    close->setAccessibleName(QStringLiteral("Close"));
    close->setDefault(true);
    layout->addWidget(close, 0, Qt::AlignRight);
    connect(close, &QPushButton::clicked, &licence, &QDialog::accept);
    licence.resize(640, 520);
    licence.exec();
}

} // namespace orv
