#include "shell/number_text.h"
#include <cmath>

namespace orv {

namespace {
constexpr int kMaxLineWidth = 50;
constexpr int kMaxAngle = 360;

// Backspace, or a digit that keeps the text, with the digit appended at its end, at most max.
bool DigitKeyAccepted(const QString& text, QChar key, double max)
{
    if (key == QChar(8)) return true;
    if (key < u'0' || key > u'9') return false;
    return LeadingNumber(text + key) <= max;
}
}

double LeadingNumber(const QString& text)
{
    int i = 0;
    const int n = int(text.size());
    while (i < n && (text[i] == u' ' || text[i] == u'\t')) ++i;
    const int start = i;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) ++i;
    const int digitsStart = i;
    while (i < n && text[i].isDigit() && text[i].unicode() < 128) ++i;
    bool digits = i > digitsStart;
    if (i < n && text[i] == u'.') {
        const int fracStart = ++i;
        while (i < n && text[i].isDigit() && text[i].unicode() < 128) ++i;
        digits = digits || i > fracStart;
    }
    if (!digits) return 0;
    int end = i;
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        int j = i + 1;
        if (j < n && (text[j] == u'+' || text[j] == u'-')) ++j;
        const int expStart = j;
        while (j < n && text[j].isDigit() && text[j].unicode() < 128) ++j;
        if (j > expStart) end = j;
    }
    const double v = text.mid(start, end - start).toDouble();
    return std::isfinite(v) ? v : 0;
}

QString NumberText(double value)
{
    return QString::number(value, 'g', 15);
}

bool LineWidthKeyAccepted(const QString& text, QChar key)
{
    return DigitKeyAccepted(text, key, kMaxLineWidth);
}

bool AngleKeyAccepted(const QString& text, QChar key)
{
    return key == QChar(8) || (LeadingNumber(text) <= kMaxAngle && DigitKeyAccepted(text, key, kMaxAngle));
}

} // namespace orv
