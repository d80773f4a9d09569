#pragma once
// A picture held for undo: kept as it is, or compressed with zstd at a low level once that
// makes it clearly smaller. Also the byte packing the undo steps of strokes use.
#include <QByteArray>
#include <QImage>
#include <cstdint>

namespace orv {

// zstd at a low level: fast enough to run on a whole picture between two commands (undo steps,
// recovery copies).
QByteArray PackBytes(const void* data, size_t size);
// Unpacks into exactly `size` bytes at `out`; false when the data does not fit.
bool UnpackBytes(const QByteArray& packed, void* out, size_t size);

class PackedPicture {
public:
    PackedPicture() = default;
    explicit PackedPicture(QImage picture) : image_(std::move(picture)) {}

    bool isNull() const { return image_.isNull() && packed_.isEmpty(); }
    bool isPacked() const { return !packed_.isEmpty(); }
    // Compresses a held picture when that saves at least a tenth; tried once per picture.
    void pack();
    // The picture as it was handed in (a null image when unpacking fails).
    QImage picture() const;
    // Memory held: the compressed bytes, or the picture's pixels.
    int64_t bytes() const;

private:
    QImage image_;
    QByteArray packed_;
    QSize size_;
    QImage::Format format_ = QImage::Format_Invalid;
    qsizetype bytesPerLine_ = 0;
    bool tried_ = false;
};

} // namespace orv
