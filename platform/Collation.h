// The order of the menus: alphabetical without regard to case, umlauts and accented letters
// beside their base letters, and no two different texts equal.
#pragma once

#include "platform/Text.h"

#include <string_view>

// True when `left` comes before `right`.
bool CollatesBefore(std::string_view left, std::string_view right);

// The key that decides the order first: small letters, accents and combining marks dropped,
// ligatures and "ß" spelled out. Compared byte by byte, as UTF-8 keeps the order of code
// points. A stray byte counts as its Windows-1252 character.
Text MakeCollationKey(std::string_view text);

// CollatesBefore for texts whose keys are made already, so that a sort makes each key once.
bool KeyedCollatesBefore(const Text& leftKey, std::string_view left, const Text& rightKey,
                         std::string_view right);
