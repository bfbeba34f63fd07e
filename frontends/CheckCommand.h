// `tavrino check`: findings in lists, one line each, for editors and CI.
#pragma once

#include "app/CommandLine.h"
#include "check/Finding.h"
#include "platform/IPictureDecoder.h"

#include <ostream>

// 0 without errors, 1 with errors, 2 when a PATH does not exist. `decoder` may be null.
int RunCheck(const CommandLine& commandLine, IPictureDecoder* decoder, std::ostream& output,
             std::ostream& errors);

// One finding as editors and CI read it: "FILE:LINE: error|warning: TEXT" and a line feed.
void WriteFindingLine(std::ostream& output, const Finding& finding);

// What `tavrino help check` prints: the form of a finding, the exit statuses, and each finding
// code with its severity, its German text and how to mend it. Ends with a line feed.
Text CheckHelpText();
