// The colours of both themes: every pair that is drawn keeps its contrast (WCAG 2: 4.5:1 for
// text, 3:1 for the focus frame against what lies on either side of it), and switching the
// theme with n changes colours only, never the screen.
#include "platform/ControlId.h"
#include "platform/Resources.h"
#include "platform/qt/QtDialogSurface.h"
#include "platform/qt/QtPictureDecoder.h"
#include "platform/qt/ScrollingText.h"
#include "platform/qt/Theme.h"
#include "qt/RecordingSink.h"

#include <QtTest>

class CTestTheme : public QObject
{
    Q_OBJECT

private slots:
    void contrastOfKnownColours();
    void everyDrawnPairIsReadable_data();
    void everyDrawnPairIsReadable();
    void keyNSwitchesColoursAndKeepsTheScreen();
};

void CTestTheme::contrastOfKnownColours()
{
    QCOMPARE(ContrastRatio(Qt::black, Qt::white), 21.0);
    QCOMPARE(ContrastRatio(Qt::white, Qt::black), 21.0);
    QCOMPARE(ContrastRatio(QColor(0x77, 0x77, 0x77), QColor(0x77, 0x77, 0x77)), 1.0);
    // Grey #767676 on white is the usual example of just passing 4.5:1.
    QVERIFY(ContrastRatio(QColor(0x76, 0x76, 0x76), Qt::white) >= 4.5);
    QVERIFY(ContrastRatio(QColor(0x77, 0x77, 0x77), Qt::white) < 4.5);
    QCOMPARE(Blend(QColor(0, 0, 0, 0), Qt::white), QColor(Qt::white));
}

void CTestTheme::everyDrawnPairIsReadable_data()
{
    QTest::addColumn<QColor>("foreground");
    QTest::addColumn<QColor>("background");
    QTest::addColumn<double>("least");
    for (const ColourTheme theme : {ColourTheme::Day, ColourTheme::Night})
    {
        const ThemeColours& c = ColoursOf(theme);
        const QString name = theme == ColourTheme::Day ? "day: " : "night: ";
        const auto row = [&](const char* pair, const QColor& fore, const QColor& back, double least)
        { QTest::newRow(qPrintable(name + pair)) << fore << back << least; };
        const QColor dimmedWindow = Blend(c.dimming, c.window);
        // The scrolling text's foot: the mark over text faded out at its strongest.
        const QColor fadedFoot = Blend(
            QColor(c.window.red(), c.window.green(), c.window.blue(), CScrollingText::FootFade),
            c.windowText);
        row("text on the window", c.windowText, c.window, 4.5);
        row("button text on the face's top", c.buttonText, c.buttonFaceTop, 4.5);
        row("button text on the face", c.buttonText, c.buttonFace, 4.5);
        row("button text on the default's top", c.buttonText, c.defaultButtonFaceTop, 4.5);
        row("button text on the default's tint", c.buttonText, c.defaultButtonFace, 4.5);
        row("button text pressed", c.buttonText, c.pressedButtonFace, 4.5);
        row("message text in the box", c.boxText, c.boxBackground, 4.5);
        row("caption", c.captionText, c.captionBackground, 4.5);
        row("box frame against the dimmed window", c.boxText, dimmedWindow, 3.0);
        row("more-text mark on the faded foot", c.windowText, fadedFoot, 3.0);
        row("focus frame against the window", c.focusFrame, c.window, 3.0);
        const QPalette palette = PaletteOf(theme);
        row("scroll handle against its groove", ScrollBarHandle(palette),
            ScrollBarGroove(palette), 3.0);
        row("scroll handle against the window", ScrollBarHandle(palette), c.window, 3.0);
        row("focus frame against the box", c.focusFrame, c.boxBackground, 3.0);
        for (const auto& [face, colour] :
             {std::pair{"face top", c.buttonFaceTop}, std::pair{"face", c.buttonFace},
              std::pair{"default top", c.defaultButtonFaceTop},
              std::pair{"default tint", c.defaultButtonFace},
              std::pair{"pressed face", c.pressedButtonFace}})
        {
            row(qPrintable(QString("focus frame against the ") + face), c.focusFrame, colour, 3.0);
        }
    }
}

void CTestTheme::everyDrawnPairIsReadable()
{
    QFETCH(QColor, foreground);
    QFETCH(QColor, background);
    QFETCH(double, least);
    const double ratio = ContrastRatio(foreground, background);
    QVERIFY2(ratio >= least, qPrintable(QString("%1 on %2: %3:1")
                                            .arg(foreground.name(), background.name())
                                            .arg(ratio, 0, 'f', 2)));
}

void CTestTheme::keyNSwitchesColoursAndKeepsTheScreen()
{
    CQtPictureDecoder decoder;
    CRecordingSink sink;
    CQtDialogSurface surface(decoder, "tavrino");
    QVERIFY(surface.CreateFromTemplate(
        FindResource(ResourceType::Dialog, ResourceId::PortraitTemplate), sink));
    QWidget* window = surface.DialogWindow();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    surface.ShowControl(ControlId::RightButton, Visibility::Shown);
    surface.SetControlText(ControlId::BodyText, "Hauptschalter aus");
    const auto places = [&]
    {
        QList<QRect> rects;
        for (const int id : {ControlId::Heading, ControlId::BodyText, ControlId::CentreButton,
                             ControlId::RightButton})
            rects << surface.ControlWidget(id)->geometry();
        return rects;
    };
    const QList<QRect> before = places();
    const auto backgroundPixel = [window]
    { return window->grab().toImage().pixelColor(window->width() / 2, window->height() / 2); };
    QCOMPARE(backgroundPixel(), ColoursOf(ColourTheme::Day).window);

    QTest::keyClick(surface.ControlWidget(ControlId::RightButton), Qt::Key_N);
    QCOMPARE(surface.Theme(), ColourTheme::Night);
    QCOMPARE(backgroundPixel(), ColoursOf(ColourTheme::Night).window);
    QCOMPARE(places(), before);
    QCOMPARE(sink.Count(MessageKind::Click), 0);

    QTest::keyClick(window, Qt::Key_N);
    QCOMPARE(surface.Theme(), ColourTheme::Day);
    QCOMPARE(backgroundPixel(), ColoursOf(ColourTheme::Day).window);
}

QTEST_MAIN(CTestTheme)
#include "TestTheme.moc"
