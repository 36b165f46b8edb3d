// The real message boxes, driven with keys as a user would answer them.
#include <QAbstractButton>
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <optional>

#include "ui/platform/key_repeat_filter.h"
#include "ui/platform/message_boxes.h"

using namespace tavlo;

namespace {

struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    Qt::TextFormat format = Qt::AutoText;
    QStringList buttons;
    QString defaultButton;
    Qt::WindowModality modality = Qt::NonModal;
    QWidget* parent = nullptr;
};

// Waits, inside the box's own event loop, for the modal box to come up and
// become active, notes what it shows, then answers it: presses `key` on it,
// or runs `answer` on its window.
class BoxDriver : public QObject {
public:
    explicit BoxDriver(Qt::Key key) : BoxDriver([key](QWindow* box) { QTest::keyClick(box, key); }) {}
    explicit BoxDriver(std::function<void(QWindow*)> answer) : m_answer(std::move(answer))
    {
        connect(&m_poll, &QTimer::timeout, this, [this] { Poll(); });
        m_poll.start(10);
    }

    std::optional<SeenBox> seen;
    bool keyIgnored = false;

private:
    void Poll()
    {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || seen)
            return;
        m_poll.stop();
        SeenBox s;
        s.title = box->windowTitle();
        s.text = box->text();
        s.icon = box->icon();
        s.format = box->textFormat();
        for (QAbstractButton* button : box->buttons())
            s.buttons << button->text();
        s.defaultButton = box->defaultButton() != nullptr ? box->defaultButton()->text() : QString();
        s.modality = box->windowModality();
        s.parent = box->parentWidget();
        seen = s;

        QPointer<QMessageBox> guard(box);
        if (!QTest::qWaitForWindowActive(box)) {
            keyIgnored = true;
            box->reject();  // never leave a test hanging on a box
            return;
        }
        // Real input: through the window to whatever has the focus.
        m_answer(box->windowHandle());
        // An access key clicks with a short animation: wait for the box to
        // go, and close it unanswered if the key did nothing.
        if (!QTest::qWaitFor([&] { return guard.isNull() || !guard->isVisible(); }) && !guard.isNull()) {
            keyIgnored = true;
            guard->reject();
        }
        // The box's loop was told to exit by an interrupt of the event
        // dispatcher, and the events processed since, in here, took that
        // interrupt. On Windows the box's loop would then sleep on until some
        // message arrives, and headless none does: hand it back.
        QAbstractEventDispatcher::instance()->interrupt();
    }

    std::function<void(QWindow*)> m_answer;
    QTimer m_poll;
};

}  // namespace

class PlatformMessageBoxesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setStyle(QStringLiteral("Fusion")); }
    void cleanup() { QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty()); }
    void question_data();
    void question();
    void warning_data();
    void warning();
    void heldKeyRepeatsPassABoxBy();
};

void PlatformMessageBoxesTest::question_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("defaultButton");

    const QString yes = QStringLiteral("はい(&Y)");
    const QString no = QStringLiteral("いいえ(&N)");
    QTest::newRow("No default, Enter at once") << 292 << int(Qt::Key_Return) << 7 << no;
    QTest::newRow("Yes default, Enter at once") << 36 << int(Qt::Key_Return) << 6 << yes;
    QTest::newRow("Yes default, Esc") << 36 << int(Qt::Key_Escape) << 7 << yes;
    QTest::newRow("No default, access key Y") << 292 << int(Qt::Key_Y) << 6 << no;
}

void PlatformMessageBoxesTest::question()
{
    QFETCH(int, style);
    QFETCH(int, key);
    QFETCH(int, answer);
    QFETCH(QString, defaultButton);

    QWidget owner;
    owner.setWindowTitle(QStringLiteral("Tavlo"));
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));

    ui::platform::QtMessageBoxes boxes;
    BoxDriver driver(static_cast<Qt::Key>(key));
    const QString message = QStringLiteral("抽選結果をクリアします。よろしいですか？");
    QCOMPARE(static_cast<int>(boxes.Ask(&owner, message, owner.windowTitle(), static_cast<ui::platform::Style>(style))),
             answer);

    QVERIFY(driver.seen.has_value());
    QVERIFY(!driver.keyIgnored);
    QCOMPARE(driver.seen->title, QStringLiteral("Tavlo"));
    QCOMPARE(driver.seen->text, message);
    QCOMPARE(driver.seen->icon, QMessageBox::Question);
    QCOMPARE(driver.seen->buttons.size(), 2);
    QVERIFY(driver.seen->buttons.contains(QStringLiteral("はい(&Y)")));
    QVERIFY(driver.seen->buttons.contains(QStringLiteral("いいえ(&N)")));
    QCOMPARE(driver.seen->defaultButton, defaultButton);
    QCOMPARE(driver.seen->modality, Qt::ApplicationModal);
    QCOMPARE(driver.seen->parent, &owner);
}

void PlatformMessageBoxesTest::warning_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Enter") << int(Qt::Key_Return);
    QTest::newRow("Esc") << int(Qt::Key_Escape);
}

void PlatformMessageBoxesTest::warning()
{
    QFETCH(int, key);

    QWidget owner;
    owner.setWindowTitle(QStringLiteral("条件入力"));
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));

    ui::platform::QtMessageBoxes boxes;
    BoxDriver driver(static_cast<Qt::Key>(key));
    // Plain text: the "<b>" must show as typed, not turn the text bold.
    const QString message = QStringLiteral("<b>抽選範囲</b>(From)を入力して下さい。");
    boxes.Warn(&owner, message, owner.windowTitle());

    QVERIFY(driver.seen.has_value());
    QVERIFY(!driver.keyIgnored);
    QCOMPARE(driver.seen->title, QStringLiteral("条件入力"));
    QCOMPARE(driver.seen->text, message);
    QCOMPARE(driver.seen->icon, QMessageBox::Warning);
    QCOMPARE(driver.seen->format, Qt::PlainText);
    QCOMPARE(driver.seen->buttons, QStringList{QStringLiteral("OK")});
    QCOMPARE(driver.seen->modality, Qt::ApplicationModal);
    QCOMPARE(driver.seen->parent, &owner);
}

// Enter held down when a warning opens under it: the key's repeats leave the
// box open, and a press after the key's release answers it.
void PlatformMessageBoxesTest::heldKeyRepeatsPassABoxBy()
{
    QWidget owner;
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));
    ui::platform::KeyRepeatFilter keys;
    const auto send = [](QWindow* to, QEvent::Type type, int time, bool repeat) {
        QKeyEvent key(type, Qt::Key_Return, Qt::NoModifier, QString(), repeat);
        key.setTimestamp(static_cast<quint64>(time));
        QApplication::sendEvent(to, &key);
    };
    send(owner.windowHandle(), QEvent::KeyPress, 100, false);

    bool openAfterRepeats = false;
    BoxDriver driver([&](QWindow* box) {
        // As X11 repeats a held key: a release and a press at one time.
        for (const int time : {600, 633, 666}) {
            send(box, QEvent::KeyRelease, time, true);
            send(box, QEvent::KeyPress, time, true);
        }
        openAfterRepeats = box->isVisible();
        send(box, QEvent::KeyRelease, 700, false);
        send(box, QEvent::KeyPress, 900, false);
    });
    ui::platform::QtMessageBoxes boxes;
    boxes.Warn(&owner, QStringLiteral("設定ファイルに書き込めませんでした。"), QStringLiteral("Tavlo"));
    QVERIFY(openAfterRepeats);
    QVERIFY(!driver.keyIgnored);
}

QTEST_MAIN(PlatformMessageBoxesTest)
#include "platform_message_boxes_test.moc"
