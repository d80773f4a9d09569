#include "shell/ui/file_drop.h"
#include "documents/image_loader.h"
#include "shell/ui/frmMain.h"
#include <QDropEvent>
#include <QMimeData>
#include <QPointer>
#include <QTimer>
#include <QUrl>

namespace orv {

FileDrop::FileDrop(frmMain* frame) : QObject(frame), frame_(frame)
{
    frame->installEventFilter(this);
}

bool FileDrop::HoldsFiles(const QMimeData* data)
{
    if (!data || !data->hasUrls()) return false;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) return true;
    return false;
}

QStringList FileDrop::PicturePaths(const QMimeData* data)
{
    QStringList paths;
    if (!HoldsFiles(data)) return paths;
    for (const QUrl& url : data->urls()) {
        const QString path = url.toLocalFile();
        if (url.isLocalFile() && LoaderFor(path) != PictureLoader::None) paths << path;
    }
    return paths;
}

bool FileDrop::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (HoldsFiles(drag->mimeData()) && (drag->possibleActions() & Qt::CopyAction)) {
            drag->setDropAction(Qt::CopyAction);
            drag->accept();
        } else {
            drag->ignore();
        }
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        if (!HoldsFiles(drop->mimeData())) {
            drop->ignore();
            return true;
        }
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        // The files open once the drop has finished, so that the program that started the
        // drag is not kept waiting by message boxes.
        const QStringList paths = PicturePaths(drop->mimeData());
        QTimer::singleShot(0, frame_, [frame = QPointer<frmMain>(frame_), paths] {
            for (const QString& path : paths) {
                if (!frame) return;
                frame->OpenFile(path);
            }
        });
        return true;
    }
    default: return QObject::eventFilter(watched, event);
    }
}

} // namespace orv
