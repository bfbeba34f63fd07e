// Turns the bytes a terminal sends into key presses: plain characters, and the escape
// sequences of the arrow and page keys and of the keypad's Enter. A sequence the program does not
// know is dropped whole, so that none of its bytes is taken for a button key.
#pragma once

#include <optional>
#include <string>

enum class KeyKind
{
    Character,
    Up,
    Down,
    Left,
    Right,
    Enter, // the keypad's in application mode; the main Enter key is the character CR
    PageUp,
    PageDown,
};

struct KeyPress
{
    KeyKind kind = KeyKind::Character;
    char character = 0; // for KeyKind::Character
    bool operator==(const KeyPress&) const = default;
};

class CKeyParser
{
public:
    // The key that this byte completes, if any.
    std::optional<KeyPress> Feed(unsigned char byte);
    // True inside an escape sequence: the caller waits a moment for the rest, then calls
    // Abandon, because an Escape key alone sends nothing more.
    bool IsPending() const { return m_state != State::Ground; }
    void Abandon();

private:
    enum class State
    {
        Ground,
        Escape,          // after ESC
        ControlSequence, // after ESC [
        SingleShift,     // after ESC O
    };
    std::optional<KeyPress> Finish(unsigned char finalByte);

    State m_state = State::Ground;
    std::string m_parameters;
};
