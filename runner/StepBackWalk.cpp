#include "runner/StepBackWalk.h"

#include "runner/ListLine.h"

#include <algorithm>

namespace
{
StepBackWalk WalkBackWith(const LineStore& store, std::int32_t currentLine,
                          SubHeadingIndex* subHeadings)
{
    StepBackWalk walk;
    if (currentLine <= 0 || store.Count() == 0)
    {
        walk.reachedFirstLine = true;
        return walk;
    }
    bool previousEndPassed = false;
    for (std::int32_t line = std::min(currentLine, store.Count()) - 1;; --line)
    {
        walk.reachedFirstLine = walk.reachedFirstLine || line == 0;
        ++walk.linesRead;
        const bool stepEnd = IsStepEndLine(store.GetText(line));
        if (stepEnd && previousEndPassed)
        {
            walk.restartLine = line + 1;
            if (subHeadings != nullptr)
                walk.subHeadingLine = subHeadings->InForceAt(store, line);
            return walk;
        }
        // At line 0 the first step is the previous one, whether or not its end is line 0.
        if (line == 0)
            return walk;
        if (stepEnd)
            previousEndPassed = true;
    }
}
} // namespace

StepBackWalk WalkBack(const LineStore& store, std::int32_t currentLine, SubHeadingSearch search)
{
    if (search == SubHeadingSearch::Skip)
        return WalkBackWith(store, currentLine, nullptr);
    SubHeadingIndex subHeadings;
    return WalkBackWith(store, currentLine, &subHeadings);
}

StepBackWalk WalkBack(const LineStore& store, std::int32_t currentLine,
                      SubHeadingIndex& subHeadings)
{
    return WalkBackWith(store, currentLine, &subHeadings);
}

StepBackWalk WalkBack(const LineStore& store, std::int32_t currentLine, CStepEndIndex& stepEnds)
{
    StepBackWalk walk;
    if (currentLine <= 0 || store.Count() == 0)
    {
        walk.reachedFirstLine = true;
        return walk;
    }
    // The walk passes the last step end before the current line and restarts after the one
    // before that; with fewer than two it comes to line 0 and restarts there.
    const std::int32_t top = std::min(currentLine, store.Count()) - 1;
    const std::size_t passed = stepEnds.CountUpTo(store, top);
    walk.linesRead = stepEnds.LinesRead();
    const std::vector<std::int32_t>& ends = stepEnds.Lines(store);
    if (passed < 2)
    {
        walk.reachedFirstLine = true;
        return walk;
    }
    const std::int32_t previousEnd = ends[passed - 2];
    walk.restartLine = previousEnd + 1;
    walk.reachedFirstLine = previousEnd == 0;
    return walk;
}
