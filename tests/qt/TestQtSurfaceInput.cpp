// What input reaches the dialog through the Qt surface: taps that follow a change of the screen
// too closely are dropped, and a message box holds everything beneath it until OK is pressed.
// The box lies whole in the middle of the window at the dialog's sizes, and the focus goes
// back where it was.
#include "platform/ControlId.h"
#include "platform/Resources.h"
#include "platform/qt/MessageBoxOverlay.h"
#include "platform/qt/QtDialogSurface.h"
#include "platform/qt/QtPictureDecoder.h"
#include "platform/qt/ScrollingText.h"
#include "qt/PortraitSurface.h"
#include "qt/RecordingSink.h"

#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QtTest>
#include <chrono>
#include <functional>
#include <memory>
#include <vector>

namespace
{
using std::chrono::milliseconds;

// A rectangle of `widget` in the coordinates of `window`.
QRect PlaceIn(const QWidget* window, const QWidget* widget)
{
    return QRect(widget->mapTo(window, QPoint(0, 0)), widget->size());
}

const QString Sentence = "Die Sprungmarke für JA konnte nicht gefunden werden! Liste abgebrochen! ";
} // namespace

class CTestQtSurfaceInput : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void clicksSoonAfterAChangeAreDropped();
    void messageBoxLiesInTheMiddleOfTheWindow_data();
    void messageBoxLiesInTheMiddleOfTheWindow();
    void messageBoxHoldsTheDialogBeneath();
    void focusReturnsAfterTheBox_data();
    void focusReturnsAfterTheBox();
    void focusFindsAButtonWhenTheMessageHidIt();

private:
    void CreateSurface(CTapGuard tapGuard);
    bool ShowAt(const QSize& size);
    QWidget* Widget(int id) const { return m_surface->ControlWidget(id); }
    CMessageBoxOverlay* OpenBox() const;
    // Runs `inspect` once the next box is open, then closes the box if `inspect` left it
    // open, so that a failed check cannot leave the test waiting for OK.
    void AtNextBox(std::function<void(CMessageBoxOverlay&)> inspect);

    CQtPictureDecoder m_decoder;
    CRecordingSink m_sink;
    std::unique_ptr<CQtDialogSurface> m_surface;
};

void CTestQtSurfaceInput::init()
{
    CreateSurface(CTapGuard());
}

void CTestQtSurfaceInput::cleanup()
{
    m_surface.reset();
}

void CTestQtSurfaceInput::CreateSurface(CTapGuard tapGuard)
{
    m_surface.reset();
    m_sink = CRecordingSink();
    m_surface = CreatePortraitSurface(m_decoder, m_sink, std::move(tapGuard));
    QVERIFY(m_surface);
}

bool CTestQtSurfaceInput::ShowAt(const QSize& size)
{
    QWidget* window = m_surface->DialogWindow();
    window->resize(size);
    window->show();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window) && window->size() == size;
}

CMessageBoxOverlay* CTestQtSurfaceInput::OpenBox() const
{
    return m_surface->DialogWindow()->findChild<CMessageBoxOverlay*>();
}

void CTestQtSurfaceInput::AtNextBox(std::function<void(CMessageBoxOverlay&)> inspect)
{
    QTimer::singleShot(0, this,
                       [this, inspect]
                       {
                           const QPointer<CMessageBoxOverlay> box = OpenBox();
                           QVERIFY(box != nullptr);
                           inspect(*box);
                           if (box != nullptr && box->isVisible())
                           {
                               box->OkButton()->click();
                           }
                       });
}

void CTestQtSurfaceInput::clicksSoonAfterAChangeAreDropped()
{
    std::chrono::steady_clock::time_point now{};
    const auto at = [&now](int ms)
    { now = std::chrono::steady_clock::time_point{} + milliseconds(ms); };
    CreateSurface(CTapGuard(milliseconds(350), [&now] { return now; }));
    // Every click and tick rewrites the heading, as the stopwatch does every second.
    int changes = 0;
    m_sink.onMessage = [&](const DialogMessage& message)
    {
        if (message.kind == MessageKind::Click || message.kind == MessageKind::Timer)
        {
            m_surface->SetControlText(ControlId::Heading, std::to_string(++changes));
        }
    };
    QVERIFY(ShowAt(QSize(240, 320)));
    const auto click = [this]
    {
        QTest::mouseClick(Widget(ControlId::CentreButton), Qt::LeftButton);
        return m_sink.Count(MessageKind::Click);
    };

    at(10000);
    QCOMPARE(click(), 1);
    at(10120);
    QCOMPARE(click(), 1); // a bounce
    at(10350);
    QCOMPARE(click(), 2);

    // A tick changes the heading, but the screen is the same: the next click goes through.
    at(20000);
    m_surface->StartTimer(1, 10);
    QTRY_VERIFY(m_sink.Count(MessageKind::Timer) >= 1);
    m_surface->StopTimer(1);
    QCOMPARE(click(), 3);

    // Closing a message box counts as a change, though no control changed.
    at(30000);
    AtNextBox([](CMessageBoxOverlay&) {});
    m_surface->ShowMessageBox("Zeit für Timer konnte nicht gelesen werden");
    at(30100);
    QCOMPARE(click(), 3);
    at(30350);
    QCOMPARE(click(), 4);
}

void CTestQtSurfaceInput::messageBoxLiesInTheMiddleOfTheWindow_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("scrolls");
    const QString path = "Bild konnte nicht geladen werden\n/home/tf/Tavrino/Bremsen/"
                         "ein_sehr_langer_bildname_ohne_leerzeichen_bremse.png";
    const QString essay = Sentence.repeated(30).left(2000);
    QTest::newRow("240x320 short") << QSize(240, 320) << path << false;
    QTest::newRow("240x320 2000 characters") << QSize(240, 320) << essay << true;
    QTest::newRow("1024x600 short") << QSize(1024, 600) << path << false;
    QTest::newRow("1024x600 2000 characters") << QSize(1024, 600) << essay << true;
}

void CTestQtSurfaceInput::messageBoxLiesInTheMiddleOfTheWindow()
{
    QFETCH(QSize, size);
    QFETCH(QString, text);
    QFETCH(bool, scrolls);
    QVERIFY(ShowAt(size));
    QWidget* window = m_surface->DialogWindow();

    struct Seen
    {
        QRect cover, box, view, ok;
        int textPixelSize = 0;
        int buttonPixelSize = 0;
        bool okFocused = false;
        bool scrolls = false;
        bool wrapped = false;
    } seen;
    AtNextBox(
        [&](CMessageBoxOverlay& box)
        {
            seen.cover = PlaceIn(window, &box);
            seen.box = PlaceIn(window, box.Box());
            seen.view = PlaceIn(window, box.MessageView());
            seen.ok = PlaceIn(window, box.OkButton());
            seen.textPixelSize = box.MessageView()->PixelSize();
            seen.buttonPixelSize = box.OkButton()->font().pixelSize();
            seen.okFocused = box.OkButton()->hasFocus();
            seen.scrolls = box.MessageView()->verticalScrollBar()->maximum() > 0;
            // Nothing is cut off at the right: the long file name breaks inside itself.
            QFont font = box.MessageView()->font();
            font.setPixelSize(box.MessageView()->PixelSize());
            const QStringList lines = box.MessageView()->Lines();
            seen.wrapped =
                std::all_of(lines.begin(), lines.end(),
                            [&](const QString& line)
                            {
                                return QFontMetrics(font).horizontalAdvance(line.trimmed()) <=
                                       box.MessageView()->viewport()->width();
                            });
            QTest::keyClick(box.OkButton(), Qt::Key_Return);
        });
    m_surface->ShowMessageBox(text.toStdString());

    QVERIFY(OpenBox() == nullptr); // Enter closed it
    QCOMPARE(seen.cover, window->rect());
    QVERIFY(window->rect().contains(seen.box));
    QVERIFY(seen.box.contains(seen.view));
    QVERIFY(seen.box.contains(seen.ok));
    QVERIFY(!seen.view.intersects(seen.ok));
    QVERIFY(std::abs(seen.box.center().x() - window->rect().center().x()) <= 1);
    QVERIFY(std::abs(seen.box.center().y() - window->rect().center().y()) <= 1);
    QCOMPARE(seen.textPixelSize, m_surface->BodyPixelSize());
    QCOMPARE(seen.buttonPixelSize, m_surface->ButtonPixelSize());
    const QSize left = Widget(ControlId::LeftButton)->size();
    QVERIFY2(seen.ok.width() >= left.width() && seen.ok.height() >= left.height(),
             qPrintable(QString("OK %1x%2, left %3x%4")
                            .arg(seen.ok.width())
                            .arg(seen.ok.height())
                            .arg(left.width())
                            .arg(left.height())));
    QVERIFY(seen.okFocused);
    QCOMPARE(seen.scrolls, scrolls);
    QVERIFY(seen.wrapped);
}

void CTestQtSurfaceInput::messageBoxHoldsTheDialogBeneath()
{
    QVERIFY(ShowAt(QSize(240, 320)));
    QWidget* window = m_surface->DialogWindow();
    bool focusKept = false;
    bool followsTheWindow = false;
    int clicksWhileOpen = -1;
    int closesWhileOpen = -1;
    AtNextBox(
        [&](CMessageBoxOverlay& box)
        {
            m_sink.messages.clear();
            QTest::mouseClick(Widget(ControlId::CentreButton), Qt::LeftButton);
            QTest::keyClick(window, Qt::Key_Space);
            QTest::keyClick(box.OkButton(), Qt::Key_Tab);
            QTest::keyClick(box.OkButton(), Qt::Key_Backtab);
            focusKept = box.OkButton()->hasFocus();
            window->close();
            clicksWhileOpen = m_sink.Count(MessageKind::Click);
            closesWhileOpen = m_sink.Count(MessageKind::Close);

            window->resize(1024, 600);
            QTRY_COMPARE(window->size(), QSize(1024, 600));
            followsTheWindow = PlaceIn(window, &box) == window->rect() &&
                               window->rect().contains(PlaceIn(window, box.Box())) &&
                               std::abs(PlaceIn(window, box.Box()).center().x() -
                                        window->rect().center().x()) <= 1 &&
                               box.MessageView()->PixelSize() == m_surface->BodyPixelSize();
            QTest::keyClick(box.OkButton(), Qt::Key_Space);
        });
    m_surface->ShowMessageBox("Kein Bilddatei in Liste angegeben");

    QCOMPARE(clicksWhileOpen, 0);
    QCOMPARE(closesWhileOpen, 0);
    QVERIFY(focusKept);
    QVERIFY(followsTheWindow);
    QVERIFY(window->isVisible());
    // Once it is closed, the dialog hears from its controls again.
    QTest::mouseClick(Widget(ControlId::CentreButton), Qt::LeftButton);
    QCOMPARE(m_sink.Count(MessageKind::Click), 1);
}

void CTestQtSurfaceInput::focusReturnsAfterTheBox_data()
{
    QTest::addColumn<QList<int>>("hiddenWhileOpen");
    QTest::addColumn<int>("focused");
    QTest::newRow("still shown") << QList<int>{} << int(ControlId::RightButton);
    QTest::newRow("hidden: the centre button")
        << QList<int>{ControlId::RightButton} << int(ControlId::CentreButton);
    QTest::newRow("centre hidden too: the first shown button")
        << QList<int>{ControlId::RightButton, ControlId::CentreButton}
        << int(ControlId::MenuButton1);
}

void CTestQtSurfaceInput::focusReturnsAfterTheBox()
{
    QFETCH(QList<int>, hiddenWhileOpen);
    QFETCH(int, focused);
    QVERIFY(ShowAt(QSize(480, 640)));
    for (const int id : {ControlId::MenuButton1, ControlId::MenuButton3, ControlId::RightButton})
    {
        m_surface->ShowControl(id, Visibility::Shown);
    }
    Widget(ControlId::RightButton)->setFocus();
    QCOMPARE(QApplication::focusWidget(), Widget(ControlId::RightButton));

    AtNextBox(
        [&](CMessageBoxOverlay& box)
        {
            for (const int id : hiddenWhileOpen)
            {
                m_surface->ShowControl(id, Visibility::Hidden);
            }
            QTest::keyClick(box.OkButton(), Qt::Key_Enter);
        });
    m_surface->ShowMessageBox("Zeit für Timer konnte nicht gelesen werden");
    QCOMPARE(QApplication::focusWidget(), Widget(focused));
}

void CTestQtSurfaceInput::focusFindsAButtonWhenTheMessageHidIt()
{
    // The box gives the focus back to "Weiter"; the message that opened it then hides it.
    QVERIFY(ShowAt(QSize(480, 640)));
    m_surface->ShowControl(ControlId::RightButton, Visibility::Shown);
    Widget(ControlId::RightButton)->setFocus();
    m_sink.onMessage = [this](const DialogMessage& message)
    {
        if (message.kind == MessageKind::Click && message.controlId == ControlId::RightButton)
        {
            m_surface->ShowMessageBox("Bild konnte nicht geladen werden\n/pfad/bild.png");
            m_surface->ShowControl(ControlId::RightButton, Visibility::Hidden);
        }
    };
    AtNextBox([](CMessageBoxOverlay& box) { QTest::keyClick(box.OkButton(), Qt::Key_Return); });
    QTest::keyClick(Widget(ControlId::RightButton), Qt::Key_Space);
    QCOMPARE(m_sink.Count(MessageKind::Click), 1);
    QCOMPARE(QApplication::focusWidget(), Widget(ControlId::CentreButton));
}

QTEST_MAIN(CTestQtSurfaceInput)
#include "TestQtSurfaceInput.moc"
