#include "platform/qt/KeyMap.h"

#include "platform/ControlId.h"

std::optional<KeyCommand> CommandForKey(int key, Qt::KeyboardModifiers modifiers)
{
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return std::nullopt;
    const auto press = [](int id) { return KeyCommand{KeyCommand::PressControl, id}; };
    switch (key)
    {
    case Qt::Key_Left:
        return press(ControlId::LeftButton);
    case Qt::Key_Right:
        return press(ControlId::RightButton);
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return press(ControlId::CentreButton);
    case Qt::Key_Space:
        return press(ControlId::Picture);
    case Qt::Key_N:
        return KeyCommand{KeyCommand::SwitchTheme, 0};
    default:
        break;
    }
    if (key >= Qt::Key_1 && key <= Qt::Key_6)
        return press(ControlId::MenuButtons[key - Qt::Key_1]);
    return std::nullopt;
}
