#include "plugins/plugin_host.h"
#include "platform/program_parts.h"
#include <memory>
#include <vector>

namespace orv {

namespace {

QString gHostProgram;

// Starts one call per argument list, side by side, and waits for all of them until one
// deadline; a call still running then is ended.
std::vector<std::unique_ptr<HostCall>> CallAll(const QList<QStringList>& calls, int limitMs,
                                               std::vector<bool>* answered)
{
    std::vector<std::unique_ptr<HostCall>> started;
    for (const QStringList& arguments : calls) started.push_back(std::make_unique<HostCall>(arguments));
    const QDeadlineTimer deadline(limitMs);
    for (const auto& call : started) answered->push_back(call->waitUntil(deadline));
    return started;
}

} // namespace

QString PlugInHostProgram()
{
    return gHostProgram.isEmpty() ? ProgramPartsFolder() + QStringLiteral("/orvane-plugin-host")
                                  : gHostProgram;
}

void SetPlugInHostProgram(const QString& path)
{
    gHostProgram = path;
}

HostCall::HostCall(const QStringList& arguments)
{
    process_.setProgram(PlugInHostProgram());
    process_.setArguments(arguments);
    process_.setStandardInputFile(QProcess::nullDevice());
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QObject::connect(&process_, &QProcess::readyReadStandardOutput, [this] { take(); });
    process_.start();
}

HostCall::~HostCall()
{
    end();
}

void HostCall::take()
{
    output_ += process_.readAllStandardOutput();
    if (output_.size() > kMaxHostReply && !flooded_) {   // no answer is that long
        flooded_ = true;
        process_.kill();
    }
}

bool HostCall::waitUntil(QDeadlineTimer deadline)
{
    if (process_.state() == QProcess::Starting) process_.waitForStarted(int(deadline.remainingTime()));
    if (process_.state() != QProcess::NotRunning && !process_.waitForFinished(int(deadline.remainingTime()))) {
        end();
        return false;
    }
    take();
    return !flooded_;
}

void HostCall::end()
{
    if (process_.state() == QProcess::NotRunning) return;
    process_.kill();
    process_.waitForFinished(-1);
}

HostReply HostCall::reply()
{
    take();
    if (flooded_ || process_.error() == QProcess::FailedToStart) return {};
    return ParseHostReply(process_.exitStatus() == QProcess::NormalExit, process_.exitCode(), output_);
}

QList<PlugInAnswer> HostPlugInCalls::names(const QList<PlugInRecord>& asked)
{
    QList<QStringList> calls;
    for (const PlugInRecord& r : asked) calls.append({QString::fromLatin1(host_verb::kName), r.library, r.ClassName});
    std::vector<bool> answered;
    const auto done = CallAll(calls, limitMs_, &answered);
    QList<PlugInAnswer> answers;
    for (size_t i = 0; i < done.size(); ++i) {
        PlugInAnswer a;
        a.answered = answered[i];
        const HostReply reply = done[i]->reply();
        if (a.answered && reply.kind == HostReply::Kind::Name) a.name = reply.name;
        answers.append(a);
    }
    return answers;
}

QList<bool> HostPlugInCalls::registerLibraries(const QStringList& libraries)
{
    QList<QStringList> calls;
    for (const QString& library : libraries) calls.append({QString::fromLatin1(host_verb::kRegister), library});
    std::vector<bool> answered;
    CallAll(calls, limitMs_, &answered);
    return QList<bool>(answered.begin(), answered.end());
}

QStringList PlugInRunArguments(const PlugInRecord& record, const QString& handOverFile, quintptr ownerWindow)
{
    QStringList arguments = {QString::fromLatin1(host_verb::kRun), record.library, record.ClassName, handOverFile};
    if (ownerWindow) arguments.append(QString::number(ownerWindow));
    return arguments;
}

} // namespace orv
