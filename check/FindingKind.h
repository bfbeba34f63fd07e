// Every finding the checker can give: its stable code, its severity and its German text, in
// one table (FindingKind.cpp). A code may stand for several kinds whose texts differ.
#pragma once

#include "check/Finding.h"

#include <initializer_list>
#include <span>
#include <string_view>

enum class FindingKind
{
    UnreadableList,
    MarkerAfterSpaces,
    NoStep,
    EndlessJump,
    EndlessTextFile,
    ZeroByte,
    UndefinedByte,
    MixedLineEnds,
    DuplicateLabel,
    LabelAfterSpaces,
    MissingJumpLabel,
    MissingNoLabel,
    MissingYesLabel,
    QuestionInLastLine,
    TargetsWithoutSlash,
    ZeroDuration,
    PictureWithoutName,
    TextFileWithoutName,
    PictureBackslash,
    TextFileBackslash,
    PictureOutsideProgramFolder,
    TextFileOutsideProgramFolder,
    TopicOutsideProgramFolder,
    ListOutsideProgramFolder,
    MissingPicture,
    MissingTextFile,
    PictureNameCase,
    TextFileNameCase,
    UnloadablePicture,
    UnreadableTextFile,
    UnreachableLine,
    UnreachableLines,
    UnshownText,
};

struct FindingEntry
{
    FindingKind kind;
    const char* code;
    Severity severity;
    // German; each "{}" takes the next argument of FindingText in turn.
    const char* text;
};

const FindingEntry& FindingEntryOf(FindingKind kind);
// Every entry of the table, in its order.
std::span<const FindingEntry> AllFindingEntries();
// For authors: what a finding of `code` means and how to mend it, in one English sentence or
// two; empty for a code the table does not have.
std::string_view FindingAdvice(std::string_view code);

// The text of `kind` with its "{}" filled from `arguments` in order; a "{}" without an
// argument left is dropped.
Text FindingText(FindingKind kind, std::initializer_list<std::string_view> arguments = {});
