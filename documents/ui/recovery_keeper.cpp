#include "documents/ui/recovery_keeper.h"
#include "documents/recovery_file.h"
#include "documents/picture_snapshot.h"
#include "documents/recovery_folder.h"
#include "documents/ui/frmDocument.h"
#include "platform/work_folder.h"
#include "shell/settings_store.h"
#include <QDateTime>
#include <QFile>
#include <QThreadPool>
#include <QTimer>
#include <cstdio>

namespace orv {

struct RecoveryKeeper::Kept {
    QPointer<frmDocument> doc;
    QString path;
    QTimer* quiet = nullptr;
    QElapsedTimer pendingSince;   // the oldest change not yet in a copy
    bool writing = false;
    bool again = false;           // changed while being written
    bool removeAfter = false;     // saved or closed while being written
    bool onDisk = false;
};

RecoveryKeeper::RecoveryKeeper(QObject* parent) : QObject(parent)
{
    readSettings();
}

RecoveryKeeper::~RecoveryKeeper()
{
    QThreadPool::globalInstance()->waitForDone();
    for (auto& [doc, kept] : kept_) RemoveWorkFile(kept->path);
    EndRecoverySession();
}

void RecoveryKeeper::readSettings()
{
    const QString section = QStringLiteral("Preferences");
    enabled_ = GetSettingBool(kAppTitle, section, QStringLiteral("KeepRecoveryCopies"), true);
    intervalMs_ = 1000 * std::clamp(int(GetSettingNumber(kAppTitle, section, QStringLiteral("RecoveryInterval"), 60)), 10, 3600);
    for (auto& [doc, kept] : kept_)
        if (!enabled_) remove(kept);
        else if (doc->Changed && !kept->onDisk) changed(doc);
}

void RecoveryKeeper::watch(frmDocument* doc)
{
    auto kept = std::make_shared<Kept>();
    kept->doc = doc;
    kept->path = RecoveryCopyPath(nextSerial_++);
    kept->quiet = new QTimer(this);
    kept->quiet->setSingleShot(true);
    connect(kept->quiet, &QTimer::timeout, this, [this, kept] { write(kept); });
    kept_[doc] = kept;
    connect(doc, &frmDocument::changeNoted, this, [this, doc] { changed(doc); });
    // Closed: with No to the save question, or after a save. Either way the copy goes.
    connect(doc, &QObject::destroyed, this, [this, doc] {
        auto it = kept_.find(doc);
        if (it == kept_.end()) return;
        std::shared_ptr<Kept> kept = it->second;
        kept_.erase(it);
        delete kept->quiet;
        kept->quiet = nullptr;
        remove(kept);
    });
}

void RecoveryKeeper::adopt(frmDocument* doc, const QString& copy)
{
    auto it = kept_.find(doc);
    if (it == kept_.end() || it->second->path.isEmpty()) return;
    if (std::rename(QFile::encodeName(copy).constData(), QFile::encodeName(it->second->path).constData()) == 0)
        it->second->onDisk = true;
    it->second->quiet->stop();
    it->second->pendingSince.invalidate();
}

void RecoveryKeeper::changed(frmDocument* doc)
{
    auto it = kept_.find(doc);
    if (it == kept_.end() || it->second->path.isEmpty()) return;
    const std::shared_ptr<Kept>& kept = it->second;
    if (!doc->Changed || !enabled_) {
        remove(kept);
        return;
    }
    kept->removeAfter = false;
    if (!kept->pendingSince.isValid()) kept->pendingSince.start();
    // Long work without a pause is kept at least once an interval.
    if (kept->pendingSince.elapsed() >= intervalMs_) write(kept);
    else kept->quiet->start(kQuietMs);
}

void RecoveryKeeper::write(const std::shared_ptr<Kept>& kept)
{
    if (kept->quiet) kept->quiet->stop();
    frmDocument* doc = kept->doc;
    if (!doc || !doc->Changed || !enabled_) return;
    if (kept->writing) {
        kept->again = true;
        return;
    }
    // The window thread's part: a snapshot of the picture, nothing copied. Drawing meanwhile
    // copies for it only the rows drawn on that the writer has not read yet.
    std::shared_ptr<PictureSnapshot> pixels = doc->canvas().snapshot();
    RecoveryCopy copy;
    copy.caption = doc->windowTitle();
    copy.filePath = doc->filePath();
    copy.jpegQuality = doc->jpegQuality();
    copy.time = QDateTime::currentDateTime();
    kept->pendingSince.invalidate();
    kept->writing = true;
    // The destructor waits for every write, so the keeper outlives the worker's callback.
    QThreadPool::globalInstance()->start([this, kept, copy = std::move(copy), pixels = std::move(pixels)]() mutable {
        QString error;
        const bool ok = WriteRecoveryCopy(copy, std::move(pixels), kept->path, &error);
        if (!ok) std::fprintf(stderr, "%s\n", qPrintable(error));
        QMetaObject::invokeMethod(this, [this, kept, ok] {
            kept->onDisk = kept->onDisk || ok;
            written(kept);
        }, Qt::QueuedConnection);
    });
}

void RecoveryKeeper::written(const std::shared_ptr<Kept>& kept)
{
    kept->writing = false;
    if (kept->removeAfter) {
        kept->removeAfter = false;
        remove(kept);
    } else if (kept->again) {
        kept->again = false;
        if (kept->doc && kept->quiet) changed(kept->doc);
    }
}

void RecoveryKeeper::remove(const std::shared_ptr<Kept>& kept)
{
    if (kept->quiet) kept->quiet->stop();
    kept->pendingSince.invalidate();
    kept->again = false;
    if (kept->writing) {
        kept->removeAfter = true;
        return;
    }
    if (kept->onDisk) RemoveWorkFile(kept->path);
    kept->onDisk = false;
}

} // namespace orv
