// Colour values as the designs write them, and the colours they stand for.
#include <QApplication>
#include <QtTest>

#include "ui/platform/system_colors.h"

using namespace tavlo::ui::platform;

class PlatformSystemColorsTest : public QObject {
    Q_OBJECT

private slots:
    void toQColor_data()
    {
        QTest::addColumn<quint32>("value");
        QTest::addColumn<QColor>("color");

        const QPalette palette = QApplication::palette();
        QTest::newRow("red in the low byte") << quint32(0x0000FF) << QColor(255, 0, 0);
        QTest::newRow("blue in the high byte") << quint32(0xFF0000) << QColor(0, 0, 255);
        QTest::newRow("pink") << quint32(Rgb(255, 191, 191)) << QColor(255, 191, 191);
        QTest::newRow("top byte ignored") << quint32(0x01000080) << QColor(128, 0, 0);
        QTest::newRow("active caption") << SystemColor(2) << QColor(10, 36, 106);
        QTest::newRow("caption text") << SystemColor(9) << QColor(255, 255, 255);
        QTest::newRow("inactive caption text") << SystemColor(19) << QColor(212, 208, 200);
        QTest::newRow("last index") << SystemColor(30) << QColor(212, 208, 200);
        QTest::newRow("button face") << SystemColor(15) << palette.color(QPalette::Button);
        QTest::newRow("button text") << SystemColor(18) << palette.color(QPalette::ButtonText);
        QTest::newRow("window") << SystemColor(5) << palette.color(QPalette::Base);
        QTest::newRow("info text") << SystemColor(23) << palette.color(QPalette::ToolTipText);
        QTest::newRow("info background") << SystemColor(24) << palette.color(QPalette::ToolTipBase);
        QTest::newRow("unknown index") << SystemColor(31) << QColor(0, 0, 0);
        QTest::newRow("far index") << quint32(0xFFFFFFFF) << QColor(0, 0, 0);
    }

    void toQColor()
    {
        QFETCH(quint32, value);
        QFETCH(QColor, color);
        QCOMPARE(ToQColor(value), color);
        if ((value & kSystemColorFlag) == 0)
            QCOMPARE(ToColorValue(color), value & 0xFFFFFFu);
    }
};

QTEST_MAIN(PlatformSystemColorsTest)
#include "platform_system_colors_test.moc"
