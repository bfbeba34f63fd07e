// What a shell that watches the list on the screen writes on standard error after it read the
// list again: the checker's findings of the list file, in the lines of `tavrino check`, or why
// the list was not read.
#pragma once

#include "app/ReloadOutcome.h"
#include "platform/IPictureDecoder.h"
#include "platform/Text.h"

#include <ostream>
#include <vector>

// `listPath` is the list file, absolute; the program folder ends with "/". Nothing is written
// for NoListOpen and Busy. `decoder` may be null.
void ReportReload(ReloadOutcome outcome, const Text& listPath, const Text& programFolder,
                  IPictureDecoder* decoder, std::ostream& errors);
