#include "ui/platform/fonts.h"

#include <QApplication>
#include <QFontDatabase>
#include <QStringList>
#include <algorithm>
#include <array>

namespace tavlo::ui::platform {

namespace {

// The designed face first, then the fixed-pitch Japanese Gothics that stand in
// for it. BIZ UDゴシック was made with its widths and its line of one em, and
// for legibility: a plain zero, where IPAGothic's has a slash that turns a
// ticket's 105 into 1Ø5 in the digit boxes, and a real bold. It comes with
// Windows' Japanese fonts and as a Debian package; each system may name it in
// Japanese or in English. IPAGothic has the widths but a taller line (17
// pixels for 16 at 12 pt), Noto Sans Mono CJK JP a taller one still.
const QStringList& GothicFamilies()
{
    static const QStringList families{QStringLiteral("ＭＳ ゴシック"),  QStringLiteral("MS Gothic"),
                                      QStringLiteral("BIZ UDゴシック"), QStringLiteral("BIZ UDGothic"),
                                      QStringLiteral("IPAGothic"),      QStringLiteral("Noto Sans Mono CJK JP")};
    return families;
}

// The first of them installed here, or none. Qt is only ever asked for that
// one: asked for a family it lacks, Qt on Windows first reads the names in
// every installed font, which under Wine loads every font of the host. The
// names come from the list of families Qt reads at its first font anyway.
const QString& InstalledGothicFamily()
{
    static const QString installed = [] {
        const QStringList& families = GothicFamilies();
        const auto found = std::find_if(families.begin(), families.end(), &QFontDatabase::hasFamily);
        return found == families.end() ? QString() : *found;
    }();
    return installed;
}

}  // namespace

QFont GothicFont(double pointSize, int weight)
{
    QFont font;
    if (const QString& installed = InstalledGothicFamily(); !installed.isEmpty()) {
        font.setFamilies({installed});
        // Each of the faces holds every character the windows show, so none
        // is looked for in other faces: that would query the system for
        // fallbacks, script by script, at start-up.
        font.setStyleStrategy(QFont::NoFontMerging);
    } else {
        // Whichever face Qt finds nearest, other faces drawing what it lacks.
        font.setFamilies(GothicFamilies());
    }
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

QFont WithFallbackFaces(QFont font)
{
    font.setStyleStrategy(QFont::PreferDefault);
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

}  // namespace tavlo::ui::platform
