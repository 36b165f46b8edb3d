// The running program on a disk that fails: the settings folder full,
// read-only, or gone. Every draw, range change and clearing warns with the
// file's path, nothing is lost in memory, and the first write that succeeds
// again stores the whole drawing. The full and read-only disks are small tmpfs
// mounts, so those cases need the right to mount (root) and are skipped
// without it.
#include <sys/mount.h>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <memory>
#include <utility>

#include "engine/draw_state.h"
#include "settings/profile.h"
#include "support/recording_message_boxes.h"
#include "support/scripted_random.h"
#include "support/temp_dir.h"
#include "support/window_fixture.h"
#include "ui/main/main_window.h"

using namespace tavlo;

namespace {

const QString kNotSaved = QStringLiteral("設定ファイルに書き込めませんでした。\n");

}  // namespace

class HostileDiskTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<test::WindowFixture> m_fx;
    std::string m_folder;  // where the settings file lives
    bool m_mounted = false;
    frmTavlo* m_window = nullptr;  // the fixture's window

    // A small tmpfs of its own; false when this process may not mount.
    bool mountFolder(const char* options)
    {
        m_mounted = ::mount("tmpfs", m_folder.c_str(), "tmpfs", 0, options) == 0;
        return m_mounted;
    }

    void startWindow()
    {
        m_window = &m_fx->Build<frmTavlo>(m_fx->state, m_fx->boxes, m_fx->awake);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window));
    }

    QWidget* focus() { return m_window->focusWidget(); }

    void draw()
    {
        bool stopped = false;
        auto connection = connect(m_window, &frmTavlo::spinAdvanced, this, [&] {
            if (!stopped) {
                stopped = true;
                QTest::keyClick(focus(), Qt::Key_Return);
            }
        });
        QTest::keyClick(focus(), Qt::Key_Return);
        disconnect(connection);
    }

    // Widens the range to 1..`to` through the condition dialog, keeping the results.
    void widenRangeTo(const QString& to)
    {
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (!dialog || dialog->objectName() != QStringLiteral("frmCondition"))
                return;
            poll.stop();
            auto* max = dialog->findChild<QLineEdit*>(QStringLiteral("txtRangeMax"));
            max->setFocus();
            max->selectAll();
            QTest::keyClicks(max, to);
            QTest::keyClick(max, Qt::Key_Tab);
            QTest::keyClick(dialog->focusWidget(), Qt::Key_Space);  // OK
        });
        poll.start(10);
        m_fx->boxes.AnswerNo();  // "the range changed: clear the results?"
        QTest::mouseClick(m_window->findChild<QPushButton*>(QStringLiteral("cmdCondition")), Qt::LeftButton);
        QTRY_VERIFY(!QApplication::activeModalWidget());
    }

    int warnings()
    {
        const QString expected = kNotSaved + QString::fromStdString(m_fx->path);
        return static_cast<int>(m_fx->boxes.Messages().count(expected));
    }

    // The file holds exactly what memory holds: the range and every draw in order.
    void verifyFileHoldsEverything(const QString& range)
    {
        QCOMPARE(QString::fromStdString(ReadProfileString("Condition", "Range", "", m_fx->path)), range);
        const auto list = ReadProfileSection("Result", m_fx->path);
        const auto& results = m_fx->state.Results();
        QVERIFY(list.has_value());
        QCOMPARE(list->size(), 2 * (results.size() - 1));
        for (size_t k = 1; k < results.size(); ++k) {
            QCOMPARE((*list)[2 * (k - 1)], std::to_string(k));
            QCOMPARE((*list)[2 * k - 1], std::to_string(results[k]));
        }
    }

    // Draws, widens the range and clears on the failing disk; all of it warns.
    void failEverything()
    {
        m_fx->boxes.Clear();
        draw();
        draw();
        QCOMPARE(warnings(), 2);
        widenRangeTo(QStringLiteral("40"));
        QCOMPARE(warnings(), 3);
        QCOMPARE(m_fx->state.RangeMax(), 40);
        QCOMPARE(m_fx->state.Count(), 3);  // nothing lost in memory
    }

private slots:
    void init()
    {
        m_fx = std::make_unique<test::WindowFixture>("settings/Tavlo.ini");
        m_folder = m_fx->dir.file("settings");
        QVERIFY(std::filesystem::create_directory(m_folder));
    }

    void cleanup()
    {
        m_fx->window.reset();
        m_window = nullptr;
        // A mount left behind would keep the folder, and the next test's
        // tmpfs would go on top of it.
        const bool mounted = std::exchange(m_mounted, false);
        QVERIFY(!mounted || ::umount2(m_folder.c_str(), MNT_DETACH) == 0);
        m_fx.reset();
        QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
    }

    void fullDisk()
    {
        if (!mountFolder("size=16k"))
            QSKIP("no right to mount a small tmpfs here");
        test::WriteFile(m_fx->path, "[Condition]\r\nRange=1,30\r\n[Result]\r\n1=7\r\n");
        startWindow();
        // Fill the disk to the last block.
        {
            std::ofstream filler(m_folder + "/filler", std::ios::binary);
            const std::string block(512, 'x');
            while (filler.write(block.data(), static_cast<std::streamsize>(block.size())) && filler.flush()) {
            }
        }
        failEverything();
        // Clearing fails too, and warns.
        m_fx->boxes.AnswerYes();
        QTest::mouseClick(m_window->findChild<QPushButton*>(QStringLiteral("cmdClearResult")), Qt::LeftButton);
        QCOMPARE(warnings(), 4);
        draw();
        QCOMPARE(warnings(), 5);

        std::filesystem::remove(m_folder + "/filler");
        draw();
        QCOMPARE(warnings(), 5);
        verifyFileHoldsEverything(QStringLiteral("1,40"));
    }

    void readOnlyDisk()
    {
        if (!mountFolder("size=64k"))
            QSKIP("no right to mount a small tmpfs here");
        test::WriteFile(m_fx->path, "[Condition]\r\nRange=1,30\r\n[Result]\r\n1=7\r\n");
        startWindow();
        QVERIFY(::mount("tmpfs", m_folder.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=64k") == 0);
        failEverything();
        QVERIFY(::mount("tmpfs", m_folder.c_str(), "tmpfs", MS_REMOUNT, "size=64k") == 0);
        draw();
        QCOMPARE(warnings(), 3);
        verifyFileHoldsEverything(QStringLiteral("1,40"));
    }

    void folderRemoved()
    {
        test::WriteFile(m_fx->path, "[Condition]\r\nRange=1,30\r\n[Result]\r\n1=7\r\n");
        startWindow();
        std::filesystem::remove_all(m_folder);
        failEverything();
        std::filesystem::create_directory(m_folder);
        draw();
        QCOMPARE(warnings(), 3);
        verifyFileHoldsEverything(QStringLiteral("1,40"));
    }
};

QTEST_MAIN(HostileDiskTest)
#include "hostile_disk_test.moc"
