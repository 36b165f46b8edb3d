#pragma once

#include <QStringView>
#include <cstdint>

// The number in a control's tag, read the way the designs write it.
namespace tavlo {

// The number that `text` begins with. Blanks, tabs and line feeds are skipped
// wherever they stand; then an optional sign, digits with an optional decimal
// point and exponent ("1e2" is 100), or "&H" hexadecimal / "&O" octal digits.
// Reading stops at the first character that cannot continue the number; a
// text that does not begin with one reads 0. Too large a number reads as
// infinity with its sign.
double ReadTagNumber(QStringView text);

// A tag number as a length limit: rounded to the nearest integer, halves to
// the even neighbour (7.5 -> 8, 6.5 -> 6), then clamped to the 16-bit range.
// Every value beyond it still means "no limit" once applied: the top clamps to
// 32767, the toolkit's largest limit, and a negative limit lifts the limit.
std::int16_t TagLimit(double value);

}  // namespace tavlo
