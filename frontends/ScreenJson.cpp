#include "frontends/ScreenJson.h"

#include "platform/ByteWords.h"
#include "platform/CodePage.h"
#include "platform/ControlId.h"
#include "platform/Utf8.h"

#include <cstdint>
#include <cstdio>
#include <sstream>

void AppendJsonString(Text& json, std::string_view text)
{
    json += '"';
    // What needs no escape and is valid UTF-8 is copied in runs, so that a store of millions
    // of lines is written at the speed of copying it.
    std::size_t run = 0;
    std::size_t i = 0;
    const auto flush = [&] { json.append(text.substr(run, i - run)); };
    while (i < text.size())
    {
        // Eight plain bytes at once: none from 0x80, none below 0x20, no quote, no backslash.
        if (text.size() - i >= 8)
        {
            const std::uint64_t word = WordAt(text.data() + i);
            if (((word & HighBits) | BytesBelow(word, 0x20) | ZeroBytes(word ^ ('"' * EachByte)) |
                 ZeroBytes(word ^ ('\\' * EachByte))) == 0)
            {
                i += 8;
                continue;
            }
        }
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c < 0x80 && c != '"' && c != '\\')
        {
            ++i;
            continue;
        }
        if (c >= 0x80)
        {
            const std::size_t length = ValidUtf8SequenceLength(text.substr(i));
            if (length > 0)
            {
                i += length;
                continue;
            }
        }
        flush();
        switch (c)
        {
        case '"':
            json += "\\\"";
            break;
        case '\\':
            json += "\\\\";
            break;
        case '\n':
            json += "\\n";
            break;
        case '\r':
            json += "\\r";
            break;
        case '\t':
            json += "\\t";
            break;
        default:
            if (c >= 0x80)
                AppendUtf8(json, Windows1252ToUnicode(c)); // made displayable
            else
            {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                json += escaped;
            }
        }
        run = ++i;
    }
    flush();
    json += '"';
}

Text JsonString(std::string_view text)
{
    Text json;
    json.reserve(text.size() + 2);
    AppendJsonString(json, text);
    return json;
}

namespace
{
const char* Flag(bool value)
{
    return value ? "true" : "false";
}

template <typename Enum> Text Number(Enum value)
{
    return DecimalText(static_cast<int>(value));
}

// The names and values of the shared state, in the order users know them.
Text StateJson(const SharedState& s)
{
    const std::pair<const char*, Text> fields[] = {
        {"g_appFolder", JsonString(s.g_appFolder)},
        {"g_started", Flag(s.g_started)},
        {"g_viewMode", Number(s.g_viewMode)},
        {"g_screenState", Number(s.g_screenState)},
        {"g_leftButtonMode", Number(s.g_leftButtonMode)},
        {"g_backBlocked", Flag(s.g_backBlocked)},
        {"g_menuFirst", DecimalText(s.g_menuFirst)},
        {"g_subMenuFirst", DecimalText(s.g_subMenuFirst)},
        {"g_chosenFolderIndex", DecimalText(s.g_chosenFolderIndex)},
        {"g_folderName", JsonString(s.g_folderName)},
        {"g_listFolder", JsonString(s.g_listFolder)},
        {"g_pressedButton", DecimalText(s.g_pressedButton)},
        {"g_currentLine", DecimalText(s.g_currentLine)},
        {"g_stepCounter", DecimalText(s.g_stepCounter)},
        {"g_yesTarget", DecimalText(s.g_yesTarget)},
        {"g_noTarget", DecimalText(s.g_noTarget)},
        {"g_headingText", JsonString(s.g_headingText)},
        {"g_subHeadingText", JsonString(s.g_subHeadingText)},
        {"g_bodyText", JsonString(s.g_bodyText)},
        {"g_picturePath", JsonString(s.g_picturePath)},
        {"g_stopwatchSeconds", DecimalText(s.g_stopwatchSeconds)},
        {"g_stopwatchRunning", DecimalText(s.g_stopwatchRunning)},
        {"g_stopwatchName", JsonString(s.g_stopwatchName)},
    };
    Text json = "{";
    for (const auto& [name, value] : fields)
    {
        if (json.size() > 1)
            json += ", ";
        json += '"';
        json += name;
        json += "\": ";
        json += value;
    }
    return json + "}";
}
} // namespace

void WriteScreenJson(std::ostream& output, std::string_view event,
                     const std::vector<Text>& messages, const CHeadlessSurface& surface,
                     const CMainDialog& dialog, StoreKey storeKey)
{
    Text json = "{\"event\": " + JsonString(event) + ", \"messages\": [";
    for (std::size_t i = 0; i < messages.size(); ++i)
        json += (i > 0 ? ", " : "") + JsonString(messages[i]);
    json += "], \"ended\": ";
    const auto result = surface.Result();
    json += !result ? "null" : *result == DialogResult::Ok ? "\"ok\"" : "\"cancel\"";

    json += ", \"controls\": {";
    bool first = true;
    for (const auto& [id, control] : surface.Controls())
    {
        json += first ? "" : ", ";
        first = false;
        const Rect& r = control.place;
        json += "\"" + DecimalText(id) + "\": {\"text\": " + JsonString(control.text) +
                ", \"visible\": " + Flag(control.visibility == Visibility::Shown) +
                ", \"rect\": [" + DecimalText(r.x) + ", " + DecimalText(r.y) + ", " +
                DecimalText(r.width) + ", " + DecimalText(r.height) + "]}";
    }
    json += "}, \"picture\": ";
    const auto picture = surface.Controls().contains(ControlId::Picture)
                             ? surface.Controls().at(ControlId::Picture).picture
                             : nullptr;
    if (picture)
        json += "{\"file\": " + JsonString(picture->SourceFile()) +
                ", \"width\": " + DecimalText(picture->Width()) +
                ", \"height\": " + DecimalText(picture->Height()) + "}";
    else
        json += "null";
    json += ", \"timer\": ";
    json += Flag(surface.IsTimerRunning());
    if (storeKey == StoreKey::Written)
    {
        // Entry by entry, so that a list of millions of lines is never held as JSON whole.
        json += ", \"store\": [";
        output << json;
        json.clear();
        const LineStore& store = dialog.Store();
        constexpr std::size_t chunkBytes = 64 * 1024;
        for (std::int32_t i = 0; i < store.Count(); ++i)
        {
            if (i > 0)
                json += ", ";
            AppendJsonString(json, store.GetText(i));
            if (json.size() >= chunkBytes)
            {
                output << json;
                json.clear();
            }
        }
        json += "]";
    }
    json += ", \"state\": " + StateJson(dialog.State()) + "}";
    output << json;
}

Text ScreenJson(std::string_view event, const std::vector<Text>& messages,
                const CHeadlessSurface& surface, const CMainDialog& dialog, StoreKey storeKey)
{
    std::ostringstream json;
    WriteScreenJson(json, event, messages, surface, dialog, storeKey);
    return json.str();
}
