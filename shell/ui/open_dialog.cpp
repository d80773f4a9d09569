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
    // Each entry shows its description as the list gives it; the patterns Qt needs to filter
    // ride along unseen, so "GIF Files (*.gif)" does not read "GIF Files (*.gif) (*.gif)".
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    const QStringList filters = DialogNameFilters(filterPairs);
    dialog.setNameFilters(filters);
    if (!filters.isEmpty()) dialog.selectNameFilter(filters.first());
    if (!initialFile.isEmpty()) dialog.selectFile(initialFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

} // namespace orv
