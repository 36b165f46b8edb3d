#include "ui/results/result_line.h"

#include <cstdlib>

namespace tavlo {

namespace {

// "回目" + full-width colon + ideographic space.
const QString kOrdinalSuffix = QStringLiteral(u"回目：　");

}  // namespace

QString ResultLine(int ordinal, int number)
{
    // arg() pads to three characters but never cuts: ordinal 1000 (all of
    // 0..999 drawn) keeps its four digits, where a cut field would show
    // "000" and mislead the audience.
    const QString ordinalText = QStringLiteral("%1").arg(ordinal, 3, 10, QLatin1Char(' '));

    // At least three digits with the sign in front, so a stray negative number
    // from a hand-edited settings file reads "-005" rather than "0-5".
    QString numberText = QStringLiteral("%1").arg(std::abs(number), 3, 10, QLatin1Char('0'));
    if (number < 0)
        numberText.prepend(QLatin1Char('-'));

    return ordinalText + kOrdinalSuffix + numberText;
}

}  // namespace tavlo
