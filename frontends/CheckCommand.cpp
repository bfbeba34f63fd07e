#include "frontends/CheckCommand.h"

#include "check/FindingKind.h"
#include "check/ListChecker.h"
#include "frontends/PathNaming.h"
#include "frontends/SarifLog.h"
#include "frontends/ScreenJson.h"
#include "platform/Collation.h"
#include "platform/Confinement.h"
#include "platform/DirectorySearch.h"

#include <algorithm>
#include <filesystem>

namespace
{
namespace fs = std::filesystem;

struct ListToCheck
{
    Text programFolder; // absolute, ending with "/"
    Text listFolder;    // absolute, ending with "/"
    Text fileName;
};

// A topic folder or list file that is not checked: its link leads out of the program folder.
struct LinkLeadingOut
{
    Text path; // absolute; a folder without its "/"
    EntryKind kind;
};

// What the user named on the command line, checked as the menus would find it.
struct Collected
{
    std::vector<ListToCheck> lists;
    std::vector<FolderNaming> namings;
    // Folders that cannot be read, as the user would name them: what they hold is not checked,
    // and saying "0 Fehler" about them would pass a failure for success.
    std::vector<Text> unreadable;
    std::vector<LinkLeadingOut> leadingOut;
};

std::vector<Text> Sorted(std::vector<Text> names)
{
    std::sort(names.begin(), names.end(),
              [](const Text& left, const Text& right) { return CollatesBefore(left, right); });
    return names;
}

// True when `path`, named directly, lies outside the program folder through a link on the way.
bool NamedPathLeadsOut(const fs::path& path, const Text& programFolder)
{
    const auto realRoot = RealFolder(fs::path(programFolder));
    return realRoot && LeadsOut(path, *realRoot);
}

// The lists of one topic folder, read once: the same reading tells whether it can be read.
void CollectTopic(const Text& programFolder, const Text& topic, const FolderEntries& entries,
                  Collected& collected)
{
    for (const Text& name : Sorted(entries.names))
        collected.lists.push_back({programFolder, topic, name});
    for (const Text& name : entries.leadingOut)
        collected.leadingOut.push_back({topic + name, EntryKind::ListFiles});
}

// The lists that one PATH names: a list file, a topic folder (it holds lists), or a program
// folder (its topic folders hold them).
void CollectLists(const Text& argument, Collected& collected)
{
    std::error_code error;
    const fs::path given(argument);
    const fs::path absolute = fs::absolute(given, error).lexically_normal();
    if (!fs::is_directory(absolute, error))
    {
        const Text topic = AsFolder(absolute.parent_path());
        const Text programFolder = AsFolder(absolute.parent_path().parent_path());
        collected.namings.push_back({topic, AsFolder(given.parent_path())});
        collected.namings.push_back({programFolder, AsFolder(given / ".." / "..")});
        if (NamedPathLeadsOut(absolute, programFolder))
            collected.leadingOut.push_back({absolute.string(), EntryKind::ListFiles});
        else
            collected.lists.push_back({programFolder, topic, absolute.filename().string()});
        return;
    }
    const Text folder = AsFolder(absolute);
    const Text parent = AsFolder(absolute / "..");
    // Read as a topic first, under the folder above it; a folder that holds lists is one.
    const auto lists = ReadFolder(folder, EntryKind::ListFiles, parent);
    if (!lists)
    {
        collected.unreadable.push_back(argument);
        return;
    }
    if (!lists->names.empty() || !lists->leadingOut.empty())
    {
        collected.namings.push_back({folder, AsFolder(given)});
        collected.namings.push_back({parent, AsFolder(given / "..")});
        if (NamedPathLeadsOut(absolute, parent))
            collected.leadingOut.push_back(
                {folder.substr(0, folder.size() - 1), EntryKind::Folders});
        else
            CollectTopic(parent, folder, *lists, collected);
        return;
    }
    const auto topics = ReadFolder(folder, EntryKind::Folders, folder);
    for (const Text& topic : topics ? Sorted(topics->names) : std::vector<Text>())
    {
        const Text topicFolder = folder + topic + "/";
        if (const auto entries = ReadFolder(topicFolder, EntryKind::ListFiles, folder))
            CollectTopic(folder, topicFolder, *entries, collected);
        else
            collected.unreadable.push_back(topicFolder);
    }
    if (topics)
    {
        for (const Text& topic : topics->leadingOut)
            collected.leadingOut.push_back({folder + topic, EntryKind::Folders});
    }
    collected.namings.push_back({folder, AsFolder(given)});
}

} // namespace

void WriteFindingLine(std::ostream& output, const Finding& finding)
{
    output << finding.file << ":" << finding.line << ": " << SeverityName(finding.severity) << ": "
           << finding.text << "\n";
}

int RunCheck(const CommandLine& commandLine, IPictureDecoder* decoder, std::ostream& output,
             std::ostream& errors)
{
    for (const Text& path : commandLine.paths)
    {
        std::error_code error;
        if (!fs::exists(fs::symlink_status(path, error)))
        {
            errors << "tavrino check: '" << path << "' does not exist\n";
            return 2;
        }
    }
    Collected collected;
    for (const Text& path : commandLine.paths)
        CollectLists(path, collected);
    const std::vector<FolderNaming>& namings = collected.namings;
    for (const Text& folder : collected.unreadable)
        errors << "tavrino check: cannot read the folder '" << ShownPath(folder, namings) << "'\n";

    CListChecker checker(decoder);
    for (const auto& link : collected.leadingOut)
        checker.ReportLeadingOut(link.path, link.kind);
    std::vector<Text> seen;
    for (const auto& list : collected.lists)
    {
        const Text path = list.listFolder + list.fileName;
        if (std::find(seen.begin(), seen.end(), path) != seen.end())
            continue;
        seen.push_back(path);
        checker.CheckList(list.programFolder, list.listFolder, list.fileName);
    }
    checker.Finish();

    std::vector<Finding> findings = checker.Findings();
    for (auto& finding : findings)
    {
        finding.file = ShownPath(finding.file, namings);
        finding.path = ShownPath(finding.path, namings);
    }
    SortByPlace(findings);
    int errorCount = 0;
    int warningCount = 0;
    for (const auto& finding : findings)
    {
        (finding.severity == Severity::Error ? errorCount : warningCount) += 1;
        if (commandLine.checkFormat == CheckFormat::Json)
            output << "{\"file\": " << JsonString(finding.file) << ", \"line\": " << finding.line
                   << ", \"severity\": \"" << SeverityName(finding.severity)
                   << "\", \"code\": " << JsonString(finding.code)
                   << ", \"text\": " << JsonString(finding.text) << "}\n";
        else if (commandLine.checkFormat == CheckFormat::Gcc)
            WriteFindingLine(output, finding);
    }
    if (commandLine.checkFormat == CheckFormat::Sarif)
        output << SarifLog(findings, TAVRINO_VERSION);
    else if (commandLine.checkFormat == CheckFormat::Json)
        output << "{\"lists\": " << checker.ListsChecked() << ", \"errors\": " << errorCount
               << ", \"warnings\": " << warningCount << "}\n";
    else
        output << checker.ListsChecked() << (checker.ListsChecked() == 1 ? " Liste" : " Listen")
               << " geprüft: " << errorCount << " Fehler, " << warningCount
               << (warningCount == 1 ? " Warnung" : " Warnungen") << "\n";
    if (!collected.unreadable.empty())
        return 2;
    return errorCount > 0 ? 1 : 0;
}

Text CheckHelpText()
{
    Text text =
        "Usage: tavrino check [--format gcc|json|sarif] PATH ...\n"
        "Checks lists as the program would run them, every pass and every answer, and prints\n"
        "one finding a line, FILE:LINE: error|warning: TEXT, then a summary; with --format json\n"
        "(or --json), one JSON object a finding; with --format sarif, one SARIF 2.1.0 log for\n"
        "code-hosting platforms. PATH is a list, a topic folder or a program folder.\n"
        "Exit status: 0 without errors (warnings allowed), 1 with errors, 2 when a PATH is\n"
        "missing or a folder cannot be read.\n"
        "\n"
        "Findings, by code (the code is in the JSON form); \"…\" stands for the name or\n"
        "number that the finding gives:\n";
    std::vector<std::string_view> codes;
    for (const FindingEntry& entry : AllFindingEntries())
    {
        if (std::find(codes.begin(), codes.end(), entry.code) != codes.end())
            continue;
        codes.push_back(entry.code);
        text += "\n  " + Text(entry.code) + " (" + SeverityName(entry.severity) + ")\n";
        for (const FindingEntry& same : AllFindingEntries())
        {
            if (std::string_view(same.code) == entry.code)
                text += "    \"" + FindingText(same.kind, {"…", "…", "…"}) + "\"\n";
        }
        text += "    " + Text(FindingAdvice(entry.code)) + "\n";
    }
    return text;
}
