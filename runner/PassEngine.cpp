#include "runner/PassEngine.h"

#include "app/DialogTexts.h"

#include <set>

AnswerTargets ResolveAnswerTargets(const LineStore& store, CLabelIndex& labels,
                                   std::int32_t questionLine)
{
    AnswerTargets targets;
    if (questionLine + 1 >= store.Count())
    {
        targets.problem = AnswerTargets::Problem::InLastLine;
        return targets;
    }
    const auto names = ReadAnswerLabels(TrimSpaces(store.GetText(questionLine + 1)));
    if (!names)
    {
        targets.problem = AnswerTargets::Problem::WithoutSlash;
        return targets;
    }
    targets.noLabel = labels.FindLabelLine(store, names->no);
    if (!targets.noLabel)
    {
        targets.problem = AnswerTargets::Problem::NoLabelMissing;
        return targets;
    }
    targets.yesLabel = labels.FindLabelLine(store, names->yes);
    if (!targets.yesLabel)
        targets.problem = AnswerTargets::Problem::YesLabelMissing;
    return targets;
}

LineStep CarryOut(const ListLine& read, std::int32_t index, const LineStore& store,
                  CLabelIndex& labels, IPassSink& sink, Text& text)
{
    LineStep step;
    const auto stop = [&](PassEnd end)
    {
        step.flow = LineStep::Flow::Stop;
        step.end = end;
        return step;
    };
    switch (read.kind)
    {
    case LineKind::Blank:
    case LineKind::Label:
        return step;
    case LineKind::TextFile:
        step.flow = LineStep::Flow::TextFile;
        step.name = read.argument;
        return step;
    case LineKind::Heading:
        sink.SetHeading(read.argument);
        return step;
    case LineKind::SubHeading:
        sink.SetSubHeading(read.argument);
        return step;
    case LineKind::StopwatchStart:
        sink.StartStopwatch(read.argument);
        return step;
    case LineKind::StopwatchCheck:
        if (auto warning = sink.CheckStopwatch())
        {
            text = std::move(*warning);
            return stop(PassEnd::Warning);
        }
        return step;
    case LineKind::Picture:
        return sink.PreparePicture(read.argument) ? stop(PassEnd::Picture) : step;
    case LineKind::EndOfList:
        step.flow = LineStep::Flow::ListEnd;
        return step;
    case LineKind::Jump:
        if (const auto label = labels.FindLabelLine(store, read.argument))
        {
            step.flow = LineStep::Flow::Jump;
            step.line = *label;
            return step;
        }
        // The runner has always named the JA label here, whatever the jump was for.
        step.flow = LineStep::Flow::Fault;
        step.fault = DialogText::YesLabelMissing;
        return step;
    case LineKind::StepEnd:
        text += read.argument;
        return stop(PassEnd::StepEnd);
    case LineKind::Question:
        text += read.argument;
        step.targets = ResolveAnswerTargets(store, labels, index);
        return stop(PassEnd::Question);
    case LineKind::TextWithComma:
    case LineKind::Text:
        text += read.argument;
        text += '\n';
        return step;
    }
    return step;
}

PassResult RunPass(const LineStore& store, std::int32_t start, CLabelIndex& labels, IPassSink& sink,
                   ITextFileLoader& files)
{
    PassResult result;
    // Nothing that a pass does between two arrivals at one label, or two loads of one file,
    // can make it stop the second time round: it would run for ever.
    std::set<std::int32_t> jumpTargets;
    std::set<FileIdentity> loadedFiles;
    std::int32_t current = start;
    const auto fault = [&](const char* message)
    {
        result.end = PassEnd::Fault;
        result.fault = message;
        result.line = current;
        return result;
    };
    // The first line of a pass counts as stored; every later one trimmed of spaces.
    Text line(store.GetText(current));
    for (;;)
    {
        sink.EnterLine(current);
        const LineStep step =
            CarryOut(ClassifyLine(line), current, store, labels, sink, result.text);
        switch (step.flow)
        {
        case LineStep::Flow::Next:
            break;
        case LineStep::Flow::Jump:
            if (!jumpTargets.insert(step.line).second)
                return fault(DialogText::EndlessLoop);
            current = step.line;
            break;
        case LineStep::Flow::ListEnd:
            current = store.Count();
            break;
        case LineStep::Flow::TextFile:
        {
            const auto identity = files.OpenTextFile(step.name);
            if (!identity)
            {
                current = store.Count();
                break;
            }
            if (!loadedFiles.insert(*identity).second)
                return fault(DialogText::EndlessLoop);
            files.LoadOpenedTextFile();
            // Labels of the old lines mean nothing in the new ones.
            jumpTargets.clear();
            // The next line read is line 0 of the new store, trimmed like every later line.
            current = -1;
            break;
        }
        case LineStep::Flow::Stop:
            result.end = step.end;
            result.line = current;
            result.targets = step.targets;
            return result;
        case LineStep::Flow::Fault:
            return fault(step.fault);
        }
        // The count is asked afresh: a text file may have replaced the store.
        const std::int32_t count = store.Count();
        if (current < count)
        {
            // Lines of nothing but spaces do nothing, and a file may hold millions of them.
            do
                ++current;
            while (current < count && TrimCharacters(store.GetText(current), " ").empty());
            if (current < count)
                line = TrimSpaces(store.GetText(current));
        }
        if (current >= count)
            break;
    }
    result.end = PassEnd::ListEnd;
    result.line = current;
    return result;
}
