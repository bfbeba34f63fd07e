// Takes the keys of KeyMap before the widget with the focus sees them, so that they act the
// same wherever the focus is: a focused push button would otherwise take Space and Enter for
// itself, and the arrows for moving the focus. Keys it does not use pass on unchanged.
//
// Watches the whole application for the keys of one window; not copyable.
#pragma once

#include "platform/qt/KeyMap.h"

#include <QObject>
#include <QSet>
#include <functional>

class QWidget;

enum class KeyUse
{
    Used,     // the key did its work, or belongs to a control not shown: nobody else gets it
    PassedOn, // the focused widget gets the key as if it had not been watched
};

class CKeyInput : public QObject
{
    Q_OBJECT

public:
    // `onCommand` is called once per key press, never for the repeats of a held key: a held
    // Enter must not walk through a list. It is not called while the window is in a message
    // box's hands (`boxOpen`), except to switch the theme; the box answers its own keys.
    CKeyInput(QWidget* window, std::function<KeyUse(const KeyCommand&)> onCommand,
              std::function<bool()> boxOpen);
    ~CKeyInput() override;
    CKeyInput(const CKeyInput&) = delete;
    CKeyInput& operator=(const CKeyInput&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_window;
    std::function<KeyUse(const KeyCommand&)> m_onCommand;
    std::function<bool()> m_boxOpen;
    QSet<int> m_usedKeys; // pressed and used: their release goes nowhere either
};
