// UTF-8, the form of every text inside the program, one character at a time.
//
// Names read from folders keep their bytes, so a text may hold bytes that start no valid
// sequence; wherever a character is needed, such a byte stands for its Windows-1252
// character, as it did on the devices the names come from.
#pragma once

#include "platform/Text.h"

#include <cstddef>
#include <string_view>

// The whole reading of the sequence at the start of the view, which ValidUtf8SequenceLength
// calls for what its quick tests leave.
std::size_t ReadUtf8SequenceLength(std::string_view text);

// Length of the valid UTF-8 sequence that starts the view, or 0 when none starts there.
// Overlong forms, surrogates and values past U+10FFFF are not valid. Called for every letter
// of long texts: the characters of German text, of one and two bytes, are told apart here
// without a call.
inline std::size_t ValidUtf8SequenceLength(std::string_view text)
{
    if (!text.empty())
    {
        const auto lead = static_cast<unsigned char>(text[0]);
        if (lead < 0x80)
            return 1;
        if (lead >= 0xC2 && lead <= 0xDF && text.size() >= 2 &&
            (static_cast<unsigned char>(text[1]) & 0xC0) == 0x80)
            return 2;
    }
    return ReadUtf8SequenceLength(text);
}

// True when the byte starts a character: it continues no UTF-8 sequence.
bool StartsCharacter(char byte);

// How many bytes at the start of the text form whole valid characters.
std::size_t ValidUtf8PrefixLength(std::string_view text);

// True when the whole text is valid UTF-8.
bool IsValidUtf8(std::string_view text);

// Reads the character at the start of a text that is not empty and removes it: a whole
// valid sequence, or one byte that starts none, read as Windows-1252.
char32_t TakeCharacter(std::string_view& text);

// Appends the UTF-8 form of a code point.
void AppendUtf8(Text& text, char32_t codePoint);
