// Clicks travel through the window, the way real input arrives.
#define QTEST_QPA_MOUSE_HANDLING
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>
#include <filesystem>
#include <memory>

#include "engine/draw_state.h"
#include "settings/settings_file.h"
#include "support/recording_message_boxes.h"
#include "support/scripted_random.h"
#include "support/temp_dir.h"
#include "support/window_fixture.h"
#include "ui/common/main_window_link.h"
#include "ui/common/screen_placement.h"
#include "ui/common/window_messages.h"
#include "ui/condition/condition_dialog.h"
#include "ui/platform/twips.h"

using namespace tavlo;

namespace {

const QString kTitle = QStringLiteral("条件入力");
const QString kNarrowed = QStringLiteral("抽選範囲が狭くなったので、抽選結果をクリアします。よろしいですか？");
const QString kChanged = QStringLiteral("抽選範囲が変更されました。抽選結果をクリアしますか？");
const QString kDigits = QStringLiteral("には、0～9の数字を入力して下さい。");
const QString kTooLong = QStringLiteral("には、3桁以内で入力して下さい。");
constexpr int kQuestionNoDefault = 4 + 32 + 256;

// The main window's side of the link: records the calls with the range they show.
class FakeMainWindow final : public MainWindowLink {
public:
    explicit FakeMainWindow(DrawState& state) : m_state(state) {}
    void EditRange() override
    {
        calls << QStringLiteral("EditRange %1..%2").arg(m_state.RangeMin()).arg(m_state.RangeMax());
    }
    void EditCount(CountMode enmCountMode) override
    {
        calls << QStringLiteral("EditCount %1").arg(static_cast<int>(enmCountMode));
    }
    QStringList calls;

private:
    DrawState& m_state;
};

}  // namespace

class ConditionDialogTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void design();
    void keptOnSmallScreen_data();
    void keptOnSmallScreen();
    void loadFillsBoxes();
    void okOutcome_data();
    void okOutcome();
    void firstRangeEver_data();
    void firstRangeEver();
    void storedAsTyped();
    void blanksTrimmedOnLeaving();
    void refusedBoxText_data();
    void refusedBoxText();
    void anotherWindowRunsNoCheck();
    void okRefused_data();
    void okRefused();
    void enterAndEscPressNothing();
    void tabCycle();
    void closingStoresNothing_data();
    void closingStoresNothing();
    void failedWriteWarns_data();
    void failedWriteWarns();

private:
    // Loads the state from `ini` (none: no file) and opens the dialog on it.
    bool Open(const char* ini = nullptr);
    bool Reopen();
    QLineEdit* Box(const char* name) const { return m_dialog->findChild<QLineEdit*>(name); }
    QWidget* Control(const char* name) const { return m_dialog->findChild<QWidget*>(name); }
    QString FocusName() const
    {
        return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
    }
    static void Replace(QLineEdit* box, const QString& text)
    {
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Delete);
        // keyClicks knows ASCII only; full-width characters arrive as text.
        for (const QChar c : text) {
            if (c.unicode() < 0x80)
                QTest::keyClick(box, c.toLatin1());
            else
                QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
    // Types From, tabs to To, types it and clicks OK.
    void EnterRange(const QString& from, const QString& to)
    {
        Replace(Box("txtRangeMin"), from);
        QTest::keyClick(Box("txtRangeMin"), Qt::Key_Tab);
        Replace(Box("txtRangeMax"), to);
        QTest::mouseClick(Control("cmdOK"), Qt::LeftButton);
    }

    std::unique_ptr<test::WindowFixture> m_fx;  // its window is the owner
    std::unique_ptr<FakeMainWindow> m_main;
    QWidget* m_owner = nullptr;
    QPointer<frmCondition> m_dialog;
};

void ConditionDialogTest::init()
{
    m_fx = std::make_unique<test::WindowFixture>();
}

void ConditionDialogTest::cleanup()
{
    m_fx->window.reset();  // the owner takes the dialog with it
    m_owner = nullptr;
    QVERIFY(m_dialog.isNull());
    m_main.reset();
    m_fx.reset();
    QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
}

bool ConditionDialogTest::Open(const char* ini)
{
    if (ini)
        m_fx->WriteSettings(ini);
    m_fx->StartUp();
    m_main = std::make_unique<FakeMainWindow>(m_fx->state);
    m_owner = &m_fx->Build<QWidget>();
    return Reopen();
}

bool ConditionDialogTest::Reopen()
{
    delete m_dialog;
    m_dialog = new frmCondition(m_fx->state, m_fx->boxes, *m_main, m_owner);
    m_dialog->show();
    return QTest::qWaitForWindowActive(m_dialog);
}

void ConditionDialogTest::design()
{
    QVERIFY(Open());
    QCOMPARE(m_dialog->objectName(), QStringLiteral("frmCondition"));
    QCOMPARE(m_dialog->windowTitle(), kTitle);
    QCOMPARE(m_dialog->minimumSize(), m_dialog->maximumSize());
    const Qt::WindowFlags flags = m_dialog->windowFlags();
    QCOMPARE(m_dialog->windowType(), Qt::Dialog);
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QCOMPARE(m_dialog->parentWidget(), m_owner);  // owned: no task-bar entry
    QCOMPARE(m_dialog->font().pointSizeF(), 12.0);

    // The design, in twips: the client area measured from the screen's
    // top-left corner, and each control inside it.
    const QRect window{2760, 3750, 4545, 1665};
    struct Design {
        const char* name;
        QString text;
        QRect twips;
        Qt::Alignment horizontal;
    };
    const Design controls[] = {
        {"lblRange", QStringLiteral("抽選結果範囲"), {240, 360, 1575, 255}, Qt::AlignLeft},
        {"txtRangeMin", QString(), {2040, 240, 615, 360}, Qt::AlignRight},
        {"Label1", QStringLiteral("～"), {2880, 360, 495, 255}, Qt::AlignHCenter},
        {"txtRangeMax", QString(), {3480, 255, 615, 360}, Qt::AlignRight},
        {"cmdOK", QStringLiteral("OK"), {360, 960, 1575, 495}, {}},
        {"cmdCancel", QStringLiteral("キャンセル"), {2520, 960, 1575, 495}, {}},
    };
    const auto pixels = [](const QRect& t) { return ui::platform::TwipsRect(t.x(), t.y(), t.width(), t.height()); };
    QCOMPARE(m_dialog->geometry(), pixels(window).translated(m_owner->screen()->geometry().topLeft()));
    for (const Design& design : controls) {
        QWidget* control = Control(design.name);
        QVERIFY2(control, design.name);
        const QRect designed = pixels(design.twips);
        if (auto* label = qobject_cast<QLabel*>(control)) {
            // A label may grow downwards to show a whole line of its font.
            QCOMPARE(label->geometry().topLeft(), designed.topLeft());
            QCOMPARE(label->width(), designed.width());
            QCOMPARE(label->height(), std::max(designed.height(), label->fontMetrics().height()));
        } else {
            QCOMPARE(control->geometry(), designed);
        }
        if (auto* label = qobject_cast<QLabel*>(control)) {
            QCOMPARE(label->text(), design.text);
            QCOMPARE(label->alignment() & Qt::AlignHorizontal_Mask, design.horizontal);
            QCOMPARE(label->focusPolicy(), Qt::NoFocus);
        } else if (auto* box = qobject_cast<QLineEdit*>(control)) {
            QCOMPARE(box->alignment() & Qt::AlignHorizontal_Mask, design.horizontal);
            QVERIFY(!box->isReadOnly());
        } else {
            auto* button = qobject_cast<QPushButton*>(control);
            QCOMPARE(button->text(), design.text);
            QVERIFY(!button->isDefault() && !button->autoDefault());
        }
    }
}

void ConditionDialogTest::keptOnSmallScreen_data()
{
    QTest::addColumn<QRect>("frame");
    QTest::addColumn<QRect>("placed");
    QTest::newRow("fits") << QRect(184, 230, 303, 131) << QRect(184, 230, 303, 131);
    QTest::newRow("too far right") << QRect(400, 100, 303, 131) << QRect(337, 100, 303, 131);
    QTest::newRow("too low") << QRect(184, 400, 303, 131) << QRect(184, 349, 303, 131);
    QTest::newRow("larger than the screen") << QRect(100, 100, 800, 600) << QRect(0, 0, 800, 600);
    QTest::newRow("off the top-left") << QRect(-50, -20, 303, 131) << QRect(0, 0, 303, 131);
}

void ConditionDialogTest::keptOnSmallScreen()
{
    QFETCH(QRect, frame);
    QFETCH(QRect, placed);
    QCOMPARE(KeepWhollyVisible(frame, QRect(0, 0, 640, 480)), placed);
}

void ConditionDialogTest::loadFillsBoxes()
{
    QVERIFY(Open("[Condition]\nRange=0,120\n"));
    QCOMPARE(Box("txtRangeMin")->text(), QStringLiteral("0"));
    QCOMPARE(Box("txtRangeMax")->text(), QStringLiteral("120"));
    QCOMPARE(FocusName(), QStringLiteral("txtRangeMin"));
    QCOMPARE(Box("txtRangeMin")->selectedText(), QStringLiteral("0"));
    // A click into a box selects its text too, once the press has placed the cursor.
    QTest::mouseClick(Box("txtRangeMax"), Qt::LeftButton);
    QCOMPARE(Box("txtRangeMax")->selectedText(), QStringLiteral("120"));

    QVERIFY(Open("[Condition]\nRange=-1,0\n"));  // a bound of -1 leaves its box empty
    QCOMPARE(Box("txtRangeMin")->text(), QString());
    QCOMPARE(Box("txtRangeMax")->text(), QStringLiteral("0"));
}

void ConditionDialogTest::okOutcome_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<int>("answer");  // 0: no question expected
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("stored");  // the Range value afterwards
    QTest::addColumn<bool>("cleared");
    QTest::addColumn<bool>("open");
    // Stored range 10..90, numbers 15 and 50 drawn.
    const QString no, unchanged = QStringLiteral("10,90");
    QTest::newRow("same") << "10"
                          << "90" << 0 << no << unchanged << false << false;
    QTest::newRow("same, leading zeros") << "010"
                                         << "090" << 0 << no << unchanged << false << false;
    QTest::newRow("narrower, No") << "10"
                                  << "80" << 7 << kNarrowed << unchanged << false << true;
    QTest::newRow("narrower, Yes") << "20"
                                   << "90" << 6 << kNarrowed << "20,90" << true << false;
    QTest::newRow("shifted up, Yes") << "50"
                                     << "200" << 6 << kNarrowed << "50,200" << true << false;
    QTest::newRow("one number, Yes") << "15"
                                     << "15" << 6 << kNarrowed << "15,15" << true << false;
    QTest::newRow("widened, No") << "1"
                                 << "100" << 7 << kChanged << "1,100" << false << false;
    QTest::newRow("widened, Yes") << "10"
                                  << "100" << 6 << kChanged << "10,100" << true << false;
}

void ConditionDialogTest::okOutcome()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(int, answer);
    QFETCH(QString, question);
    QFETCH(QString, stored);
    QFETCH(bool, cleared);
    QFETCH(bool, open);
    QVERIFY(Open("[Condition]\nRange=10,90\n[Result]\n1=15\n2=50\n"));
    const std::string before = test::ReadFile(m_fx->path);
    if (answer)
        m_fx->boxes.answers.push_back(static_cast<ui::platform::Answer>(answer));

    EnterRange(from, to);

    QCOMPARE(m_fx->boxes.Messages(), question.isEmpty() ? QStringList() : QStringList{question});
    for (const auto& call : m_fx->boxes.calls) {
        QCOMPARE(call.title, kTitle);
        QCOMPARE(static_cast<int>(call.style), kQuestionNoDefault);
    }
    QCOMPARE(QString::fromStdString(m_fx->file.ReadRange().text), stored);
    const bool changed = stored != QStringLiteral("10,90");
    if (!changed)
        QCOMPARE(test::ReadFile(m_fx->path), before);  // nothing written at all
    QCOMPARE(m_fx->state.RangeMin(), changed ? from.toInt() : 10);
    QCOMPARE(m_fx->state.RangeMax(), changed ? to.toInt() : 90);

    QStringList calls;
    if (changed)
        calls << QStringLiteral("EditRange %1..%2").arg(from.toInt()).arg(to.toInt());
    if (cleared)
        calls << QStringLiteral("EditCount 1");
    QCOMPARE(m_main->calls, calls);
    QCOMPARE(m_fx->state.Count(), cleared ? 0 : 2);
    QCOMPARE(m_fx->file.ReadResults().empty(), cleared);
    QCOMPARE(m_fx->state.Drawn().size(), std::size_t(m_fx->state.RangeMax() + 1));
    if (!cleared)
        QVERIFY(m_fx->state.Drawn()[15] && m_fx->state.Drawn()[50]);
    QCOMPARE(m_dialog->isVisible(), open);
}

void ConditionDialogTest::firstRangeEver_data()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("Yes") << 6;
    QTest::newRow("No") << 7;
}

void ConditionDialogTest::firstRangeEver()
{
    QFETCH(int, answer);
    QVERIFY(Open());
    QCOMPARE(Box("txtRangeMin")->text(), QString());
    QCOMPARE(Box("txtRangeMax")->text(), QString());
    m_fx->boxes.answers.push_back(static_cast<ui::platform::Answer>(answer));

    EnterRange(QStringLiteral("1"), QStringLiteral("50"));

    QCOMPARE(m_fx->boxes.Messages(), QStringList{kNarrowed});
    if (answer == 6) {
        QCOMPARE(QString::fromStdString(m_fx->file.ReadRange().text), QStringLiteral("1,50"));
        QCOMPARE(m_main->calls, (QStringList{QStringLiteral("EditRange 1..50"), QStringLiteral("EditCount 1")}));
        QCOMPARE(m_fx->state.Drawn().size(), std::size_t(51));
        QVERIFY(!m_dialog->isVisible());
    } else {
        QVERIFY(!test::FileExists(m_fx->path));
        QCOMPARE(m_fx->state.RangeMin(), std::int16_t(-1));
        QVERIFY(m_main->calls.isEmpty());
        QVERIFY(m_dialog->isVisible());
    }
}

void ConditionDialogTest::storedAsTyped()
{
    QVERIFY(Open("[Condition]\nRange=1,100\n"));
    m_fx->boxes.AnswerYes();
    EnterRange(QStringLiteral("007"), QStringLiteral("020"));
    QCOMPARE(QString::fromStdString(m_fx->file.ReadRange().text), QStringLiteral("007,020"));
    QCOMPARE(m_fx->state.RangeMin(), std::int16_t(7));
    QCOMPARE(m_fx->state.RangeMax(), std::int16_t(20));

    QVERIFY(Reopen());
    QCOMPARE(Box("txtRangeMin")->text(), QStringLiteral("7"));
    QCOMPARE(Box("txtRangeMax")->text(), QStringLiteral("20"));
}

void ConditionDialogTest::blanksTrimmedOnLeaving()
{
    QVERIFY(Open());
    Replace(Box("txtRangeMin"), QStringLiteral(" 12 "));
    QTest::keyClick(Box("txtRangeMin"), Qt::Key_Tab);
    QCOMPARE(Box("txtRangeMin")->text(), QStringLiteral("12"));
    QVERIFY(m_fx->boxes.calls.empty());
    QCOMPARE(FocusName(), QStringLiteral("txtRangeMax"));
}

void ConditionDialogTest::refusedBoxText_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("kept");  // the text as the box holds it afterwards
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("leaveBy");  // Tab, Backtab or the control clicked
    const QString from = QStringLiteral("抽選結果範囲(From)"), to = QStringLiteral("抽選結果範囲(To)");
    QTest::newRow("From 1 2, Tab") << "txtRangeMin"
                                   << "1 2"
                                   << "1 2" << from + kDigits << "Tab";
    QTest::newRow("From 1234, OK") << "txtRangeMin"
                                   << "1234"
                                   << "1234" << from + kTooLong << "cmdOK";
    QTest::newRow("From -5, Cancel") << "txtRangeMin"
                                     << " -5 "
                                     << "-5" << from + kDigits << "cmdCancel";
    QTest::newRow("From full-width digits, To box")
        << "txtRangeMin" << QStringLiteral("１２") << QStringLiteral("１２") << from + kDigits << "txtRangeMax";
    QTest::newRow("From full-width blank, Tab")
        << "txtRangeMin" << QStringLiteral("12　") << QStringLiteral("12　") << from + kDigits << "Tab";
    QTest::newRow("To 1234, Backtab") << "txtRangeMax"
                                      << "1234"
                                      << "1234" << to + kTooLong << "Backtab";
    QTest::newRow("To -5, From box") << "txtRangeMax"
                                     << "-5"
                                     << "-5" << to + kDigits << "txtRangeMin";
    QTest::newRow("To 1a, OK") << "txtRangeMax"
                               << "1a"
                               << "1a" << to + kDigits << "cmdOK";
    QTest::newRow("To 12345, Cancel") << "txtRangeMax"
                                      << "12345"
                                      << "12345" << to + kTooLong << "cmdCancel";
}

void ConditionDialogTest::refusedBoxText()
{
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(QString, kept);
    QFETCH(QString, message);
    QFETCH(QString, leaveBy);
    QVERIFY(Open("[Condition]\nRange=10,90\n"));
    const std::string before = test::ReadFile(m_fx->path);
    QLineEdit* edit = Box(box.toLatin1().constData());
    if (box == QStringLiteral("txtRangeMax"))
        QTest::keyClick(Box("txtRangeMin"), Qt::Key_Tab);
    Replace(edit, text);

    std::unique_ptr<QSignalSpy> pressed;
    if (auto* button = qobject_cast<QPushButton*>(Control(leaveBy.toLatin1().constData())))
        pressed = std::make_unique<QSignalSpy>(button, &QPushButton::pressed);
    if (leaveBy == QStringLiteral("Tab"))
        QTest::keyClick(edit, Qt::Key_Tab);
    else if (leaveBy == QStringLiteral("Backtab"))
        QTest::keyClick(edit, Qt::Key_Tab, Qt::ShiftModifier);
    else
        QTest::mouseClick(Control(leaveBy.toLatin1().constData()), Qt::LeftButton);

    QCOMPARE(m_fx->boxes.Messages(), QStringList{message});
    QCOMPARE(m_fx->boxes.calls[0].title, kTitle);
    QCOMPARE(FocusName(), box);
    QCOMPARE(edit->text(), kept);
    // The click or key that moved the focus had no effect: no OK, no Cancel.
    if (pressed)
        QCOMPARE(pressed->count(), 0);
    QVERIFY(m_dialog->isVisible());
    QVERIFY(m_main->calls.isEmpty());
    QCOMPARE(test::ReadFile(m_fx->path), before);

    // Mended, the box lets the focus go.
    m_fx->boxes.Clear();
    Replace(edit, QStringLiteral("50"));
    QTest::keyClick(edit, Qt::Key_Tab);
    QVERIFY(m_fx->boxes.calls.empty());
    QVERIFY(FocusName() != box);
}

void ConditionDialogTest::anotherWindowRunsNoCheck()
{
    QVERIFY(Open());
    // The warning takes the focus to a window of its own, as a real box does.
    m_fx->boxes.onBox = [](QWidget*) {
        QWidget box;
        box.show();
        box.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&box));
    };
    Replace(Box("txtRangeMin"), QStringLiteral("x"));
    QTest::keyClick(Box("txtRangeMin"), Qt::Key_Tab);
    m_fx->boxes.onBox = nullptr;
    m_dialog->activateWindow();  // no window manager here to hand it back
    QVERIFY(QTest::qWaitForWindowActive(m_dialog));
    QCOMPARE(m_fx->boxes.calls.size(), std::size_t(1));
    QCOMPARE(FocusName(), QStringLiteral("txtRangeMin"));
}

void ConditionDialogTest::okRefused_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    QTest::newRow("both empty") << ""
                                << "" << QStringLiteral("抽選結果範囲(From)を入力して下さい。") << "txtRangeMin";
    QTest::newRow("To empty") << "5"
                              << "" << QStringLiteral("抽選結果範囲(To)を入力して下さい。") << "txtRangeMax";
    QTest::newRow("From above To") << "010"
                                   << "9" << QStringLiteral("抽選結果範囲は、(From)≦(To)で入力して下さい。")
                                   << "txtRangeMin";
}

void ConditionDialogTest::okRefused()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    QVERIFY(Open());
    EnterRange(from, to);
    QCOMPARE(m_fx->boxes.Messages(), QStringList{message});
    QCOMPARE(m_fx->boxes.calls[0].title, kTitle);
    QCOMPARE(FocusName(), focus);
    // The box that takes the focus back has its whole text selected.
    QCOMPARE(Box(focus.toLatin1().constData())->selectedText(), focus == QStringLiteral("txtRangeMin") ? from : to);
    QVERIFY(m_dialog->isVisible());
    QVERIFY(!test::FileExists(m_fx->path));
    QVERIFY(m_main->calls.isEmpty());
}

void ConditionDialogTest::enterAndEscPressNothing()
{
    QVERIFY(Open("[Condition]\nRange=10,90\n"));
    for (const char* name : {"txtRangeMin", "txtRangeMax", "cmdOK", "cmdCancel"}) {
        Control(name)->setFocus();
        QCOMPARE(FocusName(), QString::fromLatin1(name));
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
            QTest::keyClick(Control(name), key);
    }
    QVERIFY(m_dialog->isVisible());
    QVERIFY(m_fx->boxes.calls.empty());
    QVERIFY(m_main->calls.isEmpty());
}

void ConditionDialogTest::tabCycle()
{
    QVERIFY(Open());
    const QStringList forward{"txtRangeMax", "cmdOK", "cmdCancel", "txtRangeMin"};
    for (const QString& next : forward) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(FocusName(), next);
    }
    const QStringList backward{"cmdCancel", "cmdOK", "txtRangeMax", "txtRangeMin"};
    for (const QString& next : backward) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
        QCOMPARE(FocusName(), next);
    }
}

void ConditionDialogTest::closingStoresNothing_data()
{
    QTest::addColumn<bool>("closeBox");
    QTest::newRow("Cancel") << false;
    QTest::newRow("close box") << true;
}

void ConditionDialogTest::closingStoresNothing()
{
    QFETCH(bool, closeBox);
    QVERIFY(Open("[Condition]\nRange=10,90\n[Result]\n1=15\n"));
    const std::string before = test::ReadFile(m_fx->path);
    Replace(Box("txtRangeMin"), QStringLiteral("33"));
    QTest::keyClick(Box("txtRangeMin"), Qt::Key_Tab);
    // Left unchecked in the box: the close box closes all the same.
    Replace(Box("txtRangeMax"), closeBox ? QStringLiteral("abc") : QStringLiteral("44"));
    if (closeBox)
        m_dialog->windowHandle()->close();  // what the window system does for the close box
    else
        QTest::mouseClick(Control("cmdCancel"), Qt::LeftButton);

    QTRY_VERIFY(!m_dialog->isVisible());
    QVERIFY(m_fx->boxes.calls.empty());
    QVERIFY(m_main->calls.isEmpty());
    QCOMPARE(test::ReadFile(m_fx->path), before);
    QCOMPARE(m_fx->state.RangeMin(), std::int16_t(10));
    QCOMPARE(m_fx->state.Count(), 1);

    QVERIFY(Reopen());  // starts again from the range, not from what was typed
    QCOMPARE(Box("txtRangeMin")->text(), QStringLiteral("10"));
    QCOMPARE(Box("txtRangeMax")->text(), QStringLiteral("90"));
}

// The settings file cannot be written: the user hears of it once per OK,
// however many changes the press makes, and the new range holds in memory.
void ConditionDialogTest::failedWriteWarns_data()
{
    QTest::addColumn<QString>("to");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("question");
    QTest::addColumn<bool>("cleared");
    // A narrowing asks before it stores; a widening stores, then asks.
    QTest::newRow("widened, kept") << "100" << 7 << kChanged << false;
    QTest::newRow("widened, cleared") << "100" << 6 << kChanged << true;
    QTest::newRow("narrowed, cleared") << "50" << 6 << kNarrowed << true;
}

void ConditionDialogTest::failedWriteWarns()
{
    QFETCH(QString, to);
    QFETCH(int, answer);
    QFETCH(QString, question);
    QFETCH(bool, cleared);
    QVERIFY(Open("[Condition]\nRange=10,90\n[Result]\n1=15\n"));
    std::filesystem::remove(m_fx->path);
    std::filesystem::create_directory(m_fx->path);  // a directory cannot be written as a file
    m_fx->boxes.answers.push_back(static_cast<ui::platform::Answer>(answer));

    EnterRange(QStringLiteral("1"), to);

    const QString warning = SettingsNotSavedMessage(m_fx->path);
    QCOMPARE(m_fx->boxes.Messages(),
             question == kNarrowed ? (QStringList{question, warning}) : (QStringList{warning, question}));
    QCOMPARE(m_fx->boxes.calls[0].title, kTitle);
    QCOMPARE(m_fx->state.RangeMin(), std::int16_t(1));
    QCOMPARE(m_fx->state.RangeMax(), std::int16_t(to.toInt()));
    QCOMPARE(m_fx->state.Count(), cleared ? 0 : 1);
    QVERIFY(!m_dialog->isVisible());
}

QTEST_MAIN(ConditionDialogTest)
#include "condition_dialog_test.moc"
