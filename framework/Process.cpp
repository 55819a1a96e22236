#include "Process.h"

#include <windows.h>

#include <vector>

#include "SysUtils.h"

namespace fw {

void StartProcess(const std::string& program, const std::string& commandLine, int showCommand) {
    // The system may write into the command line, and it takes any length it
    // allows; no fixed buffer cuts it short.
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showCommand);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        RaiseLastOSError();
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

std::string QuotedPath(const std::string& path) { return "\"" + path + "\""; }

}  // namespace fw
