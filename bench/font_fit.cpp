// How the stand-in faces fit the designs, which were laid out in
// "ＭＳ ゴシック": for each caption of the three windows, and the texts they
// show at run time, its width in the face against the width it has in the
// designed face (half an em for each ASCII character, a whole em for each
// double-byte one) and against its control's width, and the face's line
// height against the designed face's (one em) and the control's height. Faces
// are given by family name and printed one after the other; pixels at 96 dpi.
// The windows' fonts draw with their face alone, so any character of a text
// that the face lacks is listed after the text's line: it would show as a
// box.
//
//   QT_QPA_PLATFORM=offscreen tavlo_font_fit "IPAGothic" "Noto Sans Mono CJK JP"
#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <cmath>
#include <cstdio>

#include "ui/platform/fonts.h"
#include "ui/platform/twips.h"

namespace {

struct Caption {
    const char* control;
    const char16_t* text;  // as shown: access-key ampersands removed
    double points;
    int weight;
    int widthTwips;
    int heightTwips;
};

constexpr Caption kCaptions[] = {
    {"frmTavlo.txtRange", u"抽選範囲 : nnn ～ nnn", 12, 400, 3015, 375},
    {"frmTavlo.txtCount", u"次 nnn回目", 12, 400, 1815, 375},
    {"frmTavlo.txt100", u"0", 216, 400, 2445, 4200},
    {"frmTavlo.cmdStartStop", u"START", 42, 400, 3975, 1335},
    {"frmTavlo.cmdResultList", u"結果表示(R)", 12, 400, 1935, 615},
    {"frmTavlo.cmdCondition", u"条件入力(J)", 12, 400, 1935, 615},
    {"frmTavlo.cmdClearResult", u"結果クリア(C)", 12, 400, 1935, 615},
    {"frmTavlo.cmdEnd", u"終了(X)", 12, 400, 1335, 495},
    {"frmTavlo.Label1", u"← Enterで動きます", 12, 700, 2775, 375},
    {"frmCondition.lblRange", u"抽選結果範囲", 12, 400, 1575, 255},
    {"frmCondition.Label1", u"～", 12, 400, 495, 255},
    {"frmCondition.cmdOK", u"OK", 12, 400, 1575, 495},
    {"frmCondition.cmdCancel", u"キャンセル", 12, 400, 1575, 495},
    {"frmResultList.cmdClose", u"閉じる", 12, 400, 1335, 495},
    // Shown at run time.
    {"frmTavlo.txtRange", u"抽選範囲 : 123 ～ 456", 12, 400, 3015, 375},
    {"frmTavlo.txtRange", u"抽選範囲 : 未設定", 12, 400, 3015, 375},
    {"frmTavlo.txtCount", u"次 789回目", 12, 400, 1815, 375},
    {"frmTavlo.cmdStartStop", u"STOP", 42, 400, 3975, 1335},
    {"frmResultList.lstResult", u"1000回目：　-005", 12, 400, 2895, 5340},
};

// The designed face's advance: half an em for ASCII, a whole em otherwise.
double DesignedWidth(const QString& text, double points)
{
    const double em = points * 96.0 / 72.0;
    double width = 0;
    for (const QChar c : text)
        width += c.unicode() < 0x80 ? em / 2 : em;
    return width;
}

}  // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: tavlo_font_fit <family>...\n");
        return 2;
    }
    for (int face = 1; face < argc; ++face) {
        const QString family = QString::fromLocal8Bit(argv[face]);
        std::printf("%s%s\n", qPrintable(family),
                    QFontDatabase::hasFamily(family) ? "" : "  (not installed: a fallback is measured)");
        std::printf("  %-26s %29s %29s\n", "", "width: designed measured box", "height: designed line box");
        double worst = 0;
        int lacking = 0;
        for (const Caption& caption : kCaptions) {
            QFont font = tavlo::ui::platform::GothicFont(caption.points, caption.weight);
            font.setFamilies({family});
            font.setStyleStrategy(QFont::NoFontMerging);
            const QFontMetrics metrics(font);
            const QString text = QString::fromUtf16(caption.text);
            const double designed = DesignedWidth(text, caption.points);
            const int measured = metrics.horizontalAdvance(text);
            worst = std::max(worst, std::abs(measured - designed) / designed);
            std::printf("  %-26s %9.0f %9d %9d %9.0f %9d %9d\n", caption.control, designed, measured,
                        tavlo::ui::platform::TwipsToPixels(caption.widthTwips), caption.points * 96.0 / 72.0,
                        metrics.height(), tavlo::ui::platform::TwipsToPixels(caption.heightTwips));
            QString lacked;
            for (const char32_t c : text.toUcs4()) {
                if (!metrics.inFontUcs4(c))
                    lacked += QStringLiteral(" U+%1").arg(static_cast<uint>(c), 4, 16, QLatin1Char('0')).toUpper();
            }
            if (!lacked.isEmpty()) {
                std::printf("    the face lacks%s\n", qPrintable(lacked));
                ++lacking;
            }
        }
        std::printf("  largest width difference from the designed face: %.1f %%\n", worst * 100);
        std::printf("  texts with a character the face lacks: %d\n\n", lacking);
    }
    return 0;
}
