// The dialog's top-level window. It tells the surface about size changes and turns a close
// from the title bar into a request that the dialog answers; it never closes by itself.
#pragma once

#include <QWidget>

class CQtDialogWindow : public QWidget
{
    Q_OBJECT

public:
    CQtDialogWindow();

signals:
    void Resized();
    void CloseRequested();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
};
