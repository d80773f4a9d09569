#include "platform/dialog_text.h"
#include "platform/numbers.h"
#include <charconv>
#include <cmath>
#include <string>

namespace orv {

namespace {

bool IsDigit(QChar c) { return c >= u'0' && c <= u'9'; }

} // namespace

double DialogNumber(const QString& text, bool* ok)
{
    if (ok) *ok = false;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text[i] == u' ' || text[i] == u'\t')) ++i;

    std::string number;   // the accepted prefix, without a '+' sign
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        if (text[i] == u'-') number += '-';
        ++i;
    }
    bool digits = false;
    bool point = false;
    for (; i < n; ++i) {
        if (IsDigit(text[i])) {
            digits = true;
        } else if (text[i] == u'.' && !point) {
            point = true;
        } else {
            break;
        }
        number += static_cast<char>(text[i].unicode());
    }
    if (!digits) return 0;

    // An exponent counts only when digits follow the E and its sign.
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        qsizetype j = i + 1;
        std::string exponent = "e";
        if (j < n && (text[j] == u'+' || text[j] == u'-')) exponent += static_cast<char>(text[j++].unicode());
        if (j < n && IsDigit(text[j])) {
            while (j < n && IsDigit(text[j])) exponent += static_cast<char>(text[j++].unicode());
            number += exponent;
        }
    }

    double value = 0;
    const auto [ptr, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (ec != std::errc() || !std::isfinite(value)) return 0;
    if (ok) *ok = true;
    return value;
}

int DialogInteger(const QString& text, bool* ok)
{
    bool valid = false;
    const double value = DialogNumber(text, &valid);
    if (ok) *ok = false;
    if (!valid) return 0;
    try {
        const int result = CLng(value);
        if (ok) *ok = true;
        return result;
    } catch (const Overflow&) {
        return 0;
    }
}

bool DialogNumberAbove(const QString& text, double bound, double* value)
{
    bool ok = false;
    const double v = DialogNumber(text, &ok);
    if (!ok || !(v > bound)) return false;
    *value = v;
    return true;
}

bool DialogNumberAtLeast(const QString& text, double least, double* value)
{
    bool ok = false;
    const double v = DialogNumber(text, &ok);
    if (!ok || !(v >= least)) return false;
    *value = v;
    return true;
}

} // namespace orv
