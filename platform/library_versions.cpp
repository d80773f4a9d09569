#include "platform/library_versions.h"
#include "orvane_version.h"
#include <QtGlobal>
#include <curl/curl.h>
#include <hwy/highway.h>
#include <magick/api.h>
#include <spng.h>
#include <zlib.h>
#include <zstd.h>

namespace orv {

namespace {

// "GraphicsMagick 1.3.40 2023-01-14 Q16 http://..." -> "1.3.40"
QString GraphicsMagickVersion()
{
    unsigned long number = 0;
    return QString::fromLatin1(GetMagickVersion(&number)).section(QLatin1Char(' '), 1, 1);
}

// The compiled-in instruction set that run-time dispatch takes on this processor: the best one
// the processor supports, which is the lowest bit.
QString HighwayVersion()
{
    const int64_t targets = hwy::SupportedTargets() & HWY_TARGETS;
    const QString version = QStringLiteral("%1.%2.%3").arg(HWY_MAJOR).arg(HWY_MINOR).arg(HWY_PATCH);
    if (targets == 0) return version;
    return version + QStringLiteral(" (%1)").arg(QString::fromLatin1(hwy::TargetName(targets & -targets)));
}

} // namespace

QList<LibraryVersion> LibraryVersions()
{
    return {
        {QStringLiteral("Qt"), QString::fromLatin1(qVersion())},
        {QStringLiteral("GraphicsMagick"), GraphicsMagickVersion()},
        {QStringLiteral("libcurl"), QString::fromLatin1(curl_version_info(CURLVERSION_NOW)->version)},
        {QStringLiteral("Highway"), HighwayVersion()},
        {QStringLiteral("TurboJPEG"), QStringLiteral(ORVANE_TURBOJPEG_VERSION)},
        {QStringLiteral("libspng"), QString::fromLatin1(spng_version_string())},
        {QStringLiteral("zstd"), QString::fromLatin1(ZSTD_versionString())},
        {QStringLiteral("zlib"), QString::fromLatin1(zlibVersion())},
    };
}

} // namespace orv
