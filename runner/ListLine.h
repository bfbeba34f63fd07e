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
//   EndOfList        exactly "@"                            -
//   Jump             first character "@"                    a label name
//   Label            first character "%"                    the label name
//   StepEnd          last character ";"                     the last text of the step
//   Question         last character "?"                     the question; the next line: NEIN/JA
//   TextWithComma    last character ","                     a text line without the comma
//   Text             anything else                          a text line
//
// Callers classify the first line of a pass as stored and every later line trimmed of spaces.
// A new kind is one value here, one case in CarryOut (runner/PassEngine.cpp), one in the
// checker's CheckLine, and its effect where it shows (the pass sink's users).
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
    EndOfList,
    Jump,
    Label,
    StepEnd,
    Question,
    TextWithComma,
    Text,
};

// A line's kind and what it carries, so that no reader cuts the line again.
struct ListLine
{
    LineKind kind = LineKind::Blank;
    // TextFile, Picture, Jump: the name, trimmed. Heading, SubHeading: the rest as it stands.
    // StopwatchStart: the rest, trimmed. StepEnd, TextWithComma: the line without its last
    // character. Question, Text: the whole line. Otherwise empty.
    Text argument;
};

ListLine ClassifyLine(std::string_view line);

// The line after a question: the label for "Nein", then after the first "/" the label for
// "Ja", both trimmed. Nothing when the line holds no "/".
struct AnswerLabels
{
    Text no;
    Text yes;
};

std::optional<AnswerLabels> ReadAnswerLabels(std::string_view targetsLine);

// The name a label line defines: the stored line must start with "%"; the rest, trimmed.
std::optional<Text> LabelNameOf(std::string_view storedLine);

// A line that ends a step for the walk back: its last character is ";" once trimmed,
// whatever its first character.
bool IsStepEndLine(std::string_view storedLine);

// A line that sets the sub-heading for the walk back: its very first character is "!".
bool IsSubHeadingLine(std::string_view storedLine);
