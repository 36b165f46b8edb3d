// The event pump, as a long handler runs it.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "ui/platform/window_services.h"

using namespace tavlo::ui::platform;

class PlatformWindowServicesTest : public QObject {
    Q_OBJECT

private slots:
    // A handler that pumps sees the input queued for its window meanwhile.
    void pumpDeliversQueuedInput()
    {
        QWidget window;
        auto* box = new QLineEdit(&window);
        auto* button = new QPushButton(&window);
        button->move(0, 40);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        int clicks = 0;
        connect(button, &QPushButton::clicked, this, [&] { ++clicks; });

        QCoreApplication::postEvent(box,
                                    new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a")));
        const QPointF centre = QRectF(button->rect()).center();
        QCoreApplication::postEvent(
            button, new QMouseEvent(QEvent::MouseButtonPress, centre, button->mapToGlobal(centre), Qt::LeftButton,
                                    Qt::LeftButton, Qt::NoModifier));
        QCoreApplication::postEvent(
            button, new QMouseEvent(QEvent::MouseButtonRelease, centre, button->mapToGlobal(centre), Qt::LeftButton,
                                    Qt::NoButton, Qt::NoModifier));
        QCOMPARE(box->text(), QString());
        PumpEvents();
        QCOMPARE(box->text(), QStringLiteral("a"));
        QCOMPARE(clicks, 1);
        RepaintNow(box);
    }
};

QTEST_MAIN(PlatformWindowServicesTest)
#include "platform_window_services_test.moc"
