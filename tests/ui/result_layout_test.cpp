// The result list's line text and its resize arithmetic, without a window.
#include <QApplication>
#include <QTest>

#include "support/result_list_design.h"
#include "ui/results/result_layout.h"
#include "ui/results/result_line.h"

using tavlo::ui::platform::TwipsBox;
using namespace tavlo::test::result_list_design;

namespace {

// One layout as the window runs it, with a list that keeps the size it is given.
struct Laid {
    tavlo::ResultListSize size;
    TwipsBox list;
    TwipsBox button;
};

Laid LayOut(float scaleWidth, float scaleHeight, const TwipsBox& list, const TwipsBox& button)
{
    Laid laid;
    laid.size = tavlo::SizeResultList(scaleWidth, scaleHeight, list, button);
    laid.list = {list.left, list.top, laid.size.width, laid.size.height};
    const auto place = tavlo::PlaceResultButton(laid.list, laid.size.gap, button.width);
    laid.button = {place.left, place.top, button.width, button.height};
    return laid;
}

}  // namespace

class ResultLayoutTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty()); }
    void lineText_data();
    void lineText();
    void lineUsesFullWidthColonAndIdeographicSpace();
    void layoutFromDesign_data();
    void layoutFromDesign();
    void buttonFollowsTheListAsReadBack();
    void narrowingBelowTheFloorGoesStepByStep();
};

void ResultLayoutTest::lineText_data()
{
    QTest::addColumn<int>("ordinal");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("line");

    QTest::newRow("1, 7") << 1 << 7 << QStringLiteral(u"  1回目：　007");
    QTest::newRow("9, 5") << 9 << 5 << QStringLiteral(u"  9回目：　005");
    QTest::newRow("10, 0") << 10 << 0 << QStringLiteral(u" 10回目：　000");
    QTest::newRow("12, 345") << 12 << 345 << QStringLiteral(u" 12回目：　345");
    QTest::newRow("99, 42") << 99 << 42 << QStringLiteral(u" 99回目：　042");
    QTest::newRow("100, 999") << 100 << 999 << QStringLiteral(u"100回目：　999");
    QTest::newRow("999, 0") << 999 << 0 << QStringLiteral(u"999回目：　000");
    // All of 0..999 drawn: the field widens rather than showing "000".
    QTest::newRow("1000, 999") << 1000 << 999 << QStringLiteral(u"1000回目：　999");
    // Numbers outside 0..999 come only from a hand-edited settings file.
    QTest::newRow("number 1234") << 3 << 1234 << QStringLiteral(u"  3回目：　1234");
    QTest::newRow("number -5") << 4 << -5 << QStringLiteral(u"  4回目：　-005");
}

void ResultLayoutTest::lineText()
{
    QFETCH(int, ordinal);
    QFETCH(int, number);
    QFETCH(QString, line);
    QCOMPARE(tavlo::ResultLine(ordinal, number), line);
}

void ResultLayoutTest::lineUsesFullWidthColonAndIdeographicSpace()
{
    // Spelled by code point, so a look-alike character in the source shows up.
    const QString expected =
        QStringLiteral("  1") + QChar(0x56DE) + QChar(0x76EE) + QChar(0xFF1A) + QChar(0x3000) + QStringLiteral("007");
    QCOMPARE(tavlo::ResultLine(1, 7), expected);
}

void ResultLayoutTest::layoutFromDesign_data()
{
    QTest::addColumn<float>("scaleWidth");
    QTest::addColumn<float>("scaleHeight");
    QTest::addColumn<float>("listWidth");
    QTest::addColumn<float>("listHeight");
    QTest::addColumn<float>("buttonLeft");
    QTest::addColumn<float>("buttonTop");

    // The designed client area; the button's left is half a twip off the grid.
    QTest::newRow("design size") << kWindow.width << kWindow.height << 2910.0f << 5280.0f << 907.5f << 5580.0f;
    QTest::newRow("larger") << 6000.0f << 9000.0f << 5760.0f << 8025.0f << 2332.5f << 8325.0f;
    // Smaller than the margins and the button: 720 high, the floor wide, the
    // button Gap below the list even though that is outside the client area.
    QTest::newRow("0 x 0") << 0.0f << 0.0f << 2295.0f << 720.0f << 600.0f << 1020.0f;
    QTest::newRow("below the margins") << 200.0f << 900.0f << 2295.0f << 720.0f << 600.0f << 1020.0f;
    QTest::newRow("height exactly 720") << kWindow.width << 1695.0f << 2910.0f << 720.0f << 907.5f << 1020.0f;
    QTest::newRow("height 719 raised") << kWindow.width << 1694.0f << 2910.0f << 720.0f << 907.5f << 1020.0f;
    QTest::newRow("height 721 kept") << kWindow.width << 1696.0f << 2910.0f << 721.0f << 907.5f << 1021.0f;
    QTest::newRow("width at the floor") << 2535.0f << kWindow.height << 2295.0f << 5280.0f << 600.0f << 5580.0f;
    QTest::newRow("width below the floor") << 2534.0f << kWindow.height << 2295.0f << 5280.0f << 600.0f << 5580.0f;
}

void ResultLayoutTest::layoutFromDesign()
{
    QFETCH(float, scaleWidth);
    QFETCH(float, scaleHeight);
    QFETCH(float, listWidth);
    QFETCH(float, listHeight);
    QFETCH(float, buttonLeft);
    QFETCH(float, buttonTop);

    const Laid laid = LayOut(scaleWidth, scaleHeight, kList, kButton);
    QCOMPARE(laid.size.widthFloor, 2295.0f);
    QCOMPARE(laid.size.gap, 180.0f);
    QCOMPARE(laid.size.width, listWidth);
    QCOMPARE(laid.size.height, listHeight);
    QCOMPARE(laid.button.left, buttonLeft);
    QCOMPARE(laid.button.top, buttonTop);
    // Left and top margins, and the button's size, never change.
    QCOMPARE(laid.list.left, kList.left);
    QCOMPARE(laid.list.top, kList.top);
    QCOMPARE(laid.button.width, kButton.width);
    QCOMPARE(laid.button.height, kButton.height);
}

void ResultLayoutTest::buttonFollowsTheListAsReadBack()
{
    // A list box that keeps to whole lines stands shorter than it was told;
    // the button goes Gap below where the list really ends.
    const auto place = tavlo::PlaceResultButton({kList.left, kList.top, 2910.0f, 5265.0f}, 180.0f, kButton.width);
    QCOMPARE(place.top, 5565.0f);
    QCOMPARE(place.left, 907.5f);

    // Gap is measured afresh, so it follows a button that was moved by hand.
    const auto size = tavlo::SizeResultList(kWindow.width, kWindow.height, kList,
                                            {kButton.left, kButton.top + 60.0f, kButton.width, kButton.height});
    QCOMPARE(size.gap, 240.0f);
    QCOMPARE(size.height, 5160.0f);
}

void ResultLayoutTest::narrowingBelowTheFloorGoesStepByStep()
{
    // The floor is the button's right edge before it is re-centred, so each
    // resize below it takes half of what is left above 2 x 120 + 1335.
    const float expected[] = {2295.0f, 1935.0f, 1755.0f, 1665.0f, 1620.0f, 1597.5f, 1586.25f};
    Laid laid{{}, kList, kButton};
    for (float width : expected) {
        laid = LayOut(0.0f, 0.0f, laid.list, laid.button);
        QCOMPARE(laid.list.width, width);
        QCOMPARE(laid.size.gap, 180.0f);
        QCOMPARE(laid.list.height, 720.0f);
    }
    float previous = laid.list.width;
    for (int step = 0; step < 200; ++step) {
        laid = LayOut(0.0f, 0.0f, laid.list, laid.button);
        QVERIFY(laid.list.width >= 1575.0f);
        QVERIFY(laid.list.width <= previous);
        previous = laid.list.width;
    }
    QCOMPARE(laid.list.width, 1575.0f);
    QCOMPARE(laid.button.left, 240.0f);

    // A window wide enough again lets the list follow it at once.
    laid = LayOut(kWindow.width, kWindow.height, laid.list, laid.button);
    QCOMPARE(laid.list.width, 2910.0f);
    QCOMPARE(laid.button.left, 907.5f);
}

QTEST_APPLESS_MAIN(ResultLayoutTest)
#include "result_layout_test.moc"
