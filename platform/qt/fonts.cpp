#include "platform/qt/fonts.h"

#include <QFontDatabase>
#include <QStringList>
#include <algorithm>

namespace tavlo::platform {

namespace {

// The family to ask for, looked up once: the font list does not change while
// the program runs.
const QString& GothicFamily()
{
    static const QString family = [] {
        const QStringList installed = QFontDatabase::families();
        for (const QString& candidate :
             {QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic")}) {
            if (installed.contains(candidate, Qt::CaseInsensitive))
                return candidate;
        }
        return QStringLiteral("Noto Sans Mono CJK JP");
    }();
    return family;
}

}  // namespace

QFont GothicFont(double pointSize, int weight)
{
    QFont font(GothicFamily());
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
