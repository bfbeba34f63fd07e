// Hides the mouse pointer while the screen is worked by touch, as on a kiosk device: the
// first touch blanks it, and moving a real mouse shows it again. Mouse events that Qt makes
// up from a touch do not count as a mouse.
//
// Install it on the application (qApp->installEventFilter); it sees every event first.
#pragma once

#include <QObject>

class CTouchPointerHider final : public QObject
{
    Q_OBJECT

public:
    explicit CTouchPointerHider(QObject* parent = nullptr);
    ~CTouchPointerHider() override;
    CTouchPointerHider(const CTouchPointerHider&) = delete;
    CTouchPointerHider& operator=(const CTouchPointerHider&) = delete;

    bool PointerHidden() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnTouch();
    void OnMouse();

    bool m_hidden = false;
};
