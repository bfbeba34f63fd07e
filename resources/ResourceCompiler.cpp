// Compiles the readable dialog table and the program icon into C++ source: every dialog
// template in its binary layout and the icon's XPM text, as constant byte arrays that
// FindResource hands out.
//
//   tavrino-resource-compiler OUTPUT.cpp dialogs.table icon.xpm
//
// A fault in an input is reported as "FILE:LINE: message" on standard error, and the
// program ends with status 1 without writing OUTPUT.

#include "platform/DialogTemplate.h"
#include "platform/Utf8.h"

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <set>
#include <span>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace
{
struct Token
{
    Text text;
    bool quoted = false;
};

struct StyleWord
{
    std::string_view name;
    std::uint32_t value;
    bool staticType = false; // at most one of these per static
};

struct ControlKind
{
    std::string_view name;
    std::uint16_t windowClass;
    std::span<const StyleWord> words;
};

using namespace TemplateStyle;

constexpr StyleWord DialogWords[] = {
    {"popup", Popup},         {"caption", Caption}, {"sysmenu", SystemMenu}, {"setfont", SetFont},
    {"centre", CentreDialog}, {"visible", Visible}, {"border", Border},
};
constexpr StyleWord CommonControlWords[] = {
    {"visible", Visible},
    {"tabstop", TabStop},
    {"border", Border},
    {"vscroll", VerticalScroll},
};
constexpr StyleWord ButtonWords[] = {{"default", DefaultButton}, {"multiline", MultiLine}};
constexpr StyleWord StaticWords[] = {
    {"left", StaticLeft, true},     {"centre", StaticCentre, true}, {"icon", StaticIcon, true},
    {"bitmap", StaticBitmap, true}, {"notify", StaticNotify},
};
constexpr StyleWord ListBoxWords[] = {{"sort", ListSort}};
constexpr ControlKind ControlKinds[] = {
    {"button", TemplateClass::Button, ButtonWords},
    {"static", TemplateClass::Static, StaticWords},
    {"listbox", TemplateClass::ListBox, ListBoxWords},
};

constexpr std::string_view XpmSignature = "/* XPM */";

// The one form of every fault report.
Text LocatedMessage(std::string_view file, std::size_t line, std::string_view message)
{
    std::ostringstream text;
    text << file << ':' << line << ": " << message;
    return text.str();
}

struct Fault
{
    std::size_t line = 0;
    Text message;
};

// Splits a line into bare words and "quoted texts"; '#' outside quotes starts a comment.
// Returns a message when the line cannot be split.
std::optional<Text> SplitLine(std::string_view line, std::vector<Token>& tokens)
{
    tokens.clear();
    std::size_t i = 0;
    const auto isSpace = [](char c) { return c == ' ' || c == '\t'; };
    while (i < line.size())
    {
        if (isSpace(line[i]))
        {
            ++i;
            continue;
        }
        if (line[i] == '#')
            break;
        Token token;
        if (line[i] == '"')
        {
            token.quoted = true;
            for (++i;; ++i)
            {
                if (i >= line.size())
                    return "text without its closing quote";
                if (line[i] == '"')
                    break;
                if (static_cast<unsigned char>(line[i]) < 0x20)
                    return "control character in text (write \\n for a line break)";
                if (line[i] == '\\')
                {
                    if (++i >= line.size())
                        return "text without its closing quote";
                    if (line[i] == 'n')
                        token.text += '\n';
                    else if (line[i] == '"' || line[i] == '\\')
                        token.text += line[i];
                    else
                        return "unknown escape in text: \\" + Text(1, line[i]);
                }
                else
                    token.text += line[i];
            }
            ++i;
            if (i < line.size() && !isSpace(line[i]) && line[i] != '#')
                return "text must be followed by a space";
            if (!IsValidUtf8(token.text))
                return "text is not valid UTF-8";
        }
        else
        {
            while (i < line.size() && !isSpace(line[i]) && line[i] != '#' && line[i] != '"')
                token.text += line[i++];
        }
        tokens.push_back(std::move(token));
    }
    return std::nullopt;
}

bool IsNumber(const Token& token)
{
    if (token.quoted || token.text.empty())
        return false;
    const char first = token.text.front();
    return (first >= '0' && first <= '9') || first == '-';
}

// A whole decimal number within [minimum, maximum].
std::optional<long> ReadNumber(const Token& token, long minimum, long maximum)
{
    if (!IsNumber(token))
        return std::nullopt;
    long value = 0;
    const char* end = token.text.data() + token.text.size();
    const auto [stop, error] = std::from_chars(token.text.data(), end, value);
    if (error != std::errc() || stop != end || value < minimum || value > maximum)
        return std::nullopt;
    return value;
}

const StyleWord* FindWord(std::span<const StyleWord> words, std::string_view name)
{
    for (const StyleWord& word : words)
    {
        if (word.name == name)
            return &word;
    }
    return nullptr;
}

struct DialogBlock
{
    int id = 0;
    std::size_t line = 0;
    bool hasStyle = false;
    bool hasSize = false;
    bool hasFont = false;
    DialogTemplate dialogTemplate;
};

struct CompiledDialog
{
    int id = 0;
    std::vector<std::uint8_t> bytes;
};

struct TableState
{
    std::optional<DialogBlock> open;
    std::vector<CompiledDialog> dialogs;
    std::set<int> dialogIds;
};

std::optional<Text> ParseQuotedLine(const std::vector<Token>& tokens, std::size_t count)
{
    if (tokens.size() != count || !tokens.back().quoted)
        return "write " + tokens.front().text + (count == 3 ? " POINTS \"NAME\"" : " \"TEXT\"");
    return std::nullopt;
}

std::optional<Text> ParseControl(const std::vector<Token>& tokens, DialogBlock& block)
{
    const char* form = "a control is: ID KIND [STYLE...] X Y WIDTH HEIGHT \"TITLE\"";
    if (tokens.size() < 7)
        return form;
    const auto id = ReadNumber(tokens[0], 0, 0xFFFF);
    if (!id)
        return "control id must be a number from 0 to 65535";
    for (const DialogItemTemplate& item : block.dialogTemplate.items)
    {
        if (item.id == *id)
            return "control id " + tokens[0].text + " is used twice in this dialog";
    }
    const ControlKind* kind = nullptr;
    for (const ControlKind& candidate : ControlKinds)
    {
        if (candidate.name == tokens[1].text && !tokens[1].quoted)
            kind = &candidate;
    }
    if (kind == nullptr)
        return "unknown control kind '" + tokens[1].text + "' (button, static, listbox)";

    DialogItemTemplate item;
    item.id = static_cast<std::uint16_t>(*id);
    item.style = Child;
    item.windowClass.isNumber = true;
    item.windowClass.number = kind->windowClass;
    std::size_t i = 2;
    int staticTypes = 0;
    for (; i < tokens.size() && !IsNumber(tokens[i]) && !tokens[i].quoted; ++i)
    {
        const StyleWord* word = FindWord(kind->words, tokens[i].text);
        if (word == nullptr)
            word = FindWord(CommonControlWords, tokens[i].text);
        if (word == nullptr)
            return "unknown style '" + tokens[i].text + "' for a " + Text(kind->name);
        if (word->staticType && ++staticTypes > 1)
            return "a static takes one of left, centre, icon, bitmap";
        item.style |= word->value;
    }
    if (tokens.size() != i + 5 || !tokens.back().quoted)
        return form;
    std::int16_t* place[] = {&item.x, &item.y, &item.width, &item.height};
    for (std::size_t k = 0; k < 4; ++k)
    {
        const auto value = ReadNumber(tokens[i + k], -32768, 32767);
        if (!value)
            return "'" + tokens[i + k].text + "' is no place in dialog units";
        *place[k] = static_cast<std::int16_t>(*value);
    }
    item.title.text = tokens.back().text;
    block.dialogTemplate.items.push_back(std::move(item));
    return std::nullopt;
}

std::optional<Text> CloseDialog(TableState& state)
{
    DialogBlock& block = *state.open;
    const bool setsFont = (block.dialogTemplate.style & SetFont) != 0;
    if (!block.hasSize)
        return "dialog " + std::to_string(block.id) + " has no size line";
    if (setsFont != block.hasFont)
        return "dialog " + std::to_string(block.id) +
               ": the style word setfont and a font line go together";
    auto bytes = WriteDialogTemplate(block.dialogTemplate);
    if (ReadDialogTemplate(bytes) != block.dialogTemplate)
        return "dialog " + std::to_string(block.id) + " does not read back as written";
    state.dialogs.push_back({block.id, std::move(bytes)});
    state.open.reset();
    return std::nullopt;
}

std::optional<Text> ParseLine(const std::vector<Token>& tokens, TableState& state,
                              std::size_t lineNumber)
{
    const Token& first = tokens.front();
    if (!state.open)
    {
        if (first.text != "dialog" || first.quoted)
            return "expected 'dialog ID'";
        const auto id = tokens.size() == 2 ? ReadNumber(tokens[1], 1, 0xFFFF) : std::nullopt;
        if (!id)
            return "write dialog ID, with an id from 1 to 65535";
        if (!state.dialogIds.insert(static_cast<int>(*id)).second)
            return "dialog " + tokens[1].text + " is defined twice";
        state.open = DialogBlock{};
        state.open->id = static_cast<int>(*id);
        state.open->line = lineNumber;
        return std::nullopt;
    }
    DialogBlock& block = *state.open;
    DialogTemplate& dialog = block.dialogTemplate;
    if (IsNumber(first))
        return ParseControl(tokens, block);
    if (first.quoted)
        return "a line starts with a word or a control id";
    if (first.text == "end")
        return tokens.size() == 1 ? CloseDialog(state) : "nothing may follow 'end'";
    if (first.text == "dialog")
        return "dialog " + std::to_string(block.id) + " has no 'end'";
    if (first.text == "style")
    {
        if (block.hasStyle)
            return "a second style line";
        block.hasStyle = true;
        for (std::size_t i = 1; i < tokens.size(); ++i)
        {
            const StyleWord* word = FindWord(DialogWords, tokens[i].text);
            if (word == nullptr || tokens[i].quoted)
                return "unknown dialog style '" + tokens[i].text + "'";
            dialog.style |= word->value;
        }
        return std::nullopt;
    }
    if (first.text == "size")
    {
        const auto width = tokens.size() == 3 ? ReadNumber(tokens[1], 1, 32767) : std::nullopt;
        const auto height = tokens.size() == 3 ? ReadNumber(tokens[2], 1, 32767) : std::nullopt;
        if (!width || !height || block.hasSize)
            return "write size WIDTH HEIGHT once, in dialog units";
        block.hasSize = true;
        dialog.width = static_cast<std::int16_t>(*width);
        dialog.height = static_cast<std::int16_t>(*height);
        return std::nullopt;
    }
    if (first.text == "caption")
    {
        if (auto fault = ParseQuotedLine(tokens, 2))
            return fault;
        dialog.caption.text = tokens[1].text;
        return std::nullopt;
    }
    if (first.text == "font")
    {
        if (auto fault = ParseQuotedLine(tokens, 3))
            return fault;
        const auto points = ReadNumber(tokens[1], 1, 0xFFFF);
        if (!points)
            return "font size must be a number of points";
        block.hasFont = true;
        dialog.pointSize = static_cast<std::uint16_t>(*points);
        dialog.fontName = tokens[2].text;
        return std::nullopt;
    }
    return "unknown line '" + first.text + "'";
}

// Compiles the table; the first fault stops it.
std::optional<Fault> CompileTable(std::string_view table, TableState& state)
{
    std::vector<Token> tokens;
    std::size_t lineNumber = 0;
    while (!table.empty())
    {
        ++lineNumber;
        const std::size_t end = table.find('\n');
        std::string_view line = table.substr(0, end);
        table.remove_prefix(end == std::string_view::npos ? table.size() : end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        auto fault = SplitLine(line, tokens);
        if (!fault && !tokens.empty())
            fault = ParseLine(tokens, state, lineNumber);
        if (fault)
            return Fault{lineNumber, std::move(*fault)};
    }
    if (state.open)
        return Fault{state.open->line,
                     "dialog " + std::to_string(state.open->id) + " has no 'end'"};
    return std::nullopt;
}

std::optional<Text> ReadWholeFile(const char* path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::nullopt;
    Text content{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (file.bad())
        return std::nullopt;
    return content;
}

void WriteArray(std::ostream& out, std::string_view name, std::span<const std::uint8_t> bytes)
{
    out << "alignas(4) constexpr std::uint8_t " << name << "[] = {";
    for (std::size_t i = 0; i < bytes.size(); ++i)
    {
        out << (i % 16 == 0 ? "\n    " : " ");
        char hex[8];
        std::snprintf(hex, sizeof hex, "0x%02x,", bytes[i]);
        out << hex;
    }
    out << "\n};\n\n";
}

Text GenerateSource(const std::vector<CompiledDialog>& dialogs, std::string_view icon)
{
    std::ostringstream out;
    out << "// Generated by tavrino-resource-compiler from dialogs.table and icon.xpm.\n"
           "// Edit those, not this file.\n"
           "#include \"platform/Resources.h\"\n\n"
           "#include <cstdint>\n\n"
           "namespace\n{\n";
    for (const CompiledDialog& dialog : dialogs)
        WriteArray(out, "Dialog" + std::to_string(dialog.id), dialog.bytes);
    const auto* iconBytes = reinterpret_cast<const std::uint8_t*>(icon.data());
    WriteArray(out, "Icon128", {iconBytes, icon.size()});
    out << "struct ResourceEntry\n{\n    ResourceType type;\n    int id;\n"
           "    std::span<const std::uint8_t> bytes;\n};\n\n"
           "constexpr ResourceEntry Entries[] = {\n";
    for (const CompiledDialog& dialog : dialogs)
    {
        out << "    {ResourceType::Dialog, " << dialog.id << ", Dialog" << dialog.id << "},\n";
    }
    out << "    {ResourceType::Icon, 128, Icon128},\n};\n} // namespace\n\n"
           "std::span<const std::uint8_t> FindResource(ResourceType type, int id)\n{\n"
           "    for (const ResourceEntry& entry : Entries)\n    {\n"
           "        if (entry.type == type && entry.id == id)\n"
           "            return entry.bytes;\n    }\n    return {};\n}\n";
    return out.str();
}

// Writes beside the target and renames, so that a failed run leaves no half file that
// the build would take for finished.
bool WriteOutput(const char* path, const Text& content)
{
    const std::filesystem::path target(path);
    std::filesystem::path temporary = target;
    temporary += ".part";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        file << content;
        file.close();
        if (!file)
            return false;
    }
    std::error_code error;
    std::filesystem::rename(temporary, target, error);
    return !error;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 4)
    {
        std::cerr << "usage: tavrino-resource-compiler OUTPUT.cpp dialogs.table icon.xpm\n";
        return 1;
    }
    const char* outputPath = argv[1];
    const char* tablePath = argv[2];
    const char* iconPath = argv[3];

    const auto table = ReadWholeFile(tablePath);
    if (!table)
    {
        std::cerr << LocatedMessage(tablePath, 0, "cannot be read") << '\n';
        return 1;
    }
    TableState state;
    if (const auto fault = CompileTable(*table, state))
    {
        std::cerr << LocatedMessage(tablePath, fault->line, fault->message) << '\n';
        return 1;
    }
    const auto icon = ReadWholeFile(iconPath);
    if (!icon)
    {
        std::cerr << LocatedMessage(iconPath, 0, "cannot be read") << '\n';
        return 1;
    }
    if (!icon->starts_with(XpmSignature))
    {
        std::cerr << LocatedMessage(iconPath, 1,
                                    "not an XPM picture: it must start with " + Text(XpmSignature))
                  << '\n';
        return 1;
    }
    if (!WriteOutput(outputPath, GenerateSource(state.dialogs, *icon)))
    {
        std::cerr << LocatedMessage(outputPath, 0, "cannot be written") << '\n';
        return 1;
    }
    return 0;
}
