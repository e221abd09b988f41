// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// Reads numbers out of the text of input fields: the number a text begins with (0 when it
// begins with none), and a whole text as a 32-bit integer.

#include <QStringView>
#include <QtGlobal>

#include <optional>

namespace pellory {

// Blanks are ignored; an optional sign, digits and an optional decimal part ("." as the
// decimal point) are read from the start up to the first character that cannot belong
// to the number. No exponent, no hexadecimal or octal prefix. "" and "X" give 0.
double leadingNumber(QStringView text);

// Rounds to the nearest whole number, a tie going to the even neighbour (2.5 -> 2).
double roundHalfEven(double value);

// The whole text as a plain decimal 32-bit integer (optional sign, digits, surrounding
// blanks allowed), or nothing when it is empty, not a number or out of range.
std::optional<qint32> parseInt32(QStringView text);

} // namespace pellory
