// Drives the window program through a file of steps and saves what its window shows, so that
// the pictures of the README and the guide come from the program itself and can be made again.
//
// Linked into a copy of the program, it hooks itself into the application when Qt creates it,
// as the benchmarks' first-frame reporter does: the program itself carries no hook. It reads
// TAVRINO_SCREENSHOT_STEPS (the steps file), TAVRINO_SCREENSHOT_FOLDER (where pictures go, "."
// unless set) and TAVRINO_SCREENSHOT_SUFFIX (added to every picture's name).
//
// One step a line; blank lines and lines starting with '#' are skipped:
//   key NAME     a key press and release, NAME as Qt spells it: Return, Left, Right, Space, 1
//   tap LABEL    a tap on the shown button whose label reads LABEL
//   wait MS      lets MS milliseconds pass
//   shot NAME    saves the window as FOLDER/NAME SUFFIX.png
// After the last step the window is closed as a user closes it. A step that cannot be done
// ends the program at once with a line on standard error and status 1.
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

class QWidget;

struct ScreenshotStep
{
    int line = 0; // in the steps file, for messages
    QString verb;
    QString argument;
};

// The steps of `text`; on a line it cannot read, nothing and `error` says which.
QList<ScreenshotStep> ParseScreenshotSteps(const QString& text, QString& error);

class CScreenshotScript : public QObject
{
public:
    CScreenshotScript(QList<ScreenshotStep> steps, QString folder, QString suffix, QObject* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void RunNextStep();
    [[noreturn]] void Fail(const ScreenshotStep& step, const QString& what);

    QList<ScreenshotStep> m_steps;
    QString m_folder;
    QString m_suffix;
    qsizetype m_next = 0;
    QPointer<QWidget> m_window; // null until the window has been drawn once
};
