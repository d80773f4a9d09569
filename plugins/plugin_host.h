#pragma once
// The editor's side of the helper process: where orvane-plugin-host is, one call through it,
// the scan's calls and the arguments of a plug-in run.
#include "plugins/host_protocol.h"
#include "plugins/plugin_table.h"
#include <QDeadlineTimer>
#include <QProcess>
#include <QStringList>

namespace orv {

// The helper, "orvane-plugin-host" in the program's parts folder.
QString PlugInHostProgram();
// Uses another helper (tests, whose program folder is not the editor's); empty restores it.
void SetPlugInHostProgram(const QString& path);

// One helper process. Its output is taken as it comes, and a helper that writes more than
// any answer (kMaxHostReply) is ended at once: a flood never piles up in the editor.
class HostCall {
public:
    explicit HostCall(const QStringList& arguments);
    ~HostCall();
    QProcess& process() { return process_; }
    // Waits until the helper has ended by itself, at most until `deadline`; one still running
    // then is ended. True when it ended by itself without flooding.
    bool waitUntil(QDeadlineTimer deadline);
    // Ends the helper now and waits for it to go.
    void end();
    // The answer of a helper that has ended.
    HostReply reply();

private:
    void take();

    QProcess process_;
    QByteArray output_;
    bool flooded_ = false;
};

// The scan's calls, each in a helper process of its own, all of a round side by side. A round
// that is not over within `roundLimitMs` ends the calls still running: they did not answer.
class HostPlugInCalls : public PlugInCalls {
public:
    explicit HostPlugInCalls(int roundLimitMs = 2000) : limitMs_(roundLimitMs) {}
    QList<PlugInAnswer> names(const QList<PlugInRecord>& asked) override;
    QList<bool> registerLibraries(const QStringList& libraries) override;

private:
    int limitMs_;
};

// The helper's arguments for running `record` on the hand-over file; `ownerWindow` is the
// native window the plug-in's windows stay above (0: none).
QStringList PlugInRunArguments(const PlugInRecord& record, const QString& handOverFile, quintptr ownerWindow);

} // namespace orv
