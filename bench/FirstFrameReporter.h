// Tells whoever started a window program when its first window has been drawn: one line
// "frame" on standard output once the first paint of a top-level window has reached the
// screen, and then every event loop is asked to end. The benchmark driver times the line from
// the start of the process, so loading the libraries counts as it does for a user.
//
// Linked into a program, it hooks itself into the application when Qt creates it: the program
// itself is left as it is.
#pragma once

#include <QObject>

class CFirstFrameReporter : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool m_painted = false;
};
