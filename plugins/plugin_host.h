#pragma once
// The editor's side of the helper process: where orvane-plugin-host is, the scan's calls
// through it, and the arguments of a plug-in run.
#include "plugins/plugin_table.h"
#include <QStringList>

namespace orv {

// The helper, "orvane-plugin-host" in the program's parts folder.
QString PlugInHostProgram();
// Uses another helper (tests, whose program folder is not the editor's); empty restores it.
void SetPlugInHostProgram(const QString& path);

// The scan's calls, each in a helper process of its own. A call that does not answer within
// `limitMs` is ended and counts as an object that could not be created.
class HostPlugInCalls : public PlugInCalls {
public:
    explicit HostPlugInCalls(int limitMs = 10000) : limitMs_(limitMs) {}
    std::optional<QString> name(const QString& library, const QString& className) override;
    void registerLibrary(const QString& library) override;

private:
    int limitMs_;
};

// The helper's arguments for running `record` on the hand-over file.
QStringList PlugInRunArguments(const PlugInRecord& record, const QString& handOverFile);

} // namespace orv
