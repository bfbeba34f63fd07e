#include "graph/FlowGraphBuilder.h"

#include "app/DialogTexts.h"
#include "platform/NamedFile.h"
#include "platform/ReadOnlyFile.h"
#include "runner/FileText.h"
#include "runner/PassEngine.h"
#include "runner/StepBackWalk.h"
#include "stopwatch/StopwatchStart.h"

#include <algorithm>
#include <deque>
#include <map>
#include <memory>
#include <set>
#include <tuple>

namespace
{
constexpr const char* PictureTap = "Bild antippen";
constexpr const char* MessageClosed = "OK";

// What the runner carries from one screen to the next and what decides the next screens.
struct RunState
{
    int document = 0;
    std::int32_t line = 0; // where the next pass starts
    bool backBlocked = false;
    // The step counter, held at 2: beyond that nothing it decides changes.
    int stepCounter = 0;
    bool stopwatchMayRun = false;
    Text stopwatchName;
    auto operator<=>(const RunState&) const = default;
};

struct BoxShown
{
    int document = 0;
    std::int32_t line = 0; // from 0
    Text text;
};

// One way a pass from a start can end: the stopwatch checks on the way decide between them.
struct PassOutcome
{
    std::vector<BoxShown> boxes;
    PassResult pass;
    int document = 0; // where the pass ended
    Text heading;
    Text subHeading;
    Text pictureName;
    bool loadedTextFile = false;
    bool stopwatchMayRun = false;
    Text stopwatchName;
};

struct LoadedDocument
{
    Text path;
    bool isList = false;
    bool readable = false;
    LineStore store;
    // Where "Zurück" restarts, looked up rather than walked for each screen.
    CStepEndIndex stepEnds;
};
} // namespace

// Follows passes for the builder: the sink and text file loader of the pass engine, showing
// nothing and writing down the message boxes the runner would show, with their lines.
class CGraphPasses final : private IPassSink, private ITextFileLoader
{
public:
    CGraphPasses(IPictureDecoder* decoder, Text programFolder, Text listFolder)
        : m_decoder(decoder), m_programFolder(std::move(programFolder)),
          m_listFolder(std::move(listFolder))
    {
    }

    int Load(const Text& path, bool isList)
    {
        if (const auto found = m_byPath.find(path); found != m_byPath.end())
            return found->second;
        auto document = std::make_unique<LoadedDocument>();
        document->path = path;
        document->isList = isList;
        CReadOnlyFile file;
        if (file.Open(path))
        {
            document->readable = true;
            AppendFileLines(file, document->store);
        }
        m_documents.push_back(std::move(document));
        const int index = static_cast<int>(m_documents.size()) - 1;
        m_byPath.emplace(path, index);
        return index;
    }
    const LoadedDocument& Document(int index) const
    {
        return *m_documents[static_cast<std::size_t>(index)];
    }
    int DocumentCount() const { return static_cast<int>(m_documents.size()); }
    StepBackWalk WalkBackIn(int index, std::int32_t line)
    {
        LoadedDocument& document = *m_documents[static_cast<std::size_t>(index)];
        return WalkBack(document.store, line, document.stepEnds);
    }
    std::int64_t LinesRead() const { return m_linesRead; }

    // The pass from `state`, the stopwatch warning at its check number `warnAt` (counted
    // among the checks at which it may run; -1: at none). `checksPassed` tells how many
    // checks the pass met at which the stopwatch may have run.
    PassOutcome Run(const RunState& state, int warnAt, int& checksPassed)
    {
        UseDocument(state.document);
        m_outcome = PassOutcome();
        m_outcome.document = state.document;
        m_outcome.stopwatchMayRun = state.stopwatchMayRun;
        m_outcome.stopwatchName = state.stopwatchName;
        m_warnAt = warnAt;
        m_checks = 0;
        m_outcome.pass = RunPass(m_working, state.line, m_labels, *this, *this);
        checksPassed = m_checks;
        return std::move(m_outcome);
    }

private:
    void UseDocument(int index)
    {
        if (m_workingDocument == index)
            return;
        m_working.Clear();
        const LineStore& store = Document(index).store;
        for (std::int32_t i = 0; i < store.Count(); ++i)
            m_working.Append(store.GetText(i));
        m_workingDocument = index;
    }
    void Box(Text text)
    {
        m_outcome.boxes.push_back({m_outcome.document, m_line, std::move(text)});
    }

    void EnterLine(std::int32_t index) override
    {
        m_line = index;
        ++m_linesRead;
    }
    void SetHeading(const Text& heading) override { m_outcome.heading = heading; }
    void SetSubHeading(const Text& subHeading) override { m_outcome.subHeading = subHeading; }
    void StartStopwatch(const Text& start) override
    {
        StopwatchStart read = ReadStopwatchStart(start);
        m_outcome.stopwatchName.clear();
        if (read.seconds == 0)
        {
            // A stopwatch that runs goes on running.
            Box(DialogText::TimerUnreadable);
            return;
        }
        m_outcome.stopwatchMayRun = true;
        m_outcome.stopwatchName = std::move(read.name);
    }
    std::optional<Text> CheckStopwatch() override
    {
        if (!m_outcome.stopwatchMayRun)
            return std::nullopt;
        if (m_checks++ == m_warnAt)
            return StopwatchWarning(m_outcome.stopwatchName);
        // Passed without a warning: the stopwatch had run out, until a start line again.
        m_outcome.stopwatchMayRun = false;
        return std::nullopt;
    }
    bool PreparePicture(const Text& name) override
    {
        if (name.empty())
        {
            Box(DialogText::PictureNameMissing);
            return false;
        }
        const NamedFile named = FindNamedFile(m_programFolder, m_listFolder, name);
        if (!named.foundPath || !PictureLoads(*named.foundPath))
        {
            Box(DialogText::PictureUnloadable + named.shownPath);
            return false;
        }
        m_outcome.pictureName = name;
        return true;
    }
    std::optional<FileIdentity> OpenTextFile(const Text& name) override
    {
        const NamedFile named = FindNamedFile(m_programFolder, m_listFolder, name);
        CReadOnlyFile file;
        if (!named.foundPath || !file.Open(*named.foundPath))
        {
            Box(DialogText::TextFileMissing);
            return std::nullopt;
        }
        m_opened = Load(*named.foundPath, false);
        return file.Identity();
    }
    void LoadOpenedTextFile() override
    {
        UseDocument(m_opened);
        m_outcome.document = m_opened;
        m_outcome.loadedTextFile = true;
    }

    bool PictureLoads(const Text& path)
    {
        const auto [entry, added] = m_pictures.emplace(path, false);
        if (added)
        {
            CReadOnlyFile file;
            entry->second =
                m_decoder == nullptr ? file.Open(path) : m_decoder->Load(path) != nullptr;
        }
        return entry->second;
    }

    IPictureDecoder* m_decoder;
    Text m_programFolder;
    Text m_listFolder;
    std::vector<std::unique_ptr<LoadedDocument>> m_documents;
    std::map<Text, int> m_byPath;
    std::map<Text, bool> m_pictures;
    LineStore m_working;
    int m_workingDocument = -1;
    CLabelIndex m_labels;
    PassOutcome m_outcome;
    std::int32_t m_line = 0;
    int m_warnAt = -1;
    int m_checks = 0;
    int m_opened = 0;
    std::int64_t m_linesRead = 0;
};

namespace
{
// Where a button leads: a pass from `state`, reached from the screen `from`.
struct Arrival
{
    RunState state;
    int from = 0;
    Text label;
    int document = 0;
    std::int32_t line = 0; // from 1
    auto operator<=>(const Arrival&) const = default;
};

class CGraphAssembly
{
public:
    explicit CGraphAssembly(FlowGraph& graph) : m_graph(graph) {}

    int Node(GraphNode::Kind kind, int document, std::int32_t line, const Text& text,
             const Text& heading = {}, const Text& subHeading = {})
    {
        const auto key = std::make_tuple(kind, document, line, text);
        if (const auto found = m_nodes.find(key); found != m_nodes.end())
            return found->second;
        m_graph.nodes.push_back({kind, document, line, text, heading, subHeading});
        const int index = static_cast<int>(m_graph.nodes.size()) - 1;
        m_nodes.emplace(key, index);
        return index;
    }
    void Edge(int from, int to, const Text& label, int document, std::int32_t line)
    {
        if (m_edges.emplace(from, to, label, document, line).second)
            m_graph.edges.push_back({from, to, label, document, line});
    }

private:
    FlowGraph& m_graph;
    std::map<std::tuple<GraphNode::Kind, int, std::int32_t, Text>, int> m_nodes;
    std::set<std::tuple<int, int, Text, int, std::int32_t>> m_edges;
};
} // namespace

CFlowGraphBuilder::CFlowGraphBuilder(IPictureDecoder* decoder, std::int64_t mostLinesRead)
    : m_decoder(decoder), m_mostLinesRead(mostLinesRead)
{
}

FlowGraph CFlowGraphBuilder::Build(const Text& programFolder, const Text& listFolder,
                                   const Text& fileName)
{
    FlowGraph graph;
    CGraphAssembly assembly(graph);
    CGraphPasses passes(m_decoder, programFolder, listFolder);
    const int list = passes.Load(listFolder + fileName, true);
    const int start = assembly.Node(GraphNode::Kind::Start, list, 1, fileName);
    const auto finish = [&]
    {
        for (int i = 0; i < passes.DocumentCount(); ++i)
            graph.documents.push_back({passes.Document(i).path, passes.Document(i).isList});
        return graph;
    };
    if (!passes.Document(list).readable)
    {
        const int fault = assembly.Node(GraphNode::Kind::Fault, list, 1,
                                        listFolder + fileName + "\n" + DialogText::CannotOpen);
        assembly.Edge(start, fault, DialogText::Start, list, 1);
        return finish();
    }

    RunState first;
    first.document = list;
    std::deque<Arrival> queue{{first, start, DialogText::Start, list, 1}};
    std::set<Arrival> seen(queue.begin(), queue.end());
    const auto arrive = [&](Arrival arrival)
    {
        if (seen.insert(arrival).second)
            queue.push_back(std::move(arrival));
    };
    std::map<RunState, std::vector<PassOutcome>> outcomes;
    // The screens each screen is reached from by a button that goes on.
    std::map<int, std::set<int>> forwardFrom;
    struct BackEdge
    {
        int from;
        int to;
        int document;
        std::int32_t line;
    };
    std::vector<BackEdge> backs;
    while (!queue.empty())
    {
        const Arrival arrival = queue.front();
        queue.pop_front();
        const RunState& state = arrival.state;
        const LineStore& startStore = passes.Document(state.document).store;

        auto known = outcomes.find(state);
        if (known == outcomes.end())
        {
            std::vector<PassOutcome> found;
            if (state.line < startStore.Count())
            {
                // Each stopwatch check on the way may stop a pass: a list of many checks after a
                // start line costs passes times lines.
                if (passes.LinesRead() > m_mostLinesRead)
                {
                    graph.truncated = true;
                    break;
                }
                int checks = 0;
                found.push_back(passes.Run(state, -1, checks));
                for (int warnAt = 0; warnAt < checks && !graph.truncated; ++warnAt)
                {
                    graph.truncated = passes.LinesRead() > m_mostLinesRead;
                    int ignored = 0;
                    found.push_back(passes.Run(state, warnAt, ignored));
                }
            }
            else
            {
                // Past the last line no pass runs: the end screen is up at once.
                PassOutcome end;
                end.pass.end = PassEnd::ListEnd;
                end.pass.line = startStore.Count();
                end.document = state.document;
                end.stopwatchMayRun = state.stopwatchMayRun;
                end.stopwatchName = state.stopwatchName;
                found.push_back(std::move(end));
            }
            known = outcomes.emplace(state, std::move(found)).first;
        }

        for (const PassOutcome& outcome : known->second)
        {
            const PassResult& pass = outcome.pass;
            const int document = outcome.document;
            const LineStore& store = passes.Document(document).store;
            RunState next = state;
            next.document = document;
            next.stopwatchMayRun = outcome.stopwatchMayRun;
            next.stopwatchName = outcome.stopwatchName;
            if (outcome.loadedTextFile)
            {
                next.backBlocked = false;
                next.stepCounter = 0;
            }
            const auto counted = [](int counter) { return std::min(counter + 1, 2); };

            std::vector<BoxShown> boxes = outcome.boxes;
            int screen = -1;
            bool backOffered = false;
            std::int32_t backFrom = 0; // where the walk back starts
            std::int32_t backLine = 0; // from 1: the line of the screen it leaves
            switch (pass.end)
            {
            case PassEnd::StepEnd:
                screen = assembly.Node(GraphNode::Kind::Step, document, pass.line + 1, pass.text,
                                       outcome.heading, outcome.subHeading);
                backOffered = !next.backBlocked && next.stepCounter >= 2;
                backFrom = pass.line;
                backLine = pass.line + 1;
                next.stepCounter = counted(next.stepCounter);
                break;
            case PassEnd::Question:
            {
                next.backBlocked = true;
                next.stepCounter = counted(next.stepCounter);
                const AnswerTargets& targets = pass.targets;
                const char* fault = nullptr;
                switch (targets.problem)
                {
                case AnswerTargets::Problem::None:
                case AnswerTargets::Problem::InLastLine:
                    break;
                case AnswerTargets::Problem::WithoutSlash:
                    fault = DialogText::TargetsWithoutSlash;
                    break;
                case AnswerTargets::Problem::NoLabelMissing:
                    fault = DialogText::NoLabelMissing;
                    break;
                case AnswerTargets::Problem::YesLabelMissing:
                    fault = DialogText::YesLabelMissing;
                    break;
                }
                if (fault != nullptr)
                {
                    // The targets line is at fault; the list is left.
                    screen = assembly.Node(GraphNode::Kind::Fault, document, pass.line + 2, fault);
                    break;
                }
                if (targets.problem == AnswerTargets::Problem::InLastLine)
                    boxes.push_back({document, pass.line, DialogText::QuestionInLastLine});
                screen = assembly.Node(GraphNode::Kind::Question, document, pass.line + 1,
                                       pass.text, outcome.heading, outcome.subHeading);
                // Without targets either answer starts the lines again.
                const std::int32_t answerLine =
                    targets.problem == AnswerTargets::Problem::None ? pass.line + 2 : pass.line + 1;
                RunState no = next;
                no.line = targets.noLabel.value_or(0);
                RunState yes = next;
                yes.line = targets.yesLabel.value_or(0);
                arrive({no, screen, DialogText::No, document, answerLine});
                arrive({yes, screen, DialogText::Yes, document, answerLine});
                break;
            }
            case PassEnd::Picture:
            {
                screen = assembly.Node(GraphNode::Kind::Picture, document, pass.line + 1,
                                       outcome.pictureName);
                RunState tapped = next;
                tapped.line = pass.line + 1;
                arrive({tapped, screen, PictureTap, document, pass.line + 1});
                break;
            }
            case PassEnd::Warning:
            {
                screen = assembly.Node(GraphNode::Kind::Warning, document, pass.line + 1, pass.text,
                                       outcome.heading, outcome.subHeading);
                RunState onward = next;
                onward.line = pass.line + 1;
                onward.stepCounter = counted(next.stepCounter);
                arrive({onward, screen, DialogText::Next, document, pass.line + 1});
                break;
            }
            case PassEnd::ListEnd:
                screen = assembly.Node(GraphNode::Kind::End, -1, 0, DialogText::ListDone);
                backOffered = !next.backBlocked && store.Count() > 0;
                backFrom = store.Count();
                backLine = store.Count();
                break;
            case PassEnd::Fault:
                screen = assembly.Node(GraphNode::Kind::Fault, document, pass.line + 1, pass.fault);
                break;
            }
            if (pass.end == PassEnd::StepEnd)
            {
                RunState onward = next;
                onward.line = pass.line + 1;
                onward.stepCounter = counted(next.stepCounter);
                arrive({onward, screen, DialogText::Next, document, pass.line + 1});
            }
            if (backOffered)
            {
                const StepBackWalk walk = passes.WalkBackIn(document, backFrom);
                RunState back = next;
                back.line = walk.restartLine;
                if (walk.reachedFirstLine)
                    back.stepCounter = 0;
                arrive({back, screen, DialogText::Back, document, backLine});
            }

            const bool back = arrival.label == DialogText::Back;
            if (!back)
                forwardFrom[screen].insert(arrival.from);
            else if (boxes.empty())
            {
                // Decided once every way forward is known.
                backs.push_back({arrival.from, screen, arrival.document, arrival.line});
                continue;
            }
            // The boxes come between the button and the screen.
            int from = arrival.from;
            Text label = arrival.label;
            int labelDocument = arrival.document;
            std::int32_t labelLine = arrival.line;
            for (const BoxShown& box : boxes)
            {
                const GraphNode::Kind kind = GraphNode::Kind::Message;
                const int node = assembly.Node(kind, box.document, box.line + 1, box.text);
                assembly.Edge(from, node, label, labelDocument, labelLine);
                from = node;
                label = MessageClosed;
                labelDocument = box.document;
                labelLine = box.line + 1;
            }
            assembly.Edge(from, screen, label, labelDocument, labelLine);
        }
    }
    // "Zurück" to the one screen that leads to this one is the way back, as a driver expects
    // it, and is not drawn; where a screen is reached from several, or "Zurück" leads
    // elsewhere, it is.
    for (const BackEdge& edge : backs)
    {
        const std::set<int>& forward = forwardFrom[edge.from];
        if (forward.size() != 1 || *forward.begin() != edge.to)
            assembly.Edge(edge.from, edge.to, DialogText::Back, edge.document, edge.line);
    }
    return finish();
}
