#include "check/FindingKind.h"

#include <array>

namespace
{
// clang-format off
constexpr std::array Entries{
    FindingEntry{FindingKind::UnreadableList, "unreadable-list", Severity::Error,
                 "Liste kann nicht geöffnet werden"},
    FindingEntry{FindingKind::MarkerAfterSpaces, "marker-after-spaces", Severity::Warning,
                 "Zeile beginnt einen Schritt mit Leerzeichen vor dem Zeichen am Anfang: sie wird "
                 "hier als Text gezeigt"},
    FindingEntry{FindingKind::NoStep, "no-step", Severity::Warning,
                 "Die Liste zeigt keinen Schritt"},
    FindingEntry{FindingKind::EndlessJump, "endless-pass", Severity::Error,
                 "Endlosschleife: zwischen Sprungmarke und Sprung steht kein Schrittende, keine "
                 "Frage und kein Bild"},
    FindingEntry{FindingKind::EndlessTextFile, "endless-pass", Severity::Error,
                 "Endlosschleife: die Textdatei wird im selben Schritt erneut geladen"},
    FindingEntry{FindingKind::ZeroByte, "zero-byte", Severity::Warning,
                 "Die Datei enthält Null-Bytes; sie werden übergangen"},
    FindingEntry{FindingKind::UndefinedByte, "undefined-byte", Severity::Warning,
                 "Zeichen, das Windows-1252 nicht kennt"},
    FindingEntry{FindingKind::MixedLineEnds, "mixed-line-ends", Severity::Warning,
                 "Gemischte Zeilenenden (CR LF, LF, CR)"},
    FindingEntry{FindingKind::DuplicateLabel, "duplicate-label", Severity::Warning,
                 "Sprungmarke {} steht schon in Zeile {}; Sprünge führen dorthin"},
    FindingEntry{FindingKind::LabelAfterSpaces, "label-after-spaces", Severity::Warning,
                 "Sprungmarke {} mit Leerzeichen vor \"%\" wird nie gefunden"},
    FindingEntry{FindingKind::MissingJumpLabel, "missing-label", Severity::Error,
                 "Sprungmarke {} nicht gefunden"},
    FindingEntry{FindingKind::MissingNoLabel, "missing-label", Severity::Error,
                 "Sprungmarke {} für NEIN nicht gefunden"},
    FindingEntry{FindingKind::MissingYesLabel, "missing-label", Severity::Error,
                 "Sprungmarke {} für JA nicht gefunden"},
    FindingEntry{FindingKind::QuestionInLastLine, "question-in-last-line", Severity::Error,
                 "Frage in der letzten Zeile: die Sprungziele fehlen"},
    FindingEntry{FindingKind::TargetsWithoutSlash, "targets-without-slash", Severity::Error,
                 "Sprungziele ohne \"/\": {}"},
    FindingEntry{FindingKind::ZeroDuration, "zero-duration", Severity::Error,
                 "Dauer der Stoppuhr {} ergibt 0 Sekunden"},
    FindingEntry{FindingKind::PictureWithoutName, "picture-without-name", Severity::Error,
                 "Bildzeile ohne Dateinamen"},
    FindingEntry{FindingKind::TextFileWithoutName, "missing-file", Severity::Error,
                 "Textdateizeile ohne Dateinamen"},
    FindingEntry{FindingKind::PictureBackslash, "backslash", Severity::Warning,
                 "Bild {} trennt Ordner mit \"\\\"; \"/\" ist üblich"},
    FindingEntry{FindingKind::TextFileBackslash, "backslash", Severity::Warning,
                 "Textdatei {} trennt Ordner mit \"\\\"; \"/\" ist üblich"},
    FindingEntry{FindingKind::PictureOutsideProgramFolder, "outside-program-folder",
                 Severity::Error, "Bild {} liegt außerhalb des Programmordners"},
    FindingEntry{FindingKind::TextFileOutsideProgramFolder, "outside-program-folder",
                 Severity::Error, "Textdatei {} liegt außerhalb des Programmordners"},
    FindingEntry{FindingKind::TopicOutsideProgramFolder, "link-outside-program-folder",
                 Severity::Warning, "Thema führt über eine Verknüpfung aus dem Programmordner "
                 "hinaus: es wird nicht gezeigt und nicht geprüft"},
    FindingEntry{FindingKind::ListOutsideProgramFolder, "link-outside-program-folder",
                 Severity::Warning, "Liste führt über eine Verknüpfung aus dem Programmordner "
                 "hinaus: sie wird nicht gezeigt und nicht geprüft"},
    FindingEntry{FindingKind::MissingPicture, "missing-picture", Severity::Error,
                 "Bild {} nicht gefunden"},
    FindingEntry{FindingKind::MissingTextFile, "missing-file", Severity::Error,
                 "Textdatei {} nicht gefunden"},
    FindingEntry{FindingKind::PictureNameCase, "name-case", Severity::Warning,
                 "Bild {} passt nur ohne Beachtung der Groß- und Kleinschreibung: {}"},
    FindingEntry{FindingKind::TextFileNameCase, "name-case", Severity::Warning,
                 "Textdatei {} passt nur ohne Beachtung der Groß- und Kleinschreibung: {}"},
    FindingEntry{FindingKind::UnloadablePicture, "unloadable-picture", Severity::Error,
                 "Bild {} kann nicht geladen werden"},
    FindingEntry{FindingKind::UnreadableTextFile, "unreadable-file", Severity::Error,
                 "Textdatei {} kann nicht geladen werden"},
    FindingEntry{FindingKind::UnreachableLine, "unreachable", Severity::Warning,
                 "Zeile wird nie erreicht"},
    FindingEntry{FindingKind::UnreachableLines, "unreachable", Severity::Warning,
                 "Zeilen {} bis {} werden nie erreicht"},
    FindingEntry{FindingKind::UnshownText, "unshown-text", Severity::Warning,
                 "Text wird nie gezeigt: nach ihm folgt kein Schrittende, keine Frage und kein "
                 "Bild"},
};
// clang-format on

// The table is looked up by position: its order must be the order of the enum.
constexpr bool InEnumOrder()
{
    for (std::size_t i = 0; i < Entries.size(); ++i)
    {
        if (static_cast<std::size_t>(Entries[i].kind) != i)
            return false;
    }
    return Entries.size() == static_cast<std::size_t>(FindingKind::UnshownText) + 1;
}
static_assert(InEnumOrder());
} // namespace

std::span<const FindingEntry> AllFindingEntries()
{
    return Entries;
}

std::string_view FindingAdvice(std::string_view code)
{
    struct Advice
    {
        std::string_view code;
        std::string_view text;
    };
    // clang-format off
    static constexpr Advice advice[] = {
        {"unreadable-list", "The list file cannot be opened: give it read permission, or remove it."},
        {"marker-after-spaces", "A step begins with spaces before its marker, so the line shows as text: remove the spaces, or keep them if the text is meant."},
        {"no-step", "The list ends before it shows anything: end a line with \";\" to make a step."},
        {"endless-pass", "Jumps or text files lead round in a circle without a screen between: put a step into the circle or end it."},
        {"zero-byte", "The file holds zero bytes, which are left out: save it again as plain text."},
        {"undefined-byte", "A byte has no character in Windows-1252: save the file as UTF-8 or Windows-1252."},
        {"mixed-line-ends", "Lines end in different ways (CR LF, LF, CR): let the editor save one kind throughout."},
        {"duplicate-label", "The same label stands twice; jumps go to the first: rename or remove the other."},
        {"label-after-spaces", "A label with spaces before \"%\" is never found: remove the spaces."},
        {"missing-label", "A jump or an answer names a label that no \"%\" line holds: add the label or correct the name."},
        {"question-in-last-line", "A question needs a line after it with the labels for \"Nein\" and \"Ja\": add it."},
        {"targets-without-slash", "The line after a question needs both labels, \"nein/ja\": add the \"/\"."},
        {"zero-duration", "The stopwatch line gives no time: write the seconds after \":\", such as \":120 Bremse\"."},
        {"picture-without-name", "A \"*\" line needs the name of a picture after it."},
        {"missing-file", "The text file named after \"§\" is not in the list's folder: add it or correct the name."},
        {"backslash", "A name uses \"\\\" between folders: it works, but \"/\" is the usual separator."},
        {"outside-program-folder", "The named file lies outside the program folder (through a link): copy it into the tree."},
        {"link-outside-program-folder", "A topic or list is a link that leads out of the program folder, so it is neither shown nor checked: copy it in, or mount the folder into the tree."},
        {"missing-picture", "The picture named after \"*\" is not in the list's folder: add it or correct the name."},
        {"name-case", "The name differs from the file's only in case: it is found, but write it as the file is named."},
        {"unloadable-picture", "The picture cannot be read as an image: save it again as PNG or JPEG."},
        {"unreadable-file", "The text file cannot be opened: give it read permission."},
        {"unreachable", "No pass of the list ever reaches these lines: remove them or add a jump or an answer that leads there."},
        {"unshown-text", "Text that no step end, question or picture follows is never shown: end its last line with \";\", or remove it."},
    };
    // clang-format on
    for (const Advice& entry : advice)
    {
        if (entry.code == code)
            return entry.text;
    }
    return {};
}

const FindingEntry& FindingEntryOf(FindingKind kind)
{
    return Entries[static_cast<std::size_t>(kind)];
}

Text FindingText(FindingKind kind, std::initializer_list<std::string_view> arguments)
{
    const std::string_view pattern = FindingEntryOf(kind).text;
    Text text;
    auto argument = arguments.begin();
    std::size_t at = 0;
    for (;;)
    {
        const std::size_t hole = pattern.find("{}", at);
        text.append(pattern.substr(at, hole == std::string_view::npos ? hole : hole - at));
        if (hole == std::string_view::npos)
            return text;
        if (argument != arguments.end())
            text.append(*argument++);
        at = hole + 2;
    }
}
