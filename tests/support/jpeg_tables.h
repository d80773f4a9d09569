#pragma once
// Reads back the quality a JPEG was written with: the first step of its first quantisation
// table. With the standard tables that step is (16 * s + 50) / 100, s = 5000 / q below 50 and
// 200 - 2q from 50, kept in 1..255: 85 gives 5, 40 gives 20, 10 gives 80.
#include <QByteArray>
#include <cstdint>

namespace orv::test {

inline int LumaDcStep(const QByteArray& jpeg)
{
    const int at = jpeg.indexOf(QByteArray("\xFF\xDB", 2));
    return at < 0 || at + 5 >= jpeg.size() || jpeg[at + 4] != 0 ? -1 : uint8_t(jpeg[at + 5]);
}

} // namespace orv::test
