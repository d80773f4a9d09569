#include "shell/frame_placement.h"
#include "shell/settings_store.h"
#include <cmath>

namespace orv {

namespace {

const QString kSettings = QStringLiteral("Settings");

bool VisibleSomewhere(const QRect& twips, const QList<QRect>& screens)
{
    const QRect px(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15);
    for (const QRect& s : screens) {
        const QRect common = s.intersected(px);
        if (common.width() >= 32 && common.height() >= 32) return true;
    }
    return false;
}

// A stored number that fits a window coordinate, or nothing.
bool ReadTwips(const QString& key, double def, int* out)
{
    const double v = GetSettingNumber(kAppTitle, kSettings, key, std::nan(""));
    if (std::isnan(v)) {
        // Absent keys give the default; present but unusable values spoil the placement.
        if (GetSetting(kAppTitle, kSettings, key, QString()).isEmpty()) {
            *out = static_cast<int>(def);
            return true;
        }
        return false;
    }
    if (std::fabs(v) > 1e7) return false;
    *out = static_cast<int>(std::nearbyint(v));
    return true;
}

} // namespace

FramePlacement ReadFramePlacement(const QList<QRect>& screens)
{
    FramePlacement p;
    const double state = GetSettingNumber(kAppTitle, kSettings, QStringLiteral("MainState"), 2);
    p.state = (state == 0 || state == 1 || state == 2) ? static_cast<int>(state) : kStateMaximized;
    if (p.state == kStateMinimized) return p;

    int left, top, width, height;
    const bool numbers = ReadTwips(QStringLiteral("MainLeft"), 1000, &left)
                         && ReadTwips(QStringLiteral("MainTop"), 1000, &top)
                         && ReadTwips(QStringLiteral("MainWidth"), 6500, &width)
                         && ReadTwips(QStringLiteral("MainHeight"), 6500, &height);
    if (!numbers || width < 15 || height < 15) return p;
    const QRect stored(left, top, width, height);
    if (!screens.isEmpty() && !VisibleSomewhere(stored, screens)) return p;
    p.twips = stored;
    return p;
}

void SaveFramePlacement(int state, const QRect& twips)
{
    if (state != kStateMinimized) {
        SaveSetting(kAppTitle, kSettings, QStringLiteral("MainLeft"), SettingText(twips.x()));
        SaveSetting(kAppTitle, kSettings, QStringLiteral("MainTop"), SettingText(twips.y()));
        SaveSetting(kAppTitle, kSettings, QStringLiteral("MainWidth"), SettingText(twips.width()));
        SaveSetting(kAppTitle, kSettings, QStringLiteral("MainHeight"), SettingText(twips.height()));
    }
    SaveSetting(kAppTitle, kSettings, QStringLiteral("MainState"), SettingText(state));
}

int ReadSplashChoice()
{
    const double s = GetSettingNumber(kAppTitle, QStringLiteral("Preferences"), QStringLiteral("SplshScrn"), 1);
    return s == 0 ? 0 : (s == 2 ? 2 : 1);
}

} // namespace orv
