// Start-up time and idle cost of Solarim against a bare Win32 program,
// measured in the same run so the machine's load affects both alike.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string BinDir() {
    char path[MAX_PATH * 4] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string dir = path;
    return dir.substr(0, dir.find_last_of('\\'));
}

struct Window {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK FindVisible(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<Window*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    if (pid == search->pid && IsWindowVisible(window) && std::string(name) != "TApplication") {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

double CpuSeconds(HANDLE process) {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(process, &created, &exited, &kernel, &user);
    auto ticks = [](FILETIME t) { return (ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return double(ticks(kernel) + ticks(user)) / 1e7;
}

struct Run {
    double startup;  // from CreateProcess to a visible, idle main window
    double idleCpu;  // CPU seconds over the idle period
};

Run Measure(const std::string& exe, DWORD idleMs) {
    std::string commandLine = "\"" + exe + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    LARGE_INTEGER begin, end;
    QueryPerformanceCounter(&begin);
    if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return {-1, -1};
    WaitForInputIdle(process.hProcess, 30000);
    Window search{process.dwProcessId, nullptr};
    while (!search.found) {
        EnumWindows(FindVisible, reinterpret_cast<LPARAM>(&search));
        if (!search.found) Sleep(1);
    }
    QueryPerformanceCounter(&end);
    double before = CpuSeconds(process.hProcess);
    Sleep(idleMs);
    double idle = CpuSeconds(process.hProcess) - before;
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return {Seconds(begin, end), idle};
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    int rounds = argc > 1 ? atoi(argv[1]) : 9;
    DWORD idleMs = argc > 2 ? DWORD(atoi(argv[2])) : 3000;
    std::string solarim = BinDir() + "\\Solarim.exe", bare = BinDir() + "\\bench_bare.exe";
    std::vector<double> startSolarim, startBare, idleSolarim, idleBare;
    for (int i = 0; i < rounds; ++i) {  // alternating, so drift in load hits both
        Run s = Measure(solarim, idleMs), b = Measure(bare, idleMs);
        startSolarim.push_back(s.startup);
        startBare.push_back(b.startup);
        idleSolarim.push_back(s.idleCpu);
        idleBare.push_back(b.idleCpu);
    }
    double ms = Median(startSolarim) * 1000, mb = Median(startBare) * 1000;
    std::printf("start-up to an idle, visible window (median of %d): Solarim %.1f ms, bare program %.1f ms, ratio %.2f\n",
                rounds, ms, mb, ms / mb);
    double cs = Median(idleSolarim) * 1000, cb = Median(idleBare) * 1000;
    std::printf("CPU while idle for %lu ms (median): Solarim %.1f ms, bare program %.1f ms (%.3f%% vs %.3f%% of one core)\n",
                idleMs, cs, cb, cs / idleMs * 100, cb / idleMs * 100);
    return 0;
}
