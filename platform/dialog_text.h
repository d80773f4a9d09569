#pragma once
// Numbers typed into dialog text boxes, read the way the dialogs always read them: the longest
// leading decimal number counts and the rest of the text is ignored ("12abc" is 12).
#include <QString>

namespace orv {

// Leading spaces and tabs are skipped, then an optional sign, digits with at most one decimal
// point, and an optional exponent (E or e, optional sign, digits). *ok (when given) is false
// when the text holds no digits there ("abc", "", "-") or the number does not fit a double;
// the result is then 0.
double DialogNumber(const QString& text, bool* ok = nullptr);

// DialogNumber rounded to a 32-bit integer, halves to the even neighbour (2.5 is 2).
// *ok is also false when the rounded value does not fit; the result is then 0.
int DialogInteger(const QString& text, bool* ok = nullptr);

// DialogNumber when the text holds one greater than `bound` (DialogNumberAbove) or of at least
// `least` (DialogNumberAtLeast); otherwise false and *value is left alone.
bool DialogNumberAbove(const QString& text, double bound, double* value);
bool DialogNumberAtLeast(const QString& text, double least, double* value);

} // namespace orv
