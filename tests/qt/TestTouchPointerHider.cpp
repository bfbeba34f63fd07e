// The pointer of a kiosk: gone after a touch, back with a real mouse, and not brought back by
// the mouse events that Qt makes up from a touch.
#include "platform/qt/TouchPointerHider.h"

#include <QApplication>
#include <QPointingDevice>
#include <QPushButton>
#include <QtTest>
#include <memory>

class TestTouchPointerHider : public QObject
{
    Q_OBJECT

private:
    static bool PointerBlank()
    {
        const QCursor* cursor = QGuiApplication::overrideCursor();
        return cursor != nullptr && cursor->shape() == Qt::BlankCursor;
    }

private slots:
    void hidesOnTouchAndShowsOnRealMouseMovement()
    {
        // QTest leaves the device to the caller.
        const std::unique_ptr<QPointingDevice> device(QTest::createTouchDevice());
        QPointingDevice* touchScreen = device.get();
        QWidget window;
        window.resize(200, 200);
        auto* button = new QPushButton("Weiter", &window);
        button->setGeometry(20, 20, 160, 80);
        int clicks = 0;
        connect(button, &QPushButton::clicked, [&clicks] { ++clicks; });
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        auto hider = std::make_unique<CTouchPointerHider>();
        qApp->installEventFilter(hider.get());
        QVERIFY(!PointerBlank());

        // The button takes no touch events, so Qt makes a click of mouse events out of the
        // touch; they must not show the pointer again.
        QTest::touchEvent(&window, touchScreen).press(0, QPoint(100, 60));
        QTest::touchEvent(&window, touchScreen).move(0, QPoint(101, 61));
        QTest::touchEvent(&window, touchScreen).release(0, QPoint(101, 61));
        QCOMPARE(clicks, 1);
        QVERIFY(hider->PointerHidden());
        QVERIFY(PointerBlank());

        // A second touch keeps one override, so one real movement restores the pointer.
        QTest::touchEvent(&window, touchScreen).press(0, QPoint(100, 60));
        QTest::touchEvent(&window, touchScreen).release(0, QPoint(100, 60));
        QTest::mouseMove(window.windowHandle(), QPoint(150, 150));
        QVERIFY(!hider->PointerHidden());
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);

        // Ending while hidden gives the pointer back too.
        QTest::touchEvent(&window, touchScreen).press(0, QPoint(100, 60));
        QTest::touchEvent(&window, touchScreen).release(0, QPoint(100, 60));
        QVERIFY(PointerBlank());
        hider.reset();
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }
};

QTEST_MAIN(TestTouchPointerHider)
#include "TestTouchPointerHider.moc"
