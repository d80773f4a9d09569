#pragma once
// The rows of a picture as they were at one moment, read by another thread while the picture
// stays in use. Sharing the picture itself would make the window thread copy all of it on the
// first stroke; here the reader copies the rows it needs a band at a time, and the owner,
// before it writes rows the reader has not taken yet, keeps their old pixels for it. A stroke
// thus costs the window thread a copy of the rows it touches, once, and nothing after the
// reader has passed them.
//
// While the snapshot is linked to its owner (a canvas), the owner promises that the picture's
// pixels stay where they are and that every write is announced with keepRows() first; when it
// can no longer promise that (the picture is replaced, shared, written without notice or goes
// away), it calls hold(), and the snapshot keeps the pixels alive with a reference of its own.
#include <QImage>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace orv {

class PictureSnapshot {
public:
    // A snapshot of `picture` (kPixelFormat) that its owner keeps up to date as promised above.
    explicit PictureSnapshot(const QImage& picture);
    // A snapshot that needs no owner: it holds the picture from the start.
    static std::shared_ptr<PictureSnapshot> Holding(const QImage& picture);

    int width() const { return width_; }
    int height() const { return height_; }

    // Reader: copies rows y0 .. y0 + rows - 1 as they were into `out` (rows `outStride` bytes
    // apart, 4 bytes a pixel). Each row is to be read once: a row read may be written over.
    // False when the snapshot lost rows (there was no memory to keep them).
    bool readRows(int y0, int rows, uint8_t* out, size_t outStride);

    // Owner: rows y0 .. y1 are about to be written. Without memory to keep them the snapshot
    // gives up (the reader is told), never the owner's write.
    void keepRows(int y0, int y1);
    // Owner: from now on the snapshot reads `picture`, which has the pixels it was made from,
    // through a reference of its own (the owner writing after this copies for itself).
    void hold(const QImage& picture);

private:
    enum class Row : uint8_t { Unread, Kept, Read };

    std::mutex mutex_;
    const uint8_t* bits_;
    size_t stride_;
    int width_, height_;
    QImage held_;
    bool lost_ = false;
    std::vector<Row> rows_;
    std::vector<const uint8_t*> kept_;   // by row, the pixels kept for the reader
    std::vector<QImage> blocks_;         // the memory of kept rows, a block for each keepRows
};

} // namespace orv
