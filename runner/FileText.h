// Reading a list or text file into text.
#pragma once

#include "platform/ReadOnlyFile.h"
#include "platform/Text.h"

// Reads the open file from its start to its end, every byte included, and converts it
// (see DecodeFileBytes). An empty file gives an empty text. Costs one pass over the bytes.
Text ReadFileText(CReadOnlyFile& file);

// The bytes of the open file from its start to its end, as they are.
std::string ReadFileBytes(CReadOnlyFile& file);
