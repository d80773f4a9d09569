#include "effects/ui/thumbnail_preview.h"
#include "documents/ui/canvas_view.h"
#include "effects/working_copy.h"
#include "platform/numbers.h"
#include "platform/raster.h"
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

namespace orv {

namespace {

// A picture far wider than high would give a thumbnail of the box's height but thousands of
// box widths; beyond this width the thumbnail is squeezed to it.
constexpr int kMaxThumbnailWidth = 16 * ThumbnailPreview::kBoxWidth;

} // namespace

ThumbnailPreview::ThumbnailPreview(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    picPreview = new CanvasView(this);
    picPreview->setObjectName(QStringLiteral("picPreview"));
    picPreview->setAccessibleName(QStringLiteral("Preview"));
    picPreview->setCursor(Qt::ArrowCursor);
    picPreview->setFocusPolicy(Qt::NoFocus);
    const QColor face = palette().color(QPalette::Window);
    picPreview->canvas().setBackColor(RGB(face.red(), face.green(), face.blue()));
    picPreview->canvas().resizePixels(kBoxWidth, kBoxHeight);
    picPreview->canvas().Cls();
    picPreview->setFixedSize(kBoxWidth, kBoxHeight);
    layout->addWidget(picPreview);
}

void ThumbnailPreview::takePicture(Canvas& canvas)
{
    canvas.setScaleMode(kScalePixels);
    const QImage& picture = std::as_const(canvas).buffer();
    const double s = double(kBoxHeight) / picture.height();
    const int th = static_cast<int>(RoundHalfEven(s * picture.height()));
    const int tw = std::clamp(static_cast<int>(RoundHalfEven(s * picture.width())), 1, kMaxThumbnailWidth);
    thumbnail_ = NewUninitializedPixelBuffer(tw, th);
    StretchBlt(thumbnail_, 0, 0, tw, th, picture, 0, 0, picture.width(), picture.height(), Rop::SrcCopy);
    origin_ = QPoint(std::max(0, static_cast<int>(RoundHalfEven((kBoxWidth - tw) / 2.0))),
                     std::max(0, static_cast<int>(RoundHalfEven((kBoxHeight - th) / 2.0))));
    Canvas& box = picPreview->canvas();
    box.Cls();
    BitBlt(box.buffer(), origin_.x(), origin_.y(), tw, th, thumbnail_, 0, 0, Rop::SrcCopy);
    box.Refresh();
    picPreviewBak = box.Image().copy();
}

void ThumbnailPreview::preview(const std::function<std::vector<ColumnPass>(WorkingCopy&)>& makePasses)
{
    QImage result = thumbnail_;
    RunOnWorkingCopy(result, makePasses, nullptr);
    showResult(result);
}

void ThumbnailPreview::showResult(const QImage& picture)
{
    Canvas& box = picPreview->canvas();
    box.buffer() = picPreviewBak.copy();
    if (picture.size() == thumbnail_.size()) {
        BitBlt(box.buffer(), origin_.x(), origin_.y(), picture.width(), picture.height(), picture, 0, 0,
               Rop::SrcCopy);
    } else {
        // A result of another size (a turn) is shown whole: shrunk to fit the box if need be,
        // and centred on the box's background.
        box.Cls();
        const double s = std::min({1.0, double(kBoxWidth) / picture.width(), double(kBoxHeight) / picture.height()});
        const int w = std::max(1, static_cast<int>(RoundHalfEven(s * picture.width())));
        const int h = std::max(1, static_cast<int>(RoundHalfEven(s * picture.height())));
        StretchBlt(box.buffer(), (kBoxWidth - w) / 2, (kBoxHeight - h) / 2, w, h, picture, 0, 0, picture.width(),
                   picture.height(), Rop::SrcCopy);
    }
    box.Refresh();
    picPreview->repaint();
}

} // namespace orv
