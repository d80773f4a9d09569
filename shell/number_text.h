#pragma once
// Numbers typed into the panel's text boxes: the leading number of a text (0 when it has
// none: "12a" is 12, "" and "abc" are 0) and the key filter of the line-width box.
#include <QString>

namespace orv {

// The number the text starts with, after leading blanks: an optional sign, digits, an
// optional fraction and exponent. 0 when the text does not start with a number.
double LeadingNumber(const QString& text);

// The plain decimal text of a number: 12, 2.5, -3.
QString NumberText(double value);

// The line-width box's key filter: backspace always passes; otherwise only a digit that keeps
// the box's text, with the digit appended at its end, at 50 or below.
bool LineWidthKeyAccepted(const QString& text, QChar key);

// The angle box's key filter (round wobbly): backspace always passes; otherwise only a digit,
// while the box's text is at 360 or below and stays so with the digit appended at its end.
bool AngleKeyAccepted(const QString& text, QChar key);

} // namespace orv
