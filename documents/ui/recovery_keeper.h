#pragma once
// Keeps a recovery copy of every document with unsaved changes: written a few seconds after
// the changes stop, and at least once every interval while they go on. The window thread only
// takes a snapshot of the picture (no pixels copied); reading, packing and writing run on a
// worker thread. A document that is saved, or closed without saving, loses its copy; so does every
// document at a normal end.
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <map>
#include <memory>

class QTimer;

namespace orv {

class frmDocument;

class RecoveryKeeper : public QObject {
    Q_OBJECT
public:
    explicit RecoveryKeeper(QObject* parent);
    ~RecoveryKeeper() override;   // waits for writes in progress, then removes every copy

    // Follows the document's changes until it is destroyed.
    void watch(frmDocument* doc);
    // The document (recovered from `copy`, changed) takes that file over as its own copy.
    void adopt(frmDocument* doc, const QString& copy);
    // Reads "Keep recovery copies" and the interval again; switched off, every copy goes.
    void readSettings();

    // The quiet time after the last change before a copy is written.
    static constexpr int kQuietMs = 3000;

private:
    struct Kept;
    void changed(frmDocument* doc);
    void write(const std::shared_ptr<Kept>& kept);
    void written(const std::shared_ptr<Kept>& kept);
    void remove(const std::shared_ptr<Kept>& kept);

    std::map<frmDocument*, std::shared_ptr<Kept>> kept_;
    int nextSerial_ = 1;
    bool enabled_ = true;
    int intervalMs_ = 60000;
};

} // namespace orv
