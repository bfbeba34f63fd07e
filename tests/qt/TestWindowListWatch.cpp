// The window's watch on the list: saves by editors of both kinds read the list again in the
// real window, the heading says so for a moment, and a deleted list leaves the screen alone.
#include "app/DialogTexts.h"
#include "app/MainDialog.h"
#include "frontends/WindowListWatch.h"
#include "platform/ControlId.h"
#include "platform/qt/QtDialogSurface.h"
#include "platform/qt/QtPictureDecoder.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>
#include <sstream>

class TestWindowListWatch : public QObject
{
    Q_OBJECT

private:
    QString Caption(int id) const { return QString::fromStdString(m_surface->GetControlText(id)); }
    void Click(int id) { QTest::mouseClick(m_surface->ControlWidget(id), Qt::LeftButton); }
    QString ListPath() const { return m_root.path() + "/Bremsen/Probe.lst"; }
    void WriteList(const QString& path, const QByteArray& bytes)
    {
        QFile list(path);
        QVERIFY(list.open(QIODevice::WriteOnly | QIODevice::Truncate));
        list.write(bytes);
    }

    QTemporaryDir m_root;
    CQtPictureDecoder m_decoder;
    std::unique_ptr<CQtDialogSurface> m_surface;
    std::unique_ptr<CMainDialog> m_dialog;

private slots:
    void editsAreFollowedAndADeletedListLeavesTheScreen()
    {
        QVERIFY(m_root.isValid());
        QVERIFY(QDir().mkpath(m_root.path() + "/Bremsen"));
        WriteList(ListPath(), "$Bremsprobe\r\nEins;\r\nZwei;\r\nDrei;\r\nVier;\r\n");
        m_surface = std::make_unique<CQtDialogSurface>(m_decoder, "tavrino");
        m_dialog = std::make_unique<CMainDialog>(*m_surface, m_root.path().toStdString() + "/");
        QVERIFY(m_dialog->Create());
        m_surface->DialogWindow()->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_surface->DialogWindow()));
        std::ostringstream errors;
        CWindowListWatch watch(*m_dialog, &m_decoder, errors);

        Click(ControlId::CentreButton);
        Click(ControlId::MenuButton0);
        Click(ControlId::MenuButton0);
        // Past the tap guard of the screen before.
        QTest::qWait(400);
        Click(ControlId::RightButton);
        QTest::qWait(400);
        Click(ControlId::RightButton);
        QCOMPARE(Caption(ControlId::BodyText), QString("Drei"));
        // The watch takes up the list that is open.
        QTest::qWait(700);

        // Written in place, in two writes.
        {
            QFile list(ListPath());
            QVERIFY(list.open(QIODevice::WriteOnly | QIODevice::Truncate));
            list.write("$Bremsprobe\r\nEins;\r\nZwei;\r\n");
            list.flush();
            QTest::qWait(50);
            list.write("Drei geaendert;\r\nVier;\r\n");
        }
        QTRY_COMPARE(Caption(ControlId::BodyText), QString("Drei geaendert"));
        QCOMPARE(Caption(ControlId::Heading), QString(DialogText::ListReloaded));
        QTRY_COMPARE_WITH_TIMEOUT(Caption(ControlId::Heading), QString("Bremsprobe"), 4000);

        // Saved by renaming a new file over the list.
        WriteList(ListPath() + ".neu", "$Bremsprobe\r\nEins;\r\nNeu;\r\nZwei;\r\nDrei;\r\n");
        QVERIFY(QFile::remove(ListPath()));
        QVERIFY(QFile::rename(ListPath() + ".neu", ListPath()));
        QTRY_COMPARE(Caption(ControlId::BodyText), QString("Zwei"));

        // Then edited again in place: the renamed file is watched as well.
        QTest::qWait(300);
        WriteList(ListPath(), "$Bremsprobe\r\nEins;\r\nNeu;\r\nZwei wieder;\r\nDrei;\r\n");
        QTRY_COMPARE(Caption(ControlId::BodyText), QString("Zwei wieder"));

        QTest::qWait(300);
        QVERIFY(QFile::remove(ListPath()));
        QTRY_VERIFY(errors.str().find("cannot be read") != std::string::npos);
        QCOMPARE(Caption(ControlId::BodyText), QString("Zwei wieder"));
        QVERIFY(errors.str().find("read again: 0 errors, 0 warnings") != std::string::npos);

        m_dialog.reset();
        m_surface.reset();
    }
};

QTEST_MAIN(TestWindowListWatch)
#include "TestWindowListWatch.moc"
