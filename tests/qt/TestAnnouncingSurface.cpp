// The window's announcements: what --speak says is what the screen shows, and the heading
// flashes when the stopwatch runs out, with the dialog's screens left as they are.
#include "app/DialogTexts.h"
#include "app/MainDialog.h"
#include "frontends/SpokenScreens.h"
#include "platform/ControlId.h"
#include "platform/qt/AnnouncingSurface.h"
#include "platform/qt/MessageBoxOverlay.h"
#include "platform/qt/QtDialogSurface.h"
#include "platform/qt/QtPictureDecoder.h"
#include "platform/qt/ScrollingText.h"
#include "platform/qt/WrappingButton.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QTimerEvent>
#include <QtTest>
#include <memory>
#include <vector>

namespace
{
class CRecordingSpeaker final : public ISpeaker
{
public:
    void Speak(const Text& text) override { spoken.push_back(QString::fromStdString(text)); }
    std::vector<QString> spoken;
};

// Every control's text and whether it is shown: the screen as the dialog made it.
struct ControlView
{
    int id;
    Text text;
    bool shown;
    bool operator==(const ControlView&) const = default;
};
} // namespace

class TestAnnouncingSurface : public QObject
{
    Q_OBJECT

private:
    QWidget* Widget(int id) const { return m_window->ControlWidget(id); }
    void Click(int id) { QTest::mouseClick(Widget(id), Qt::LeftButton); }
    QString LastSpoken() const
    {
        return m_speaker.spoken.empty() ? QString() : m_speaker.spoken.back();
    }
    // The text the window draws in a control, read from its widget.
    QString Shown(int id) const
    {
        if (auto* text = qobject_cast<CScrollingText*>(Widget(id)))
            return text->Text();
        if (auto* button = qobject_cast<CWrappingButton*>(Widget(id)))
            return button->Label();
        return {};
    }
    std::vector<ControlView> Screen() const
    {
        std::vector<ControlView> view;
        for (const int id : {ControlId::MenuButton0, ControlId::MenuButton1, ControlId::Heading,
                             ControlId::SubHeading, ControlId::MenuButton2, ControlId::MenuButton3,
                             ControlId::MenuButton4, ControlId::MenuButton5,
                             ControlId::CentreButton, ControlId::LeftButton, ControlId::RightButton,
                             ControlId::BodyText, ControlId::Picture})
            view.push_back({id, m_window->GetControlText(id), !Widget(id)->isHidden()});
        return view;
    }
    // One tick of the dialog's timer, as the window's timer delivers it, without waiting.
    void Tick()
    {
        const QList<QTimer*> timers = m_window->findChildren<QTimer*>(Qt::FindDirectChildrenOnly);
        for (QTimer* timer : timers)
        {
            if (!timer->isActive())
                continue;
            QTimerEvent event(timer->timerId());
            QCoreApplication::sendEvent(timer, &event);
            return;
        }
        QFAIL("no timer runs");
    }
    void WriteList(const QString& name, const QByteArray& lines)
    {
        QVERIFY(QDir().mkpath(m_root.path() + "/Bremsen"));
        QFile list(m_root.path() + "/Bremsen/" + name);
        QVERIFY(list.open(QIODevice::WriteOnly));
        list.write(lines);
    }
    void OpenFirstList()
    {
        m_dialog = std::make_unique<CMainDialog>(*m_announcing, m_root.path().toStdString() + "/");
        QVERIFY(m_dialog->Create());
        m_announcing->SetScreenKindSource([this] { return SpokenScreenOf(m_dialog->State()); });
        m_window->DialogWindow()->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window->DialogWindow()));
        Click(ControlId::CentreButton); // Start
        Click(ControlId::MenuButton0);  // the topic
        QVERIFY(m_speaker.spoken.empty());
        Click(ControlId::MenuButton0); // the list
    }

    QTemporaryDir m_root;
    CQtPictureDecoder m_decoder;
    CRecordingSpeaker m_speaker;
    std::unique_ptr<CQtDialogSurface> m_window;
    std::unique_ptr<CAnnouncingSurface> m_announcing;
    std::unique_ptr<CMainDialog> m_dialog;

private slots:
    void init()
    {
        QVERIFY(m_root.isValid());
        m_speaker.spoken.clear();
        m_window = std::make_unique<CQtDialogSurface>(m_decoder, "tavrino");
        m_announcing = std::make_unique<CAnnouncingSurface>(*m_window, &m_speaker,
                                                            DialogText::StopwatchRanOut);
    }

    void cleanup()
    {
        m_dialog.reset();
        m_announcing.reset();
        m_window.reset();
        QDir(m_root.path()).removeRecursively();
        QVERIFY(QDir().mkpath(m_root.path()));
    }

    void speaksWhatEachScreenShows()
    {
        QByteArray longStep;
        for (int line = 1; line <= 60; ++line)
            longStep += "Zeile " + QByteArray::number(line) + " des langen Schrittes\r\n";
        WriteList("Probe.lst",
                  "$Bremsprobe\r\n!Vorbereitung\r\nSchritt eins\r\nmit zwei Zeilen;\r\n"
                  "Druck in Ordnung?\r\nnein1/ja1\r\n%nein1\r\nDruck pruefen;\r\n"
                  "%ja1\r\n*fehlt.png\r\n" +
                      longStep + "Ende des langen Schrittes;\r\n");
        OpenFirstList();

        // A step: its body text, as drawn, and nothing else on the screen.
        QCOMPARE(m_speaker.spoken.size(), std::size_t(1));
        QCOMPARE(LastSpoken(), Shown(ControlId::BodyText));
        QCOMPARE(LastSpoken(), QString("Schritt eins\nmit zwei Zeilen"));

        // A question: its text, then the answers shown, left to right.
        Click(ControlId::RightButton);
        QCOMPARE(m_speaker.spoken.size(), std::size_t(2));
        QCOMPARE(LastSpoken(), Shown(ControlId::BodyText) + "\n" + Shown(ControlId::CentreButton) +
                                   "\n" + Shown(ControlId::RightButton));
        QCOMPARE(LastSpoken(), QString("Druck in Ordnung?\nNein\nJa"));

        // Turning the device builds the same screen again: nothing new to hear.
        m_window->DialogWindow()->resize(640, 480);
        QTRY_COMPARE(m_window->DialogWindow()->size(), QSize(640, 480));
        QCOMPARE(m_speaker.spoken.size(), std::size_t(2));

        // "Ja": the picture is missing. The box is read as it opens, the step after it once
        // it is closed; the step is read whole, also what has to be scrolled to.
        QString boxText;
        std::size_t spokenAtOpen = 0;
        QTimer::singleShot(0,
                           [&]
                           {
                               if (auto* box =
                                       m_window->DialogWindow()->findChild<CMessageBoxOverlay*>())
                               {
                                   boxText = box->Message();
                                   spokenAtOpen = m_speaker.spoken.size();
                                   QTest::keyClick(box->OkButton(), Qt::Key_Return);
                               }
                           });
        Click(ControlId::RightButton);
        QVERIFY(!boxText.isEmpty());
        QCOMPARE(spokenAtOpen, std::size_t(3));
        QCOMPARE(m_speaker.spoken[2], boxText);
        QCOMPARE(m_speaker.spoken.size(), std::size_t(4));
        QCOMPARE(LastSpoken(), Shown(ControlId::BodyText));
        QVERIFY(LastSpoken().startsWith("Zeile 1 des langen Schrittes\n"));
        QVERIFY(LastSpoken().endsWith("Zeile 60 des langen Schrittes\nEnde des langen Schrittes"));
        QVERIFY(qobject_cast<CScrollingText*>(Widget(ControlId::BodyText))->MoreBelow());

        // The end of the list.
        Click(ControlId::RightButton);
        QCOMPARE(LastSpoken(), Shown(ControlId::BodyText));
        QCOMPARE(LastSpoken(), QString(DialogText::ListDone));

        // Back in the menus nothing is read.
        Click(ControlId::RightButton); // Ende
        QCOMPARE(m_speaker.spoken.size(), std::size_t(5));
    }

    void flashesTheHeadingWhenTheStopwatchRunsOut()
    {
        WriteList("Warten.lst", "$Druckausgleich\r\n:2 Bremse\r\nWarten;\r\nWeiter;\r\n");
        OpenFirstList();
        QWidget* heading = Widget(ControlId::Heading);
        const QPalette paletteBefore = heading->palette();
        const bool fillBefore = heading->autoFillBackground();
        QVERIFY(!heading->testAttribute(Qt::WA_SetPalette));

        Tick();
        QCOMPARE(m_window->GetControlText(ControlId::Heading), Text("Stoppuhr für Bremse1"));
        QVERIFY(!m_announcing->Flash().IsFlashing());
        const std::size_t spokenBefore = m_speaker.spoken.size();

        Tick(); // zero
        QVERIFY(m_announcing->Flash().IsFlashing());
        QCOMPARE(m_speaker.spoken.size(), spokenBefore + 1);
        QCOMPARE(LastSpoken(), QString(DialogText::StopwatchRanOut));
        const std::vector<ControlView> screen = Screen();
        QCOMPARE(m_window->GetControlText(ControlId::Heading), Text("Druckausgleich"));

        // It blinks: foreground and background swap, and swap back, for about five seconds.
        const QImage swapped = heading->grab().toImage();
        QCOMPARE(heading->palette().color(QPalette::Window),
                 paletteBefore.color(QPalette::WindowText));
        QCOMPARE(heading->palette().color(QPalette::WindowText),
                 paletteBefore.color(QPalette::Window));
        const int phases = CHeadingFlash::FlashPhases;
        QVERIFY(phases * CHeadingFlash::PhaseMilliseconds >= 4000);
        QVERIFY(phases * CHeadingFlash::PhaseMilliseconds <= 6000);
        for (int phase = 1; phase < phases; ++phase)
        {
            m_announcing->Flash().OnFlashTick();
            QVERIFY(m_announcing->Flash().IsFlashing());
            QCOMPARE(heading->grab().toImage() == swapped, phase % 2 == 0);
            QVERIFY(Screen() == screen);
        }
        m_announcing->Flash().OnFlashTick();
        QVERIFY(!m_announcing->Flash().IsFlashing());

        // Over, the heading is as it was: the same colours, still inherited from the window.
        QVERIFY(Screen() == screen);
        QCOMPARE(heading->palette(), paletteBefore);
        QCOMPARE(heading->autoFillBackground(), fillBefore);
        QVERIFY(!heading->testAttribute(Qt::WA_SetPalette));
        QPalette night = m_window->DialogWindow()->palette();
        night.setColor(QPalette::WindowText, Qt::yellow);
        m_window->DialogWindow()->setPalette(night);
        QCOMPARE(heading->palette().color(QPalette::WindowText), QColor(Qt::yellow));
    }

    void aTapEndsTheFlashAndLeavingAListDoesNotFlash()
    {
        WriteList("Warten.lst", ":1 Bremse\r\nWarten;\r\nWeiter;\r\n:5\r\nNoch;\r\n");
        OpenFirstList();
        Tick();
        QVERIFY(m_announcing->Flash().IsFlashing());
        Click(ControlId::RightButton);
        QVERIFY(!m_announcing->Flash().IsFlashing());
        QVERIFY(!Widget(ControlId::Heading)->testAttribute(Qt::WA_SetPalette));

        // A stopwatch stopped by leaving the list has not run out.
        Click(ControlId::RightButton); // the second stopwatch starts
        Tick();
        const std::size_t spoken = m_speaker.spoken.size();
        Click(ControlId::LeftButton); // Abbruch
        QVERIFY(!m_announcing->Flash().IsFlashing());
        QCOMPARE(m_speaker.spoken.size(), spoken);
    }
};

QTEST_MAIN(TestAnnouncingSurface)
#include "TestAnnouncingSurface.moc"
