#include "shell/ui/open_dialog.h"
#include "documents/image_loader.h"
#include <QApplication>
#include <QDir>
#include <QFileDialog>

namespace orv {

QString RunOpenDialog(QWidget* parent, const QString& title, const QString& filterPairs,
                      const QString& initialFile)
{
    QFileDialog dialog(parent, title, QDir::currentPath());
    dialog.setObjectName(QStringLiteral("OpenDialog"));
    // Qt's own chooser everywhere, so that the file-type list is shown as given.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    const QStringList filters = DialogNameFilters(filterPairs);
    dialog.setNameFilters(filters);
    if (!filters.isEmpty()) dialog.selectNameFilter(filters.first());
    if (!initialFile.isEmpty()) dialog.selectFile(initialFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

QString ShowOpenDialog(const QString& title, const QString& filter, const QString& initialFile)
{
    const QString allFiles = QStringLiteral("All files (*.*)|*.*");
    const QString pairs = filter.endsWith(allFiles) ? filter : filter + QLatin1Char('|') + allFiles;
    return RunOpenDialog(QApplication::activeWindow(), title, pairs, initialFile);
}

} // namespace orv
