// Loading screen savers as a user does: through "ロード" and the icon's menu,
// the real open dialog, into the main window or onto the desktop background.
// The probe screen saver tells what it was handed; a stand-in shell provides
// the desktop's icon view.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "driver.h"
#include "probe_log.h"

using namespace driver;

namespace {

constexpr int kFileMenu = 0, kLoadItem = 0;
constexpr DWORD kWait = 20000;

std::string Decimal(HWND window) {
    return std::to_string(static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window)));
}
HWND FromDecimal(const std::string& text) {
    return reinterpret_cast<HWND>(static_cast<uintptr_t>(std::stoull(text.empty() ? "0" : text)));
}
std::string Expected(const std::string& path, HWND target) { return "\"" + path + "\" /p " + Decimal(target); }

std::string SystemText(DWORD code) {
    char text[1024] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text, sizeof text,
                   nullptr);
    std::string result = text;
    while (!result.empty() && (result.back() == '\n' || result.back() == '\r' || result.back() == ' '))
        result.pop_back();
    return result;
}

// A scratch folder of our own under the system's temporary folder.
std::string ScratchDir() {
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    std::string dir = std::string(temp) + "solarim-launcher";
    CreateDirectoryA(dir.c_str(), nullptr);
    return dir;
}

// Makes every folder of `path` up to its last separator.
void MakeFolders(const std::string& path) {
    for (size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1))
        CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
}

std::string ProbeSaver() { return BinDir() + "\\probe_saver.scr"; }
std::string SampleSaver() { return BinDir() + "\\Hinode.scr"; }

// Child windows of `parent` (direct ones only) of a class.
std::vector<HWND> ChildrenOfClass(HWND parent, const char* className) {
    std::vector<HWND> found;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (ClassOf(child) == className) found.push_back(child);
    return found;
}

// The open dialog of a process: a top-level dialog with the file-name field.
HWND OpenDialogOf(DWORD pid) {
    for (HWND dialog : TopLevelWindows(pid, "#32770", true))
        if (GetDlgItem(dialog, 0x47C)) return dialog;
    return nullptr;
}
HWND WaitForOpenDialog(DWORD pid) {
    HWND dialog = nullptr;
    WaitFor([&] { return (dialog = OpenDialogOf(pid)) != nullptr; });
    return dialog;
}

// Types a path into the dialog's file-name field and presses OK.
void ChooseFile(HWND dialog, const std::string& path) {
    HWND combo = FindWindowExA(GetDlgItem(dialog, 0x47C), nullptr, "ComboBox", nullptr);
    HWND edit = FindWindowExA(combo, nullptr, "Edit", nullptr);
    ASSERT_TRUE(edit);
    SendMessageTimeoutA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()), SMTO_ABORTIFHUNG, kWait,
                        nullptr);
    PostMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog); })) << "the open dialog stayed";
}
void CancelDialog(HWND dialog) {
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog); }));
}

RECT ScreenRect(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}
// A window's rectangle in its parent's client coordinates.
RECT RectInParent(HWND window) {
    RECT rect = ScreenRect(window);
    MapWindowPoints(nullptr, GetAncestor(window, GA_PARENT), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}
bool HasScreenSize(HWND window) {
    RECT rect = ScreenRect(window);
    return rect.right - rect.left == GetSystemMetrics(SM_CXSCREEN) &&
           rect.bottom - rect.top == GetSystemMetrics(SM_CYSCREEN);
}

// A process by its id, to wait for its end.
bool ProcessEnds(DWORD pid) {
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (!process) return true;  // gone already
    bool ended = WaitForSingleObject(process, kWait) == WAIT_OBJECT_0;
    CloseHandle(process);
    return ended;
}
bool ProcessRunning(DWORD pid) {
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (!process) return false;
    bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return running;
}

class LauncherTest : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteSettings();
        ASSERT_FALSE(FakeShell::Progman()) << "a desktop window is left over from elsewhere";
        log_ = ScratchDir() + "\\probe.log";
        DeleteFileA(log_.c_str());
        // Solarim passes its environment on to the savers it starts.
        SetEnvironmentVariableA("SOLARIM_PROBE_LOG", log_.c_str());
    }
    void TearDown() override {
        // A saver left behind by a failed test must not outlive it.
        for (unsigned long pid : probe_log::pids_with(probe_log::read(log_), "start")) {
            if (HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, pid)) {
                TerminateProcess(process, 9);
                CloseHandle(process);
            }
        }
        DeleteSettings();
    }
    // Ends the program as a user does, so that its windows go with it.
    static void Exit(Program& program) {
        PostMessageA(program.MainWindow(), WM_CLOSE, 0, 0);
        EXPECT_EQ(0u, program.WaitForExit());
    }

    // Loads `path` through "ファイル > ロード".
    static void LoadFromMenu(Program& program, const std::string& path) {
        HWND form = program.MainWindow();
        ASSERT_TRUE(OpenBarMenu(form, kFileMenu));
        ChooseItem(form, kLoadItem);
        HWND dialog = WaitForOpenDialog(program.Pid());
        ASSERT_TRUE(dialog) << "no open dialog";
        ChooseFile(dialog, path);
    }
    // Loads `path` through the icon's "スクリーンセーバーを背景にロード".
    static void LoadFromIcon(Program& program, const std::string& path) {
        ChooseTrayItem(program.Pid(), kTrayLoadBackground);
        HWND dialog = WaitForOpenDialog(program.Pid());
        ASSERT_TRUE(dialog) << "no open dialog";
        ChooseFile(dialog, path);
    }
    // The n-th probe (in order of start) once its window exists.
    probe_log::Record ProbeWindow(size_t n) {
        probe_log::Record window;
        bool there = probe_log::wait_until(log_, kWait, [&](const probe_log::Records& rs) {
            auto started = probe_log::pids_with(rs, "start");
            const probe_log::Record* found = started.size() > n ? probe_log::find(rs, "window", started[n]) : nullptr;
            if (found) window = *found;
            return found != nullptr;
        });
        EXPECT_TRUE(there) << "probe " << n << " drew no window";
        return window;
    }
    probe_log::Record ProbeStart(unsigned long pid) {
        probe_log::Records records = probe_log::read(log_);
        const probe_log::Record* start = probe_log::find(records, "start", pid);
        return start ? *start : probe_log::Record{};
    }
    bool ProbeEnded(unsigned long pid) {
        return probe_log::wait_for_event(log_, pid, "end", kWait);
    }
    bool ProbeHasEnded(unsigned long pid) { return probe_log::find(probe_log::read(log_), "end", pid) != nullptr; }

    std::string log_;
};

// --- cancelling ------------------------------------------------------------------

TEST_F(LauncherTest, CancellingTheDialogChangesNothing) {
    FakeShell shell;
    ASSERT_TRUE(shell.Started());
    Program program;
    HWND form = program.MainWindow();
    ASSERT_TRUE(form);

    ASSERT_TRUE(OpenBarMenu(form, kFileMenu));
    ChooseItem(form, kLoadItem);
    HWND dialog = WaitForOpenDialog(program.Pid());
    ASSERT_TRUE(dialog);
    EXPECT_EQ(program.ApplicationWindow(), GetWindow(dialog, GW_OWNER));
    CancelDialog(dialog);

    EXPECT_EQ("スクリーンセーバー", WindowText(form));
    EXPECT_TRUE(IsWindowVisible(form));
    EXPECT_TRUE(IsWindowVisible(program.ApplicationWindow()));
    EXPECT_TRUE(ChildrenOfClass(FakeShell::View(), "Tdesk").empty());
    EXPECT_TRUE(TopLevelWindows(program.Pid(), "Tdesk").empty());
    RECT prompt = PromptRect(form);
    EXPECT_TRUE(WaitFor([&] { return DominantHue(prompt) != Hue::Other; })) << "the prompt still blinks";
    EXPECT_TRUE(probe_log::read(log_).empty()) << "nothing was started";
    Exit(program);
}

TEST_F(LauncherTest, CancellingTheBackgroundLoadOnlySwitchesToBackgroundMode) {
    FakeShell shell;
    ASSERT_TRUE(shell.Started());
    Program program;
    HWND form = program.MainWindow();
    ASSERT_TRUE(form);

    ChooseTrayItem(program.Pid(), kTrayLoadBackground);
    HWND dialog = WaitForOpenDialog(program.Pid());
    ASSERT_TRUE(dialog);
    CancelDialog(dialog);

    EXPECT_EQ("スクリーンセーバー", WindowText(form));
    EXPECT_TRUE(IsWindowVisible(form));
    EXPECT_TRUE(IsWindowVisible(program.ApplicationWindow()));
    EXPECT_TRUE(ChildrenOfClass(FakeShell::View(), "Tdesk").empty());
    // The switch shows in what is stored at the end.
    PostMessageA(form, WM_CLOSE, 0, 0);
    ASSERT_EQ(0u, program.WaitForExit());
    auto normal = ReadSetting("normal");
    ASSERT_TRUE(normal);
    EXPECT_EQ(std::string("0\0", 2), normal->bytes);
}

// --- standard mode --------------------------------------------------------------

TEST_F(LauncherTest, StandardLoadDrawsInTheMainWindowAndHidesNothing) {
    StoreText("task", "1");  // withdrawing is for background loads only
    Program program;
    HWND form = program.MainWindow();
    ASSERT_TRUE(form);
    LoadFromMenu(program, ProbeSaver());

    probe_log::Record window = ProbeWindow(0);
    EXPECT_EQ(form, FromDecimal(window.get("parent")));
    EXPECT_EQ("1", window.get("target_valid"));
    EXPECT_EQ(Expected(ProbeSaver(), form), WindowText(form));
    EXPECT_EQ(WindowText(form), ProbeStart(window.pid()).get("cmdline")) << "the caption shows what was started";
    EXPECT_TRUE(IsWindowVisible(form));
    EXPECT_TRUE(IsWindowVisible(program.ApplicationWindow()));
    RECT prompt = PromptRect(form);
    EXPECT_TRUE(WaitFor([&] { return DominantHue(prompt) == Hue::Other; })) << "the prompt is gone";
    EXPECT_FALSE(program.WaitForMessageBox(0));
    Exit(program);
}

TEST_F(LauncherTest, TwoLoadsStartTwoProcessesThatBothRunOn) {
    Program program;
    HWND form = program.MainWindow();
    ASSERT_TRUE(form);
    LoadFromMenu(program, ProbeSaver());
    probe_log::Record first = ProbeWindow(0);
    LoadFromMenu(program, ProbeSaver());
    probe_log::Record second = ProbeWindow(1);

    ASSERT_NE(first.pid(), second.pid());
    EXPECT_EQ(form, FromDecimal(first.get("parent")));
    EXPECT_EQ(form, FromDecimal(second.get("parent")));
    EXPECT_TRUE(ProcessRunning(first.pid()));
    EXPECT_TRUE(ProcessRunning(second.pid()));
    EXPECT_FALSE(ProbeHasEnded(first.pid()));

    // Ending the program takes their windows with it.
    PostMessageA(form, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, program.WaitForExit());
    EXPECT_TRUE(ProbeEnded(first.pid()));
    EXPECT_TRUE(ProbeEnded(second.pid()));
}

// Paths the system must be handed whole: blanks that an unquoted command line
// would split at (a decoy stands where Windows would look first), and a path
// that makes the command longer than 255 characters.
TEST_F(LauncherTest, AnyPathIsStartedWholeAndShownInFull) {
    std::string blanks = ScratchDir() + "\\Program Files\\Savers\\a probe.scr";
    std::string decoy = ScratchDir() + "\\Program.exe";
    // Folders of modest names up to 250 characters, the longest path a
    // program can still be started from being 259.
    std::string longPath = ScratchDir() + "\\";
    while (longPath.size() < 200) longPath += "long folder name\\";
    longPath += std::string(250 - 10 - longPath.size(), 'x') + "\\probe.scr";
    ASSERT_EQ(250u, longPath.size());
    for (const std::string& path : {blanks, longPath}) {
        MakeFolders(path);
        ASSERT_TRUE(CopyFileA(ProbeSaver().c_str(), path.c_str(), FALSE)) << path;
    }
    ASSERT_TRUE(CopyFileA(SampleSaver().c_str(), decoy.c_str(), FALSE));

    Program program;
    HWND form = program.MainWindow();
    ASSERT_TRUE(form);
    const std::string paths[] = {blanks, longPath};
    for (size_t i = 0; i < 2; ++i) {
        SCOPED_TRACE(paths[i]);
        LoadFromMenu(program, paths[i]);
        probe_log::Record window = ProbeWindow(i);
        std::string command = Expected(paths[i], form);
        EXPECT_EQ(command, ProbeStart(window.pid()).get("cmdline"));
        EXPECT_EQ(command, WindowText(form));
        EXPECT_EQ(form, FromDecimal(window.get("parent")));
    }
    EXPECT_GT(WindowText(form).size(), 255u);
    EXPECT_FALSE(program.WaitForMessageBox(0));
    Exit(program);
}

// A file the system cannot start is reported with the system's own reason;
// what the load did before the start stays done.
TEST_F(LauncherTest, AFailedStartIsReportedAndTheLoadStaysDone) {
    std::string text = ScratchDir() + "\\not a program.scr";
    HANDLE file = CreateFileA(text.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, "no program here\r\n", 17, &written, nullptr);
    CloseHandle(file);
    struct {
        std::string path;
        DWORD reason;
    } const cases[] = {
        {ScratchDir() + "\\missing.scr", ERROR_FILE_NOT_FOUND},
        {text, ERROR_BAD_EXE_FORMAT},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        Program program;
        HWND form = program.MainWindow();
        ASSERT_TRUE(form);
        LoadFromMenu(program, c.path);
        HWND box = program.WaitForMessageBox();
        ASSERT_TRUE(box);
        EXPECT_EQ("Solarim", WindowText(box));
        std::string reason = SystemText(c.reason);
        ASSERT_FALSE(reason.empty());
        // The report may close the text with a full stop of its own.
        std::string shown = MessageBoxText(box);
        EXPECT_EQ(reason, shown.substr(0, reason.size()));
        EXPECT_LE(shown.size(), reason.size() + 1);
        PressOk(box);
        ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }));
        EXPECT_EQ(Expected(c.path, form), WindowText(form));
        RECT prompt = PromptRect(form);
        // Read once the box's area has been painted again.
        EXPECT_TRUE(WaitFor([&] { return DominantHue(prompt) == Hue::Other; })) << "the prompt is gone";
        Exit(program);
    }
}

// --- background mode ----------------------------------------------------------

TEST_F(LauncherTest, BackgroundLoadsShareOneHostOverTheDesktopView) {
    StoreText("normal", "0");
    FakeShell shell("--view-size 640x480");  // the host still takes the display's size
    ASSERT_TRUE(shell.Started());
    HWND view = FakeShell::View();
    ASSERT_TRUE(view);
    Program program;
    HWND form = program.MainWindow();
    ASSERT_TRUE(form);

    LoadFromMenu(program, ProbeSaver());
    probe_log::Record first = ProbeWindow(0);
    HWND host = FromDecimal(first.get("parent"));
    ASSERT_TRUE(IsWindow(host));
    EXPECT_EQ("Tdesk", ClassOf(host));
    EXPECT_EQ("desk", WindowText(host));
    EXPECT_EQ(view, GetParent(host));
    EXPECT_EQ(host, GetWindow(view, GW_CHILD)) << "above the view's own children";
    LONG style = GetWindowLongA(host, GWL_STYLE);
    EXPECT_TRUE(style & WS_CHILD);
    EXPECT_FALSE(style & (WS_POPUP | WS_CAPTION | WS_THICKFRAME | WS_SYSMENU));
    EXPECT_TRUE(IsWindowVisible(host));
    RECT placed = RectInParent(host);
    EXPECT_EQ(0, placed.left);
    EXPECT_EQ(0, placed.top);
    EXPECT_TRUE(WaitFor([&] { return HasScreenSize(host); })) << "the host follows the display";
    EXPECT_EQ(Expected(ProbeSaver(), host), WindowText(form));
    EXPECT_FALSE(IsWindowVisible(program.ApplicationWindow())) << "the taskbar button goes";
    EXPECT_TRUE(IsWindowVisible(form));

    // A second load goes into the same host.
    LoadFromMenu(program, ProbeSaver());
    probe_log::Record second = ProbeWindow(1);
    EXPECT_EQ(host, FromDecimal(second.get("parent")));
    EXPECT_EQ(Expected(ProbeSaver(), host), WindowText(form));
    EXPECT_EQ((std::vector<HWND>{host}), ChildrenOfClass(view, "Tdesk"));

    // Ending the program takes the host down with the savers in it.
    Exit(program);
    EXPECT_TRUE(ProbeEnded(first.pid()));
    EXPECT_TRUE(ProbeEnded(second.pid()));
    EXPECT_FALSE(IsWindow(host));
}

TEST_F(LauncherTest, WithoutADesktopViewTheHostIsATopLevelPopup) {
    StoreText("normal", "0");
    for (bool shellWithoutView : {false, true}) {
        SCOPED_TRACE(shellWithoutView ? "desktop without a view" : "no desktop at all");
        DeleteFileA(log_.c_str());
        std::unique_ptr<FakeShell> shell;
        if (shellWithoutView) {
            shell = std::make_unique<FakeShell>("--no-defview");
            ASSERT_TRUE(shell->Started());
        }
        Program program;
        ASSERT_TRUE(program.MainWindow());
        LoadFromMenu(program, ProbeSaver());
        probe_log::Record window = ProbeWindow(0);
        HWND host = FromDecimal(window.get("parent"));
        ASSERT_TRUE(IsWindow(host));
        EXPECT_EQ("Tdesk", ClassOf(host));
        EXPECT_EQ(GetDesktopWindow(), GetAncestor(host, GA_PARENT));
        EXPECT_EQ(program.ApplicationWindow(), GetWindow(host, GW_OWNER));
        LONG style = GetWindowLongA(host, GWL_STYLE);
        EXPECT_TRUE(style & WS_POPUP);
        EXPECT_FALSE(style & (WS_CHILD | WS_CAPTION | WS_THICKFRAME));
        EXPECT_TRUE(IsWindowVisible(host));
        RECT placed = ScreenRect(host);
        EXPECT_EQ(0, placed.left);
        EXPECT_EQ(0, placed.top);
        EXPECT_TRUE(WaitFor([&] { return HasScreenSize(host); }));
        EXPECT_FALSE(program.WaitForMessageBox(0));
        Exit(program);
        EXPECT_TRUE(ProbeEnded(window.pid()));
    }
}

TEST_F(LauncherTest, TheHostFollowsAChangeOfDisplaySize) {
    StoreText("normal", "0");
    FakeShell shell;
    ASSERT_TRUE(shell.Started());
    Program program;
    ASSERT_TRUE(program.MainWindow());
    LoadFromMenu(program, ProbeSaver());
    HWND host = FromDecimal(ProbeWindow(0).get("parent"));
    ASSERT_TRUE(IsWindow(host));
    ASSERT_TRUE(WaitFor([&] { return HasScreenSize(host); }));
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);

    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    mode.dmPelsWidth = 800;
    mode.dmPelsHeight = 600;
    mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
    ASSERT_EQ(DISP_CHANGE_SUCCESSFUL, ChangeDisplaySettingsA(&mode, 0));
    bool followed = WaitFor([&] {
        RECT rect = ScreenRect(host);
        return rect.right - rect.left == 800 && rect.bottom - rect.top == 600;
    });
    ChangeDisplaySettingsA(nullptr, 0);
    EXPECT_TRUE(followed) << "the host kept its old size";
    EXPECT_TRUE(WaitFor([&] {
        RECT rect = ScreenRect(host);
        return rect.right - rect.left == width && rect.bottom - rect.top == height;
    })) << "the host did not come back to the restored size";
    Exit(program);
}

// --- withdrawing and coming back ---------------------------------------------------

// "タスクバーから出す" from each of the three states brings back the main
// window and the taskbar button.
TEST_F(LauncherTest, ComingBackFromEachState) {
    enum State { kNormal, kButtonHidden, kWithdrawn };
    for (State state : {kNormal, kButtonHidden, kWithdrawn}) {
        SCOPED_TRACE(state == kNormal ? "normal" : state == kButtonHidden ? "button hidden" : "withdrawn");
        DeleteFileA(log_.c_str());
        StoreText("normal", "0");
        StoreText("task", state == kWithdrawn ? "1" : "0");
        FakeShell shell;
        ASSERT_TRUE(shell.Started());
        Program program;
        HWND form = program.MainWindow(), application = program.ApplicationWindow();
        ASSERT_TRUE(form);
        if (state != kNormal) {
            LoadFromMenu(program, ProbeSaver());
            HWND host = FromDecimal(ProbeWindow(0).get("parent"));
            EXPECT_TRUE(IsWindowVisible(host));
            EXPECT_FALSE(IsWindowVisible(application));
            EXPECT_EQ(state == kButtonHidden, IsWindowVisible(form) != FALSE);
            EXPECT_TRUE(TrayIconPresent(program.Pid())) << "the icon is the way back";
        }
        ChooseTrayItem(program.Pid(), kTrayRestore);
        EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(form) && IsWindowVisible(application); }));

        if (state == kButtonHidden) {
            // A further load into the open host leaves the button where it is.
            LoadFromMenu(program, ProbeSaver());
            ProbeWindow(1);
            EXPECT_TRUE(IsWindowVisible(application));
            EXPECT_TRUE(IsWindowVisible(form));
        }
        Exit(program);
    }
}

// --- removing the background ----------------------------------------------------

// Right-clicks a screen point as the mouse does and returns the popup menu
// of `pid` that opens.
HWND RightClickForMenu(DWORD pid, POINT at) {
    SetCursorPos(at.x, at.y);
    INPUT clicks[2] = {};
    clicks[0].type = clicks[1].type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
    clicks[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
    SendInput(2, clicks, sizeof clicks[0]);
    return WaitForPopup(pid);
}

// Either way of removing the background takes the host down with the saver
// in it, and the next load opens a new one; nothing piles up.
TEST_F(LauncherTest, RemovingTheBackgroundEndsItAndTheNextLoadOpensANewHost) {
    enum Way { kFromIcon, kFromHost };
    for (Way way : {kFromIcon, kFromHost}) {
        SCOPED_TRACE(way == kFromIcon ? "背景のスクリーンセーバーを消す" : "the host's own 終了");
        DeleteFileA(log_.c_str());
        StoreText("normal", "0");
        FakeShell shell;
        ASSERT_TRUE(shell.Started());
        HWND view = FakeShell::View();
        Program program;
        HWND form = program.MainWindow(), application = program.ApplicationWindow();
        ASSERT_TRUE(form);
        // Removing before anything was loaded changes nothing.
        ChooseTrayItem(program.Pid(), kTrayRemoveBackground);
        std::vector<HWND> hosts;
        for (size_t round = 0; round < 3; ++round) {
            SCOPED_TRACE("round " + std::to_string(round));
            LoadFromIcon(program, ProbeSaver());
            probe_log::Record window = ProbeWindow(round);
            HWND host = FromDecimal(window.get("parent"));
            ASSERT_TRUE(IsWindow(host));
            EXPECT_EQ(view, GetParent(host));
            for (HWND earlier : hosts) EXPECT_NE(earlier, host);
            hosts.push_back(host);
            EXPECT_EQ(Expected(ProbeSaver(), host), WindowText(form));
            EXPECT_FALSE(IsWindowVisible(application)) << "each new host hides the button again";

            if (way == kFromIcon) {
                ChooseTrayItem(program.Pid(), kTrayRemoveBackground);
            } else {
                // Over the desktop, away from the main window and the taskbar.
                HWND popup = RightClickForMenu(program.Pid(), {900, 400});
                ASSERT_TRUE(popup) << "the host showed no menu";
                PressKey(popup, VK_DOWN);
                PressKey(popup, VK_RETURN);
            }
            EXPECT_TRUE(WaitFor([&] { return !IsWindow(host); })) << "the host stayed";
            EXPECT_TRUE(ProbeEnded(window.pid())) << "the saver inside goes on";
            EXPECT_TRUE(ChildrenOfClass(view, "Tdesk").empty());
            EXPECT_TRUE(IsWindowVisible(form));

            ChooseTrayItem(program.Pid(), kTrayRestore);  // the button is back until the next load
            ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(application) != FALSE; }));
        }
        // Removing with nothing open changes nothing.
        ChooseTrayItem(program.Pid(), kTrayRemoveBackground);
        EXPECT_FALSE(program.WaitForMessageBox(500));
        EXPECT_TRUE(program.Running());
        Exit(program);
    }
}

// The sample saver, loaded as a user would, lives in the host and ends when
// the background is removed.
TEST_F(LauncherTest, TheSampleSaverRunsInTheHostUntilRemoved) {
    FakeShell shell;
    ASSERT_TRUE(shell.Started());
    Program program;
    ASSERT_TRUE(program.MainWindow());
    LoadFromIcon(program, SampleSaver());
    HWND host = nullptr, picture = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        auto hosts = ChildrenOfClass(FakeShell::View(), "Tdesk");
        host = hosts.empty() ? nullptr : hosts.front();
        picture = host ? FindWindowExA(host, nullptr, "HinodeSaverWindow", nullptr) : nullptr;
        return picture != nullptr;
    })) << "the sample drew no window in the host";
    DWORD saverPid = 0;
    GetWindowThreadProcessId(picture, &saverPid);
    ASSERT_NE(program.Pid(), saverPid);
    // Should the test fail, the sample must not run on after it.
    struct EndSaver {
        DWORD pid;
        ~EndSaver() {
            if (HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, pid)) {
                TerminateProcess(process, 9);
                CloseHandle(process);
            }
        }
    } endSaver{saverPid};
    EXPECT_EQ(Expected(SampleSaver(), host), WindowText(program.MainWindow()));

    ChooseTrayItem(program.Pid(), kTrayRemoveBackground);
    EXPECT_TRUE(ProcessEnds(saverPid)) << "the sample went on running";
    EXPECT_FALSE(IsWindow(host));
    Exit(program);
}

// When the shell's desktop goes (Explorer restarting), the host goes with it;
// the next load opens a new host in the new desktop instead of handing the
// saver a dead window.
TEST_F(LauncherTest, AHostTheShellTookDownIsNotReused) {
    StoreText("normal", "0");
    Program program;
    HWND form = program.MainWindow();
    ASSERT_TRUE(form);
    HWND oldHost = nullptr;
    unsigned long firstPid = 0;
    {
        FakeShell shell;
        ASSERT_TRUE(shell.Started());
        LoadFromMenu(program, ProbeSaver());
        probe_log::Record window = ProbeWindow(0);
        oldHost = FromDecimal(window.get("parent"));
        firstPid = window.pid();
        ASSERT_TRUE(IsWindow(oldHost));
        shell.Quit();
    }
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(oldHost); }));
    EXPECT_TRUE(ProbeEnded(firstPid));

    FakeShell restarted;
    ASSERT_TRUE(restarted.Started());
    LoadFromMenu(program, ProbeSaver());
    probe_log::Record window = ProbeWindow(1);
    HWND host = FromDecimal(window.get("parent"));
    EXPECT_EQ("1", window.get("target_valid"));
    ASSERT_TRUE(IsWindow(host));
    EXPECT_EQ(FakeShell::View(), GetParent(host));
    EXPECT_EQ(Expected(ProbeSaver(), host), WindowText(form));
    Exit(program);
}

// A start that fails after a background load opened the host and withdrew
// the program: the report comes, and the host and the withdrawal stay.
TEST_F(LauncherTest, AFailedBackgroundStartLeavesTheHostOpenAndTheProgramWithdrawn) {
    StoreText("normal", "0");
    StoreText("task", "1");
    FakeShell shell;
    ASSERT_TRUE(shell.Started());
    Program program;
    HWND form = program.MainWindow();
    ASSERT_TRUE(form);
    std::string missing = ScratchDir() + "\\missing.scr";
    LoadFromMenu(program, missing);
    HWND box = program.WaitForMessageBox();
    ASSERT_TRUE(box);
    std::string reason = SystemText(ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(reason, MessageBoxText(box).substr(0, reason.size()));
    PressOk(box);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }));

    auto hosts = ChildrenOfClass(FakeShell::View(), "Tdesk");
    ASSERT_EQ(1u, hosts.size());
    EXPECT_TRUE(IsWindowVisible(hosts[0]));
    EXPECT_EQ(Expected(missing, hosts[0]), WindowText(form));
    EXPECT_FALSE(IsWindowVisible(form));
    EXPECT_FALSE(IsWindowVisible(program.ApplicationWindow()));

    // The open host takes the next load.
    LoadFromIcon(program, ProbeSaver());
    EXPECT_EQ(hosts[0], FromDecimal(ProbeWindow(0).get("parent")));
    Exit(program);
}

}  // namespace
