#include "frontends/TerminalLayout.h"

#include "frontends/TerminalText.h"

#include <algorithm>

namespace
{
constexpr std::string_view Indent = "  ";
constexpr std::string_view HangingIndent = "      "; // under the text of "  [1] "

// Room for text after a prefix; a terminal narrower than the prefix still gets one column.
std::size_t TextWidth(std::size_t columns, std::string_view prefix)
{
    const std::size_t prefixWidth = DisplayWidth(prefix);
    return columns > prefixWidth ? columns - prefixWidth : 1;
}

void AppendWrapped(std::vector<Text>& lines, std::string_view text, std::size_t columns,
                   std::string_view firstPrefix, std::string_view nextPrefix)
{
    bool first = true;
    for (const Text& line : WrapText(text, TextWidth(columns, firstPrefix)))
    {
        lines.push_back(Text(first ? firstPrefix : nextPrefix) + line);
        first = false;
    }
}

// A rule across the whole width, with the marker set into it when there is room.
Text Rule(std::size_t columns, const std::vector<Text>& markers)
{
    for (const Text& marker : markers)
    {
        const Text label = " " + marker + " ";
        const std::size_t width = DisplayWidth(label);
        if (width + 4 <= columns)
            return "--" + label + Text(columns - 2 - width, '-');
    }
    return Text(columns, '-');
}

// Where the shown lines lie in the body, long and short; the arrow stays until the last line
// has been shown.
std::vector<Text> PositionMarkers(std::size_t first, std::size_t window, std::size_t total)
{
    const Text from = DecimalText(static_cast<std::int64_t>(first + 1));
    const Text to = DecimalText(static_cast<std::int64_t>(first + window));
    const Text all = DecimalText(static_cast<std::int64_t>(total));
    const bool more = first + window < total;
    return {"Zeilen " + from + "–" + to + " von " + all + (more ? " ↓ mehr" : ""),
            from + "–" + to + "/" + all + (more ? " ↓" : "")};
}

// The buttons side by side, as many to a line as fit.
std::vector<Text> ButtonLines(const std::vector<Text>& buttons, std::size_t columns)
{
    std::vector<Text> lines;
    Text line;
    for (const Text& button : buttons)
    {
        const Text piece = Text(Indent) + button;
        if (!line.empty() && DisplayWidth(line) + DisplayWidth(piece) > columns)
        {
            lines.push_back(std::move(line));
            line.clear();
        }
        if (line.empty() && DisplayWidth(piece) > columns)
            AppendWrapped(lines, button, columns, Indent, Indent);
        else
            line += piece;
    }
    if (!line.empty())
        lines.push_back(std::move(line));
    return lines;
}
} // namespace

bool IsControlShown(const CHeadlessSurface& surface, int id)
{
    const auto found = surface.Controls().find(id);
    return found != surface.Controls().end() && found->second.visibility == Visibility::Shown;
}

ScreenLayout LayOutScreen(const CHeadlessSurface& surface, const std::optional<Text>& box,
                          TerminalSize size, std::size_t firstBodyLine)
{
    const std::size_t columns = std::max<std::size_t>(size.columns, 1);
    const bool paged = size.rows > 0;
    const auto text = [&](int id, LineFeeds lineFeeds)
    { return TerminalSafeText(surface.GetControlText(id), lineFeeds); };

    std::vector<Text> top{Rule(columns, {})};
    for (const int id : {ControlId::Heading, ControlId::SubHeading})
    {
        if (IsControlShown(surface, id))
            AppendWrapped(top, text(id, LineFeeds::Replace), columns, Indent, Indent);
    }
    top.push_back(Rule(columns, {}));

    std::vector<Text> body;
    if (IsControlShown(surface, ControlId::BodyText))
    {
        auto wrapped =
            WrapText(text(ControlId::BodyText, LineFeeds::BreakLines), TextWidth(columns, Indent));
        // The line end after a step's last line is no line to page to.
        while (paged && !wrapped.empty() && wrapped.back().empty())
            wrapped.pop_back();
        for (const Text& line : wrapped)
            body.push_back(Text(Indent) + line);
    }
    const auto picture = surface.Controls().contains(ControlId::Picture)
                             ? surface.Controls().at(ControlId::Picture).picture
                             : nullptr;
    if (IsControlShown(surface, ControlId::Picture) && picture)
    {
        AppendWrapped(body,
                      "Bild: " + TerminalSafeText(picture->SourceFile(), LineFeeds::Replace) +
                          " (" + DecimalText(picture->Width()) + " x " +
                          DecimalText(picture->Height()) + ")",
                      columns, "  [" + Text(1, PictureKey) + "] ", HangingIndent);
    }
    for (int i = 0; i < 6; ++i)
    {
        const int id = ControlId::MenuButtons[i];
        if (IsControlShown(surface, id))
            AppendWrapped(body, text(id, LineFeeds::Replace), columns,
                          "  [" + DecimalText(i + 1) + "] ", HangingIndent);
    }

    std::vector<Text> buttons;
    for (const auto& [key, id] : NavigationKeys)
    {
        if (IsControlShown(surface, id))
            buttons.push_back("[" + Text(1, key) + "] " + text(id, LineFeeds::Replace));
    }
    buttons.push_back("[" + Text(1, QuitKey) + "] Beenden");
    const std::vector<Text> buttonLines = ButtonLines(buttons, columns);

    std::vector<Text> boxLines;
    if (box)
    {
        boxLines = {"", "  +-- tavrino --"};
        AppendWrapped(boxLines, TerminalSafeText(*box, LineFeeds::BreakLines), columns, "  | ",
                      "  | ");
        boxLines.push_back("  +-- [Enter] OK");
    }

    ScreenLayout layout;
    layout.bodyLines = body.size();
    layout.bodyWindow = body.size();
    std::vector<Text> markers;
    if (paged)
    {
        const std::size_t fixed = top.size() + 1 + buttonLines.size() + boxLines.size();
        const std::size_t room = size.rows > fixed ? size.rows - fixed : 0;
        if (body.size() > room)
        {
            layout.bodyWindow = std::max<std::size_t>(room, 1);
            layout.firstBodyLine = std::min(firstBodyLine, body.size() - layout.bodyWindow);
            markers = PositionMarkers(layout.firstBodyLine, layout.bodyWindow, body.size());
        }
    }

    layout.lines = std::move(top);
    const auto shown = body.begin() + static_cast<std::ptrdiff_t>(layout.firstBodyLine);
    layout.lines.insert(layout.lines.end(), shown,
                        shown + static_cast<std::ptrdiff_t>(layout.bodyWindow));
    layout.lines.push_back(Rule(columns, markers));
    layout.lines.insert(layout.lines.end(), buttonLines.begin(), buttonLines.end());
    layout.lines.insert(layout.lines.end(), boxLines.begin(), boxLines.end());
    // A screen too small for the headings and buttons loses lines at the bottom rather than
    // scrolling, which would move every line away from where it is updated.
    if (paged && layout.lines.size() > size.rows)
        layout.lines.resize(size.rows);
    return layout;
}
