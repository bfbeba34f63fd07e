// The one reading of list lines. CarryOut says what one line asks of a pass; RunPass follows
// one pass of the runner with it, from a start line to the line that ends the pass. The step
// interpreter shows what RunPass returns; the list checker follows every pass a list can take
// with CarryOut, and finds endless passes itself so that it can name the line at fault.
//
// Contract:
// - The store, the label index, the sink and the loader are the caller's and must outlive the
//   call; the engine keeps none of them. It reads the store through GetText and Count only,
//   and afresh after each text file, which the loader puts in the store's place.
// - Effects reach the caller through its IPassSink, each when its line is carried out and
//   before the next line is read: a message box that a sink shows, and the stopwatch ticks it
//   lets through, come after the effects of the lines before it and before those after it.
//   What the pass stops at is only in the result, and is the caller's to show.
// - Nothing throws. A grave fault ends the pass with PassEnd::Fault and the message the runner
//   shows (a text of DialogText, which lives as long as the program); the faults that let a
//   pass go on are the sink's and the loader's to show.
#pragma once

#include "runner/IPassSink.h"
#include "runner/ITextFileLoader.h"
#include "runner/LabelIndex.h"
#include "runner/LineStore.h"
#include "runner/ListLine.h"

#include <optional>

// What ended a pass.
enum class PassEnd
{
    StepEnd,  // the line ends the step: its screen has "Weiter"
    Question, // the line asks; its targets say where the answers lead
    Picture,  // a picture that the sink made ready
    Warning,  // the stopwatch still runs: the warning is a step of its own
    ListEnd,  // past the last line, "@", or a text file that could not be opened
    Fault,    // a grave fault: the list is left
};

// Where the answers of a question lead: label lines, or what is wrong with the targets line.
struct AnswerTargets
{
    enum class Problem
    {
        None,
        InLastLine, // no targets line: either answer starts the list again
        WithoutSlash,
        NoLabelMissing,  // and so no yesLabel either: it is not looked for
        YesLabelMissing, // noLabel is set
    };
    Problem problem = Problem::None;
    std::optional<std::int32_t> noLabel;
    std::optional<std::int32_t> yesLabel;
};

// The targets of the question at `questionLine` of `store`, read from the line after it.
AnswerTargets ResolveAnswerTargets(const LineStore& store, CLabelIndex& labels,
                                   std::int32_t questionLine);

// What one line asks of the pass.
struct LineStep
{
    enum class Flow
    {
        Next,     // go on with the next line
        Jump,     // go on after the label at `line`
        ListEnd,  // the list ends here
        TextFile, // load the file `name` in place of the store and go on at its first line
        Stop,     // the pass stops at this line: `end` says why
        Fault,    // a grave fault: `fault` is the message
    };
    Flow flow = Flow::Next;
    PassEnd end = PassEnd::StepEnd;
    std::int32_t line = 0;
    Text name;
    AnswerTargets targets;       // Stop at a question
    const char* fault = nullptr; // Fault
};

// Carries out `line`, read as `read`, at `index` of `store`: tells the sink of its effects,
// adds to `text` what the step shows (a warning replaces it), and says how the pass goes on.
LineStep CarryOut(const ListLine& read, std::int32_t index, const LineStore& store,
                  CLabelIndex& labels, IPassSink& sink, Text& text);

struct PassResult
{
    PassEnd end = PassEnd::ListEnd;
    // The line that stopped the pass or caused its fault; Count of the store at ListEnd.
    std::int32_t line = 0;
    Text text; // what the screen shows; at ListEnd the text that the end screen replaces
    AnswerTargets targets;
    const char* fault = nullptr;
};

// One pass from `start`, which must lie inside the store: the first line as stored, every
// later one trimmed of spaces. Breaks off with EndlessLoop when it comes to one label twice,
// or loads one file twice, without the store having changed in between.
// `files` replaces the lines of `store` when the pass loads a text file.
PassResult RunPass(const LineStore& store, std::int32_t start, CLabelIndex& labels, IPassSink& sink,
                   ITextFileLoader& files);
