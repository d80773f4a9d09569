#pragma once
// The mouse pointer every canvas shows, as the Preferences choose it: the current tool's own
// pointer ("Normal"), a crosshair ("Cross", the choice of a fresh installation) or a picture
// of the user's ("Custom"). A canvas asks for its pointer here and follows a change at once.
#include <QCursor>
#include <QObject>

namespace orv {

enum class PointerChoice { Normal = 0, Cross = 1, Custom = 2 };

class CanvasPointer : public QObject {
    Q_OBJECT
public:
    static CanvasPointer& instance();

    // The pointer over a canvas whose tool's own pointer is `toolShape`.
    QCursor cursor(Qt::CursorShape toolShape) const;
    PointerChoice choice() const { return choice_; }
    // Custom shows `picture`; Normal and Cross ignore it.
    void set(PointerChoice choice, const QCursor& picture = {});

signals:
    void changed();

private:
    PointerChoice choice_ = PointerChoice::Cross;
    QCursor picture_;
};

// The side, in pixels, a pointer picture is scaled down to (keeping its proportions).
inline constexpr int kPointerSide = 32;

struct PointerPicture {
    QCursor cursor;   // the picture at most kPointerSide a side, its hot spot at the centre
    QString error;    // why the file cannot serve, naming it; empty on success
    bool ok() const { return error.isEmpty(); }
};

// Reads a pointer picture from any file the program opens (and cursor files), within the
// picture limits; its transparent areas stay transparent.
PointerPicture LoadPointerPicture(const QString& path);

} // namespace orv
