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

// What the scan learnt from one library's name call.
struct PlugInAnswer {
    bool answered = true;            // false: the helper was ended (no answer in time, or a flood)
    std::optional<QString> name;     // what getname() returned, when the object could be created
};

// The calls the scan makes, each on several libraries at once.
class PlugInCalls {
public:
    virtual ~PlugInCalls() = default;
    // Creates an object of each record's class (ClassName, library) and asks its name; one
    // answer per record, in order.
    virtual QList<PlugInAnswer> names(const QList<PlugInRecord>& asked) = 0;
    // The one-time registration step before the retry, whether each library answered; the
    // outcome itself is not examined.
    virtual QList<bool> registerLibraries(const QStringList& libraries) = 0;
};

struct PlugInScanResult {
    bool scanned = false;       // false: no file at all, and the table stayed as it was
    QStringList notCreated;     // libraries whose object could not be created even after registration
    QStringList unanswered;     // libraries that did not answer one of their calls
};

// Builds the table from the files, in their order: every library's name is asked at once;
// the libraries whose object could not be created are registered together and asked once
// more. A library that does not answer is left out at once, without registration.
PlugInScanResult ScanPlugIns(const QStringList& files, PlugInCalls& calls, QList<PlugInRecord>* table);

// The one message naming the libraries (file names) that did not answer.
QString PlugInsUnansweredError(const QStringList& fileNames);

// The message for a library that could not be created.
QString PlugInRegistrationError(const QString& fileName);

} // namespace orv
