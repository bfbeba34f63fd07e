// Reading a list or text file into text.
#pragma once

#include "platform/ReadOnlyFile.h"
#include "platform/Text.h"
#include "runner/LineStore.h"

// Reads the open file from its start to its end, every byte included, and converts it
// (see DecodeFileBytes). An empty file gives an empty text. Costs one pass over the bytes.
Text ReadFileText(CReadOnlyFile& file);

// The bytes of the open file from its start to its end, as they are.
std::string ReadFileBytes(CReadOnlyFile& file);

// When a second thread reads a file ahead while the lines of what was read are found.
enum class ReadAhead
{
    ForLargeFiles, // from a few megabytes, where the processor has a second core
    Always,        // for any file longer than one block, for the tests of it
};

// Reads the open file as ReadFileText does and appends its lines to the store, as
// LineStore::AppendLines would append them from that text, without holding the file's bytes
// or its text beside the store. Reads in blocks; the file's length only sizes the first room.
void AppendFileLines(CReadOnlyFile& file, LineStore& store,
                     ReadAhead readAhead = ReadAhead::ForLargeFiles);
