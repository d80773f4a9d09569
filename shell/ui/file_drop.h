#pragma once
// Files dropped on the frame or on any part of a document window (documents pass the drag
// events they do not take on to the frame). A drag that carries files may be dropped as a
// copy; anything else shows the no-drop cursor. Each dropped picture file of the eleven types
// opens in a new document, one completely after the other in the order of the list; other
// files are skipped.
#include <QObject>

class QMimeData;

namespace orv {

class frmMain;

class FileDrop : public QObject {
    Q_OBJECT
public:
    explicit FileDrop(frmMain* frame);

    // Whether the data holds a list of files.
    static bool HoldsFiles(const QMimeData* data);
    // The dropped paths that are opened, in order.
    static QStringList PicturePaths(const QMimeData* data);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    frmMain* frame_;
};

} // namespace orv
