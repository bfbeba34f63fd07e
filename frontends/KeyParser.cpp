#include "frontends/KeyParser.h"

namespace
{
constexpr unsigned char Escape = 0x1B;
// Longer parameters come from no key; such bytes are dropped rather than stored.
constexpr std::size_t MaximumParameters = 16;

std::optional<KeyPress> Key(KeyKind kind)
{
    return KeyPress{kind, 0};
}
} // namespace

std::optional<KeyPress> CKeyParser::Feed(unsigned char byte)
{
    switch (m_state)
    {
    case State::Ground:
        break;
    case State::Escape:
        if (byte == '[')
        {
            m_state = State::ControlSequence;
            m_parameters.clear();
            return std::nullopt;
        }
        if (byte == 'O')
        {
            m_state = State::SingleShift;
            return std::nullopt;
        }
        // ESC before another key (Alt held, or Escape typed quickly): the ESC means nothing.
        m_state = State::Ground;
        break;
    case State::ControlSequence:
        if (byte >= 0x20 && byte <= 0x3F)
        {
            if (m_parameters.size() < MaximumParameters)
                m_parameters += static_cast<char>(byte);
            return std::nullopt;
        }
        if (byte >= 0x40 && byte <= 0x7E)
            return Finish(byte);
        // A control byte breaks the sequence off; the byte itself counts as typed.
        m_state = State::Ground;
        break;
    case State::SingleShift:
        if (byte >= 0x20 && byte <= 0x3F)
            return std::nullopt; // modifiers some terminals put before the final byte
        m_state = State::Ground;
        if (byte == 'A')
            return Key(KeyKind::Up);
        if (byte == 'B')
            return Key(KeyKind::Down);
        if (byte == 'C')
            return Key(KeyKind::Right);
        if (byte == 'D')
            return Key(KeyKind::Left);
        if (byte == 'M')
            return Key(KeyKind::Enter);
        if (byte >= 0x40 && byte <= 0x7E)
            return std::nullopt;
        break;
    }
    if (byte == Escape)
    {
        m_state = State::Escape;
        return std::nullopt;
    }
    return KeyPress{KeyKind::Character, static_cast<char>(byte)};
}

void CKeyParser::Abandon()
{
    m_state = State::Ground;
    m_parameters.clear();
}

std::optional<KeyPress> CKeyParser::Finish(unsigned char finalByte)
{
    m_state = State::Ground;
    // Arrows may carry modifiers ("1;5A"); the page keys are "5~" and "6~".
    const bool plainOrModified = m_parameters.empty() || m_parameters.starts_with("1;");
    if (finalByte == 'A' && plainOrModified)
        return Key(KeyKind::Up);
    if (finalByte == 'B' && plainOrModified)
        return Key(KeyKind::Down);
    if (finalByte == 'C' && plainOrModified)
        return Key(KeyKind::Right);
    if (finalByte == 'D' && plainOrModified)
        return Key(KeyKind::Left);
    if (finalByte == '~' && (m_parameters == "5" || m_parameters.starts_with("5;")))
        return Key(KeyKind::PageUp);
    if (finalByte == '~' && (m_parameters == "6" || m_parameters.starts_with("6;")))
        return Key(KeyKind::PageDown);
    return std::nullopt;
}
