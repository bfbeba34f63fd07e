// The Qt surface on the offscreen platform: widgets from the portrait template, messages to
// the dialog, layout in dialog units, timers, message boxes and picture decoding.
#include "platform/ControlId.h"
#include "platform/Resources.h"
#include "platform/qt/MessageBoxOverlay.h"
#include "platform/qt/PictureLabel.h"
#include "platform/qt/QtDialogSurface.h"
#include "platform/qt/QtPictureDecoder.h"
#include "platform/qt/ScrollingText.h"
#include "platform/qt/TypeScale.h"
#include "platform/qt/WrappingButton.h"
#include "qt/RecordingSink.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace
{
// Places of the portrait template's controls, in dialog units.
struct UnitPlace
{
    int id;
    Rect units;
};
constexpr UnitPlace PortraitPlaces[] = {
    {1000, {4, 23, 60, 25}},   {1001, {72, 23, 60, 25}}, {1005, {4, 51, 60, 23}},
    {1006, {72, 51, 62, 23}},  {1007, {4, 77, 60, 23}},  {1008, {72, 77, 62, 23}},
    {1002, {6, 0, 128, 8}},    {1003, {2, 9, 132, 17}},  {1020, {1, 26, 132, 73}},
    {1009, {53, 102, 31, 32}}, {1010, {4, 102, 44, 32}}, {1011, {90, 102, 44, 32}},
};

QRect ToQRect(const Rect& rect)
{
    return QRect(rect.x, rect.y, rect.width, rect.height);
}

CScrollingText* TextOf(const CQtDialogSurface& surface, int id)
{
    return qobject_cast<CScrollingText*>(surface.ControlWidget(id));
}

const QString LongText = QString("Bremsprobe: Hauptluftleitung auffüllen, Bremse anlegen und "
                                 "lösen, Druck am Manometer ablesen. ")
                             .repeated(5);
} // namespace

class CTestQtDialogSurface : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void createsTheTemplateControls_data();
    void createsTheTemplateControls();
    void refusesAnUnreadableTemplate();
    void controlTextsAreShownAsTheyStand();
    void buttonClicksReachTheDialog_data();
    void buttonClicksReachTheDialog();
    void pictureTapsReachTheDialog();
    void resizePlacesEveryControlAgain_data();
    void resizePlacesEveryControlAgain();
    void deferredMovesKeepTheirPlaceInUnits();
    void typeScaleFollowsTheWindow_data();
    void typeScaleFollowsTheWindow();
    void headingTakesOneLineOfItsBox();
    void longTextsScrollAtTheScaleSize();
    void buttonsOfAScreenShareOneSize();
    void picturesScaleWithTheWindow_data();
    void picturesScaleWithTheWindow();
    void picturesAreDrawnWholeInTheirProportions_data();
    void picturesAreDrawnWholeInTheirProportions();
    void timerTicksUntilStopped();
    void timerTicksWhileAMessageBoxIsOpen();
    void endDialogEndsRunModal();
    void closingTheWindowAsksTheDialog();
    void iconsComeFromTheResources();
    void decoderLoadsOnlyPictures_data();
    void decoderLoadsOnlyPictures();
    void decoderStretches_data();
    void decoderStretches();

private:
    bool ShowAt(const QSize& size);
    QString WritePicture(const QString& name, const QSize& size, const char* format);

    CQtPictureDecoder m_decoder;
    CRecordingSink m_sink;
    std::unique_ptr<CQtDialogSurface> m_surface;
    std::unique_ptr<QTemporaryDir> m_folder;
};

void CTestQtDialogSurface::init()
{
    m_sink = CRecordingSink();
    m_surface = std::make_unique<CQtDialogSurface>(m_decoder, "tavrino");
    QVERIFY(m_surface->CreateFromTemplate(
        FindResource(ResourceType::Dialog, ResourceId::PortraitTemplate), m_sink));
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
}

void CTestQtDialogSurface::cleanup()
{
    m_surface.reset();
    m_folder.reset();
}

bool CTestQtDialogSurface::ShowAt(const QSize& size)
{
    QWidget* window = m_surface->DialogWindow();
    window->resize(size);
    window->show();
    return QTest::qWaitForWindowExposed(window) && window->size() == size;
}

QString CTestQtDialogSurface::WritePicture(const QString& name, const QSize& size,
                                           const char* format)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(40, 120, 200));
    const QString path = m_folder->filePath(name);
    return image.save(path, format) ? path : QString();
}

void CTestQtDialogSurface::createsTheTemplateControls_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("visible");
    QTest::newRow("menu button 0") << 1000 << "button"
                                   << "Button1" << false;
    QTest::newRow("menu button 5") << 1008 << "button"
                                   << "Button7" << false;
    QTest::newRow("heading") << 1002 << "label"
                             << "Tavrino" << true;
    QTest::newRow("body") << 1020 << "label"
                          << "" << true;
    QTest::newRow("picture") << 1023 << "picture"
                             << "" << true;
    QTest::newRow("centre") << 1009 << "button"
                            << "" << true;
    QTest::newRow("left") << 1010 << "button"
                          << "" << false;
    QTest::newRow("line store") << 1014 << "list"
                                << "" << false;
}

void CTestQtDialogSurface::createsTheTemplateControls()
{
    QFETCH(int, id);
    QFETCH(QString, kind);
    QFETCH(QString, text);
    QFETCH(bool, visible);

    QCOMPARE(m_sink.initCount, 1);
    QWidget* window = m_surface->DialogWindow();
    QCOMPARE(window->windowTitle(), QString("Tavrino"));
    QVERIFY(!window->isVisible()); // only RunModal shows it
    QVERIFY(m_surface->HasControl(id));
    QWidget* widget = m_surface->ControlWidget(id);
    QVERIFY(widget != nullptr);
    const QHash<QString, bool> isKind = {
        {"button", qobject_cast<CWrappingButton*>(widget) != nullptr},
        {"label", qobject_cast<CScrollingText*>(widget) != nullptr},
        {"picture", qobject_cast<CPictureLabel*>(widget) != nullptr},
        {"list", qobject_cast<QListWidget*>(widget) != nullptr}};
    QVERIFY(isKind.value(kind));
    QCOMPARE(QString::fromStdString(m_surface->GetControlText(id)), text);
    QCOMPARE(widget->isVisibleTo(window), visible);

    // The line store is never shown, whatever the dialog asks.
    m_surface->ShowControl(ControlId::LineStoreList, Visibility::Shown);
    QVERIFY(!m_surface->ControlWidget(ControlId::LineStoreList)->isVisibleTo(window));
    QVERIFY(!m_surface->HasControl(200));
    m_surface->SetControlText(200, "x");
    QCOMPARE(m_surface->GetControlText(200), Text());
}

void CTestQtDialogSurface::refusesAnUnreadableTemplate()
{
    const std::vector<std::uint8_t> truncated(10, 0);
    CRecordingSink sink;
    QVERIFY(!m_surface->CreateFromTemplate(truncated, sink));
    QCOMPARE(sink.initCount, 0);
    QVERIFY(!m_surface->HasControl(ControlId::Heading));
    QVERIFY(!m_surface->MapDialogRect({0, 0, 10, 10}));
}

void CTestQtDialogSurface::controlTextsAreShownAsTheyStand()
{
    // A stray Windows-1252 byte is shown as its character; markup and '&' stay text.
    m_surface->SetControlText(ControlId::BodyText, "Gr\xfc\xdf <b>Gott</b> & Co");
    CScrollingText* body = TextOf(*m_surface, ControlId::BodyText);
    QCOMPARE(body->Text(), QString("Grüß <b>Gott</b> & Co"));
    QCOMPARE(body->Lines(), QStringList{"Grüß <b>Gott</b> & Co"});
    QCOMPARE(m_surface->GetControlText(ControlId::BodyText), Text("Grüß <b>Gott</b> & Co"));

    m_surface->SetControlText(ControlId::MenuButton0, "Bremsen & Kupplung");
    const auto* button =
        qobject_cast<CWrappingButton*>(m_surface->ControlWidget(ControlId::MenuButton0));
    QCOMPARE(button->Label(), QString("Bremsen & Kupplung"));
    QVERIFY(button->shortcut().isEmpty());
}

void CTestQtDialogSurface::buttonClicksReachTheDialog_data()
{
    QTest::addColumn<int>("id");
    for (int id : {1000, 1001, 1005, 1006, 1007, 1008, 1009, 1010, 1011})
    {
        QTest::addRow("%d", id) << id;
    }
}

void CTestQtDialogSurface::buttonClicksReachTheDialog()
{
    QFETCH(int, id);
    m_surface->ShowControl(id, Visibility::Shown);
    QVERIFY(ShowAt(QSize(480, 640)));
    m_sink.messages.clear();
    QTest::mouseClick(m_surface->ControlWidget(id), Qt::LeftButton);
    QCOMPARE(m_sink.messages.size(), std::size_t{1});
    QCOMPARE(m_sink.messages[0].kind, MessageKind::Click);
    QCOMPARE(m_sink.messages[0].controlId, id);
}

void CTestQtDialogSurface::pictureTapsReachTheDialog()
{
    const QString path = WritePicture("bild.png", QSize(200, 260), "PNG");
    m_surface->SetControlPicture(ControlId::Picture, m_surface->LoadPicture(path.toStdString()));
    QVERIFY(ShowAt(QSize(240, 320)));
    QWidget* picture = m_surface->ControlWidget(ControlId::Picture);
    m_sink.messages.clear();

    QTest::mouseClick(picture, Qt::LeftButton, {}, QPoint(100, 100));
    QCOMPARE(m_sink.Count(MessageKind::Click), 1);
    QCOMPARE(m_sink.messages.back().controlId, ControlId::Picture);

    // A finger that slides off the picture before lifting does not count.
    QTest::mousePress(picture, Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseRelease(picture, Qt::LeftButton, {}, QPoint(-20, 100));
    QCOMPARE(m_sink.Count(MessageKind::Click), 1);
}

void CTestQtDialogSurface::resizePlacesEveryControlAgain_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("portrait") << QSize(480, 640);
    QTest::newRow("small portrait") << QSize(240, 320);
    QTest::newRow("landscape") << QSize(640, 480);
    QTest::newRow("large landscape") << QSize(1024, 768);
    QTest::newRow("narrow") << QSize(300, 900);
}

void CTestQtDialogSurface::resizePlacesEveryControlAgain()
{
    QFETCH(QSize, size);
    QVERIFY(ShowAt(QSize(400, 400)));
    const int sizeChanges = m_sink.Count(MessageKind::SizeChanged);
    QVERIFY(sizeChanges >= 1); // the first showing counts as one
    for (int id : ControlId::MenuButtons)
    {
        m_surface->SetControlText(id, LongText.left(40).toStdString());
        m_surface->ShowControl(id, Visibility::Shown);
    }
    m_surface->SetControlText(ControlId::BodyText,
                              "Dieses Programm ist nur eine Hilfestellung, für die Einhaltung der "
                              "gültigen Vorschriften und Richtlinien ist jeder TF selbst "
                              "verantwortlich!");

    QWidget* window = m_surface->DialogWindow();
    window->resize(size);
    QTRY_COMPARE(window->size(), size);
    QVERIFY(m_sink.Count(MessageKind::SizeChanged) > sizeChanges);
    QCOMPARE(m_surface->GetScreenSize(), (Size{size.width(), size.height()}));

    // The template's full extent is the window.
    QCOMPARE(m_surface->MapDialogRect({0, 0, 136, 134}), (Rect{0, 0, size.width(), size.height()}));
    for (const UnitPlace& place : PortraitPlaces)
    {
        const QRect expected = ToQRect(*m_surface->MapDialogRect(place.units));
        QWidget* widget = m_surface->ControlWidget(place.id);
        QVERIFY(window->rect().contains(widget->geometry()));
        if (!qobject_cast<CScrollingText*>(widget))
        {
            QCOMPARE(widget->geometry(), expected);
            continue;
        }
        // A text may reach down into the empty strip below its place, never onto a control.
        QCOMPARE(widget->geometry().topLeft(), expected.topLeft());
        QCOMPARE(widget->width(), expected.width());
        QVERIFY(widget->height() >= expected.height());
        for (const UnitPlace& other : PortraitPlaces)
        {
            const QRect otherPlace = ToQRect(*m_surface->MapDialogRect(other.units));
            if (other.id != place.id && !otherPlace.intersects(expected))
            {
                QVERIFY2(!otherPlace.intersects(widget->geometry()),
                         qPrintable(QString("%1 onto %2").arg(place.id).arg(other.id)));
            }
        }
    }
    QCOMPARE(m_surface->ControlWidget(ControlId::RightButton)->geometry().bottom(),
             size.height() - 1);
    // Short texts need no scrolling at any size.
    for (int id : {ControlId::Heading, ControlId::SubHeading, ControlId::BodyText})
    {
        CScrollingText* text = TextOf(*m_surface, id);
        QVERIFY2(text->ContentHeight() <= text->height() && !text->MoreBelow(),
                 qPrintable(QString::number(id)));
    }
}

void CTestQtDialogSurface::deferredMovesKeepTheirPlaceInUnits()
{
    QVERIFY(ShowAt(QSize(480, 640)));
    const Rect units = {4, 23, 60, 25};
    QVERIFY(!m_surface->DeferControlMove(ControlId::CentreButton, {0, 0, 5, 5}));
    QVERIFY(!m_surface->EndDeferredMoves());

    QVERIFY(m_surface->BeginDeferredMoves(2));
    QVERIFY(m_surface->DeferControlMove(ControlId::CentreButton, *m_surface->MapDialogRect(units)));
    QVERIFY(!m_surface->DeferControlMove(4711, {0, 0, 5, 5}));
    // Nothing moves before the batch ends.
    QCOMPARE(m_surface->ControlWidget(ControlId::CentreButton)->geometry(),
             ToQRect(*m_surface->MapDialogRect({53, 102, 31, 32})));
    QVERIFY(m_surface->EndDeferredMoves());
    QCOMPARE(m_surface->ControlWidget(ControlId::CentreButton)->geometry(),
             ToQRect(*m_surface->MapDialogRect(units)));

    m_surface->DialogWindow()->resize(240, 320);
    QTRY_COMPARE(m_surface->DialogWindow()->size(), QSize(240, 320));
    QCOMPARE(m_surface->ControlWidget(ControlId::CentreButton)->geometry(),
             ToQRect(*m_surface->MapDialogRect(units)));
}

void CTestQtDialogSurface::typeScaleFollowsTheWindow_data()
{
    QTest::addColumn<QSize>("window");
    QTest::newRow("240x320") << QSize(240, 320);
    QTest::newRow("480x640") << QSize(480, 640);
    QTest::newRow("800x480") << QSize(800, 480);
    QTest::newRow("1024x600") << QSize(1024, 600);
    QTest::newRow("smaller than the device") << QSize(150, 200);
}

void CTestQtDialogSurface::typeScaleFollowsTheWindow()
{
    QFETCH(QSize, window);
    QVERIFY(ShowAt(window));
    const TypeScale& scale = m_surface->CurrentTypeScale();
    QVERIFY(scale.floor >= 14);
    QVERIFY(scale.body >= scale.floor);
    QVERIFY(scale.subHeading >= scale.floor);
    QVERIFY(scale.heading >= scale.subHeading);
    QVERIFY(scale.buttonLargest >= scale.body);
    QCOMPARE(m_surface->BodyPixelSize(), scale.body);
    QCOMPARE(TextOf(*m_surface, ControlId::BodyText)->PixelSize(), scale.body);
    QCOMPARE(TextOf(*m_surface, ControlId::SubHeading)->PixelSize(), scale.subHeading);
    QCOMPARE(TextOf(*m_surface, ControlId::Heading)->PixelSize(), scale.heading);

    // A window turned keeps its sizes; a larger one has larger type, a smaller none smaller.
    const QFont font = m_surface->DialogWindow()->font();
    const TypeScale turned = ComputeTypeScale(window.transposed(), 1000, font);
    const TypeScale atDevice = ComputeTypeScale(QSize(240, 320), 1000, font);
    const TypeScale doubled = ComputeTypeScale(window * 2, 1000, font);
    QCOMPARE(turned.body, ComputeTypeScale(window, 1000, font).body);
    QCOMPARE(atDevice.body, 14);
    QVERIFY(doubled.body > scale.body);
    QVERIFY(scale.body >= atDevice.body);
}

void CTestQtDialogSurface::headingTakesOneLineOfItsBox()
{
    // Wide windows leave the heading a strip barely a line high: it still shows its accents
    // and descenders whole, without a mark that more follows.
    for (const QSize window :
         {QSize(240, 320), QSize(480, 640), QSize(1024, 600), QSize(320, 240), QSize(400, 240)})
    {
        QVERIFY(ShowAt(window));
        m_surface->SetControlText(ControlId::Heading, "Überprüfung");
        CScrollingText* heading = TextOf(*m_surface, ControlId::Heading);
        const QString name = QString("%1x%2").arg(window.width()).arg(window.height());
        QCOMPARE(heading->Lines().size(), 1);
        QVERIFY2(!heading->MoreBelow(), qPrintable(name));
        QVERIFY2(heading->verticalScrollBar()->maximum() == 0, qPrintable(name));
    }
}

void CTestQtDialogSurface::longTextsScrollAtTheScaleSize()
{
    QVERIFY(ShowAt(QSize(240, 320)));
    CScrollingText* body = TextOf(*m_surface, ControlId::BodyText);
    QStringList items;
    for (int i = 1; i <= 15; ++i)
    {
        items << QString("%1. Prüfpunkt %1: Hebel in Stellung bringen").arg(i);
    }
    m_surface->SetControlText(ControlId::BodyText, items.join('\n').toStdString());

    // Not shrunk: it scrolls, with a bar a finger can hold and a mark until the end is seen.
    QCOMPARE(body->PixelSize(), m_surface->BodyPixelSize());
    QVERIFY(body->ContentHeight() > body->height());
    QVERIFY(body->MoreBelow());
    QScrollBar* bar = body->verticalScrollBar();
    QVERIFY(bar->isVisible());
    QVERIFY(bar->width() >= 2 * m_surface->BodyPixelSize() - 1);
    QVERIFY(body->viewport()->width() <= body->width() - bar->width());
    bar->setValue(bar->maximum());
    QVERIFY(!body->MoreBelow());

    // Lines break at spaces only; nothing is lost.
    const QStringList lines = body->Lines();
    QString joined;
    for (qsizetype i = 0; i < lines.size(); ++i)
    {
        const bool endsParagraph =
            items.contains(lines[i].trimmed()) ||
            std::any_of(items.begin(), items.end(),
                        [&](const QString& item) { return item.endsWith(lines[i]); });
        QVERIFY2(lines[i].endsWith(' ') || endsParagraph, qPrintable(lines[i]));
        joined += lines[i] + (endsParagraph ? "\n" : "");
    }
    QCOMPARE(joined.trimmed(), items.join('\n'));

    // A new text starts at its top.
    m_surface->SetControlText(ControlId::BodyText, LongText.toStdString());
    QCOMPARE(bar->value(), 0);

    // A word wider than the box is broken inside, every piece within the box.
    const QString word =
        QString("Donaudampfschifffahrtsgesellschaftskapitän").repeated(10).left(400);
    m_surface->SetControlText(ControlId::BodyText, word.toStdString());
    QFont font = body->font();
    font.setPixelSize(body->PixelSize());
    const QStringList pieces = body->Lines();
    QVERIFY(pieces.size() > 5);
    QCOMPARE(pieces.join(QString()), word);
    for (const QString& piece : pieces)
    {
        QVERIFY(QFontMetrics(font).horizontalAdvance(piece) <= body->viewport()->width());
    }

    // Short again: no bar, no mark.
    m_surface->SetControlText(ControlId::BodyText, "Kurz");
    QVERIFY(!body->MoreBelow());
    QVERIFY(!bar->isVisible());
}

void CTestQtDialogSurface::buttonsOfAScreenShareOneSize()
{
    QVERIFY(ShowAt(QSize(480, 640)));
    const auto button = [this](int id)
    { return qobject_cast<CWrappingButton*>(m_surface->ControlWidget(id)); };
    const TypeScale& scale = m_surface->CurrentTypeScale();
    for (int id : ControlId::MenuButtons)
    {
        m_surface->SetControlText(id, "Bremsen");
        m_surface->ShowControl(id, Visibility::Shown);
    }
    QCOMPARE(m_surface->ButtonPixelSize(), scale.buttonLargest);

    // One long name takes every button of the page down with it, not below the body size.
    m_surface->SetControlText(ControlId::MenuButton3,
                              "Unregelmäßigkeiten beim Abstellen, Aufrüsten und Kuppeln der Wagen");
    const int shared = m_surface->ButtonPixelSize();
    QVERIFY(shared < scale.buttonLargest);
    QVERIFY(shared >= scale.body);
    for (int id : ControlId::MenuButtons)
    {
        QCOMPARE(button(id)->LabelPixelSize(), shared);
    }
    QCOMPARE(button(ControlId::LeftButton)->LabelPixelSize(), shared);

    // Hidden buttons do not count.
    m_surface->ShowControl(ControlId::MenuButton3, Visibility::Hidden);
    QCOMPARE(m_surface->ButtonPixelSize(), scale.buttonLargest);
}

void CTestQtDialogSurface::picturesScaleWithTheWindow_data()
{
    QTest::addColumn<QSize>("window");
    QTest::addColumn<QSize>("shown");
    QTest::newRow("portrait 240") << QSize(240, 320) << QSize(200, 260);
    QTest::newRow("portrait 480") << QSize(480, 640) << QSize(400, 520);
    QTest::newRow("landscape") << QSize(640, 480) << QSize(300, 390);
}

void CTestQtDialogSurface::picturesScaleWithTheWindow()
{
    QFETCH(QSize, window);
    QFETCH(QSize, shown);
    const QString path = WritePicture("bild.png", QSize(200, 260), "PNG");
    m_surface->SetControlPicture(ControlId::Picture, m_surface->LoadPicture(path.toStdString()));
    QVERIFY(ShowAt(window));

    auto* picture = qobject_cast<CPictureLabel*>(m_surface->ControlWidget(ControlId::Picture));
    QCOMPARE(picture->ImageRect(), QRect(QPoint(0, 0), shown));
    const Rect place = *m_surface->MapDialogRect({9, 1, 11, 11});
    QCOMPARE(picture->geometry(), QRect(QPoint(place.x, place.y), shown));
    QVERIFY(m_surface->DialogWindow()->rect().contains(picture->geometry()));

    m_surface->SetControlPicture(ControlId::Picture, nullptr);
    QVERIFY(picture->Image().isNull());
    QCOMPARE(picture->geometry(), ToQRect(place));
}

void CTestQtDialogSurface::picturesAreDrawnWholeInTheirProportions_data()
{
    QTest::addColumn<QSize>("window");
    QTest::addColumn<QSize>("pixels");
    QTest::addColumn<QSize>("frame"); // the size the dialog gives it; none: its own
    QTest::newRow("tall, its own size") << QSize(240, 320) << QSize(200, 800) << QSize();
    QTest::newRow("tall, landscape") << QSize(800, 480) << QSize(200, 800) << QSize();
    QTest::newRow("wide, stretched") << QSize(240, 320) << QSize(800, 200) << QSize(200, 260);
    QTest::newRow("square, stretched") << QSize(480, 640) << QSize(300, 300) << QSize(200, 260);
    QTest::newRow("square, landscape") << QSize(1024, 600) << QSize(300, 300) << QSize(200, 260);
}

void CTestQtDialogSurface::picturesAreDrawnWholeInTheirProportions()
{
    QFETCH(QSize, window);
    QFETCH(QSize, pixels);
    QFETCH(QSize, frame);
    const PictureHandle loaded =
        m_surface->LoadPicture(WritePicture("bild.png", pixels, "PNG").toStdString());
    const PictureHandle shown =
        frame.isValid() ? m_surface->StretchPicture(loaded, frame.width(), frame.height()) : loaded;
    QVERIFY(shown != nullptr);
    m_surface->SetControlPicture(ControlId::Picture, shown);
    QVERIFY(ShowAt(window));

    // The frame lies in the window; the picture inside it keeps its proportions and centre.
    auto* picture = qobject_cast<CPictureLabel*>(m_surface->ControlWidget(ControlId::Picture));
    QVERIFY(m_surface->DialogWindow()->rect().contains(picture->geometry()));
    const QRect drawn = picture->ImageRect();
    QVERIFY(picture->rect().contains(drawn));
    QVERIFY(drawn.width() == picture->width() || drawn.height() == picture->height());
    const double wanted = double(pixels.width()) / pixels.height();
    const double got = double(drawn.width()) / drawn.height();
    QVERIFY2(std::abs(got - wanted) <= wanted * 0.03, qPrintable(QString::number(got)));
    QVERIFY(std::abs(drawn.left() - (picture->width() - drawn.right() - 1)) <= 1);
    QVERIFY(std::abs(drawn.top() - (picture->height() - drawn.bottom() - 1)) <= 1);
}

void CTestQtDialogSurface::timerTicksUntilStopped()
{
    m_surface->StartTimer(7, 50);
    QTRY_VERIFY_WITH_TIMEOUT(m_sink.Count(MessageKind::Timer) >= 3, 5000);
    for (const DialogMessage& message : m_sink.messages)
    {
        QCOMPARE(message.timerId, 7);
    }
    m_surface->StopTimer(7);
    const int ticks = m_sink.Count(MessageKind::Timer);
    QTest::qWait(200);
    QCOMPARE(m_sink.Count(MessageKind::Timer), ticks);
}

void CTestQtDialogSurface::timerTicksWhileAMessageBoxIsOpen()
{
    QVERIFY(ShowAt(QSize(480, 640)));
    // Markup in a message stays text.
    const Text text = "Bild konnte nicht geladen werden\n/pfad/<b>bild</b>.jpg";
    m_surface->StartTimer(1, 50);
    int ticksAtOpen = -1;
    bool seen = false;
    QString caption;
    QString shownText;
    QString okLabel;
    QTimer::singleShot(0, [&] { ticksAtOpen = m_sink.Count(MessageKind::Timer); });
    QTimer::singleShot(400,
                       [&]
                       {
                           auto* box = m_surface->DialogWindow()->findChild<CMessageBoxOverlay*>();
                           if (box != nullptr)
                           {
                               seen = true;
                               caption = box->Caption();
                               shownText = box->MessageView()->Text();
                               okLabel = box->OkButton()->text();
                               box->OkButton()->click();
                           }
                       });
    m_surface->ShowMessageBox(text);
    const int ticksAtClose = m_sink.Count(MessageKind::Timer);
    m_surface->StopTimer(1);

    QVERIFY(seen);
    QCOMPARE(caption, QString("tavrino"));
    QCOMPARE(shownText, QString::fromStdString(text));
    QCOMPARE(okLabel, QString("OK"));
    QVERIFY(m_surface->DialogWindow()->findChild<CMessageBoxOverlay*>() == nullptr);
    QVERIFY(ticksAtOpen >= 0);
    QVERIFY(ticksAtClose > ticksAtOpen);
}

void CTestQtDialogSurface::endDialogEndsRunModal()
{
    bool shownWhileRunning = false;
    m_surface->StartTimer(1, 20);
    QTimer::singleShot(100,
                       [&]
                       {
                           shownWhileRunning = m_surface->DialogWindow()->isVisible();
                           m_surface->EndDialog(DialogResult::Cancel);
                       });
    QCOMPARE(m_surface->RunModal(), DialogResult::Cancel);
    QVERIFY(shownWhileRunning);
    QVERIFY(!m_surface->DialogWindow()->isVisible());

    // The dialog's timers end with it.
    const std::size_t messages = m_sink.messages.size();
    QTest::qWait(100);
    QCOMPARE(m_sink.messages.size(), messages);

    // Ended while it was being set up: it ends at once, without being shown.
    m_surface->EndDialog(DialogResult::Ok);
    QCOMPARE(m_surface->RunModal(), DialogResult::Ok);
}

void CTestQtDialogSurface::closingTheWindowAsksTheDialog()
{
    bool visibleAfterClose = false;
    m_sink.onMessage = [this](const DialogMessage& message)
    {
        if (message.kind == MessageKind::Close)
        {
            m_surface->EndDialog(DialogResult::Ok);
        }
    };
    QTimer::singleShot(100,
                       [&]
                       {
                           m_surface->DialogWindow()->close();
                           visibleAfterClose = m_surface->DialogWindow()->isVisible();
                       });
    QCOMPARE(m_surface->RunModal(), DialogResult::Ok);
    QCOMPARE(m_sink.Count(MessageKind::Close), 1);
    QVERIFY(visibleAfterClose);
}

void CTestQtDialogSurface::iconsComeFromTheResources()
{
    QCOMPARE(m_surface->LoadIcon(4711), 0);
    const int icon = m_surface->LoadIcon(ResourceId::ProgramIcon);
    QVERIFY(icon != 0);
    m_surface->SetIcon(IconSize::Big, icon);
    m_surface->SetIcon(IconSize::Small, icon);
    QVERIFY(!m_surface->DialogWindow()->windowIcon().isNull());
}

void CTestQtDialogSurface::decoderLoadsOnlyPictures_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size"); // invalid: cannot be loaded
    QTest::newRow("png") << "bild.png" << QSize(30, 20);
    QTest::newRow("bmp") << "bild.bmp" << QSize(30, 20);
    QTest::newRow("jpeg") << "bild.jpg" << QSize(30, 20);
    QTest::newRow("png named jpg") << "png.jpg" << QSize(30, 20);
    QTest::newRow("text named png") << "text.png" << QSize();
    QTest::newRow("missing") << "fehlt.png" << QSize();
    QTest::newRow("fifo") << "fifo.png" << QSize();
    QTest::newRow("folder") << "ordner.png" << QSize();
    QTest::newRow("link to /dev/zero") << "null.png" << QSize();
    QTest::newRow("too wide") << "breit.png" << QSize();
    QTest::newRow("too many pixels") << "gross.png" << QSize();
}

void CTestQtDialogSurface::decoderLoadsOnlyPictures()
{
    QFETCH(QString, name);
    QFETCH(QSize, size);
    QVERIFY(!WritePicture("bild.png", QSize(30, 20), "PNG").isEmpty());
    QVERIFY(!WritePicture("bild.bmp", QSize(30, 20), "BMP").isEmpty());
    QVERIFY(!WritePicture("bild.jpg", QSize(30, 20), "JPEG").isEmpty());
    QVERIFY(!WritePicture("png.jpg", QSize(30, 20), "PNG").isEmpty());
    QVERIFY(
        !WritePicture("breit.png", QSize(CQtPictureDecoder::MaximumSide + 1, 1), "PNG").isEmpty());
    // Small on disk and within the side limit, but too large once decoded.
    QImage mono(5000, 5000, QImage::Format_Mono);
    mono.fill(0);
    QVERIFY(mono.save(m_folder->filePath("gross.png"), "PNG"));
    QFile text(m_folder->filePath("text.png"));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("Das ist kein Bild.\r\n");
    text.close();
    QVERIFY(::mkfifo(QFile::encodeName(m_folder->filePath("fifo.png")).constData(), 0600) == 0);
    QVERIFY(QDir(m_folder->path()).mkdir("ordner.png"));
    QVERIFY(QFile::link("/dev/zero", m_folder->filePath("null.png")));

    const Text path = m_folder->filePath(name).toStdString();
    const PictureHandle picture = m_surface->LoadPicture(path);
    QCOMPARE(picture != nullptr, size.isValid());
    if (picture)
    {
        QCOMPARE(QSize(picture->Width(), picture->Height()), size);
        QCOMPARE(picture->SourceFile(), path);
    }
}

void CTestQtDialogSurface::decoderStretches_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("made");
    QTest::newRow("picture step") << QSize(200, 260) << true;
    QTest::newRow("one pixel") << QSize(1, 1) << true;
    QTest::newRow("no width") << QSize(0, 260) << false;
    QTest::newRow("negative") << QSize(200, -1) << false;
    QTest::newRow("too wide") << QSize(100000, 10) << false;
    QTest::newRow("too many pixels") << QSize(8000, 8000) << false;
}

void CTestQtDialogSurface::decoderStretches()
{
    QFETCH(QSize, size);
    QFETCH(bool, made);
    const Text path = WritePicture("bild.png", QSize(30, 20), "PNG").toStdString();
    const PictureHandle source = m_surface->LoadPicture(path);
    QVERIFY(source != nullptr);

    const PictureHandle stretched = m_surface->StretchPicture(source, size.width(), size.height());
    QCOMPARE(stretched != nullptr, made);
    if (stretched)
    {
        QCOMPARE(QSize(stretched->Width(), stretched->Height()), size);
        QCOMPARE(stretched->SourceFile(), path);
    }
    QCOMPARE(QSize(source->Width(), source->Height()), QSize(30, 20));
    QVERIFY(m_surface->StretchPicture(nullptr, 200, 260) == nullptr);
}

QTEST_MAIN(CTestQtDialogSurface)
#include "TestQtDialogSurface.moc"
