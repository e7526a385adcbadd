#pragma once

#include <QString>

// The integer value of a text, used wherever a text becomes a number (disc and track
// counts, page totals): leading white space skipped, an optional sign, decimal digits up
// to the first other character; 0 without digits; held to the signed 32-bit range.
qint32 intValue(const QString &text);
