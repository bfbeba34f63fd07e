// What the keys of the window do. Hardware buttons of cab devices send these keys, and on a
// desktop they spare the mouse: each presses the control at its place, whatever has the focus.
#pragma once

#include <Qt>
#include <optional>

struct KeyCommand
{
    enum Kind
    {
        PressControl, // as a tap on `controlId`
        SwitchTheme,
    };
    Kind kind = PressControl;
    int controlId = 0;
    bool operator==(const KeyCommand&) const = default;
};

// Left, Right and Enter (either one) press the left, right and centre buttons; 1 to 6, on the
// main keys or the keypad, the menu buttons in their order (1 top left, 2 top right, ...);
// Space the picture; n switches the theme. Keys held with Ctrl, Alt or Meta do nothing here,
// so that they keep whatever the system gives them.
std::optional<KeyCommand> CommandForKey(int key, Qt::KeyboardModifiers modifiers);
