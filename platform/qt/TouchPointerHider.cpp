#include "platform/qt/TouchPointerHider.h"

#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>

CTouchPointerHider::CTouchPointerHider(QObject* parent) : QObject(parent) {}

CTouchPointerHider::~CTouchPointerHider()
{
    OnMouse();
}

bool CTouchPointerHider::PointerHidden() const
{
    return m_hidden;
}

bool CTouchPointerHider::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type())
    {
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
        OnTouch();
        break;
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
        // The pointer events a touch brings along must not bring the pointer back.
        if (static_cast<QMouseEvent*>(event)->source() == Qt::MouseEventNotSynthesized)
            OnMouse();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void CTouchPointerHider::OnTouch()
{
    if (m_hidden)
        return;
    // An override cursor covers every widget, the message boxes too, whatever cursor it sets.
    QGuiApplication::setOverrideCursor(QCursor(Qt::BlankCursor));
    m_hidden = true;
}

void CTouchPointerHider::OnMouse()
{
    if (!m_hidden)
        return;
    QGuiApplication::restoreOverrideCursor();
    m_hidden = false;
}
