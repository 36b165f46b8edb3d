// The check on leaving a box, on the paths the condition dialog itself does
// not offer: access keys of buttons and of labels with a buddy.
#define QTEST_QPA_MOUSE_HANDLING
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <memory>

#include "ui/condition/focus_validator.h"

using namespace tavlo;

class ConditionFocusTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup()
    {
        m_window.reset();
        QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
    }

    void accessKey_data();
    void accessKey();
    void noCheckWhereTheFocusStays();

private:
    std::unique_ptr<QWidget> m_window;
    QLineEdit* m_edit = nullptr;
    QLineEdit* m_other = nullptr;
    QLabel* m_label = nullptr;
    QPushButton* m_button = nullptr;
    bool m_allow = false;
    int m_checks = 0;
};

void ConditionFocusTest::init()
{
    m_window = std::make_unique<QWidget>();
    m_edit = new QLineEdit(m_window.get());
    m_label = new QLabel(QStringLiteral("&Name"), m_window.get());
    m_other = new QLineEdit(m_window.get());
    m_label->setBuddy(m_other);
    m_button = new QPushButton(QStringLiteral("&Go"), m_window.get());
    m_edit->setGeometry(10, 10, 80, 24);
    m_label->setGeometry(10, 40, 80, 24);
    m_other->setGeometry(100, 40, 80, 24);
    m_button->setGeometry(10, 70, 80, 24);
    m_checks = 0;
    auto* validator = new FocusValidator(m_window.get());
    validator->Watch(m_edit, [this] {
        ++m_checks;
        return m_allow;
    });
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    m_edit->setFocus();
    QCOMPARE(QApplication::focusWidget(), m_edit);
}

void ConditionFocusTest::accessKey_data()
{
    QTest::addColumn<bool>("allow");
    QTest::addColumn<int>("key");
    QTest::newRow("button, refused") << false << int(Qt::Key_G);
    QTest::newRow("button, allowed") << true << int(Qt::Key_G);
    QTest::newRow("label's buddy, refused") << false << int(Qt::Key_N);
    QTest::newRow("label's buddy, allowed") << true << int(Qt::Key_N);
}

void ConditionFocusTest::accessKey()
{
    QFETCH(bool, allow);
    QFETCH(int, key);
    m_allow = allow;
    QSignalSpy pressed(m_button, &QPushButton::pressed);
    QSignalSpy clicked(m_button, &QPushButton::clicked);

    QTest::keyClick(m_edit, Qt::Key(key), Qt::AltModifier);

    QCOMPARE(m_checks, 1);
    // Qt clicks a button by its access key without moving the focus; the
    // check runs all the same, since the box is done with.
    if (key == Qt::Key_G && allow)
        QTRY_COMPARE(clicked.count(), 1);
    else
        QCOMPARE(pressed.count(), 0);
    QCOMPARE(QApplication::focusWidget(), key == Qt::Key_N && allow ? m_other : m_edit);
}

// A press on the focused box itself or on a label, and Ctrl+Tab, move no
// focus: nothing to check.
void ConditionFocusTest::noCheckWhereTheFocusStays()
{
    QTest::mouseClick(m_edit, Qt::LeftButton);
    QTest::mouseClick(m_label, Qt::LeftButton);
    QTest::keyClick(m_edit, Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(m_checks, 0);
    QCOMPARE(QApplication::focusWidget(), m_edit);

    // A refused press whose release never came does not eat the next click.
    m_allow = false;
    QTest::mousePress(m_button, Qt::LeftButton);
    QCOMPARE(m_checks, 1);
    m_allow = true;
    QSignalSpy clicked(m_button, &QPushButton::clicked);
    QTest::mouseClick(m_button, Qt::LeftButton);
    QCOMPARE(clicked.count(), 1);
}

QTEST_MAIN(ConditionFocusTest)
#include "condition_focus_test.moc"
