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

QString PlugInsUnansweredError(const QStringList& fileNames)
{
    return QStringLiteral("These plug-ins did not answer and are left out of the Plugins menu:\n")
           + fileNames.join(u'\n');
}

PlugInScanResult ScanPlugIns(const QStringList& files, PlugInCalls& calls, QList<PlugInRecord>* table)
{
    PlugInScanResult result;
    if (files.isEmpty()) return result;
    result.scanned = true;
    QList<PlugInRecord> asked;
    for (const QString& library : files) asked.append({PlugInClassName(QFileInfo(library).fileName()), {}, library});
    QList<PlugInAnswer> answers = calls.names(asked);

    // The libraries whose object could not be created: registered, then asked again.
    QList<qsizetype> retried;
    QStringList toRegister;
    for (qsizetype i = 0; i < asked.size(); ++i) {
        if (answers[i].answered && !answers[i].name) {
            retried.append(i);
            toRegister.append(asked[i].library);
        }
    }
    if (!retried.isEmpty()) {
        const QList<bool> registered = calls.registerLibraries(toRegister);
        QList<PlugInRecord> again;
        QList<qsizetype> againAt;
        for (qsizetype k = 0; k < retried.size(); ++k) {
            if (registered[k]) {
                again.append(asked[retried[k]]);
                againAt.append(retried[k]);
            } else {
                answers[retried[k]].answered = false;
            }
        }
        const QList<PlugInAnswer> second = again.isEmpty() ? QList<PlugInAnswer>() : calls.names(again);
        for (qsizetype k = 0; k < againAt.size(); ++k) answers[againAt[k]] = second[k];
    }

    QList<PlugInRecord> built;
    for (qsizetype i = 0; i < asked.size(); ++i) {
        if (answers[i].name) built.append({asked[i].ClassName, *answers[i].name, asked[i].library});
        else if (answers[i].answered) result.notCreated.append(asked[i].library);
        else result.unanswered.append(asked[i].library);
    }
    *table = built;
    return result;
}

} // namespace orv
