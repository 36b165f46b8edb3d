// The result window: its lines, its design, its layout on resize, its keys
// and the copy to the clipboard.
#include <QApplication>
#include <QClipboard>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <memory>
#include <string>

#include "support/result_list_design.h"
#include "support/window_fixture.h"
#include "ui/common/control_colors.h"
#include "ui/platform/fonts.h"
#include "ui/results/result_list.h"

using tavlo::frmResultList;

class ResultListTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void linesComeInOrdinalOrder();
    void allThousandNumbersDrawn();
    void design();
    void opensAtItsPlaceWithTheDesignLayout();
    void resizeLaysOutTheControls_data();
    void resizeLaysOutTheControls();
    void narrowingBelowTheFloorReachesItsLimit();
    void escapeClosesFromEitherControl_data();
    void escapeClosesFromEitherControl();
    void enterOnTheListDoesNotClose();
    void enterOnTheButtonCloses_data();
    void enterOnTheButtonCloses();
    void tabAlternates();
    void clickOnCloseEndsTheModalShow();
    void copyKeysTakeEveryLine_data();
    void copyKeysTakeEveryLine();
    void contextMenuCopies();

private:
    // After three draws, a clearing and three more, the list and the
    // clipboard hold the last three only, each line ended as the platform's.
    frmResultList& ShowAfterAClearing();
    static QString CopiedLines();
    // A window, not yet shown, over the results of `resultSection`.
    frmResultList& Open(const std::string& resultSection);
    // The same, shown and active.
    frmResultList& Show(const std::string& resultSection);
    frmResultList& Activate();
    QListWidget* List() const { return m_window->findChild<QListWidget*>(QStringLiteral("lstResult")); }
    QPushButton* Close() const { return m_window->findChild<QPushButton*>(QStringLiteral("cmdClose")); }
    QStringList Lines() const;
    // The list the layout asked for, cut down to whole lines plus its frame,
    // as a list box shows them.
    QRect WholeLines(const QRect& asked) const
    {
        const int row = List()->sizeHintForRow(0);
        const int frame = 2 * List()->frameWidth();
        return {asked.topLeft(), QSize(asked.width(), (asked.height() - frame) / row * row + frame)};
    }
    // The button of a layout that asked for `list`: it follows the list's
    // bottom as it stands.
    QRect Below(const QRect& list, const QRect& button) const
    {
        return button.translated(0, WholeLines(list).height() - list.height());
    }

    // The draw state read from a settings file with the range 0..999 and
    // `resultSection`, the way the main window reads it at start-up.
    void Load(const std::string& resultSection)
    {
        m_fx->WriteSettings("[Condition]\r\nRange=0,999\r\n[Result]\r\n" + resultSection);
        m_fx->StartUp();
    }

    std::unique_ptr<tavlo::test::WindowFixture> m_fx;  // its window is the owner
    QWidget* m_owner = nullptr;
    QPointer<frmResultList> m_window;
};

void ResultListTest::init()
{
    m_fx = std::make_unique<tavlo::test::WindowFixture>();
    m_owner = &m_fx->Build<QWidget>();
}

void ResultListTest::cleanup()
{
    m_fx.reset();  // the owner takes the window with it
    m_owner = nullptr;
    QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
}

frmResultList& ResultListTest::Open(const std::string& resultSection)
{
    Load(resultSection);
    m_window = new frmResultList(m_fx->state, m_owner);
    return *m_window;
}

frmResultList& ResultListTest::Show(const std::string& resultSection)
{
    Open(resultSection);
    return Activate();
}

frmResultList& ResultListTest::Activate()
{
    m_window->show();
    m_window->activateWindow();
    if (!QTest::qWaitForWindowActive(m_window))
        qWarning("the result window did not become active");
    return *m_window;
}

QStringList ResultListTest::Lines() const
{
    QStringList lines;
    for (int row = 0; row < List()->count(); ++row)
        lines << List()->item(row)->text();
    return lines;
}

void ResultListTest::linesComeInOrdinalOrder()
{
    // Entries out of order in the file, numbers neither rising nor falling.
    Open("2=0\r\n1=999\r\n3=42\r\n4=5\r\n");
    QCOMPARE(Lines(), (QStringList{QStringLiteral(u"  1回目：　999"), QStringLiteral(u"  2回目：　000"),
                                   QStringLiteral(u"  3回目：　042"), QStringLiteral(u"  4回目：　005")}));
}

void ResultListTest::allThousandNumbersDrawn()
{
    std::string section;
    for (int ordinal = 1; ordinal <= 1000; ++ordinal)
        section += std::to_string(ordinal) + "=" + std::to_string(1000 - ordinal) + "\r\n";
    Open(section);
    const QStringList lines = Lines();
    QCOMPARE(lines.size(), 1000);
    QCOMPARE(lines.at(0), QStringLiteral(u"  1回目：　999"));
    QCOMPARE(lines.at(998), QStringLiteral(u"999回目：　001"));
    QCOMPARE(lines.at(999), QStringLiteral(u"1000回目：　000"));
}

void ResultListTest::design()
{
    Open("1=7\r\n");
    QCOMPARE(m_window->objectName(), QStringLiteral("frmResultList"));
    QCOMPARE(m_window->windowTitle(), QStringLiteral(u"結果表示"));
    QVERIFY(m_window->isWindow());
    QCOMPARE(m_window->parentWidget(), m_owner);

    const Qt::WindowFlags flags = m_window->windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowSystemMenuHint));
    QVERIFY(m_window->minimumSize().isNull());  // sizable down to nothing

    QVERIFY(List() != nullptr);
    QVERIFY(Close() != nullptr);
    QCOMPARE(Close()->text(), QStringLiteral(u"閉じる"));
    // Neither control has a font of its own: both show the window's face.
    QCOMPARE(m_window->font(), tavlo::ui::platform::GothicFont(12));
    QCOMPARE(List()->font(), m_window->font());
    QCOMPARE(Close()->font(), m_window->font());
    // No default button, so that Enter on the list does not close.
    QVERIFY(!Close()->isDefault());
    QVERIFY(!Close()->autoDefault());
    // Control preparation gave the button the window's background.
    QCOMPARE(tavlo::BackColor(Close()), tavlo::BackColor(m_window));
}

void ResultListTest::opensAtItsPlaceWithTheDesignLayout()
{
    frmResultList& window = Show("1=7\r\n2=345\r\n");

    // The offscreen screen is large enough to hold it at its designed place.
    QCOMPARE(window.geometry(), tavlo::ui::platform::TwipsRect(tavlo::test::result_list_design::kWindow)
                                    .translated(m_owner->screen()->geometry().topLeft()));

    // The first resize has run: list 2910 x 5280, button at 907.5, 5580 had
    // the list kept that height.
    QCOMPARE(List()->geometry(), WholeLines(QRect(8, 8, 194, 352)));
    QVERIFY(List()->height() < 352);
    QCOMPARE(Close()->geometry(), Below(QRect(8, 8, 194, 352), QRect(61, 372, 89, 33)));
    QCOMPARE(QApplication::focusWidget(), List());
    QCOMPARE(List()->count(), 2);
}

void ResultListTest::resizeLaysOutTheControls_data()
{
    QTest::addColumn<QSize>("client");
    QTest::addColumn<QRect>("list");    // as the layout asks for it
    QTest::addColumn<QRect>("button");  // had the list taken that height

    // 6000 x 9000 twips: list 5760 x 8025, button at 2332.5, 8325.
    QTest::newRow("larger") << QSize(400, 600) << QRect(8, 8, 384, 535) << QRect(156, 555, 89, 33);
    // Smaller than the margins: 720 high and as wide as the floor, the
    // button's right edge after the first layout (907.5 + 1335 = 2242.5);
    // the button at 573.75, 1020.
    QTest::newRow("tiny") << QSize(20, 30) << QRect(8, 8, 150, 48) << QRect(38, 68, 89, 33);
    // 4500 x 3000 twips: list 4260 x 2025, button at 1582.5, 2325.
    QTest::newRow("wide and low") << QSize(300, 200) << QRect(8, 8, 284, 135) << QRect(106, 155, 89, 33);
}

void ResultListTest::resizeLaysOutTheControls()
{
    QFETCH(QSize, client);
    QFETCH(QRect, list);
    QFETCH(QRect, button);

    frmResultList& window = Show("1=7\r\n");
    window.resize(client);
    QTRY_COMPARE(window.size(), client);
    QTRY_COMPARE(List()->geometry(), WholeLines(list));
    QCOMPARE(Close()->geometry(), Below(list, button));
}

void ResultListTest::narrowingBelowTheFloorReachesItsLimit()
{
    // Below the floor every resize narrows the list by half of what is left
    // above 2 x 120 + 1335 = 1575 twips (105 pixels), starting from the
    // button's right edge at 907.5 + 1335. Reading the button's place back
    // from whole pixels would go 128, 117, ... and stop at 106.
    frmResultList& window = Show("1=7\r\n");
    const int expected[] = {150, 127, 116, 111, 108, 106, 106, 105};
    int step = 0;
    for (int width : expected) {
        const QSize client(10 + step % 2, 10);
        window.resize(client);
        QTRY_COMPARE(window.size(), client);
        QCOMPARE(List()->width(), width);
        ++step;
    }
    for (; step < 40; ++step) {
        const QSize client(10 + step % 2, 10);
        window.resize(client);
        QTRY_COMPARE(window.size(), client);
        QVERIFY(List()->width() >= 105);
    }
    QCOMPARE(List()->width(), 105);
    QCOMPARE(List()->height(), WholeLines(QRect(8, 8, 105, 48)).height());
    QCOMPARE(Close()->geometry(), Below(QRect(8, 8, 105, 48), QRect(16, 68, 89, 33)));
}

void ResultListTest::escapeClosesFromEitherControl_data()
{
    QTest::addColumn<QString>("focus");
    QTest::newRow("list") << QStringLiteral("lstResult");
    QTest::newRow("button") << QStringLiteral("cmdClose");
}

void ResultListTest::escapeClosesFromEitherControl()
{
    QFETCH(QString, focus);
    frmResultList& window = Show("1=7\r\n");
    QWidget* target = window.findChild<QWidget*>(focus);
    target->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), target);
    QTest::keyClick(target, Qt::Key_Escape);
    QTRY_VERIFY(!window.isVisible());
    QCOMPARE(window.result(), int(QDialog::Rejected));
}

void ResultListTest::enterOnTheListDoesNotClose()
{
    frmResultList& window = Show("1=7\r\n2=8\r\n");
    List()->setCurrentRow(1);
    QTest::keyClick(List(), Qt::Key_Return);
    QTest::keyClick(List(), Qt::Key_Enter, Qt::KeypadModifier);
    QVERIFY(window.isVisible());
    QCOMPARE(QApplication::focusWidget(), List());
    QCOMPARE(List()->currentRow(), 1);
}

void ResultListTest::enterOnTheButtonCloses_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("Return") << int(Qt::Key_Return) << int(Qt::NoModifier);
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier);
}

void ResultListTest::enterOnTheButtonCloses()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    frmResultList& window = Show("1=7\r\n");
    QTest::keyClick(List(), Qt::Key_Tab);
    QTRY_COMPARE(QApplication::focusWidget(), Close());
    QTest::keyClick(Close(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QTRY_VERIFY(!window.isVisible());
}

void ResultListTest::tabAlternates()
{
    Show("1=7\r\n");
    QCOMPARE(QApplication::focusWidget(), List());
    QTest::keyClick(List(), Qt::Key_Tab);
    QTRY_COMPARE(QApplication::focusWidget(), Close());
    QTest::keyClick(Close(), Qt::Key_Tab);
    QTRY_COMPARE(QApplication::focusWidget(), List());
    QTest::keyClick(List(), Qt::Key_Backtab, Qt::ShiftModifier);
    QTRY_COMPARE(QApplication::focusWidget(), Close());
    QTest::keyClick(Close(), Qt::Key_Backtab, Qt::ShiftModifier);
    QTRY_COMPARE(QApplication::focusWidget(), List());
}

void ResultListTest::clickOnCloseEndsTheModalShow()
{
    // As the main window uses it: modal, owned, and gone when exec returns.
    Load("1=7\r\n");
    m_owner->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_owner));
    frmResultList list(m_fx->state, m_owner);
    bool sawModal = false;
    QTimer::singleShot(0, &list, [&] {
        sawModal = QApplication::activeModalWidget() == &list;
        QTest::mouseClick(list.findChild<QPushButton*>(QStringLiteral("cmdClose")), Qt::LeftButton);
    });
    list.exec();
    QVERIFY(sawModal);
    QVERIFY(!list.isVisible());
}

frmResultList& ResultListTest::ShowAfterAClearing()
{
    QApplication::clipboard()->clear();
    Load("1=7\r\n2=345\r\n3=0\r\n");
    m_fx->state.ResetResults();
    for (int draw = 0; draw < 3; ++draw)
        m_fx->state.DrawNumber();  // the smallest undrawn each time: 0, 1, 2
    m_window = new frmResultList(m_fx->state, m_owner);
    Activate();
    List()->setCurrentRow(1);
    return *m_window;
}

QString ResultListTest::CopiedLines()
{
#ifdef Q_OS_WIN
    const QString end = QStringLiteral("\r\n");
#else
    const QString end = QStringLiteral("\n");
#endif
    return QStringLiteral(u"  1回目：　000") + end + QStringLiteral(u"  2回目：　001") + end
           + QStringLiteral(u"  3回目：　002") + end;
}

void ResultListTest::copyKeysTakeEveryLine_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key");
    QTest::newRow("Ctrl+C on the list") << QStringLiteral("lstResult") << int(Qt::Key_C);
    QTest::newRow("Ctrl+Insert on the list") << QStringLiteral("lstResult") << int(Qt::Key_Insert);
    QTest::newRow("Ctrl+C on the button") << QStringLiteral("cmdClose") << int(Qt::Key_C);
    QTest::newRow("Ctrl+Insert on the button") << QStringLiteral("cmdClose") << int(Qt::Key_Insert);
}

void ResultListTest::copyKeysTakeEveryLine()
{
    QFETCH(QString, focus);
    QFETCH(int, key);
    frmResultList& window = ShowAfterAClearing();
    QWidget* target = window.findChild<QWidget*>(focus);
    target->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), target);
    QTest::keyClick(target, Qt::Key(key), Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), CopiedLines());
    // Nothing else changes: the lines, the current line, the focus, the window.
    QCOMPARE(Lines().size(), 3);
    QCOMPARE(List()->currentRow(), 1);
    QCOMPARE(List()->selectedItems(), QList<QListWidgetItem*>{List()->item(1)});
    QCOMPARE(QApplication::focusWidget(), target);
    QVERIFY(window.isVisible());
}

void ResultListTest::contextMenuCopies()
{
    frmResultList& window = ShowAfterAClearing();
    // Through the window system, which makes a right-click a menu request.
    const QPoint onLastLine = List()->viewport()->mapTo(&window, List()->visualItemRect(List()->item(2)).center());
    QStringList items;
    QTimer::singleShot(0, this, [&] {
        QTRY_VERIFY(QApplication::activePopupWidget() != nullptr);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu != nullptr);
        QCOMPARE(menu->objectName(), QStringLiteral("mnuResult"));
        for (const QAction* action : menu->actions())
            items << action->text();
        QTest::keyClick(menu, Qt::Key_C);  // its access key
    });
    QTest::mouseClick(window.windowHandle(), Qt::RightButton, {}, onLastLine);
    QTRY_COMPARE(QApplication::clipboard()->text(), CopiedLines());
    QCOMPARE(items, QStringList{QStringLiteral(u"結果をコピー(&C)")});
    QCOMPARE(List()->currentRow(), 1);  // the right-click selected nothing
    QCOMPARE(List()->selectedItems(), QList<QListWidgetItem*>{List()->item(1)});
}

QTEST_MAIN(ResultListTest)
#include "result_list_test.moc"
