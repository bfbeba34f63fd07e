#include "platform/qt/QtDialogWindow.h"

#include <QCloseEvent>
#include <QResizeEvent>

CQtDialogWindow::CQtDialogWindow() : QWidget(nullptr) {}

void CQtDialogWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    emit Resized();
}

void CQtDialogWindow::closeEvent(QCloseEvent* event)
{
    event->ignore();
    emit CloseRequested();
}
