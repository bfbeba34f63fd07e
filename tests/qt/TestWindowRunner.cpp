// A list run through the real widgets: buttons clicked, a picture tapped, a message box closed.
#include "app/MainDialog.h"
#include "platform/ControlId.h"
#include "platform/qt/MessageBoxOverlay.h"
#include "platform/qt/QtDialogSurface.h"
#include "platform/qt/QtPictureDecoder.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <chrono>
#include <memory>

class TestWindowRunner : public QObject
{
    Q_OBJECT

private:
    QWidget* Widget(int id) const { return m_surface->ControlWidget(id); }
    QString Caption(int id) const { return QString::fromStdString(m_surface->GetControlText(id)); }
    void Click(int id) { QTest::mouseClick(Widget(id), Qt::LeftButton); }

    QTemporaryDir m_root;
    CQtPictureDecoder m_decoder;
    std::unique_ptr<CQtDialogSurface> m_surface;
    std::unique_ptr<CMainDialog> m_dialog;

private slots:
    void init()
    {
        QVERIFY(m_root.isValid());
        const QString topic = m_root.path() + "/Bremsen";
        QVERIFY(QDir().mkpath(topic));
        QImage picture(240, 260, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        QVERIFY(picture.save(topic + "/bremse.png"));
        QFile list(topic + "/Probe.lst");
        QVERIFY(list.open(QIODevice::WriteOnly));
        list.write(
            "$Bremsprobe\r\nSchritt eins;\r\n*bremse.png\r\n*fehlt.png\r\nSchritt zwei;\r\n");
        list.close();

        m_surface = std::make_unique<CQtDialogSurface>(m_decoder, "tavrino");
        m_dialog = std::make_unique<CMainDialog>(*m_surface, m_root.path().toStdString() + "/");
        QVERIFY(m_dialog->Create());
        m_surface->DialogWindow()->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_surface->DialogWindow()));
    }

    void cleanup()
    {
        m_dialog.reset();
        m_surface.reset();
    }

    void stepPictureAndMessageBox()
    {
        Click(ControlId::CentreButton); // Start
        QCOMPARE(Caption(ControlId::MenuButton0), QString("Bremsen"));
        Click(ControlId::MenuButton0);
        QCOMPARE(Caption(ControlId::MenuButton0), QString("Probe"));
        Click(ControlId::MenuButton0);

        QCOMPARE(Caption(ControlId::Heading), QString("Bremsprobe"));
        QCOMPARE(Caption(ControlId::BodyText), QString("Schritt eins"));
        QVERIFY(Widget(ControlId::RightButton)->isVisible());
        QCOMPARE(Caption(ControlId::RightButton), QString("Weiter"));
        QVERIFY(!Widget(ControlId::CentreButton)->isVisible());

        Click(ControlId::RightButton);
        QVERIFY(Widget(ControlId::Picture)->isVisible());
        for (const int hidden : {ControlId::Heading, ControlId::BodyText, ControlId::LeftButton,
                                 ControlId::CentreButton, ControlId::RightButton})
            QVERIFY2(!Widget(hidden)->isVisible(), QByteArray::number(hidden));
        // 240 x 260 keeps its own size: one side is the screen's.
        QCOMPARE(m_dialog->State().g_picturePath, Text("bremse.png"));

        // The tap goes on; the next picture is missing, and its message box waits for OK.
        QString boxText;
        QTimer::singleShot(0,
                           [&]
                           {
                               if (auto* box =
                                       m_surface->DialogWindow()->findChild<CMessageBoxOverlay*>())
                               {
                                   boxText = box->Message();
                                   QTest::keyClick(box->OkButton(), Qt::Key_Return);
                               }
                           });
        Click(ControlId::Picture);
        QCOMPARE(boxText,
                 "Bild konnte nicht geladen werden\n" + m_root.path() + "/Bremsen/fehlt.png");
        QVERIFY(!Widget(ControlId::Picture)->isVisible());
        QCOMPARE(Caption(ControlId::BodyText), QString("Schritt zwei"));
        QVERIFY(Widget(ControlId::CentreButton)->isVisible());
        QCOMPARE(Caption(ControlId::CentreButton), QString("Zurück"));

        // Turned to landscape, the step keeps its texts and every control stays whole in the
        // window; the buttons stay large enough for a finger (9 mm is 34 pixels at 96 dpi).
        for (const QSize size : {QSize(640, 480), QSize(480, 640)})
        {
            m_surface->DialogWindow()->resize(size);
            QTRY_COMPARE(m_surface->DialogWindow()->size(), size);
            QTRY_COMPARE(Caption(ControlId::BodyText), QString("Schritt zwei"));
            for (const int id :
                 {ControlId::Heading, ControlId::SubHeading, ControlId::BodyText,
                  ControlId::LeftButton, ControlId::CentreButton, ControlId::RightButton})
            {
                QVERIFY2(m_surface->DialogWindow()->rect().contains(Widget(id)->geometry()),
                         QByteArray::number(id));
            }
            QVERIFY(Widget(ControlId::RightButton)->height() >= 34);
        }

        Click(ControlId::RightButton);
        QCOMPARE(Caption(ControlId::BodyText),
                 QString("Liste abgearbeitet!\n Allzeit gute Fahrt!"));
        QCOMPARE(Caption(ControlId::RightButton), QString("Ende"));
        Click(ControlId::RightButton);
        QCOMPARE(Caption(ControlId::SubHeading), QString("Untermenue von: Bremsen"));
    }

    // A bounce on "Weiter" skipped a step; three quick taps on the bottom-left button went
    // "Abbruch", "Hauptmenue", "Ende" and closed the program in the middle of a list.
    void bouncesNeitherSkipAStepNorEndTheProgram()
    {
        QFile list(m_root.path() + "/Zug/Drei.lst");
        QVERIFY(QDir().mkpath(m_root.path() + "/Zug"));
        QVERIFY(list.open(QIODevice::WriteOnly));
        list.write("$Drei\r\nEins;\r\nZwei;\r\nDrei;\r\n");
        list.close();
        std::chrono::steady_clock::time_point now{};
        const auto wait = [&now](int milliseconds)
        { now += std::chrono::milliseconds(milliseconds); };
        m_dialog.reset();
        m_surface = std::make_unique<CQtDialogSurface>(
            m_decoder, "tavrino", CQtDialogSurface::Window, QSize(480, 640),
            CTapGuard(std::chrono::milliseconds(350), [&now] { return now; }));
        m_dialog = std::make_unique<CMainDialog>(*m_surface, m_root.path().toStdString() + "/");
        QVERIFY(m_dialog->Create());
        m_surface->DialogWindow()->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_surface->DialogWindow()));

        for (const int id :
             {ControlId::CentreButton, ControlId::MenuButton1, ControlId::MenuButton0})
        {
            wait(1000);
            Click(id);
        }
        QCOMPARE(Caption(ControlId::BodyText), QString("Eins"));
        wait(1000);
        Click(ControlId::RightButton);
        wait(120);
        Click(ControlId::RightButton);
        QCOMPARE(Caption(ControlId::BodyText), QString("Zwei"));

        wait(1000);
        Click(ControlId::LeftButton); // Abbruch
        wait(250);
        Click(ControlId::LeftButton); // dropped
        QCOMPARE(Caption(ControlId::SubHeading), QString("Untermenue von: Zug"));
        wait(250);
        Click(ControlId::LeftButton); // Hauptmenue
        QCOMPARE(Caption(ControlId::LeftButton), QString("Ende"));
        // Still running: the menu answers.
        wait(1000);
        Click(ControlId::MenuButton0);
        QCOMPARE(Caption(ControlId::SubHeading), QString("Untermenue von: Bremsen"));
    }
};

QTEST_MAIN(TestWindowRunner)
#include "TestWindowRunner.moc"
