// Capital letters to small ones: for orders and comparisons that do not look at case.
#pragma once

#include "platform/Text.h"

#include <string_view>

// The small letter of a capital, accents kept: the Latin letters up to Latin Extended-A,
// those of Latin Extended-B that Romanian and pinyin use, Greek and Cyrillic. Any other
// character stays as it is.
char32_t ToSmallLetter(char32_t character);

// The text with the ASCII capitals and the Latin-1 capitals ("À" to "Þ" in UTF-8) made small,
// every other byte as it stands: enough for the names of German lists, and safe for names
// whose bytes are no valid UTF-8.
Text FoldLatin1Case(std::string_view text);
