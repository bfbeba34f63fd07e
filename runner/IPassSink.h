// What a pass does beyond reading lines, told as it happens: the pass engine calls the sink at
// each effect, in the order of the lines, before it reads the next line. A sink may show a
// message box and let the dialog's timer tick meanwhile; the engine waits for it to return.
#pragma once

#include "platform/Text.h"

#include <cstdint>
#include <optional>

class IPassSink
{
public:
    virtual ~IPassSink() = default;

    // The pass is about to carry out the line at `index` of the store as it stands now (after
    // a text file, the file's): what follows until the next call comes from that line.
    virtual void EnterLine(std::int32_t index) = 0;

    // A heading or sub-heading line: the rest of the line, as it stands.
    virtual void SetHeading(const Text& heading) = 0;
    virtual void SetSubHeading(const Text& subHeading) = 0;
    // A stopwatch start line: the rest after ":", trimmed.
    virtual void StartStopwatch(const Text& start) = 0;
    // A stopwatch check line: the warning while a stopwatch runs, else nothing.
    virtual std::optional<Text> CheckStopwatch() = 0;
    // A picture line, its name trimmed (maybe empty): true when the picture is ready for a
    // screen of its own. False when it cannot be shown: the sink has told the user why, and
    // the pass goes on.
    virtual bool PreparePicture(const Text& name) = 0;
};
