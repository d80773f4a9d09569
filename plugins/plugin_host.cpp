#include "plugins/plugin_host.h"
#include "plugins/host_protocol.h"
#include "platform/program_parts.h"
#include <QProcess>

namespace orv {

namespace {

QString gHostProgram;

// One helper call that must end by itself within the limit.
HostReply CallHost(const QStringList& arguments, int limitMs)
{
    QProcess host;
    host.setProgram(PlugInHostProgram());
    host.setArguments(arguments);
    host.setStandardInputFile(QProcess::nullDevice());
    host.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    host.start();
    if (!host.waitForStarted() || !host.waitForFinished(limitMs)) {
        host.kill();
        host.waitForFinished();
        return {};
    }
    return ParseHostReply(host.exitStatus() == QProcess::NormalExit, host.exitCode(), host.readAllStandardOutput());
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

std::optional<QString> HostPlugInCalls::name(const QString& library, const QString& className)
{
    const HostReply reply = CallHost({QString::fromLatin1(host_verb::kName), library, className}, limitMs_);
    if (reply.kind != HostReply::Kind::Name) return std::nullopt;
    return reply.name;
}

void HostPlugInCalls::registerLibrary(const QString& library)
{
    CallHost({QString::fromLatin1(host_verb::kRegister), library}, limitMs_);
}

QStringList PlugInRunArguments(const PlugInRecord& record, const QString& handOverFile)
{
    return {QString::fromLatin1(host_verb::kRun), record.library, record.ClassName, handOverFile};
}

} // namespace orv
