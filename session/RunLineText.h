#pragma once
// The text typed into the run-from-line dialog, turned into the run request's start:
// text that begins with a digit is a line number (its leading digits; past the
// 32-bit range the largest line number), any other text a label, upper-cased and
// without a leading asterisk, with nothing trimmed.

#include <string>

#include "machine/host/HostInterfaces.h"

// Sets the start of `request` from `typed`. Returns the key of the alert to show
// instead of a run, or empty.
std::string set_run_line_from_text(const std::string& typed, TRunRequest& request);
