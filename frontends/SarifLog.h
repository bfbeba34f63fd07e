// `tavrino check --format sarif`: the findings as one SARIF 2.1.0 log, the form that
// code-hosting platforms read to show findings beside the lines of a change.
#pragma once

#include "check/Finding.h"

#include <string_view>
#include <vector>

// A path as a URI reference: a relative path stays relative, an absolute one becomes a
// "file://" URI; every byte but letters, digits, "-", ".", "_", "~" and "/" is percent-encoded,
// so that spaces, umlauts and bytes that are no UTF-8 all survive.
Text UriReference(std::string_view path);

// The log, ending with a line feed: one rule for each finding code of the checker's table
// (whether found or not), one result for each finding. Each finding's `path` becomes its URI.
Text SarifLog(const std::vector<Finding>& findings, std::string_view toolVersion);
