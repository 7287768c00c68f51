#pragma once

#include <string>

// Where the user's guide is: the copy built beside the program in the build tree
// (<build>/app/quorvel finds <build>/guide), or the installed one under the package's
// documentation (<prefix>/bin/quorvel finds <prefix>/share/doc/quorvel/guide).
//
// The page of the guide in the given language ("ja" or "en") for a program in `programDir`:
// the first candidate that exists, as an absolute path; empty when neither does.
std::string FindGuidePage(const std::string& programDir, const std::string& language);
