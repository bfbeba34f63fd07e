// The reference for the window's start: a plain Qt dialog with the controls of Tavrino's
// dialog at their places, the start screen's texts, and nothing behind it. Its time to the
// first frame and its peak memory are what Qt itself costs.
#include "app/DialogTexts.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QWidget>

namespace
{
// Places in the dialog units of the portrait template, which fill the window.
constexpr int TemplateWidth = 136;
constexpr int TemplateHeight = 134;

struct ControlPlace
{
    int x, y, width, height;
};

QRect Pixels(const ControlPlace& place, const QSize& window)
{
    const double x = window.width() / static_cast<double>(TemplateWidth);
    const double y = window.height() / static_cast<double>(TemplateHeight);
    return QRect(qRound(place.x * x), qRound(place.y * y), qRound(place.width * x),
                 qRound(place.height * y));
}
} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle("Tavrino");
    const QSize size(480, 640);
    window.resize(size);

    const ControlPlace menuButtons[] = {{4, 23, 60, 25},  {72, 23, 60, 25}, {4, 51, 60, 23},
                                        {72, 51, 62, 23}, {4, 77, 60, 23},  {72, 77, 62, 23}};
    for (const ControlPlace& place : menuButtons)
    {
        auto* button = new QPushButton(&window);
        button->setGeometry(Pixels(place, size));
        button->hide();
    }
    auto* heading = new QLabel(DialogText::Title, &window);
    heading->setAlignment(Qt::AlignHCenter);
    heading->setGeometry(Pixels({6, 0, 128, 8}, size));
    auto* subHeading = new QLabel(DialogText::ByLine, &window);
    subHeading->setAlignment(Qt::AlignHCenter);
    subHeading->setGeometry(Pixels({2, 9, 132, 17}, size));
    auto* body = new QLabel(DialogText::StartNotice, &window);
    body->setWordWrap(true);
    body->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    body->setGeometry(Pixels({1, 26, 132, 73}, size));
    auto* picture = new QLabel(&window);
    picture->setGeometry(Pixels({9, 1, 11, 11}, size));
    picture->hide();
    auto* centre = new QPushButton(DialogText::Start, &window);
    centre->setDefault(true);
    centre->setGeometry(Pixels({53, 102, 31, 32}, size));
    auto* left = new QPushButton(&window);
    left->setGeometry(Pixels({4, 102, 44, 32}, size));
    left->hide();
    auto* right = new QPushButton(&window);
    right->setGeometry(Pixels({90, 102, 44, 32}, size));
    right->hide();
    auto* store = new QListWidget(&window);
    store->setGeometry(Pixels({2, 3, 8, 15}, size));
    store->hide();

    window.show();
    return application.exec();
}
