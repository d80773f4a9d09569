#pragma once
// A picture held for undo: kept as it is, or compressed with zstd at a low level once that
// makes it clearly smaller. The compression runs on the packing thread, so the window never
// waits for it; until it is done the picture is held, counted and given back as it is. It is
// compressed in bands of rows, each on its own, which all cores unpack at once straight into
// the picture given back. Also the byte packing the undo steps of strokes use.
#include <QByteArray>
#include <QImage>
#include <cstdint>
#include <memory>

class QThreadPool;

namespace orv {

// zstd at a low level: fast enough to run on a whole picture between two commands (undo steps,
// recovery copies).
QByteArray PackBytes(const void* data, size_t size);
// Unpacks into exactly `size` bytes at `out`; false when the data does not fit.
bool UnpackBytes(const QByteArray& packed, void* out, size_t size);

// The one thread that compresses held pictures, one after another in the order asked. It is
// let go when the program ends, after the picture in hand (a bounded wait).
QThreadPool& PackingThread();

class PackedPicture {
public:
    PackedPicture() = default;
    explicit PackedPicture(const QImage& picture);

    bool isPacked() const;
    // Has the picture compressed on the packing thread, kept when that saves at least a tenth;
    // asked once per picture. A picture let go before its turn is not compressed.
    void pack();
    // Has a packed picture unpacked on the packing thread, when it fits in `room` bytes, so
    // that picture() gives it at once; letGoAhead drops that picture again. It is counted in
    // bytes() while held.
    void unpackAhead(int64_t room);
    void letGoAhead();
    // The picture as it was handed in, with its resolution (a null image when
    // unpacking fails or there is no memory for it).
    QImage picture() const;
    // Memory held: the compressed bytes (and a picture unpacked ahead), or the picture's pixels
    // while it is not (yet) packed.
    int64_t bytes() const;

private:
    struct Held;   // shared with the packing thread while it works on the picture
    std::shared_ptr<Held> held_;
};

} // namespace orv
