#pragma once
// The preview box of effect dialogs that try their effect on a thumbnail of the picture.
//
// The thumbnail is the picture shrunk (or stretched) to the box's height, s = BH / PH, so it
// measures round(s PW) x round(s PH), and sits centred in the box, left-aligned and cut off at
// the box's right edge when it is wider. Every preview starts again from the unaltered
// thumbnail, runs the effect's passes on a copy of it and shows the result in the box; the
// picture the thumbnail was taken from is never touched.
#include "effects/column_passes.h"
#include <QImage>
#include <QWidget>
#include <functional>

namespace orv {

class Canvas;
class CanvasView;
class WorkingCopy;

class ThumbnailPreview : public QWidget {
    Q_OBJECT
public:
    static constexpr int kBoxWidth = 240;
    static constexpr int kBoxHeight = 160;

    explicit ThumbnailPreview(QWidget* parent);

    // Takes the canvas's picture (setting its drawing unit to pixels) and shows its thumbnail.
    void takePicture(Canvas& canvas);

    // The unaltered thumbnail and where it sits in the box.
    const QImage& thumbnail() const { return thumbnail_; }
    QPoint thumbnailOrigin() const { return origin_; }

    // The effect's passes run on a copy of the thumbnail, without progress; the box shows the
    // result over the box as it was with the unaltered thumbnail.
    void preview(const std::function<std::vector<ColumnPass>(WorkingCopy&)>& makePasses);

    CanvasView* picPreview;   // what the box shows
    QImage picPreviewBak;     // the box with the unaltered thumbnail

private:
    void showResult(const QImage& picture);

    QImage thumbnail_;
    QPoint origin_;
};

} // namespace orv
