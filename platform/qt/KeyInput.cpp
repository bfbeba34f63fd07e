#include "platform/qt/KeyInput.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

CKeyInput::CKeyInput(QWidget* window, std::function<KeyUse(const KeyCommand&)> onCommand,
                     std::function<bool()> boxOpen)
    : m_window(window), m_onCommand(std::move(onCommand)), m_boxOpen(std::move(boxOpen))
{
    qApp->installEventFilter(this);
}

CKeyInput::~CKeyInput()
{
    qApp->removeEventFilter(this);
}

bool CKeyInput::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease)
        return false;
    // A key reaches the window's QWindow first and then the widget with the focus; only the
    // widget counts, so that a key acts once.
    const auto* widget = qobject_cast<const QWidget*>(watched);
    if (widget == nullptr || (widget != m_window && !m_window->isAncestorOf(widget)))
        return false;
    const auto* key = static_cast<const QKeyEvent*>(event);
    if (type == QEvent::KeyRelease)
    {
        if (key->isAutoRepeat())
            return m_usedKeys.contains(key->key());
        return m_usedKeys.remove(key->key());
    }
    const std::optional<KeyCommand> command = CommandForKey(key->key(), key->modifiers());
    if (!command)
        return false;
    if (key->isAutoRepeat())
        return m_usedKeys.contains(key->key());
    if (command->kind != KeyCommand::SwitchTheme && m_boxOpen())
        return false;
    // Qt counts the arrow keys as Tab: a press that hides the focused button would pass the
    // focus on as if by Tab and show the focus frame, which a tap on the same button does not.
    const bool framed = m_window->testAttribute(Qt::WA_KeyboardFocusChange);
    const KeyUse use = m_onCommand(*command);
    if (!framed)
        m_window->setAttribute(Qt::WA_KeyboardFocusChange, false);
    if (use == KeyUse::PassedOn)
        return false;
    m_usedKeys.insert(key->key());
    return true;
}
