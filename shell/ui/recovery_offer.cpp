// The question at start about the pictures an editor left unsaved when it last ended: Recover
// opens each as a changed document that saves back to its own file, Discard removes them, and
// closing the question keeps them for the next start. A damaged copy is named and set aside.
#include "documents/recovery_file.h"
#include "documents/recovery_folder.h"
#include "documents/ui/frmDocument.h"
#include "documents/ui/recovery_keeper.h"
#include "platform/work_folder.h"
#include "shell/settings_store.h"
#include "shell/ui/frmMain.h"
#include "shell/ui/window_bar.h"
#include <QFileInfo>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPushButton>

namespace orv {

namespace {

// The message of a damaged copy, which is moved aside.
QString SetAside(const QString& path, const QString& error)
{
    const QString aside = SetCopyAside(path);
    return error + QStringLiteral(" It is kept as \"%1\" and not offered again.").arg(QFileInfo(aside).fileName());
}

} // namespace

void frmMain::OfferLeftCopies()
{
    QStringList damaged;
    QList<QPair<QString, RecoveryCopy>> found;
    for (const QString& path : TakeLeftCopies()) {
        RecoveryCopy copy;
        QString error;
        if (ReadRecoveryCopy(path, false, &copy, &error)) found.append({path, copy});
        else damaged.append(SetAside(path, error));
    }
    if (!damaged.isEmpty()) QMessageBox::warning(this, kAppTitle, damaged.join(QStringLiteral("\n\n")));
    if (found.isEmpty()) {
        ReleaseLeftSessions();
        return;
    }

    QStringList lines;
    for (const auto& [path, copy] : found)
        lines.append(QStringLiteral("%1 (%2 x %3 pixels, %4)")
                         .arg(copy.caption)
                         .arg(copy.size.width())
                         .arg(copy.size.height())
                         .arg(copy.time.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"))));
    QMessageBox box(QMessageBox::Question, kAppTitle,
                    QStringLiteral("Orvane ended without saving these pictures:\n\n%1\n\nRecover them?")
                        .arg(lines.join(u'\n')),
                    QMessageBox::NoButton, this);
    box.setObjectName(QStringLiteral("RecoveryQuestion"));
    QPushButton* recover = box.addButton(QStringLiteral("Recover"), QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(QStringLiteral("Discard"), QMessageBox::DestructiveRole);
    QPushButton* later = box.addButton(QMessageBox::Cancel);
    for (QPushButton* b : {recover, discard, later}) b->setAccessibleName(b->text());
    box.setDefaultButton(recover);
    box.setEscapeButton(later);
    box.exec();

    if (box.clickedButton() == discard) {
        for (const auto& [path, copy] : found) RemoveWorkFile(path);
    } else if (box.clickedButton() == recover) {
        // The empty picture of the start makes room for the recovered ones.
        const QList<frmDocument*> before = documents();
        frmDocument* blank = before.size() == 1 && !before[0]->Changed && before[0]->filePath().isEmpty() ? before[0] : nullptr;
        damaged.clear();
        for (const auto& [path, described] : found) {
            RecoveryCopy copy;
            QString error;
            if (!ReadRecoveryCopy(path, true, &copy, &error)) {
                damaged.append(SetAside(path, error));
                continue;
            }
            frmDocument* d = LoadNewDoc();
            Canvas& canvas = d->canvas();
            canvas.setAutoSize(true);
            canvas.setPicture(copy.pixels);
            canvas.setAutoSize(false);
            d->setWindowTitle(copy.caption);
            d->setFilePath(copy.filePath);
            d->setJpegQuality(copy.jpegQuality);
            d->Changed = true;
            d->undoHistory().forgetSaved();   // its file holds an older picture
            recovery_->adopt(d, path);
            windowBar_->Holder_Resize();
            FitWindowToPicture(d);
        }
        if (blank && documents().size() > 1) blank->subWindow()->close();
        if (!damaged.isEmpty()) QMessageBox::warning(this, kAppTitle, damaged.join(QStringLiteral("\n\n")));
    }
    ReleaseLeftSessions();
}

} // namespace orv
