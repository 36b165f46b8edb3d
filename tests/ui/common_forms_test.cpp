// Control preparation, the tag number reader and control colours, on small
// windows built here. The preparation's rules for kinds of control that no
// window of the program has (combo boxes, frames, option buttons, check
// boxes), for designed limits and for a colour argument are one table.
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
constexpr int kUntouched = 3;     // every edit field's limit before preparing
constexpr int kNoEditField = -1;  // the limit of a control without one

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

// Makes the control under test in a window, or none.
using Maker = QWidget* (*)(QWidget* window);
template <typename W>
QWidget* Make(QWidget* window)
{
    return Add<W>(window, "ctlControl");
}
QWidget* NoControl(QWidget* /*window*/)
{
    return nullptr;
}

// A combo box with an edit field; a plain QComboBox is a drop-down list.
class EditableCombo : public QComboBox {
public:
    explicit EditableCombo(QWidget* parent) : QComboBox(parent) { setEditable(true); }
};

int Limit(const QWidget* control)
{
    if (const auto* box = qobject_cast<const QLineEdit*>(control))
        return box->maxLength();
    if (const auto* combo = qobject_cast<const QComboBox*>(control); combo != nullptr && combo->lineEdit() != nullptr)
        return combo->lineEdit()->maxLength();
    return kNoEditField;
}

QString Shown(const QWidget* control)
{
    if (const auto* label = qobject_cast<const QLabel*>(control))
        return label->text();
    if (const auto* combo = qobject_cast<const QComboBox*>(control))
        return combo->currentText();
    return {};
}

}  // namespace

Q_DECLARE_METATYPE(Maker)

class CommonFormsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup() { QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty()); }

    void readTagNumber_data();
    void readTagNumber();
    void tagLimit_data();
    void tagLimit();

    void prepareControl_data();
    void prepareControl();
    void formControlsInDesignOrder();

    void colourValuesReadBack();
    void graphicalButtonShowsItsColour();
};

void CommonFormsTest::initTestCase()
{
    // Not Fusion: a button's own colour must show whatever the platform's style.
    QApplication::setStyle(QStringLiteral("Windows"));
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

// The preparation, one control at a time: its limit and its colour.
void CommonFormsTest::prepareControl_data()
{
    QTest::addColumn<Maker>("make");
    QTest::addColumn<QString>("tag");            // a null string: none
    QTest::addColumn<QVariant>("designed");      // a text box's designed MaxLength
    QTest::addColumn<QVariant>("back");          // its BackColor before
    QTest::addColumn<QVariant>("given");         // the colour argument
    QTest::addColumn<QVariant>("setMaxLength");  // SetMaxLength on it afterwards
    QTest::addColumn<int>("limit");              // its edit field's limit at the end
    QTest::addColumn<QVariant>("backAfter");     // its BackColor at the end; none: never set
    const QVariant none;

    // A combo box's tag.
    const auto combo = [&](const char* name, const QString& tag, int limit) {
        QTest::newRow(name) << Maker(&Make<EditableCombo>) << tag << none << none << none << none << limit << none;
    };
    combo("key first", "MaxLength=8", 8);
    combo("lower case", "maxlength=8", 8);
    combo("more settings after", "MaxLength=8;Sort=1", 8);
    combo("after a semicolon", "Sort=1;MaxLength=8", 8);
    combo("blank after semicolon", "Sort=1; MaxLength=8", kUntouched);
    combo("blank before key", " MaxLength=8", kUntouched);
    combo("no key", "Sort=1", kUntouched);
    combo("no tag", QString(), kUntouched);
    combo("nothing after =", "MaxLength=", kNoLimit);
    combo("no number", "MaxLength=abc", kNoLimit);
    combo("half up to even", "MaxLength=7.5", 8);
    combo("half down to even", "MaxLength=6.5", 6);
    combo("blank between digits", "MaxLength=1 2", 12);
    combo("hexadecimal", "MaxLength=&H10", 16);
    combo("octal", "MaxLength=&O17", 15);
    combo("exponent", "MaxLength=1e1", 10);
    combo("text after number", "MaxLength=12abc", 12);
    combo("first rule wins", "MaxLength=5;MaxLength=9", 5);
    combo("longer key skipped", "MaxLengthX=3;MaxLength=4", 4);
    combo("overflow", "MaxLength=99999", kNoLimit);
    combo("huge exponent", "MaxLength=1e999", kNoLimit);
    combo("negative", "MaxLength=-4", kNoLimit);
    combo("largest", "MaxLength=32767", kNoLimit);
    combo("non-ASCII before key", QStringLiteral("ß=1;MaxLength=7"), 7);
    QTest::newRow("drop-down list: no edit field to limit") << Maker(&Make<QComboBox>) << QStringLiteral("MaxLength=2")
                                                            << none << none << none << none << kNoEditField << none;

    // A text box's designed limit moves into the box; its tag is never read.
    const auto text = [&](const char* name, const QString& tag, const QVariant& designed, int limit) {
        QTest::newRow(name) << Maker(&Make<QLineEdit>) << tag << designed << none << none << none << limit << none;
    };
    text("designed limit", QString(), 5, 5);
    text("no designed limit", QString(), none, kNoLimit);
    text("tag of a text box", QStringLiteral("MaxLength=2"), none, kNoLimit);
    text("designed beyond 16 bits", QString(), 100000, kNoLimit);
    text("negative designed limit", QString(), -1, kNoLimit);
    QTest::newRow("SetMaxLength on a label")
        << Maker(&Make<QLabel>) << QString() << none << none << none << QVariant(1) << kNoEditField << none;
    QTest::newRow("SetMaxLength on no control")
        << Maker(&NoControl) << QString() << none << none << none << QVariant(1) << kNoEditField << none;

    // Which controls take the window's colour and which keep their own, with
    // and without a colour argument.
    const std::uint32_t other = Rgb(1, 2, 3);
    for (const QVariant& given : {none, QVariant(Rgb(10, 20, 30))}) {
        const QVariant window = given.isValid() ? given : QVariant(kButtonFace);
        const auto colour = [&](const char* name, Maker make, const QVariant& back, const QVariant& after) {
            const int limit = make == &Make<QLineEdit> ? kNoLimit : kNoEditField;
            QTest::addRow("%s%s", name, given.isValid() ? ", colour given" : "")
                << make << QString() << none << back << given << none << limit << after;
        };
        colour("frame keeps the marker", &Make<QGroupBox>, kKeep, kKeep);
        colour("frame of the default colour", &Make<QGroupBox>, none, window);
        colour("plain frame", &Make<QFrame>, other, window);
        colour("option button keeps the marker", &Make<QRadioButton>, kKeep, kKeep);
        colour("check box", &Make<QCheckBox>, other, window);
        colour("label keeps its colour", &Make<QLabel>, other, other);
        colour("label without a colour", &Make<QLabel>, none, none);
        colour("list box", &Make<QListWidget>, none, none);
        colour("command button", &Make<QPushButton>, Rgb(255, 192, 192), window);
        colour("text box keeps its colour", &Make<QLineEdit>, other, other);
        colour("no controls", &NoControl, none, none);
    }
}

// One control in a window of its own, prepared.
void CommonFormsTest::prepareControl()
{
    QFETCH(Maker, make);
    QFETCH(QString, tag);
    QFETCH(QVariant, designed);
    QFETCH(QVariant, back);
    QFETCH(QVariant, given);
    QFETCH(QVariant, setMaxLength);
    QFETCH(int, limit);
    QFETCH(QVariant, backAfter);

    QWidget window;
    window.setObjectName(QStringLiteral("frmTest"));
    QWidget* control = make(&window);
    // Every edit field starts limited to kUntouched; a label and a drop-down
    // list show a text that must stay.
    if (auto* box = qobject_cast<QLineEdit*>(control))
        box->setMaxLength(kUntouched);
    if (auto* label = qobject_cast<QLabel*>(control))
        label->setText(QStringLiteral("abcdef"));
    if (auto* combo = qobject_cast<QComboBox*>(control); combo != nullptr && combo->lineEdit() != nullptr)
        combo->lineEdit()->setMaxLength(kUntouched);
    else if (combo != nullptr)
        combo->addItem(QStringLiteral("abcdef"));
    if (!tag.isNull())
        control->setProperty("Tag", tag);
    if (designed.isValid())
        control->setProperty("MaxLength", designed);
    if (back.isValid())
        SetBackColor(control, back.toUInt());
    const QString shown = Shown(control);

    if (given.isValid())
        PrepareFormControls(&window, given.toUInt());
    else
        PrepareFormControls(&window);
    if (setMaxLength.isValid())
        SetMaxLength(control, static_cast<std::int16_t>(setMaxLength.toInt()));

    QCOMPARE(BackColor(&window), given.isValid() ? given.toUInt() : kButtonFace);
    if (given.isValid())
        QCOMPARE(window.palette().color(QPalette::Window), ui::platform::ToQColor(given.toUInt()));
    if (control == nullptr)
        return;
    QCOMPARE(Limit(control), limit);
    QCOMPARE(Shown(control), shown);
    QCOMPARE(control->property("Tag").toString(), tag);
    QCOMPARE(control->property("MaxLength"), designed.isValid() ? QVariant(0) : QVariant());
    if (!backAfter.isValid()) {
        QVERIFY(!control->property("BackColor").isValid());
        return;
    }
    QCOMPARE(BackColor(control), backAfter.toUInt());
    // What shows: the palette follows the value, except on a standard button,
    // which keeps the platform's look.
    if (qobject_cast<QPushButton*>(control) != nullptr) {
        QCOMPARE(control->style(), QApplication::style());
        QCOMPARE(control->palette().color(QPalette::Button), QApplication::palette(control).color(QPalette::Button));
    } else if (qobject_cast<QLineEdit*>(control) == nullptr) {
        QCOMPARE(control->palette().color(QPalette::Window), ui::platform::ToQColor(backAfter.toUInt()));
        QVERIFY(control->autoFillBackground());
    }
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
    // No window: no controls, and nothing to prepare.
    QVERIFY(FormControls(nullptr).isEmpty());
    PrepareFormControls(nullptr, 0u);
}

void CommonFormsTest::colourValuesReadBack()
{
    QLineEdit text;
    QListWidget list;
    QPushButton button;
    QLabel label;
    QCOMPARE(BackColor(&text), SystemColor(ui::platform::COLOR_WINDOW));
    QCOMPARE(BackColor(&list), SystemColor(ui::platform::COLOR_WINDOW));
    QCOMPARE(ForeColor(&text), SystemColor(ui::platform::COLOR_WINDOWTEXT));
    QCOMPARE(BackColor(&button), kButtonFace);
    QCOMPARE(ForeColor(&button), SystemColor(ui::platform::COLOR_BTNTEXT));
    QCOMPARE(BackColor(&label), kButtonFace);
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
