// The program's face, and the windows' font as the default.
#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QMenu>
#include <QMessageBox>
#include <QtTest>

#include "ui/platform/fonts.h"

using namespace tavlo::ui::platform;

class PlatformFontsTest : public QObject {
    Q_OBJECT

private slots:
    void gothicFont()
    {
        const QFont font = GothicFont(216);
        QCOMPARE(font.pointSizeF(), 216.0);
        QCOMPARE(font.weight(), QFont::Normal);
        QVERIFY(font.fixedPitch());
        QVERIFY(!font.italic() && !font.underline() && !font.strikeOut());
        // The face actually used is the designed one or a listed stand-in, and
        // BIZ UDゴシック (named either way) wherever it is installed and the
        // designed face is not.
        const QString used = QFontInfo(font).family();
        const QStringList bizUd{QStringLiteral("BIZ UDゴシック"), QStringLiteral("BIZ UDGothic")};
        QVERIFY2((QStringList{QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic"), QStringLiteral("IPAGothic"),
                              QStringLiteral("Noto Sans Mono CJK JP")}
                  + bizUd)
                     .contains(used),
                 qPrintable(used));
        if (QFontDatabase::hasFamily(bizUd[1]) && !QFontDatabase::hasFamily(QStringLiteral("MS Gothic")))
            QVERIFY2(bizUd.contains(used), qPrintable(used));
        QCOMPARE(GothicFont(12, 700).weight(), QFont::Bold);
    }

    // The windows' font becomes the default; message boxes and menus, which the
    // platform may give fonts of their own, keep the font they had.
    void windowFontByDefault()
    {
        // The font of a widget of that kind as it is shown.
        const auto shownFont = [](auto&& widget) {
            widget.ensurePolished();
            return widget.font();
        };
        const QFont previous = QApplication::font();
        const QFont boxFont = shownFont(QMessageBox());
        const QFont menuFont = shownFont(QMenu());
        UseWindowFontByDefault();
        const QFont windowFont = QApplication::font();
        const QFont boxFontAfter = shownFont(QMessageBox());
        const QFont menuFontAfter = shownFont(QMenu());
        QGuiApplication::setFont(previous);
        QCOMPARE(windowFont, GothicFont(12));
        QCOMPARE(boxFontAfter.toString(), boxFont.toString());
        QCOMPARE(menuFontAfter.toString(), menuFont.toString());
    }
};

QTEST_MAIN(PlatformFontsTest)
#include "platform_fonts_test.moc"
