// Keys and touch on the window: a key acts exactly as a tap on the control at its place, and
// only on a control that is shown; the focus moves in reading order and shows a frame; a
// finger presses, shows it, and does nothing when it slides off.
#include "app/MainDialog.h"
#include "platform/ControlId.h"
#include "platform/Resources.h"
#include "platform/qt/MessageBoxOverlay.h"
#include "platform/qt/QtDialogSurface.h"
#include "platform/qt/QtPictureDecoder.h"
#include "platform/qt/ScrollingText.h"
#include "platform/qt/Theme.h"
#include "platform/qt/WrappingButton.h"
#include "qt/PortraitSurface.h"
#include "qt/RecordingSink.h"

#include <QApplication>
#include <QFile>
#include <QPointer>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <chrono>
#include <memory>

namespace
{
using std::chrono::milliseconds;

const int ShownIds[] = {ControlId::MenuButton0, ControlId::MenuButton1,  ControlId::MenuButton2,
                        ControlId::MenuButton3, ControlId::MenuButton4,  ControlId::MenuButton5,
                        ControlId::Heading,     ControlId::SubHeading,   ControlId::BodyText,
                        ControlId::Picture,     ControlId::CentreButton, ControlId::LeftButton,
                        ControlId::RightButton};

// The dialog on the real widgets.
struct Rig
{
    CQtPictureDecoder decoder;
    CQtDialogSurface surface{decoder, "tavrino"};
    std::unique_ptr<CMainDialog> dialog;

    QWidget* Window() const { return surface.DialogWindow(); }
    // What the screen shows: each control's text and whether it is shown.
    QStringList Screen() const
    {
        QStringList screen;
        for (const int id : ShownIds)
        {
            screen << QString("%1 %2 %3")
                          .arg(id)
                          .arg(surface.ControlWidget(id)->isVisible() ? "shown" : "hidden")
                          .arg(QString::fromStdString(surface.GetControlText(id)));
        }
        return screen;
    }
};

// Closes the next message box with Enter, as a driver would.
void CloseNextBoxWithEnter(QWidget* window)
{
    QTimer::singleShot(0, window,
                       [window]
                       {
                           if (auto* box = window->findChild<CMessageBoxOverlay*>())
                               QTest::keyClick(box->OkButton(), Qt::Key_Return);
                       });
}

void Tap(QWidget* widget)
{
    QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
}

// A key sent where the focus is, or to the window when nothing has it.
void Key(QWidget* window, int key)
{
    QWidget* target = window->focusWidget() != nullptr ? window->focusWidget() : window;
    QTest::keyClick(target, static_cast<Qt::Key>(key));
}

int FocusedId(const CQtDialogSurface& surface)
{
    for (const int id : ShownIds)
    {
        if (surface.ControlWidget(id) == QApplication::focusWidget())
            return id;
    }
    return 0;
}
} // namespace

class CTestDeviceInput : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void keysShowTheSameScreensAsTaps();
    void keysPressOnlyShownControlsAndPassTheGuard();
    void keysDoNothingBeneathAMessageBox();
    void focusMovesInReadingOrder();
    void focusFrameIsDrawnAfterTheKeyboardWasUsed();
    void touchPressesShowsAndSlidesOff();
    void touchScrollsTheTextAndTapsThePicture();
    void hoverChangesNothing();

private:
    void CreateSurface(CTapGuard tapGuard);
    bool Show();
    QWidget* Widget(int id) const { return m_surface->ControlWidget(id); }

    QTemporaryDir m_root;
    CQtPictureDecoder m_decoder;
    CRecordingSink m_sink;
    std::unique_ptr<CQtDialogSurface> m_surface;
    QPointingDevice* m_touchScreen = nullptr;
};

void CTestDeviceInput::initTestCase()
{
    m_touchScreen = QTest::createTouchDevice();
    QVERIFY(m_root.isValid());
    for (const QString topic : {"Bremsen", "Türen"})
    {
        const QString folder = m_root.path() + "/" + topic;
        QVERIFY(QDir().mkpath(folder));
        QImage picture(240, 260, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        QVERIFY(picture.save(folder + "/bremse.png"));
        QFile list(folder + "/Probe.lst");
        QVERIFY(list.open(QIODevice::WriteOnly));
        list.write("$Probe\nSchritt eins;\nDruck in Ordnung?\nnein/ja\n%nein\nNein gewählt;\n@\n"
                   "%ja\n*bremse.png\n*fehlt.png\nSchritt zwei;\n");
    }
}

void CTestDeviceInput::init()
{
    CreateSurface(CTapGuard());
}

void CTestDeviceInput::cleanup()
{
    m_surface.reset();
}

void CTestDeviceInput::CreateSurface(CTapGuard tapGuard)
{
    m_surface.reset();
    m_sink = CRecordingSink();
    m_surface = CreatePortraitSurface(m_decoder, m_sink, std::move(tapGuard));
    QVERIFY(m_surface);
}

bool CTestDeviceInput::Show()
{
    QWidget* window = m_surface->DialogWindow();
    window->show();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

void CTestDeviceInput::keysShowTheSameScreensAsTaps()
{
    struct Step
    {
        const char* name;
        int controlId;
        int key;
    };
    // Through both topics' menus, a question answered both ways, a picture and the message
    // box of a missing one.
    const Step steps[] = {
        {"Start", ControlId::CentreButton, Qt::Key_Enter},
        {"first topic", ControlId::MenuButton0, Qt::Key_1},
        {"back to the main menu", ControlId::LeftButton, Qt::Key_Left},
        {"second topic", ControlId::MenuButton1, Qt::Key_2},
        {"the list", ControlId::MenuButton0, Qt::Key_1},
        {"Weiter", ControlId::RightButton, Qt::Key_Right},
        {"Zum Anfang", ControlId::LeftButton, Qt::Key_Left},
        {"Weiter again", ControlId::RightButton, Qt::Key_Right},
        {"Ja", ControlId::RightButton, Qt::Key_Right},
        {"the picture", ControlId::Picture, Qt::Key_Space},
        {"Abbruch", ControlId::LeftButton, Qt::Key_Left},
        {"the list once more", ControlId::MenuButton0, Qt::Key_1},
        {"Weiter", ControlId::RightButton, Qt::Key_Right},
        {"Nein", ControlId::CentreButton, Qt::Key_Return},
    };
    Rig taps, keys;
    for (Rig* rig : {&taps, &keys})
    {
        rig->dialog =
            std::make_unique<CMainDialog>(rig->surface, m_root.path().toStdString() + "/");
        QVERIFY(rig->dialog->Create());
        rig->Window()->show();
        QVERIFY(QTest::qWaitForWindowExposed(rig->Window()));
    }
    QCOMPARE(keys.Screen(), taps.Screen());
    for (const Step& step : steps)
    {
        const QStringList before = taps.Screen();
        QVERIFY2(taps.surface.ControlWidget(step.controlId)->isVisible(), step.name);
        CloseNextBoxWithEnter(taps.Window());
        Tap(taps.surface.ControlWidget(step.controlId));
        CloseNextBoxWithEnter(keys.Window());
        Key(keys.Window(), step.key);
        QVERIFY2(taps.Screen() != before, step.name); // the step did something
        QCOMPARE(keys.Screen(), taps.Screen());
        QVERIFY2(keys.Window()->grab().toImage() == taps.Window()->grab().toImage(), step.name);
    }
}

void CTestDeviceInput::keysPressOnlyShownControlsAndPassTheGuard()
{
    std::chrono::steady_clock::time_point now{};
    CreateSurface(CTapGuard(milliseconds(350), [&now] { return now; }));
    QVERIFY(Show());
    // Hardware buttons may sit under the screen: each key presses by place, never what has
    // the focus.
    const struct
    {
        int key;
        int controlId;
    } keys[] = {
        {Qt::Key_Left, ControlId::LeftButton},     {Qt::Key_Right, ControlId::RightButton},
        {Qt::Key_Return, ControlId::CentreButton}, {Qt::Key_Enter, ControlId::CentreButton},
        {Qt::Key_1, ControlId::MenuButton0},       {Qt::Key_2, ControlId::MenuButton1},
        {Qt::Key_3, ControlId::MenuButton2},       {Qt::Key_4, ControlId::MenuButton3},
        {Qt::Key_5, ControlId::MenuButton4},       {Qt::Key_6, ControlId::MenuButton5},
    };
    for (const auto& [key, id] : keys)
    {
        for (const int other : ShownIds)
            m_surface->ShowControl(other, Visibility::Hidden);
        m_surface->ShowControl(ControlId::RightButton, Visibility::Shown);
        Widget(ControlId::RightButton)->setFocus();
        now += milliseconds(1000);
        m_sink.messages.clear();
        Key(m_surface->DialogWindow(), key);
        if (id != ControlId::RightButton)
            QCOMPARE(m_sink.Count(MessageKind::Click), 0); // hidden: nothing, not even the focus
        m_surface->ShowControl(id, Visibility::Shown);
        now += milliseconds(1000);
        m_sink.messages.clear();
        Key(m_surface->DialogWindow(), key);
        QCOMPARE(m_sink.Count(MessageKind::Click), 1);
        QCOMPARE(m_sink.messages.back().controlId, id);
    }

    // A second press right after the screen changed is a bounce, as a second tap would be.
    m_sink.onMessage = [this](const DialogMessage&)
    { m_surface->SetControlText(ControlId::Heading, "neu"); };
    m_sink.messages.clear();
    now += milliseconds(1000);
    Key(m_surface->DialogWindow(), Qt::Key_Right);
    now += milliseconds(100);
    Key(m_surface->DialogWindow(), Qt::Key_Right);
    QCOMPARE(m_sink.Count(MessageKind::Click), 1);
    now += milliseconds(350);
    Key(m_surface->DialogWindow(), Qt::Key_Right);
    QCOMPARE(m_sink.Count(MessageKind::Click), 2);

    // A held key repeats; only its first press counts.
    now += milliseconds(1000);
    QTest::sendKeyEvent(QTest::Press, QApplication::focusWidget(), Qt::Key_Right, QString(),
                        Qt::NoModifier);
    for (int repeat = 0; repeat < 3; ++repeat)
    {
        now += milliseconds(1000);
        QKeyEvent held(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(QApplication::focusWidget(), &held);
    }
    QTest::sendKeyEvent(QTest::Release, QApplication::focusWidget(), Qt::Key_Right, QString(),
                        Qt::NoModifier);
    QCOMPARE(m_sink.Count(MessageKind::Click), 3);
}

void CTestDeviceInput::keysDoNothingBeneathAMessageBox()
{
    QVERIFY(Show());
    for (const int id : ShownIds)
        m_surface->ShowControl(id, Visibility::Shown);
    int clicksWhileOpen = -1;
    QTimer::singleShot(
        0, this,
        [&]
        {
            auto* box = m_surface->DialogWindow()->findChild<CMessageBoxOverlay*>();
            QVERIFY(box != nullptr);
            for (const Qt::Key key : {Qt::Key_Left, Qt::Key_Right, Qt::Key_1, Qt::Key_6, Qt::Key_N})
                QTest::keyClick(box->OkButton(), key);
            clicksWhileOpen = m_sink.Count(MessageKind::Click);
            QVERIFY(box->isVisible());
            QTest::keyClick(box->OkButton(), Qt::Key_Return);
        });
    m_surface->ShowMessageBox("Kein Bilddatei in Liste angegeben");
    QCOMPARE(clicksWhileOpen, 0);
    // Enter closed the box and nothing else.
    QVERIFY(m_surface->DialogWindow()->findChild<CMessageBoxOverlay*>() == nullptr);
    QCOMPARE(m_sink.Count(MessageKind::Click), 0);
}

void CTestDeviceInput::focusMovesInReadingOrder()
{
    QVERIFY(Show());
    for (const int id : ShownIds)
        m_surface->ShowControl(id, Visibility::Shown);
    const QList<int> expected = {ControlId::MenuButton0, ControlId::MenuButton1,
                                 ControlId::MenuButton2, ControlId::MenuButton3,
                                 ControlId::MenuButton4, ControlId::MenuButton5,
                                 ControlId::LeftButton,  ControlId::CentreButton,
                                 ControlId::RightButton, ControlId::MenuButton0};
    for (const QSize size : {QSize(480, 640), QSize(640, 480)})
    {
        m_surface->DialogWindow()->resize(size);
        QTRY_COMPARE(m_surface->DialogWindow()->size(), size);
        Widget(ControlId::MenuButton0)->setFocus(Qt::OtherFocusReason);
        QList<int> seen = {FocusedId(*m_surface)};
        for (int i = 1; i < expected.size(); ++i)
        {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            seen << FocusedId(*m_surface);
        }
        QCOMPARE(seen, expected);
        QList<int> back = {FocusedId(*m_surface)};
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        back << FocusedId(*m_surface);
        QCOMPARE(back, (QList<int>{ControlId::MenuButton0, ControlId::RightButton}));
    }
}

void CTestDeviceInput::focusFrameIsDrawnAfterTheKeyboardWasUsed()
{
    for (const ColourTheme theme : {ColourTheme::Day, ColourTheme::Night})
    {
        CreateSurface(CTapGuard());
        m_surface->SetTheme(theme);
        QVERIFY(Show());
        for (const int id :
             {ControlId::LeftButton, ControlId::CentreButton, ControlId::RightButton})
            m_surface->ShowControl(id, Visibility::Shown);
        const QColor frame = ColoursOf(theme).focusFrame;
        auto* left = static_cast<CWrappingButton*>(Widget(ControlId::LeftButton));
        // A pixel in the middle of the frame's width, halfway down the left edge.
        const auto edgePixel = [](QWidget* button)
        {
            const int inFrame = static_cast<CWrappingButton*>(button)->FocusFrameWidth() / 2;
            return button->grab().toImage().pixelColor(inFrame, button->height() / 2);
        };

        // A tap gives the focus but draws no frame: a touch screen shows none.
        Tap(left);
        QVERIFY(left->hasFocus());
        QVERIFY(edgePixel(left) != frame);

        QTest::keyClick(left, Qt::Key_Tab);
        QWidget* centre = Widget(ControlId::CentreButton);
        QVERIFY(centre->hasFocus());
        QCOMPARE(edgePixel(centre), frame);
        QVERIFY(edgePixel(left) != frame);
        QVERIFY(left->FocusFrameWidth() >= 3);
        // Unlike the default button, which is tinted but not framed.
        QVERIFY(static_cast<QPushButton*>(centre)->isDefault());
        QTest::keyClick(centre, Qt::Key_Tab);
        QVERIFY(edgePixel(centre) != frame);
        QCOMPARE(edgePixel(Widget(ControlId::RightButton)), frame);
    }
}

void CTestDeviceInput::touchPressesShowsAndSlidesOff()
{
    QVERIFY(Show());
    QWidget* window = m_surface->DialogWindow();
    for (const int id : {ControlId::LeftButton, ControlId::RightButton})
        m_surface->ShowControl(id, Visibility::Shown);
    auto* right = static_cast<QPushButton*>(Widget(ControlId::RightButton));
    const QPoint inside = right->geometry().center();
    const QPoint outside = Widget(ControlId::LeftButton)->geometry().center();
    const QColor pressedFace = ColoursOf(ColourTheme::Day).pressedButtonFace;
    const auto facePixel = [right]
    { return right->grab().toImage().pixelColor(right->width() / 2, right->height() - 8); };

    QTest::touchEvent(window, m_touchScreen).press(0, inside, window);
    QVERIFY(right->isDown());
    QCOMPARE(facePixel(), pressedFace); // the finger's press shows
    QCOMPARE(m_sink.Count(MessageKind::Click), 0);
    QTest::touchEvent(window, m_touchScreen).release(0, inside, window);
    QVERIFY(!right->isDown());
    QVERIFY(facePixel() != pressedFace);
    QCOMPARE(m_sink.Count(MessageKind::Click), 1);
    QCOMPARE(m_sink.messages.back().controlId, ControlId::RightButton);

    // Slid off before it lifts: no press, neither here nor where it was lifted.
    QTest::touchEvent(window, m_touchScreen).press(0, inside, window);
    QTest::touchEvent(window, m_touchScreen).move(0, outside, window);
    QVERIFY(!right->isDown());
    QTest::touchEvent(window, m_touchScreen).release(0, outside, window);
    QCOMPARE(m_sink.Count(MessageKind::Click), 1);

    // Beneath a message box a finger presses nothing.
    int clicksWhileOpen = -1;
    QTimer::singleShot(0, this,
                       [&]
                       {
                           QTest::touchEvent(window, m_touchScreen).press(0, inside, window);
                           QTest::touchEvent(window, m_touchScreen).release(0, inside, window);
                           clicksWhileOpen = m_sink.Count(MessageKind::Click);
                           if (auto* box = window->findChild<CMessageBoxOverlay*>())
                               QTest::keyClick(box->OkButton(), Qt::Key_Return);
                       });
    m_surface->ShowMessageBox("Zeit für Timer konnte nicht gelesen werden");
    QCOMPARE(clicksWhileOpen, 1);
}

void CTestDeviceInput::touchScrollsTheTextAndTapsThePicture()
{
    QVERIFY(Show());
    QWidget* window = m_surface->DialogWindow();
    Text longText;
    for (int line = 1; line <= 80; ++line)
        longText += "Zeile " + std::to_string(line) + "\n";
    m_surface->SetControlText(ControlId::BodyText, longText);
    auto* body = static_cast<CScrollingText*>(Widget(ControlId::BodyText));
    QVERIFY(body->verticalScrollBar()->maximum() > 0);
    QPoint finger = body->viewport()->mapTo(window, body->viewport()->rect().center());
    QTest::touchEvent(window, m_touchScreen).press(0, finger, window);
    for (int step = 0; step < 10; ++step)
    {
        finger.ry() -= 15;
        QTest::touchEvent(window, m_touchScreen).move(0, finger, window);
    }
    QTest::touchEvent(window, m_touchScreen).release(0, finger, window);
    QTRY_VERIFY(body->verticalScrollBar()->value() > 0);
    QCOMPARE(m_sink.Count(MessageKind::Click), 0);

    m_surface->SetControlText(ControlId::BodyText, "");
    QTemporaryDir folder;
    QImage image(60, 40, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    QVERIFY(image.save(folder.path() + "/bild.png"));
    m_surface->SetControlPicture(
        ControlId::Picture, m_surface->LoadPicture((folder.path() + "/bild.png").toStdString()));
    QWidget* picture = Widget(ControlId::Picture);
    QVERIFY(picture->isVisible());
    const QPoint centre = picture->geometry().center();
    QTest::touchEvent(window, m_touchScreen).press(0, centre, window);
    QTest::touchEvent(window, m_touchScreen).release(0, centre, window);
    QCOMPARE(m_sink.Count(MessageKind::Click), 1);
    QCOMPARE(m_sink.messages.back().controlId, ControlId::Picture);
    // Space taps a picture that is shown.
    Key(window, Qt::Key_Space);
    QCOMPARE(m_sink.Count(MessageKind::Click), 2);
    QCOMPARE(m_sink.messages.back().controlId, ControlId::Picture);
}

void CTestDeviceInput::hoverChangesNothing()
{
    QVERIFY(Show());
    QWidget* window = m_surface->DialogWindow();
    for (const int id : ShownIds)
        m_surface->ShowControl(id, Visibility::Shown);
    const QImage before = window->grab().toImage();
    for (const int id : {ControlId::MenuButton0, ControlId::CentreButton, ControlId::RightButton})
    {
        QTest::mouseMove(Widget(id), Widget(id)->rect().center());
        QCOMPARE(window->grab().toImage(), before);
    }
    QCOMPARE(m_sink.Count(MessageKind::Click), 0);
}

QTEST_MAIN(CTestDeviceInput)
#include "TestDeviceInput.moc"
