#include "runner/StepBackWalk.h"

#include "runner/ListLine.h"

#include <algorithm>

StepBackWalk WalkBack(const LineStore& store, std::int32_t currentLine, SubHeadingSearch search)
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
        const bool stepEnd = IsStepEndLine(store.GetText(line));
        if (stepEnd && previousEndPassed)
        {
            walk.restartLine = line + 1;
            for (std::int32_t i = line; search == SubHeadingSearch::Search && i >= 0; --i)
            {
                if (IsSubHeadingLine(store.GetText(i)))
                {
                    walk.subHeadingLine = i;
                    break;
                }
            }
            return walk;
        }
        // At line 0 the first step is the previous one, whether or not its end is line 0.
        if (line == 0)
            return walk;
        if (stepEnd)
            previousEndPassed = true;
    }
}
