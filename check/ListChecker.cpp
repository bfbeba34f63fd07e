#include "check/ListChecker.h"

#include "check/FindingKind.h"
#include "platform/CodePage.h"
#include "platform/NamedFile.h"
#include "platform/ReadOnlyFile.h"
#include "runner/FileText.h"
#include "runner/GrowableArray.h"
#include "runner/LineFiller.h"
#include "runner/ListLine.h"
#include "runner/PassEngine.h"
#include "runner/StepBackWalk.h"
#include "stopwatch/StopwatchStart.h"

#include <deque>
#include <tuple>

namespace
{
Text Quoted(std::string_view text)
{
    return "\"" + MakeDisplayable(text) + "\"";
}

// Lines that carry nothing and so are not worth a warning when no pass reaches them.
bool IsEmptyOrComment(std::string_view line)
{
    return ClassifyLine(TrimSpaces(line)).kind == LineKind::Blank;
}
} // namespace

struct CListChecker::Node
{
    int document = 0;
    std::int32_t line = 0;
    bool trimmed = false; // every line of a pass but its first
};

// Where a pass from a line ends.
struct CListChecker::Outcome
{
    enum class Kind
    {
        Continue, // only between two lines of a pass
        Stop,     // a screen of a step, question, picture or stopwatch warning
        End,      // the end screen
        Fault,    // a grave fault: back to the menu
        Loop,     // never
    };
    Kind kind = Kind::Continue;
    int document = 0;
    std::int32_t line = 0;
    LineKind stopKind = LineKind::Blank;
};

struct CListChecker::Memo
{
    enum class State : std::uint8_t
    {
        Unknown,
        InProgress,
        Done,
    };
    State state = State::Unknown;
    Outcome outcome;
};

struct CListChecker::Document
{
    Text path;
    Text programFolder;
    Text listFolder; // where names in its lines are looked for: the folder of the list
    bool isList = false;
    bool readable = false;
    LineStore store;
    CLabelIndex labels;
    CStepEndIndex stepEnds;
    std::vector<bool> reached;
    // Lines from which a pass of the list being checked is followed, or queued to be; a file
    // that several lists load starts afresh for each.
    std::vector<bool> passStarts;
    int passStartsOfList = -1;
    std::vector<std::uint32_t> kinds; // the kinds each line was read as, one bit a kind
    // Untrimmed, trimmed; a memo of zero bytes is one not yet known. In large pages, so that
    // the memos of a long list cost a few page faults.
    CGrowableArray<Memo> memo[2];
    std::set<std::int32_t> unshown; // text lines of passes that end at the end screen
};

CListChecker::CListChecker(IPictureDecoder* decoder) : m_decoder(decoder) {}

CListChecker::~CListChecker() = default;

void CListChecker::Report(int document, std::int32_t line, FindingKind kind,
                          std::initializer_list<std::string_view> arguments)
{
    ReportAt(m_documents[static_cast<std::size_t>(document)]->path, line, kind, arguments);
}

void CListChecker::ReportAt(const Text& file, std::int32_t line, FindingKind kind,
                            std::initializer_list<std::string_view> arguments)
{
    const FindingEntry& entry = FindingEntryOf(kind);
    Text text = FindingText(kind, arguments);
    if (!m_reported.emplace(file, line, entry.code, text).second)
        return;
    m_findings.push_back(
        {MakeDisplayable(file), line, entry.severity, entry.code, std::move(text), file});
}

int CListChecker::LoadDocument(const Text& path, const Text& programFolder, const Text& listFolder,
                               bool isList)
{
    const Text key = path + '\n' + listFolder;
    if (const auto found = m_documentsByPath.find(key); found != m_documentsByPath.end())
        return found->second;
    auto document = std::make_unique<Document>();
    document->path = path;
    document->programFolder = programFolder;
    document->listFolder = listFolder;
    document->isList = isList;
    // The bytes are needed only for the checks of the file as a whole; the document keeps
    // its lines alone, so that a long chain of text files costs no more than their lines.
    std::string bytes;
    CReadOnlyFile file;
    if (file.Open(path))
    {
        document->readable = true;
        bytes = ReadFileBytes(file);
        CLineFiller filler(document->store, bytes.size());
        filler.Add(bytes);
        filler.Finish();
    }
    const auto count = static_cast<std::size_t>(document->store.Count());
    document->reached.assign(count, false);
    document->kinds.assign(count, 0);
    document->memo[0].ResizeZeroed(count);
    document->memo[1].ResizeZeroed(count);
    const int index = static_cast<int>(m_documents.size());
    m_documents.push_back(std::move(document));
    m_documentsByPath.emplace(key, index);
    CheckStatically(index, bytes);
    return index;
}

const NamedFile& CListChecker::NamedFileOf(const Document& document, const Text& name)
{
    // A name is looked up once for each way the passes read its line, and a list may name
    // one picture thousands of times; no path holds a zero byte.
    const Text key = document.programFolder + '\0' + document.listFolder + '\0' + name;
    const auto [found, added] = m_namedFiles.try_emplace(key);
    if (added)
        found->second =
            FindNamedFile(document.programFolder, document.listFolder, name, &m_folderNames);
    return found->second;
}

bool CListChecker::PictureLoads(const Text& path)
{
    const auto [entry, added] = m_pictures.emplace(path, false);
    if (!added)
        return entry->second;
    if (m_decoder == nullptr)
    {
        CReadOnlyFile file;
        entry->second = file.Open(path);
    }
    else
        entry->second = m_decoder->Load(path) != nullptr;
    return entry->second;
}

void CListChecker::CheckList(const Text& programFolder, const Text& listFolder,
                             const Text& fileName)
{
    ++m_listsChecked;
    const int list = LoadDocument(listFolder + fileName, programFolder, listFolder, true);
    Document& document = *m_documents[static_cast<std::size_t>(list)];
    if (!document.readable)
    {
        Report(list, 1, FindingKind::UnreadableList);
        return;
    }
    // An empty list (no bytes, or nothing but zero bytes) has no line to start from; the
    // runner shows its end screen at once.
    if (document.store.Count() == 0)
    {
        Report(list, 1, FindingKind::NoStep);
        return;
    }

    // Every pass that can begin: the first line, the line after each screen, the labels that
    // answers lead to, and where "Zurück" restarts.
    std::deque<Node> queue;
    const auto addStart = [&](int doc, std::int32_t line)
    {
        Document& at = *m_documents[static_cast<std::size_t>(doc)];
        if (line < 0 || line >= at.store.Count())
            return;
        if (at.passStartsOfList != m_listsChecked)
        {
            at.passStarts.assign(static_cast<std::size_t>(at.store.Count()), false);
            at.passStartsOfList = m_listsChecked;
        }
        if (!at.passStarts[static_cast<std::size_t>(line)])
        {
            at.passStarts[static_cast<std::size_t>(line)] = true;
            queue.push_back({doc, line, false});
        }
    };
    addStart(list, 0);
    bool firstPass = true;
    while (!queue.empty())
    {
        const Node start = queue.front();
        queue.pop_front();
        Document& at = *m_documents[static_cast<std::size_t>(start.document)];
        const std::string_view stored = at.store.GetText(start.line);
        const Text trimmed = TrimSpaces(stored);
        if (!stored.empty() && stored.front() == ' ' && !trimmed.empty() &&
            ClassifyLine(stored).kind != ClassifyLine(trimmed).kind)
            Report(start.document, start.line + 1, FindingKind::MarkerAfterSpaces);

        const Outcome outcome = Follow(start);
        if (firstPass && outcome.kind == Outcome::Kind::End)
            Report(list, 1, FindingKind::NoStep);
        firstPass = false;

        Document& ended = *m_documents[static_cast<std::size_t>(outcome.document)];
        if (outcome.kind == Outcome::Kind::End)
        {
            addStart(outcome.document, RestartLine(outcome.document, ended.store.Count()));
            continue;
        }
        if (outcome.kind != Outcome::Kind::Stop)
            continue;
        const std::int32_t line = outcome.line;
        if (outcome.stopKind == LineKind::Question)
        {
            // Its targets line belongs to it; the answers lead to the labels, "Zum Anfang" to
            // line 0, and so does either answer when the targets are missing.
            addStart(outcome.document, 0);
            const AnswerTargets targets = ResolveAnswerTargets(ended.store, ended.labels, line);
            if (targets.problem == AnswerTargets::Problem::InLastLine)
                continue;
            ended.reached[static_cast<std::size_t>(line + 1)] = true;
            if (targets.problem == AnswerTargets::Problem::None)
            {
                addStart(outcome.document, *targets.noLabel);
                addStart(outcome.document, *targets.yesLabel);
            }
            continue;
        }
        addStart(outcome.document, line + 1);
        if (line + 1 >= ended.store.Count())
            addStart(outcome.document, RestartLine(outcome.document, ended.store.Count()));
        addStart(outcome.document, RestartLine(outcome.document, line));
    }
    ReportUnreachable(list);
}

std::int32_t CListChecker::RestartLine(int document, std::int32_t line)
{
    // Every screen of a list walks back, and a walk line by line may go back thousands of
    // lines each time: the index keeps the work linear.
    Document& at = *m_documents[static_cast<std::size_t>(document)];
    const StepBackWalk walk = WalkBack(at.store, line, at.stepEnds);
    m_linesRead += walk.linesRead;
    return walk.restartLine;
}

CListChecker::Outcome CListChecker::Follow(const Node& start)
{
    std::vector<Node>& path = m_path;
    path.clear();
    Node node = start;
    Outcome outcome;
    for (;;)
    {
        Document& document = *m_documents[static_cast<std::size_t>(node.document)];
        Memo& memo = document.memo[node.trimmed][static_cast<std::size_t>(node.line)];
        if (memo.state == Memo::State::Done)
        {
            outcome = memo.outcome;
            break;
        }
        if (memo.state == Memo::State::InProgress)
        {
            // The pass came round to a line it had read already: nothing on the way stops it.
            const Node& closing = path.back();
            const Document& at = *m_documents[static_cast<std::size_t>(closing.document)];
            const Text line = TrimSpaces(at.store.GetText(closing.line));
            Report(closing.document, closing.line + 1,
                   ClassifyLine(line).kind == LineKind::TextFile ? FindingKind::EndlessTextFile
                                                                 : FindingKind::EndlessJump);
            outcome.kind = Outcome::Kind::Loop;
            break;
        }
        memo.state = Memo::State::InProgress;
        path.push_back(node);
        Node next;
        outcome = StepOf(node, next);
        if (outcome.kind != Outcome::Kind::Continue)
            break;
        node = next;
    }
    for (const Node& visited : path)
    {
        Document& document = *m_documents[static_cast<std::size_t>(visited.document)];
        document.memo[visited.trimmed][static_cast<std::size_t>(visited.line)] = {Memo::State::Done,
                                                                                  outcome};
        if (outcome.kind == Outcome::Kind::End)
        {
            const LineKind kind = ClassifyLine(document.store.GetText(visited.line)).kind;
            if (kind == LineKind::Text || kind == LineKind::TextWithComma)
                document.unshown.insert(visited.line);
        }
    }
    return outcome;
}

// The checker's side of a pass: it shows nothing, and stops wherever the runner may stop.
class CListChecker::PassSink : public IPassSink
{
public:
    PassSink(CListChecker& checker, const Document& document)
        : m_checker(checker), m_document(document)
    {
    }
    void EnterLine(std::int32_t) override {}
    void SetHeading(const Text&) override {}
    void SetSubHeading(const Text&) override {}
    void StartStopwatch(const Text&) override {}
    // A stopwatch may run at any check.
    std::optional<Text> CheckStopwatch() override { return Text(); }
    bool PreparePicture(const Text& name) override
    {
        if (name.empty())
            return false;
        const NamedFile& named = m_checker.NamedFileOf(m_document, name);
        return named.foundPath && m_checker.PictureLoads(*named.foundPath);
    }

private:
    CListChecker& m_checker;
    const Document& m_document;
};

CListChecker::Outcome CListChecker::StepOf(const Node& node, Node& next)
{
    Document& document = *m_documents[static_cast<std::size_t>(node.document)];
    const std::string_view stored = document.store.GetText(node.line);
    const ListLine read = ClassifyLine(node.trimmed ? TrimSpaces(stored) : stored);
    const LineKind kind = read.kind;
    const auto index = static_cast<std::size_t>(node.line);
    ++m_linesRead;
    document.reached[index] = true;
    // A line is checked once for each way it is read; "@" and "@ " count as one way, as
    // they did when the end of the list was a jump like any other.
    const unsigned bit =
        1u << static_cast<unsigned>(kind == LineKind::EndOfList ? LineKind::Jump : kind);
    if (!(document.kinds[index] & bit))
    {
        document.kinds[index] |= bit;
        CheckLine(node.document, node.line, read);
    }

    Outcome outcome;
    outcome.document = node.document;
    outcome.line = node.line;
    const auto advanceFrom = [&](int doc, std::int32_t from)
    {
        if (from + 1 < m_documents[static_cast<std::size_t>(doc)]->store.Count())
        {
            next = {doc, from + 1, true};
            outcome.kind = Outcome::Kind::Continue;
        }
        else
        {
            outcome.kind = Outcome::Kind::End;
            outcome.document = doc;
        }
        return outcome;
    };
    PassSink sink(*this, document);
    Text text; // what the runner would show; the checker looks only at where passes stop
    const LineStep step = CarryOut(read, node.line, document.store, document.labels, sink, text);
    switch (step.flow)
    {
    case LineStep::Flow::Next:
        return advanceFrom(node.document, node.line);
    case LineStep::Flow::Jump:
        // The pass goes on after the label; the label line itself is reached all the same.
        document.reached[static_cast<std::size_t>(step.line)] = true;
        return advanceFrom(node.document, step.line);
    case LineStep::Flow::ListEnd:
        outcome.kind = Outcome::Kind::End;
        return outcome;
    case LineStep::Flow::TextFile:
    {
        const NamedFile& named = NamedFileOf(document, step.name);
        const int loaded = named.foundPath ? LoadDocument(*named.foundPath, document.programFolder,
                                                          document.listFolder, false)
                                           : -1;
        if (loaded < 0 || !m_documents[static_cast<std::size_t>(loaded)]->readable)
        {
            outcome.kind = Outcome::Kind::End;
            return outcome;
        }
        return advanceFrom(loaded, -1);
    }
    case LineStep::Flow::Stop:
        outcome.kind = Outcome::Kind::Stop;
        outcome.stopKind = kind;
        return outcome;
    case LineStep::Flow::Fault:
        outcome.kind = Outcome::Kind::Fault;
        return outcome;
    }
    return outcome;
}

void CListChecker::CheckStatically(int document, std::string_view bytes)
{
    Document& d = *m_documents[static_cast<std::size_t>(document)];
    if (!d.readable)
        return;
    const FileByteFacts facts = AnalyseFileBytes(bytes);
    const auto lineOf = [&](std::size_t offset)
    { return static_cast<std::int32_t>(LineNumberOfOffset(bytes, offset)); };
    if (facts.firstZeroByte)
        Report(document, lineOf(*facts.firstZeroByte), FindingKind::ZeroByte);
    if (facts.firstUndefinedByte)
        Report(document, lineOf(*facts.firstUndefinedByte), FindingKind::UndefinedByte);
    if (facts.firstOtherLineEnd)
        Report(document, lineOf(*facts.firstOtherLineEnd), FindingKind::MixedLineEnds);

    std::map<Text, std::int32_t> labels;
    for (std::int32_t i = 0; i < d.store.Count(); ++i)
    {
        const std::string_view stored = d.store.GetText(i);
        if (const auto name = LabelNameOf(stored))
        {
            const auto [first, added] = labels.emplace(*name, i);
            if (!added)
                Report(document, i + 1, FindingKind::DuplicateLabel,
                       {Quoted(*name), DecimalText(first->second + 1)});
        }
        else if (stored.find_first_not_of(' ') != Text::npos && stored.front() == ' ' &&
                 TrimSpaces(stored).front() == '%')
            Report(document, i + 1, FindingKind::LabelAfterSpaces,
                   {Quoted(TrimSpaces(TrimSpaces(stored).substr(1)))});
    }
}

void CListChecker::CheckLine(int document, std::int32_t index, const ListLine& read)
{
    Document& d = *m_documents[static_cast<std::size_t>(document)];
    const std::int32_t number = index + 1;
    switch (read.kind)
    {
    case LineKind::Jump:
        if (!d.labels.FindLabelLine(d.store, read.argument))
            Report(document, number, FindingKind::MissingJumpLabel, {Quoted(read.argument)});
        break;
    case LineKind::Question:
    {
        if (index + 1 >= d.store.Count())
        {
            Report(document, number, FindingKind::QuestionInLastLine);
            break;
        }
        const Text targets = TrimSpaces(d.store.GetText(index + 1));
        const auto labels = ReadAnswerLabels(targets);
        if (!labels)
        {
            Report(document, number + 1, FindingKind::TargetsWithoutSlash, {Quoted(targets)});
            break;
        }
        if (!d.labels.FindLabelLine(d.store, labels->no))
            Report(document, number + 1, FindingKind::MissingNoLabel, {Quoted(labels->no)});
        if (!d.labels.FindLabelLine(d.store, labels->yes))
            Report(document, number + 1, FindingKind::MissingYesLabel, {Quoted(labels->yes)});
        break;
    }
    case LineKind::StopwatchStart:
        if (ReadStopwatchStart(read.argument).seconds == 0)
            Report(document, number, FindingKind::ZeroDuration, {Quoted(read.argument)});
        break;
    case LineKind::Picture:
        CheckNamedFile(document, index, read.argument, NamedFileKind::Picture);
        break;
    case LineKind::TextFile:
        CheckNamedFile(document, index, read.argument, NamedFileKind::TextFile);
        break;
    case LineKind::Blank:
    case LineKind::Heading:
    case LineKind::SubHeading:
    case LineKind::StopwatchCheck:
    case LineKind::EndOfList:
    case LineKind::Label:
    case LineKind::StepEnd:
    case LineKind::TextWithComma:
    case LineKind::Text:
        break;
    }
}

void CListChecker::CheckNamedFile(int document, std::int32_t index, const Text& name,
                                  NamedFileKind kind)
{
    const Document& d = *m_documents[static_cast<std::size_t>(document)];
    const std::int32_t number = index + 1;
    const bool picture = kind == NamedFileKind::Picture;
    if (name.empty())
    {
        Report(document, number,
               picture ? FindingKind::PictureWithoutName : FindingKind::TextFileWithoutName);
        return;
    }
    const Text quoted = Quoted(name);
    if (name.find('\\') != Text::npos)
        Report(document, number,
               picture ? FindingKind::PictureBackslash : FindingKind::TextFileBackslash, {quoted});
    const NamedFile& named = NamedFileOf(d, name);
    if (named.outsideProgramFolder)
    {
        Report(document, number,
               picture ? FindingKind::PictureOutsideProgramFolder
                       : FindingKind::TextFileOutsideProgramFolder,
               {quoted});
        return;
    }
    if (!named.foundPath)
    {
        Report(document, number,
               picture ? FindingKind::MissingPicture : FindingKind::MissingTextFile, {quoted});
        return;
    }
    if (named.foundByOtherCase)
        Report(document, number,
               picture ? FindingKind::PictureNameCase : FindingKind::TextFileNameCase,
               {quoted, Quoted(*named.foundPath)});
    CReadOnlyFile file;
    if (picture ? !PictureLoads(*named.foundPath) : !file.Open(*named.foundPath))
        Report(document, number,
               picture ? FindingKind::UnloadablePicture : FindingKind::UnreadableTextFile,
               {quoted});
}

void CListChecker::ReportUnreachable(int document)
{
    const Document& d = *m_documents[static_cast<std::size_t>(document)];
    const auto reportRun = [&](std::int32_t first, std::int32_t last)
    {
        if (first == last)
            Report(document, first + 1, FindingKind::UnreachableLine);
        else
            Report(document, first + 1, FindingKind::UnreachableLines,
                   {DecimalText(first + 1), DecimalText(last + 1)});
    };
    // Runs of lines that no pass reads, blank lines and comments aside.
    std::int32_t runFirst = -1;
    std::int32_t runLast = -1;
    for (std::int32_t i = 0; i < d.store.Count(); ++i)
    {
        // A fault on a line that no pass reads is a fault all the same.
        if (d.kinds[static_cast<std::size_t>(i)] == 0)
            CheckLine(document, i, ClassifyLine(TrimSpaces(d.store.GetText(i))));
        if (d.reached[static_cast<std::size_t>(i)])
        {
            if (runFirst >= 0)
                reportRun(runFirst, runLast);
            runFirst = -1;
            continue;
        }
        if (IsEmptyOrComment(d.store.GetText(i)))
            continue;
        if (runFirst < 0)
            runFirst = i;
        runLast = i;
    }
    if (runFirst >= 0)
        reportRun(runFirst, runLast);

    // Text collected by a pass that runs on to the end screen, which takes its place.
    std::int32_t previous = -2;
    for (const std::int32_t line : d.unshown)
    {
        if (line != previous + 1)
            Report(document, line + 1, FindingKind::UnshownText);
        previous = line;
    }
}

void CListChecker::ReportLeadingOut(const Text& path, EntryKind kind)
{
    ReportAt(path, 1,
             kind == EntryKind::Folders ? FindingKind::TopicOutsideProgramFolder
                                        : FindingKind::ListOutsideProgramFolder);
}

void CListChecker::Finish()
{
    for (int document = 0; document < static_cast<int>(m_documents.size()); ++document)
    {
        if (!m_documents[static_cast<std::size_t>(document)]->isList)
            ReportUnreachable(document);
    }
}
