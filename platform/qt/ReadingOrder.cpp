#include "platform/qt/ReadingOrder.h"

#include <QWidget>
#include <algorithm>

std::vector<QWidget*> InReadingOrder(std::vector<QWidget*> widgets)
{
    std::stable_sort(widgets.begin(), widgets.end(),
                     [](const QWidget* a, const QWidget* b)
                     { return a->geometry().top() < b->geometry().top(); });
    // Buttons of one row may differ in height by a few pixels and so in their tops; a row is
    // what starts above the middle of its first widget.
    auto rowStart = widgets.begin();
    while (rowStart != widgets.end())
    {
        const QRect first = (*rowStart)->geometry();
        const int rowLimit = first.top() + first.height() / 2;
        auto rowEnd = std::find_if(rowStart, widgets.end(),
                                   [rowLimit](const QWidget* widget)
                                   { return widget->geometry().top() > rowLimit; });
        std::stable_sort(rowStart, rowEnd,
                         [](const QWidget* a, const QWidget* b)
                         { return a->geometry().left() < b->geometry().left(); });
        rowStart = rowEnd;
    }
    return widgets;
}

void SetReadingFocusOrder(const std::vector<QWidget*>& widgets)
{
    const std::vector<QWidget*> ordered = InReadingOrder(widgets);
    for (std::size_t i = 1; i < ordered.size(); ++i)
        QWidget::setTabOrder(ordered[i - 1], ordered[i]);
}
