#include "ui/platform/fonts.h"

#include <QApplication>
#include <QStringList>
#include <algorithm>
#include <array>

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

void UseWindowFontByDefault()
{
    // The windows the program does not lay out itself. On Windows the
    // platform gives them fonts of their own, elsewhere they have the default.
    static constexpr std::array<const char*, 2> kKeptClasses{"QMessageBox", "QMenu"};
    std::array<QFont, kKeptClasses.size()> kept;
    for (std::size_t i = 0; i < kKeptClasses.size(); ++i)
        kept[i] = QApplication::font(kKeptClasses[i]);
    // QApplication::setFont would also drop the platform's fonts for the other
    // kinds of widget.
    QGuiApplication::setFont(GothicFont(12));
    for (std::size_t i = 0; i < kKeptClasses.size(); ++i)
        QApplication::setFont(kept[i], kKeptClasses[i]);
}

}  // namespace tavlo::platform
