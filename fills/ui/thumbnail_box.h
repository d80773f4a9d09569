#pragma once
// A picture box of the fill dialogs: a fixed-size box that shows a picture stretched to its
// whole width and height from the top-left corner, and keeps what it shows as a pixel buffer
// of its own size so that previews can be drawn on it.
#include <QImage>
#include <QLabel>

namespace orv {

class ThumbnailBox : public QLabel {
    Q_OBJECT
public:
    ThumbnailBox(const QString& objectName, const QString& accessibleName, QWidget* parent);

    static constexpr int kWidth = 160;
    static constexpr int kHeight = 120;

    // Shows `picture` stretched to the box; a null picture clears the box to white.
    void showStretched(const QImage& picture);
    // Shows a picture of the box's own size as it is.
    void showImage(const QImage& image);
    const QImage& image() const { return image_; }

private:
    QImage image_;
};

} // namespace orv
