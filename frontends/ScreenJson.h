// One screen of the dialog as one line of JSON: the output of `play`.
#pragma once

#include "app/MainDialog.h"
#include "platform/headless/HeadlessSurface.h"

#include <ostream>
#include <string_view>
#include <vector>

// A JSON string literal, quotes included; invalid UTF-8 is made displayable first.
Text JsonString(std::string_view text);
// The same, appended to `json`.
void AppendJsonString(Text& json, std::string_view text);

enum class StoreKey
{
    Written,
    Left, // the line has no "store" key: the store is as on the line before
};

// Writes the line for the screen after `event`, without a line end.
void WriteScreenJson(std::ostream& output, std::string_view event,
                     const std::vector<Text>& messages, const CHeadlessSurface& surface,
                     const CMainDialog& dialog, StoreKey storeKey = StoreKey::Written);

// The same line as a text.
Text ScreenJson(std::string_view event, const std::vector<Text>& messages,
                const CHeadlessSurface& surface, const CMainDialog& dialog,
                StoreKey storeKey = StoreKey::Written);
