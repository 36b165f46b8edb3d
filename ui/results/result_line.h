#pragma once

#include <QString>

namespace tavlo {

// One line of the result list: the ordinal right-aligned in three half-width
// characters, "回目：　", and the number with at least three digits.
// An ordinal above 999 widens its field rather than losing its first digits.
QString ResultLine(int ordinal, int number);

}  // namespace tavlo
