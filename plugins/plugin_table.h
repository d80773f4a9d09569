#pragma once
// The plug-in table: which libraries of the plug-in folders offer a plug-in, and the menu
// text each one gave. The scan (RgstrPlgns) goes through the "*.dll" files of the program's
// own "plugins" folder, then of the user's, creates one object of each library's class and
// keeps its name; a library whose object cannot be created gets one registration call and
// one retry, then a message.
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace orv {

struct PlugInRecord {
    QString ClassName;   // "<Stem>.PlugInClass": the menu item's tag
    QString Name;        // what getname() returned: the menu caption
    QString library;     // the library file that offers the class
};

struct PlugInTable {
    QList<PlugInRecord> records;
    // Files whose failure message the user has already seen in this session: a second scan
    // at start-up builds the same table without repeating it.
    QSet<QString> reported;

    const PlugInRecord* find(const QString& className) const;
};

// The folders searched, in order: "plugins" in the program's parts folder (beside the
// program in the build tree, <prefix>/lib/orvane installed), then below the user's data folder.
QStringList PlugInFolders();

// The plug-in files of the folders: each folder's "*.dll" files (any letter case) in name
// order, as full paths. A file name met again in a later folder is skipped: the first
// folder's library offers that class.
QStringList PlugInFiles(const QStringList& folders);

// The class a library file offers: its name less the last four characters, followed by
// ".PlugInClass" ("Sharpen.dll" gives "Sharpen.PlugInClass").
QString PlugInClassName(const QString& fileName);

// The calls the scan makes on a library.
class PlugInCalls {
public:
    virtual ~PlugInCalls() = default;
    // Creates an object of the class and asks its name; none when it cannot be created.
    virtual std::optional<QString> name(const QString& library, const QString& className) = 0;
    // The one-time registration step before the retry; its outcome is not examined.
    virtual void registerLibrary(const QString& library) = 0;
};

// Builds the table from the files. With no file at all the table stays as it was and the
// result is false. `failed` is told the path of each library that
// could not be created even after its registration.
bool ScanPlugIns(const QStringList& files, PlugInCalls& calls,
                 const std::function<void(const QString& library)>& failed, QList<PlugInRecord>* table);

// The message for a library that could not be created.
QString PlugInRegistrationError(const QString& fileName);

} // namespace orv
