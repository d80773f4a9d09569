#include "platform/program_parts.h"
#include "install_layout.h"
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace orv {

QString ProgramPartsFolder()
{
    // The helper beside the program marks the build tree.
    const QString here = QCoreApplication::applicationDirPath();
    if (QFileInfo::exists(here + QStringLiteral("/orvane-plugin-host"))) return here;
    return QDir::cleanPath(here + QStringLiteral("/" ORVANE_PARTS_FROM_PROGRAM));
}

} // namespace orv
