#include "frontends/CheckCommand.h"

#include "check/ListChecker.h"
#include "frontends/ScreenJson.h"
#include "platform/Collation.h"
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

// How findings name the files under one program folder: as the user named that folder.
struct FolderNaming
{
    Text absolute;
    Text shown;
};

Text AsFolder(const fs::path& path)
{
    Text folder = path.lexically_normal().string();
    if (folder.empty() || folder == ".")
        return "./";
    if (folder.back() != '/')
        folder += '/';
    return folder;
}

std::vector<Text> SortedEntries(const Text& folder, EntryKind kind)
{
    // The checker reads behind every link, also those that lead out and the menus leave out.
    std::vector<Text> names = SearchFolder(folder, kind, {});
    std::sort(names.begin(), names.end(),
              [](const Text& left, const Text& right) { return CollatesBefore(left, right); });
    return names;
}

// The lists that one PATH names: a list file, a topic folder (it holds lists), or a program
// folder (its topic folders hold them).
// Folders that cannot be read go to `unreadable`, as the user would name them: what they
// hold is not checked, and saying "0 Fehler" about them would pass a failure for success.
void CollectLists(const Text& argument, std::vector<ListToCheck>& lists,
                  std::vector<FolderNaming>& namings, std::vector<Text>& unreadable)
{
    std::error_code error;
    const fs::path given(argument);
    const fs::path absolute = fs::absolute(given, error).lexically_normal();
    const auto addTopic = [&](const Text& programFolder, const Text& topic)
    {
        if (!IsReadableFolder(topic))
        {
            unreadable.push_back(topic);
            return;
        }
        for (const Text& name : SortedEntries(topic, EntryKind::ListFiles))
            lists.push_back({programFolder, topic, name});
    };
    if (!fs::is_directory(absolute, error))
    {
        const Text topic = AsFolder(absolute.parent_path());
        const Text programFolder = AsFolder(absolute.parent_path().parent_path());
        lists.push_back({programFolder, topic, absolute.filename().string()});
        namings.push_back({topic, AsFolder(given.parent_path())});
        namings.push_back({programFolder, AsFolder(given / ".." / "..")});
        return;
    }
    const Text folder = AsFolder(absolute);
    if (!IsReadableFolder(folder))
    {
        unreadable.push_back(argument);
        return;
    }
    if (!SearchFolder(folder, EntryKind::ListFiles, {}).empty())
    {
        const Text programFolder = AsFolder(absolute / "..");
        addTopic(programFolder, folder);
        namings.push_back({folder, AsFolder(given)});
        namings.push_back({programFolder, AsFolder(given / "..")});
        return;
    }
    for (const Text& topic : SortedEntries(folder, EntryKind::Folders))
        addTopic(folder, folder + topic + "/");
    namings.push_back({folder, AsFolder(given)});
}

// The file under the deepest folder the user named, as the user named that folder.
Text ShownPath(const Text& file, const std::vector<FolderNaming>& namings)
{
    const FolderNaming* best = nullptr;
    for (const auto& naming : namings)
    {
        if (file.starts_with(naming.absolute) &&
            (best == nullptr || naming.absolute.size() > best->absolute.size()))
            best = &naming;
    }
    if (best == nullptr)
        return file;
    Text shown = best->shown + file.substr(best->absolute.size());
    return shown.starts_with("./") ? shown.substr(2) : shown;
}

const char* SeverityName(Severity severity)
{
    return severity == Severity::Error ? "error" : "warning";
}
} // namespace

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
    std::vector<ListToCheck> lists;
    std::vector<FolderNaming> namings;
    std::vector<Text> unreadable;
    for (const Text& path : commandLine.paths)
        CollectLists(path, lists, namings, unreadable);
    for (const Text& folder : unreadable)
        errors << "tavrino check: cannot read the folder '" << ShownPath(folder, namings) << "'\n";

    CListChecker checker(decoder);
    std::vector<Text> seen;
    for (const auto& list : lists)
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
        finding.file = ShownPath(finding.file, namings);
    std::stable_sort(findings.begin(), findings.end(),
                     [](const Finding& left, const Finding& right)
                     { return std::tie(left.file, left.line) < std::tie(right.file, right.line); });
    int errorCount = 0;
    int warningCount = 0;
    for (const auto& finding : findings)
    {
        (finding.severity == Severity::Error ? errorCount : warningCount) += 1;
        if (commandLine.json)
            output << "{\"file\": " << JsonString(finding.file) << ", \"line\": " << finding.line
                   << ", \"severity\": \"" << SeverityName(finding.severity)
                   << "\", \"code\": " << JsonString(finding.code)
                   << ", \"text\": " << JsonString(finding.text) << "}\n";
        else
            output << finding.file << ":" << finding.line << ": " << SeverityName(finding.severity)
                   << ": " << finding.text << "\n";
    }
    if (commandLine.json)
        output << "{\"lists\": " << checker.ListsChecked() << ", \"errors\": " << errorCount
               << ", \"warnings\": " << warningCount << "}\n";
    else
        output << checker.ListsChecked() << (checker.ListsChecked() == 1 ? " Liste" : " Listen")
               << " geprüft: " << errorCount << " Fehler, " << warningCount
               << (warningCount == 1 ? " Warnung" : " Warnungen") << "\n";
    if (!unreadable.empty())
        return 2;
    return errorCount > 0 ? 1 : 0;
}
