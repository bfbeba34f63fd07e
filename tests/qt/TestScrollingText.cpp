// A step of megabytes must not hold the window up: the text is laid out a screen at a time and
// the rest while the window is idle, pieces of a long line join up again without a character
// lost, and a text past the shown length ends in a line that says it was cut.
#include "platform/qt/ScrollingText.h"

#include <QApplication>
#include <QFontMetrics>
#include <QScrollBar>
#include <QtTest>
#include <memory>

namespace
{
// Without the spaces and line ends, which wrapping may move but never adds or drops.
QString Letters(QString text)
{
    text.remove(QLatin1Char(' '));
    text.remove(QLatin1Char('\n'));
    return text;
}

QString Lines(int count)
{
    QString text;
    for (int i = 0; i < count; ++i)
    {
        text += QString("Zeile %1: Bremse prüfen und Hebel in Stellung bringen\n").arg(i);
    }
    return text;
}
} // namespace

class CTestScrollingText : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void longTextShowsItsFirstScreenAtOnce();
    void piecesOfALongLineJoinUp_data();
    void piecesOfALongLineJoinUp();
    void textPastTheShownLengthEndsInANote_data();
    void textPastTheShownLengthEndsInANote();
    void heightForWidthStopsWhenItHasEnough();

private:
    std::unique_ptr<QWidget> m_window;
    CScrollingText* m_text = nullptr;
};

void CTestScrollingText::init()
{
    m_window = std::make_unique<QWidget>();
    m_window->resize(320, 400);
    m_text = new CScrollingText(m_window.get());
    m_text->setGeometry(0, 0, 320, 400);
    m_text->SetTypeSizes(16, 32);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void CTestScrollingText::cleanup()
{
    m_window.reset();
}

void CTestScrollingText::longTextShowsItsFirstScreenAtOnce()
{
    const QString text = Lines(15000); // most of a megabyte
    m_text->SetText(text);
    // Only what is in view is laid out when the text arrives; the rest follows.
    QVERIFY(!m_text->LayoutComplete());
    QVERIFY(m_text->MoreBelow());
    QVERIFY(m_text->verticalScrollBar()->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(m_text->LayoutComplete(), 30000);
    QVERIFY(m_text->MoreBelow());
    const int range = m_text->verticalScrollBar()->maximum();
    QCOMPARE(range, m_text->ContentHeight() - m_text->height());

    // Once, and only once: nothing doubled or dropped on the way.
    const QStringList lines = m_text->Lines();
    QCOMPARE(Letters(lines.join(QString())), Letters(text));
    m_text->verticalScrollBar()->setValue(range);
    QVERIFY(!m_text->MoreBelow());

    // A new short text starts over at once.
    m_text->SetText("Kurz");
    QVERIFY(m_text->LayoutComplete());
    QVERIFY(!m_text->MoreBelow());
    QCOMPARE(m_text->Lines(), QStringList{"Kurz"});
}

void CTestScrollingText::piecesOfALongLineJoinUp_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("words") << QString("Hauptschalter aus ").repeated(2000);
    QTest::newRow("no spaces") << QString("Druckluftbehälter").repeated(2000);
    QTest::newRow("characters of two units") << QString("Zug🚆").repeated(4000);
}

void CTestScrollingText::piecesOfALongLineJoinUp()
{
    QFETCH(QString, text);
    m_text->SetText(text);
    const QStringList lines = m_text->Lines();
    QCOMPARE(lines.join(QString()), text);
    QFont font = m_text->font();
    font.setPixelSize(m_text->PixelSize());
    for (const QString& line : lines)
    {
        QVERIFY2(QFontMetrics(font).horizontalAdvance(line.trimmed()) <=
                     m_text->viewport()->width(),
                 qPrintable(line));
        QVERIFY(!line.isEmpty() && !line.back().isHighSurrogate());
    }
}

void CTestScrollingText::textPastTheShownLengthEndsInANote_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("atWordEnd");
    const qsizetype longest = CScrollingText::LongestShownText;
    const QString words = QString("Bremse lösen ").repeated(longest / 13 + 100);
    QTest::newRow("cut after a word") << words << true;
    QString run(longest - 1, QLatin1Char('x'));
    run += QString("🚆").repeated(50);
    QTest::newRow("no half character") << run << false;
}

void CTestScrollingText::textPastTheShownLengthEndsInANote()
{
    QFETCH(QString, text);
    QFETCH(bool, atWordEnd);
    m_text->SetText(text);
    const QStringList lines = m_text->Lines();
    QVERIFY(lines.size() > 2);
    const QString note = lines.last();
    const qsizetype noteStart = lines.join(QString()).lastIndexOf("[… gekürzt");
    QVERIFY2(noteStart > 0, qPrintable(note));
    const QString shown = lines.join(QString()).left(noteStart);
    QVERIFY(text.startsWith(shown));
    QVERIFY(!shown.back().isHighSurrogate());
    QCOMPARE(shown.back() == QLatin1Char(' '), atWordEnd);
    const QString missing = QLocale(QLocale::German).toString(text.size() - shown.size());
    QVERIFY2(lines.join(QString()).mid(noteStart).contains(missing), qPrintable(note));
}

void CTestScrollingText::heightForWidthStopsWhenItHasEnough()
{
    const QString text = Lines(2000);
    m_text->SetText(text);
    const int whole = m_text->HeightForWidth(300);
    const int enough = m_text->HeightForWidth(300, 100);
    QVERIFY(enough > 100);
    QVERIFY2(enough < whole / 10, qPrintable(QString("%1 of %2").arg(enough).arg(whole)));
}

QTEST_MAIN(CTestScrollingText)
#include "TestScrollingText.moc"
