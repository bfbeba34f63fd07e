// Checks list files without running them: it reads, classifies and follows the lines with
// the runner's own pass engine (CarryOut), from every place where a pass can begin, and reports
// what the runner would stumble over and what an author almost surely did not mean.
#pragma once

#include "check/Finding.h"
#include "check/FindingKind.h"
#include "platform/DirectorySearch.h"
#include "platform/FolderNameIndex.h"
#include "platform/IPictureDecoder.h"
#include "platform/NamedFile.h"
#include "runner/LabelIndex.h"
#include "runner/LineStore.h"
#include "runner/ListLine.h"

#include <map>
#include <memory>
#include <set>
#include <string_view>
#include <unordered_map>
#include <vector>

class CListChecker
{
public:
    // `decoder` tells whether a picture can be loaded; null: a picture that exists will do.
    // It is not owned and must outlive the checker.
    explicit CListChecker(IPictureDecoder* decoder);
    ~CListChecker();

    // Checks one list. Folders end with "/"; `listFolder` lies inside `programFolder`.
    void CheckList(const Text& programFolder, const Text& listFolder, const Text& fileName);
    // A topic folder (`kind` Folders) or list file behind a link that leads out of the program
    // folder: the menus leave it out, so it is reported instead of checked. `path` as the
    // user's files are named, a folder without its "/".
    void ReportLeadingOut(const Text& path, EntryKind kind);
    // Findings that need every list seen (lines of shared text files that no list reaches).
    // Call once, after the last CheckList.
    void Finish();

    // In the order found; each only once, however many lists lead to it.
    const std::vector<Finding>& Findings() const { return m_findings; }
    int ListsChecked() const { return m_listsChecked; }
    // Lines read so far by the passes followed and the walks back made: for tests that hold
    // the work linear in the lines of the lists.
    std::int64_t LinesRead() const { return m_linesRead; }
    // Entries read from folders so far to find names that differ in case: each folder once.
    std::size_t FolderEntriesRead() const { return m_folderNames.EntriesRead(); }

private:
    struct Document;
    struct Node;
    struct Outcome;
    struct Memo;
    class PassSink;

    int LoadDocument(const Text& path, const Text& programFolder, const Text& listFolder,
                     bool isList);
    // `bytes`: the file as read, for what only its bytes tell.
    void CheckStatically(int document, std::string_view bytes);
    void CheckLine(int document, std::int32_t line, const ListLine& read);
    enum class NamedFileKind
    {
        Picture,
        TextFile,
    };
    void CheckNamedFile(int document, std::int32_t line, const Text& name, NamedFileKind kind);
    Outcome Follow(const Node& start);
    Outcome StepOf(const Node& node, Node& next);
    // Where "Zurück" restarts from the screen at `line` (Count: the end screen).
    std::int32_t RestartLine(int document, std::int32_t line);
    // FindNamedFile from the folders of `document`, each name looked up once.
    const NamedFile& NamedFileOf(const Document& document, const Text& name);
    bool PictureLoads(const Text& path);
    void Report(int document, std::int32_t line, FindingKind kind,
                std::initializer_list<std::string_view> arguments = {});
    void ReportAt(const Text& file, std::int32_t line, FindingKind kind,
                  std::initializer_list<std::string_view> arguments = {});
    void ReportUnreachable(int document);

    IPictureDecoder* m_decoder;
    std::vector<std::unique_ptr<Document>> m_documents;
    std::map<Text, int> m_documentsByPath;
    std::map<Text, bool> m_pictures;
    // The tree is taken as it stands when first read: a check does not follow changes.
    CFolderNameIndex m_folderNames;
    std::unordered_map<Text, NamedFile> m_namedFiles;
    std::vector<Finding> m_findings;
    std::set<std::tuple<Text, std::int32_t, Text, Text>> m_reported;
    int m_listsChecked = 0;
    std::int64_t m_linesRead = 0;
    // The lines of the pass that Follow is on, kept from one pass to the next for its room.
    std::vector<Node> m_path;
};
