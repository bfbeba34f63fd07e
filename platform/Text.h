// Text as the system handles it: UTF-8 bytes in a std::string.
//
// List files are converted to UTF-8 when they are read; file names keep their bytes as
// the file system gave them, so that a name read from a folder opens that very file even
// when it is not valid UTF-8. Markers and separators are all ASCII, so a byte test on them
// is a character test. Only surfaces that show text, and the JSON writer, need valid UTF-8:
// they pass texts through MakeDisplayable.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

using Text = std::string;

// The text without any of `characters` at either end.
std::string_view TrimCharacters(std::string_view text, std::string_view characters);

// Removes the space character U+0020 at both ends; tabs and other white space stay.
Text TrimSpaces(std::string_view text);

// Number of bytes of the first character: a whole UTF-8 sequence, or 1 for a byte that
// starts no valid sequence. 0 for an empty text.
std::size_t FirstCharacterLength(std::string_view text);

// The text without its first character (see FirstCharacterLength).
Text WithoutFirstCharacter(std::string_view text);

// True when the text starts with the given character (an ASCII byte or a UTF-8 sequence).
bool StartsWithCharacter(std::string_view text, std::string_view character);

// Reads an optional sign and the leading decimal digits after leading white space; 0 when
// there are none. A value beyond the 32-bit range is held at that range's limit.
std::int32_t ReadLeadingInteger(std::string_view text);

// Plain decimal digits, with a leading "-" when negative.
Text DecimalText(std::int64_t value);

// Valid UTF-8 for display: every byte that starts no valid UTF-8 sequence is read as a
// Windows-1252 character, so that a name with stray bytes stays readable.
Text MakeDisplayable(std::string_view text);
