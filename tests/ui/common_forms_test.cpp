// Control preparation, the tag number reader and control colours, on small
// windows built here with every kind of control the preparation treats.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <cmath>
#include <limits>

#include "ui/common/control_colors.h"
#include "ui/common/form_lifecycle.h"
#include "ui/common/tag_number.h"
#include "ui/platform/system_colors.h"

using namespace tavlo;
using ui::platform::Rgb;
using ui::platform::SystemColor;

namespace {

constexpr std::uint32_t kKeep = 0xC0C0C0;
constexpr std::uint32_t kButtonFace = 0x8000000F;
constexpr int kNoLimit = 32767;

template <typename W>
W* Add(QWidget* parent, const char* name)
{
    auto* widget = new W(parent);
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QStringList Names(const QList<QWidget*>& widgets)
{
    QStringList names;
    for (const QWidget* w : widgets)
        names << w->objectName();
    return names;
}

}  // namespace

class CommonFormsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup() { QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty()); }

    void comboTagLimit_data();
    void comboTagLimit();
    void readTagNumber_data();
    void readTagNumber();
    void tagLimit_data();
    void tagLimit();

    void textBoxDesignedLimit();
    void setMaxLengthOnOtherControls();
    void formControlsInDesignOrder();
    void colours_data();
    void colours();
    void windowWithoutControls();

    void colourValuesReadBack();
    void graphicalButtonShowsItsColour();
};

void CommonFormsTest::initTestCase()
{
    // Not Fusion: a button's own colour must show whatever the platform's style.
    QApplication::setStyle(QStringLiteral("Windows"));
}

void CommonFormsTest::comboTagLimit_data()
{
    QTest::addColumn<QString>("tag");
    QTest::addColumn<int>("limit");  // the edit field's limit afterwards; 3 = untouched

    QTest::newRow("key first") << "MaxLength=8" << 8;
    QTest::newRow("lower case") << "maxlength=8" << 8;
    QTest::newRow("more settings after") << "MaxLength=8;Sort=1" << 8;
    QTest::newRow("after a semicolon") << "Sort=1;MaxLength=8" << 8;
    QTest::newRow("blank after semicolon") << "Sort=1; MaxLength=8" << 3;
    QTest::newRow("blank before key") << " MaxLength=8" << 3;
    QTest::newRow("no key") << "Sort=1" << 3;
    QTest::newRow("empty tag") << QString() << 3;
    QTest::newRow("nothing after =") << "MaxLength=" << kNoLimit;
    QTest::newRow("no number") << "MaxLength=abc" << kNoLimit;
    QTest::newRow("half up to even") << "MaxLength=7.5" << 8;
    QTest::newRow("half down to even") << "MaxLength=6.5" << 6;
    QTest::newRow("blank between digits") << "MaxLength=1 2" << 12;
    QTest::newRow("hexadecimal") << "MaxLength=&H10" << 16;
    QTest::newRow("octal") << "MaxLength=&O17" << 15;
    QTest::newRow("exponent") << "MaxLength=1e1" << 10;
    QTest::newRow("text after number") << "MaxLength=12abc" << 12;
    QTest::newRow("first rule wins") << "MaxLength=5;MaxLength=9" << 5;
    QTest::newRow("longer key skipped") << "MaxLengthX=3;MaxLength=4" << 4;
    QTest::newRow("overflow") << "MaxLength=99999" << kNoLimit;
    QTest::newRow("huge exponent") << "MaxLength=1e999" << kNoLimit;
    QTest::newRow("negative") << "MaxLength=-4" << kNoLimit;
    QTest::newRow("largest") << "MaxLength=32767" << kNoLimit;
    QTest::newRow("non-ASCII before key") << QStringLiteral("ß=1;MaxLength=7") << 7;
}

void CommonFormsTest::comboTagLimit()
{
    QFETCH(QString, tag);
    QFETCH(int, limit);

    QWidget window;
    window.setObjectName(QStringLiteral("frmTest"));
    auto* combo = Add<QComboBox>(&window, "cboItem");
    combo->setEditable(true);
    combo->lineEdit()->setMaxLength(3);
    combo->setProperty("Tag", tag);

    PrepareFormControls(&window);
    QCOMPARE(combo->lineEdit()->maxLength(), limit);
    QCOMPARE(combo->property("Tag").toString(), tag);
}

void CommonFormsTest::readTagNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("number");

    const double inf = std::numeric_limits<double>::infinity();
    QTest::newRow("integer") << "42" << 42.0;
    QTest::newRow("exponent") << "1e2" << 100.0;
    QTest::newRow("upper-case exponent with sign") << "25E-1" << 2.5;
    QTest::newRow("exponent without digits") << "1e" << 1.0;
    QTest::newRow("exponent sign only") << "1e+" << 1.0;
    QTest::newRow("signed") << "-3.5" << -3.5;
    QTest::newRow("blank after sign") << "+ 4" << 4.0;
    QTest::newRow("tab and line feed skipped") << "\t1\n2" << 12.0;
    QTest::newRow("carriage return stops") << "1\r2" << 1.0;
    QTest::newRow("leading point") << ".5" << 0.5;
    QTest::newRow("second point stops") << "1.2.3" << 1.2;
    QTest::newRow("lower-case hex") << "&h1f" << 31.0;
    QTest::newRow("hex stops at non-digit") << "&H1G" << 1.0;
    QTest::newRow("octal stops at 8") << "&O78" << 7.0;
    QTest::newRow("prefix without digits") << "&H" << 0.0;
    QTest::newRow("unknown prefix") << "&X1" << 0.0;
    QTest::newRow("sign alone") << "-" << 0.0;
    QTest::newRow("point alone") << "." << 0.0;
    QTest::newRow("full-width digits") << QStringLiteral("１２") << 0.0;
    QTest::newRow("empty") << QString() << 0.0;
    QTest::newRow("too large") << "1e999" << inf;
    QTest::newRow("too large negative") << "-1e999" << -inf;
    QTest::newRow("too small") << "1e-999" << 0.0;
    QTest::newRow("many hex digits") << "&H" + QString(300, u'F') << inf;
}

void CommonFormsTest::readTagNumber()
{
    QFETCH(QString, text);
    QFETCH(double, number);
    QCOMPARE(ReadTagNumber(text), number);
}

void CommonFormsTest::tagLimit_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("limit");

    QTest::newRow("7.5") << 7.5 << 8;
    QTest::newRow("6.5") << 6.5 << 6;
    QTest::newRow("0.5") << 0.5 << 0;
    QTest::newRow("1.5") << 1.5 << 2;
    QTest::newRow("just under half") << 2.4999 << 2;
    QTest::newRow("just over half") << 2.5001 << 3;
    QTest::newRow("-6.5") << -6.5 << -6;
    QTest::newRow("-7.5") << -7.5 << -8;
    QTest::newRow("top") << 32767.0 << 32767;
    QTest::newRow("above top") << 40000.0 << 32767;
    QTest::newRow("below bottom") << -40000.0 << -32768;
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << 32767;
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << 0;
}

void CommonFormsTest::tagLimit()
{
    QFETCH(double, value);
    QFETCH(int, limit);
    QCOMPARE(static_cast<int>(TagLimit(value)), limit);
}

// The designed limit moves into the box; the box's tag is never read.
void CommonFormsTest::textBoxDesignedLimit()
{
    QWidget window;
    window.setObjectName(QStringLiteral("frmTest"));
    auto* designed = Add<QLineEdit>(&window, "txtDesigned");
    designed->setProperty("MaxLength", 5);
    auto* tagged = Add<QLineEdit>(&window, "txtTagged");
    tagged->setProperty("Tag", QStringLiteral("MaxLength=2"));
    tagged->setMaxLength(4);
    auto* unlimited = Add<QLineEdit>(&window, "txtUnlimited");
    unlimited->setMaxLength(10);
    auto* huge = Add<QLineEdit>(&window, "txtHuge");
    huge->setProperty("MaxLength", 100000);

    PrepareFormControls(&window);

    QTest::keyClicks(designed, QStringLiteral("abcdefgh"));
    QCOMPARE(designed->text(), QStringLiteral("abcde"));
    QCOMPARE(designed->property("MaxLength").toInt(), 0);
    QCOMPARE(tagged->maxLength(), kNoLimit);
    QCOMPARE(unlimited->maxLength(), kNoLimit);
    QVERIFY(!unlimited->property("MaxLength").isValid());
    QCOMPARE(huge->maxLength(), kNoLimit);
    QCOMPARE(huge->property("MaxLength").toInt(), 0);

    // SetMaxLength by itself, and a negative limit, which lifts it.
    SetMaxLength(designed, 2);
    QCOMPARE(designed->maxLength(), 2);
    SetMaxLength(designed, -1);
    QCOMPARE(designed->maxLength(), kNoLimit);
}

void CommonFormsTest::setMaxLengthOnOtherControls()
{
    QComboBox dropDownList;  // no edit field: nothing to limit
    dropDownList.addItem(QStringLiteral("abcdef"));
    SetMaxLength(&dropDownList, 2);
    QCOMPARE(dropDownList.currentText(), QStringLiteral("abcdef"));

    QComboBox editable;
    editable.setEditable(true);
    SetMaxLength(&editable, 2);
    QCOMPARE(editable.lineEdit()->maxLength(), 2);
    SetMaxLength(&editable, 0);
    QCOMPARE(editable.lineEdit()->maxLength(), kNoLimit);

    QLabel label(QStringLiteral("abc"));
    SetMaxLength(&label, 1);
    QCOMPARE(label.text(), QStringLiteral("abc"));
    SetMaxLength(nullptr, 1);
}

void CommonFormsTest::formControlsInDesignOrder()
{
    QWidget window;
    window.setObjectName(QStringLiteral("frmTest"));
    Add<QPushButton>(&window, "cmdFirst");
    auto* frame = Add<QGroupBox>(&window, "fraGroup");
    Add<QLineEdit>(frame, "txtInFrame");
    Add<QLabel>(&window, "Label1");
    Add<QComboBox>(&window, "cboEdit")->setEditable(true);
    Add<QListWidget>(&window, "lstItems")->addItem(QStringLiteral("x"));
    auto* unnamed = new QWidget(&window);
    Add<QCheckBox>(unnamed, "chkInside");
    Add<QDialog>(&window, "frmOwned");
    Add<QLineEdit>(Add<QDialog>(&window, "frmOwned2"), "txtOfOtherWindow");
    Add<QPushButton>(&window, "cmdLast");

    QCOMPARE(Names(FormControls(&window)), QStringList({"cmdFirst", "fraGroup", "txtInFrame", "Label1", "cboEdit",
                                                        "lstItems", "chkInside", "cmdLast"}));
    QVERIFY(FormControls(nullptr).isEmpty());
}

void CommonFormsTest::colours_data()
{
    QTest::addColumn<bool>("withColour");
    QTest::newRow("window's own colour") << false;
    QTest::newRow("colour argument") << true;
}

// Which controls take the window's colour, and which keep their own.
void CommonFormsTest::colours()
{
    QFETCH(bool, withColour);
    const std::uint32_t given = Rgb(10, 20, 30);
    const std::uint32_t windowBack = withColour ? given : kButtonFace;
    const std::uint32_t other = Rgb(1, 2, 3);

    QWidget window;
    window.setObjectName(QStringLiteral("frmTest"));
    auto* frameKept = Add<QGroupBox>(&window, "fraKept");
    SetBackColor(frameKept, kKeep);
    auto* frameDefault = Add<QGroupBox>(&window, "fraDefault");
    auto* plainFrame = Add<QFrame>(&window, "fraPlain");
    SetBackColor(plainFrame, other);
    auto* optionKept = Add<QRadioButton>(plainFrame, "optKept");
    SetBackColor(optionKept, kKeep);
    auto* checkOther = Add<QCheckBox>(&window, "chkOther");
    SetBackColor(checkOther, other);
    auto* label = Add<QLabel>(&window, "Label1");
    SetBackColor(label, other);
    auto* plainLabel = Add<QLabel>(&window, "Label2");
    auto* list = Add<QListWidget>(&window, "lstResult");
    auto* button = Add<QPushButton>(&window, "cmdOK");
    SetBackColor(button, Rgb(255, 192, 192));
    auto* text = Add<QLineEdit>(&window, "txtValue");
    SetBackColor(text, other);

    if (withColour)
        PrepareFormControls(&window, given);
    else
        PrepareFormControls(&window);

    QCOMPARE(BackColor(&window), windowBack);
    QCOMPARE(BackColor(frameKept), kKeep);
    QCOMPARE(BackColor(frameDefault), windowBack);
    QCOMPARE(BackColor(plainFrame), windowBack);
    QCOMPARE(BackColor(optionKept), kKeep);
    QCOMPARE(BackColor(checkOther), windowBack);
    QCOMPARE(BackColor(label), other);
    QCOMPARE(BackColor(plainLabel), kButtonFace);
    QVERIFY(!plainLabel->property("BackColor").isValid());
    QCOMPARE(BackColor(list), SystemColor(ui::platform::COLOR_WINDOW));
    QVERIFY(!list->property("BackColor").isValid());
    QCOMPARE(BackColor(button), windowBack);
    QCOMPARE(BackColor(text), other);  // a text box only gets its limit

    // What shows: the palettes follow the values, except on a standard
    // button, which keeps the platform's look.
    QCOMPARE(button->style(), QApplication::style());
    QCOMPARE(button->palette().color(QPalette::Button), QApplication::palette(button).color(QPalette::Button));
    QCOMPARE(frameDefault->palette().color(QPalette::Window), ui::platform::ToQColor(windowBack));
    QVERIFY(frameDefault->autoFillBackground());
    QCOMPARE(label->palette().color(QPalette::Window), ui::platform::ToQColor(other));
    if (withColour)
        QCOMPARE(window.palette().color(QPalette::Window), QColor(10, 20, 30));
}

void CommonFormsTest::windowWithoutControls()
{
    QWidget window;
    window.setObjectName(QStringLiteral("frmEmpty"));
    PrepareFormControls(&window);
    QCOMPARE(BackColor(&window), kButtonFace);
    PrepareFormControls(&window, Rgb(0, 128, 255));
    QCOMPARE(BackColor(&window), Rgb(0, 128, 255));
    PrepareFormControls(nullptr, 0u);
}

void CommonFormsTest::colourValuesReadBack()
{
    QLineEdit text;
    QPushButton button;
    QLabel label;
    QCOMPARE(BackColor(&text), SystemColor(ui::platform::COLOR_WINDOW));
    QCOMPARE(ForeColor(&text), SystemColor(ui::platform::COLOR_WINDOWTEXT));
    QCOMPARE(BackColor(&button), kButtonFace);
    QCOMPARE(ForeColor(&button), SystemColor(ui::platform::COLOR_BTNTEXT));
    QCOMPARE(ForeColor(&label), SystemColor(ui::platform::COLOR_BTNTEXT));

    SetBackColor(&text, SystemColor(ui::platform::COLOR_ACTIVECAPTION));
    SetForeColor(&text, SystemColor(ui::platform::COLOR_CAPTIONTEXT));
    QCOMPARE(BackColor(&text), SystemColor(ui::platform::COLOR_ACTIVECAPTION));
    QCOMPARE(ForeColor(&text), SystemColor(ui::platform::COLOR_CAPTIONTEXT));
    QCOMPARE(text.palette().color(QPalette::Base), QColor(10, 36, 106));
    QCOMPARE(text.palette().color(QPalette::Text), QColor(255, 255, 255));

    SetForeColor(&label, Rgb(255, 0, 0));
    QCOMPARE(ForeColor(&label), Rgb(255, 0, 0));
    QCOMPARE(label.palette().color(QPalette::WindowText), QColor(255, 0, 0));
    SetForeColor(&button, Rgb(0, 0, 255));
    QCOMPARE(button.palette().color(QPalette::ButtonText), QColor(0, 0, 255));

    // A value stored as a signed integer reads back with the same bits.
    label.setProperty("BackColor", static_cast<int>(0x80000012u - 0x100000000ll));
    QCOMPARE(BackColor(&label), SystemColor(ui::platform::COLOR_BTNTEXT));
}

// The style would tint and shade a plain palette colour; a coloured button
// shows the very colour, default button or not, and after a change.
void CommonFormsTest::graphicalButtonShowsItsColour()
{
    QWidget window;
    window.resize(300, 200);
    auto* button = Add<QPushButton>(&window, "cmdStartStop");
    button->setGeometry(10, 10, 200, 80);
    button->setDefault(true);
    DrawInOwnColor(button);

    for (const QColor expected : {QColor(255, 192, 192), QColor(255, 191, 191)}) {
        SetBackColor(button, ui::platform::ToColorValue(expected));
        const QImage image = button->grab().toImage();
        QCOMPARE(QColor(image.pixel(image.width() / 2, image.height() - 6)), expected);
        QCOMPARE(QColor(image.pixel(6, image.height() / 2)), expected);
    }
}

QTEST_MAIN(CommonFormsTest)
#include "common_forms_test.moc"
