#include "plugins/plugin_table.h"
#include "platform/program_parts.h"
#include "platform/work_folder.h"
#include <QDir>
#include <QFileInfo>

namespace orv {

const PlugInRecord* PlugInTable::find(const QString& className) const
{
    for (const PlugInRecord& r : records)
        if (r.ClassName == className) return &r;
    return nullptr;
}

QStringList PlugInFolders()
{
    return {ProgramPartsFolder() + QStringLiteral("/plugins"),
            UserDataFolder() + QStringLiteral("/plugins")};
}

QStringList PlugInFiles(const QStringList& folders)
{
    QStringList files;
    QSet<QString> seen;
    for (const QString& folder : folders) {
        const QDir dir(folder, QStringLiteral("*.dll"), QDir::Name | QDir::IgnoreCase, QDir::Files);
        for (const QString& name : dir.entryList()) {
            if (seen.contains(name)) continue;
            seen.insert(name);
            files.append(dir.filePath(name));
        }
    }
    return files;
}

QString PlugInClassName(const QString& fileName)
{
    return fileName.chopped(4) + QStringLiteral(".PlugInClass");
}

QString PlugInRegistrationError(const QString& fileName)
{
    return QStringLiteral("Error resigtring ") + fileName
           + QStringLiteral(". Please try to register it manualy using RegSvr32.exe. Please make sure that the "
                            "file have not been renamed.");
}

bool ScanPlugIns(const QStringList& files, PlugInCalls& calls,
                 const std::function<void(const QString& library)>& failed, QList<PlugInRecord>* table)
{
    if (files.isEmpty()) return false;
    QList<PlugInRecord> built;
    for (const QString& library : files) {
        const QString className = PlugInClassName(QFileInfo(library).fileName());
        std::optional<QString> name = calls.name(library, className);
        if (!name) {
            calls.registerLibrary(library);
            name = calls.name(library, className);
        }
        if (name)
            built.append({className, *name, library});
        else
            failed(library);
    }
    *table = built;
    return true;
}

} // namespace orv
