#include "ui/platform/fonts.h"

#include <QStringList>
#include <algorithm>

namespace tavlo::platform {

namespace {

// The designed face first, then the fixed-pitch Japanese Gothics that stand in
// for it. BIZ UDゴシック was made with its widths and its line of one em, and
// for legibility: a plain zero, where IPAGothic's has a slash that turns a
// ticket's 105 into 1Ø5 in the digit boxes, and a real bold. It comes with
// Windows' Japanese fonts and as a Debian package; each system may name it in
// Japanese or in English. IPAGothic has the widths but a taller line (17
// pixels for 16 at 12 pt), Noto Sans Mono CJK JP a taller one still. Qt takes
// the first installed family when it first needs glyphs, so nothing has to
// list every font on the system at start-up.
const QStringList& GothicFamilies()
{
    static const QStringList families{QStringLiteral("ＭＳ ゴシック"),  QStringLiteral("MS Gothic"),
                                      QStringLiteral("BIZ UDゴシック"), QStringLiteral("BIZ UDGothic"),
                                      QStringLiteral("IPAGothic"),      QStringLiteral("Noto Sans Mono CJK JP")};
    return families;
}

}  // namespace

QFont GothicFont(double pointSize, int weight)
{
    QFont font;
    font.setFamilies(GothicFamilies());
    font.setPointSizeF(pointSize);
    // The designs write weights as 400 and 700; Qt 6 counts on the same scale.
    font.setWeight(static_cast<QFont::Weight>(std::clamp(weight, 1, 1000)));
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    font.setFixedPitch(true);
    font.setStyleHint(QFont::TypeWriter);
    return font;
}

}  // namespace tavlo::platform
