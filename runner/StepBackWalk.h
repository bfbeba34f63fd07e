// The walk back of "Zurück": from the line that ended the current screen, back over the end
// of the previous step to the end of the step before it. A pass from the line after that
// shows the whole previous step again.
#pragma once

#include "runner/LineStore.h"
#include "runner/StepEndIndex.h"
#include "runner/SubHeadingIndex.h"

#include <optional>

struct StepBackWalk
{
    std::int32_t restartLine = 0;
    // The walk reached line 0: the run starts over, its step counter at 0.
    bool reachedFirstLine = false;
    // The sub-heading line in force at the restart, if the walk looked for one and found it.
    std::optional<std::int32_t> subHeadingLine;
    // Lines of the store the walk read, the building of a step-end index included: for tests
    // that hold the work of many walks linear in the lines.
    std::int32_t linesRead = 0;
};

enum class SubHeadingSearch
{
    Search, // "Zurück" shows the restarted step under its sub-heading
    Skip,   // only the restart line is wanted: the search back to line 0 is not made
};

// `currentLine` is where the screen stands (its step end, its picture, or Count for the end
// screen). With no line before it, or an empty store, the walk restarts at line 0. A line
// ends a step for the walk when it ends in ";" once trimmed; a sub-heading line starts with
// "!". Reads only inside the store.
StepBackWalk WalkBack(const LineStore& store, std::int32_t currentLine,
                      SubHeadingSearch search = SubHeadingSearch::Search);
// The same, with the sub-heading looked up in `subHeadings`, which the caller keeps from one
// walk to the next: the walk then reads only the lines of the steps it goes back over.
StepBackWalk WalkBack(const LineStore& store, std::int32_t currentLine,
                      SubHeadingIndex& subHeadings);
// The restart line and reachedFirstLine of a walk without the sub-heading search, looked up
// in `stepEnds`, which the caller keeps from one walk to the next: a walk then reads no line.
StepBackWalk WalkBack(const LineStore& store, std::int32_t currentLine, CStepEndIndex& stepEnds);
