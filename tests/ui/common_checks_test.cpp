// The input check and the text helpers that every window shares, with the
// message boxes recorded instead of shown.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include "support/recording_message_boxes.h"
#include "ui/common/text_helpers.h"
#include "ui/common/window_messages.h"

using namespace tavlo;

class CommonChecksTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty()); }
    void checkNumericInput_data();
    void checkNumericInput();
    void isDigitsOnly_data();
    void isDigitsOnly();
    void ampersands_data();
    void ampersands();
    void unescapeWithoutOverlap_data();
    void unescapeWithoutOverlap();
    void removeSpaces_data();
    void removeSpaces();
    void selectTextInLineEdit_data();
    void selectTextInLineEdit();
    void selectTextInCombos();
};

namespace {
const QString kItem = QStringLiteral("抽選範囲(From)");
const QString kTitle = QStringLiteral("条件入力");
const QString kDigitsMessage = kItem + QStringLiteral("には、0～9の数字を入力して下さい。");
QString LengthMessage(int max)
{
    return kItem + QStringLiteral("には、") + QString::number(max) + QStringLiteral("桁以内で入力して下さい。");
}
}  // namespace

void CommonChecksTest::checkNumericInput_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("maxDigits");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("message");  // empty: no box

    QTest::newRow("empty") << QString() << 3 << true << QString();
    QTest::newRow("three digits") << "123" << 3 << true << QString();
    QTest::newRow("leading zeros") << "007" << 3 << true << QString();
    QTest::newRow("too long") << "1234" << 3 << false << LengthMessage(3);
    QTest::newRow("bad char before length") << "12a4" << 3 << false << kDigitsMessage;
    QTest::newRow("full-width digits") << QStringLiteral("１２") << 3 << false << kDigitsMessage;
    QTest::newRow("leading blank") << " 12" << 3 << false << kDigitsMessage;
    QTest::newRow("minus") << "-1" << 3 << false << kDigitsMessage;
    QTest::newRow("other maximum") << "123456" << 5 << false << LengthMessage(5);
}

void CommonChecksTest::checkNumericInput()
{
    QFETCH(QString, text);
    QFETCH(int, maxDigits);
    QFETCH(bool, accepted);
    QFETCH(QString, message);

    test::RecordingMessageBoxes boxes;
    QWidget owner;
    owner.setWindowTitle(kTitle);
    const WindowMessages messages(boxes, owner);
    QCOMPARE(CheckNumericInput(messages, text, static_cast<std::int16_t>(maxDigits), kItem), accepted);
    if (message.isEmpty()) {
        QVERIFY(boxes.calls.empty());
        return;
    }
    QCOMPARE(boxes.calls.size(), 1u);
    QVERIFY(!boxes.calls[0].question);
    QCOMPARE(boxes.calls[0].message, message);
    QCOMPARE(boxes.calls[0].title, kTitle);
}

void CommonChecksTest::isDigitsOnly_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("digits");

    QTest::newRow("zero") << "0" << true;
    QTest::newRow("all ten") << "0123456789" << true;
    QTest::newRow("leading zeros") << "007" << true;
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("negative") << "-1" << false;
    QTest::newRow("plus") << "+1" << false;
    QTest::newRow("decimal") << "1.5" << false;
    QTest::newRow("exponent") << "1e3" << false;
    QTest::newRow("leading blank") << " 12" << false;
    QTest::newRow("trailing blank") << "12 " << false;
    QTest::newRow("full-width") << QStringLiteral("１２") << false;
    QTest::newRow("arabic-indic") << QStringLiteral("\u0661\u0662") << false;
    QTest::newRow("hex prefix") << "&H1" << false;
}

void CommonChecksTest::isDigitsOnly()
{
    QFETCH(QString, text);
    QFETCH(bool, digits);
    QCOMPARE(IsDigitsOnly(text), digits);
}

void CommonChecksTest::ampersands_data()
{
    QTest::addColumn<QString>("plain");
    QTest::addColumn<QString>("escaped");

    QTest::newRow("START") << "START"
                           << "START";
    QTest::newRow("STOP") << "STOP"
                          << "STOP";
    QTest::newRow("between letters") << "A&B"
                                     << "A&&B";
    QTest::newRow("at both ends") << "&x&"
                                  << "&&x&&";
    QTest::newRow("two in a row") << "&&"
                                  << "&&&&";
    QTest::newRow("empty") << QString() << QString();
}

// Escaping and unescaping are inverse to each other for every caption.
void CommonChecksTest::ampersands()
{
    QFETCH(QString, plain);
    QFETCH(QString, escaped);
    QCOMPARE(EscapeAmpersand(plain), escaped);
    QCOMPARE(UnescapeAmpersand(escaped), plain);
}

void CommonChecksTest::unescapeWithoutOverlap_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("unescaped");

    QTest::newRow("single stays") << "A&B"
                                  << "A&B";
    QTest::newRow("three") << "&&&"
                           << "&&";
    QTest::newRow("five") << "a&&&&&b"
                          << "a&&&b";
    QTest::newRow("access key") << QStringLiteral("終了(&X)") << QStringLiteral("終了(&X)");
}

void CommonChecksTest::unescapeWithoutOverlap()
{
    QFETCH(QString, text);
    QFETCH(QString, unescaped);
    QCOMPARE(UnescapeAmpersand(text), unescaped);
}

void CommonChecksTest::removeSpaces_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("compact");

    QTest::newRow("full-width inside") << QStringLiteral("抽選\u3000範囲") << QStringLiteral("抽選範囲");
    QTest::newRow("half-width everywhere") << " a b "
                                           << "ab";
    QTest::newRow("mixed at the ends") << QStringLiteral("\u3000 x \u3000") << "x";
    QTest::newRow("tab stays") << "a\tb"
                               << "a\tb";
    QTest::newRow("no-break space stays") << QStringLiteral("a\u00A0b") << QStringLiteral("a\u00A0b");
    QTest::newRow("only spaces") << QStringLiteral(" \u3000 ") << QString();
}

void CommonChecksTest::removeSpaces()
{
    QFETCH(QString, text);
    QFETCH(QString, compact);
    QCOMPARE(RemoveSpaces(text), compact);
}

void CommonChecksTest::selectTextInLineEdit_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<int>("cursor");

    QTest::newRow("all") << 0 << -1 << "abc" << 3;
    QTest::newRow("from one to the end") << 1 << -1 << "bc" << 3;
    QTest::newRow("middle") << 1 << 1 << "b" << 2;
    QTest::newRow("none, cursor placed") << 2 << 0 << QString() << 2;
    QTest::newRow("length past the end") << 1 << 10 << "bc" << 3;
    QTest::newRow("start past the end") << 7 << 2 << QString() << 3;
    QTest::newRow("negative start") << -2 << 2 << "ab" << 2;
}

void CommonChecksTest::selectTextInLineEdit()
{
    QFETCH(int, start);
    QFETCH(int, length);
    QFETCH(QString, selected);
    QFETCH(int, cursor);

    QLineEdit box(QStringLiteral("abc"));
    box.setCursorPosition(0);
    SelectText(&box, static_cast<std::int16_t>(start), static_cast<std::int16_t>(length));
    QCOMPARE(box.selectedText(), selected);
    QCOMPARE(box.cursorPosition(), cursor);
    QCOMPARE(box.text(), QStringLiteral("abc"));
}

void CommonChecksTest::selectTextInCombos()
{
    QComboBox editable;
    editable.setEditable(true);
    editable.setEditText(QStringLiteral("xyz"));
    SelectText(&editable, 0, -1);
    QCOMPARE(editable.lineEdit()->selectedText(), QStringLiteral("xyz"));

    // A drop-down list and a label have no text to select: nothing happens.
    QComboBox dropDownList;
    dropDownList.addItems({QStringLiteral("a"), QStringLiteral("b")});
    dropDownList.setCurrentIndex(1);
    SelectText(&dropDownList, 0, -1);
    QCOMPARE(dropDownList.currentIndex(), 1);
    QLabel label(QStringLiteral("abc"));
    SelectText(&label, 0, -1);
    QVERIFY(!label.hasSelectedText());
    SelectText(nullptr, 0, -1);
}

QTEST_MAIN(CommonChecksTest)
#include "common_checks_test.moc"
