// What a line of a list means. The first rule that matches decides:
//
//   kind             test                                   the rest of the line
//   Blank            empty, or first character "#"          -
//   TextFile         first character "§"                    a file name
//   Heading          first character "$"                    the heading
//   SubHeading       first character "!"                    the sub-heading
//   StopwatchStart   first character ":", two or more       seconds, then " " and a name
//   StopwatchCheck   exactly ":"                            -
//   Picture          first character "*"                    a picture file name
//   Jump             first character "@"                    a label name ("@" alone: the end)
//   Label            first character "%"                    the label name
//   StepEnd          last character ";"                     the last text of the step
//   Question         last character "?"                     the question; the next line: NEIN/JA
//   TextWithComma    last character ","                     a text line without the comma
//   Text             anything else                          a text line
//
// Callers classify the first line of a pass as stored and every later line trimmed of spaces.
#pragma once

#include "platform/Text.h"

#include <optional>
#include <string_view>

enum class LineKind
{
    Blank,
    TextFile,
    Heading,
    SubHeading,
    StopwatchStart,
    StopwatchCheck,
    Picture,
    Jump,
    Label,
    StepEnd,
    Question,
    TextWithComma,
    Text,
};

LineKind ClassifyLine(std::string_view line);

// The name a label line defines: the stored line must start with "%"; the rest, trimmed.
std::optional<Text> LabelNameOf(std::string_view storedLine);

// A line that ends a step for the walk back: its last character is ";" once trimmed,
// whatever its first character.
bool IsStepEndLine(std::string_view storedLine);

// A line that sets the sub-heading for the walk back: its very first character is "!".
bool IsSubHeadingLine(std::string_view storedLine);
