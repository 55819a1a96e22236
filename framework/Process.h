// Starting other programs.
#pragma once
#include <string>

namespace fw {

// Starts `program` as a new process with the whole `commandLine` (whose first
// word names that same program) and the show state `showCommand`. The
// program is named explicitly, so the system never searches for another one
// in the command line's words. Nothing waits for the process and nothing of
// it is kept. A refusal raises EOSError with the system's own reason.
void StartProcess(const std::string& program, const std::string& commandLine, int showCommand);

// A path as the first word of a command line: in double quotes, so that
// blanks in it do not split it.
std::string QuotedPath(const std::string& path);

}  // namespace fw
