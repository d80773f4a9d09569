#include "plugins/host_protocol.h"
#include <QList>

namespace orv {

namespace {

const QByteArray kTag = QByteArrayLiteral("ORVANE-PLUGIN-HOST/1");

QByteArray Line(const QByteArray& words)
{
    return kTag + ' ' + words + '\n';
}

bool IsHex(const QByteArray& text)
{
    for (char c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    return text.size() % 2 == 0;
}

} // namespace

QByteArray HostNameReply(const QByteArray& utf8Name)
{
    // Hex keeps any text the plug-in gives, spaces and line breaks included, on one line.
    return Line("NAME " + utf8Name.toHex());
}

QByteArray HostResultReply(int result)
{
    return Line("RESULT " + QByteArray::number(result));
}

QByteArray HostRegisteredReply()
{
    return Line("REGISTERED");
}

QByteArray HostNotCreatedReply()
{
    return Line("NOTCREATED");
}

HostReply ParseHostReply(bool exitedNormally, int exitCode, const QByteArray& output)
{
    HostReply reply;
    if (!exitedNormally || exitCode != 0 || output.size() > kMaxHostReply) return reply;
    if (!output.endsWith('\n') || output.count('\n') != 1) return reply;
    const QList<QByteArray> words = output.chopped(1).split(' ');
    if (words.isEmpty() || words[0] != kTag) return reply;
    const QByteArray& what = words.size() > 1 ? words[1] : QByteArray();
    if (words.size() == 2 && what == "NOTCREATED") {
        reply.kind = HostReply::Kind::NotCreated;
    } else if (words.size() == 2 && what == "REGISTERED") {
        reply.kind = HostReply::Kind::Registered;
    } else if (words.size() == 3 && what == "NAME" && IsHex(words[2])) {
        reply.kind = HostReply::Kind::Name;
        reply.name = QString::fromUtf8(QByteArray::fromHex(words[2]));
    } else if (words.size() == 3 && what == "RESULT") {
        bool ok = false;
        const int value = words[2].toInt(&ok);
        if (ok) {
            reply.kind = HostReply::Kind::Result;
            reply.result = value;
        }
    }
    return reply;
}

} // namespace orv
