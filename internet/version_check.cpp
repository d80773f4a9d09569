#include "internet/version_check.h"
#include "orvane_version.h"
#include <QList>
#include <QStringList>
#include <optional>

namespace orv {

namespace {

std::optional<QList<qulonglong>> VersionParts(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.size() > kMaxVersionLength) return std::nullopt;
    QList<qulonglong> parts;
    for (const QString& part : trimmed.split(u'.')) {
        bool ok = false;
        const qulonglong n = part.toULongLong(&ok);
        // Digits only: no signs, blanks or exponent forms inside a version.
        if (!ok || part.isEmpty() || !std::all_of(part.begin(), part.end(), [](QChar c) { return c.isDigit(); }))
            return std::nullopt;
        parts << n;
    }
    return parts;
}

} // namespace

QString UpdateAddress()
{
    const QString chosen = qEnvironmentVariable("ORVANE_UPDATE_URL");
    return chosen.isEmpty() ? QStringLiteral(ORVANE_UPDATE_URL) : chosen;
}

QString RunningVersionText()
{
    return QStringLiteral("%1.%2").arg(ORVANE_VERSION_MINOR).arg(ORVANE_VERSION_PATCH);
}

VersionOrder CompareVersions(const QString& latest, const QString& current)
{
    const auto l = VersionParts(latest);
    const auto c = VersionParts(current);
    if (!l || !c) return VersionOrder::NotAVersion;
    for (qsizetype i = 0; i < std::max(l->size(), c->size()); ++i) {
        const qulonglong a = i < l->size() ? l->at(i) : 0;
        const qulonglong b = i < c->size() ? c->at(i) : 0;
        if (a != b) return a > b ? VersionOrder::Newer : VersionOrder::NotNewer;
    }
    return VersionOrder::NotNewer;
}

QString ShownVersionText(const QString& latest)
{
    const QString line = latest.simplified();
    return line.size() > kMaxVersionLength ? line.left(kMaxVersionLength) + QStringLiteral("...") : line;
}

} // namespace orv
