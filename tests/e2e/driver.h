// Drives the real program from outside, the way a user would: starts it,
// finds its windows, works its menus by keyboard, reads message boxes and
// the screen, and looks at the options it stored.
#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace driver {

// Folder of the test executable; the program and fixtures are built beside it.
std::string BinDir();

// Waits until `done` holds, checking every few milliseconds; false after
// `timeoutMs`. The bound only stops a hung run: no test depends on speed.
bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs = 20000);

// Top-level windows of a process, optionally of one class.
std::vector<HWND> TopLevelWindows(DWORD pid, const char* className = nullptr, bool visibleOnly = false);
std::string WindowText(HWND window);
std::string ClassOf(HWND window);

// --- the options in the registry -------------------------------------------

struct StoredValue {
    DWORD type;
    std::string bytes;
};
void DeleteSettings();
void StoreSetting(const char* name, DWORD type, const std::string& bytes);
void StoreText(const char* name, const char* text);
// The bytes a text value holds in the registry: the text and its terminator.
std::string TextBytes(const char* text);
std::optional<StoredValue> ReadSetting(const char* name);
bool SettingsKeyExists();
bool SettingsSectionExists();

// --- the program -------------------------------------------------------------

class Program {
public:
    // Starts Solarim.exe and waits for its main window (unless a message box
    // comes first: then MainWindow() is still 0).
    Program();
    ~Program();  // ends the program if a test left it running

    DWORD Pid() const { return process_.dwProcessId; }
    HANDLE Process() const { return process_.hProcess; }
    HWND MainWindow();         // class TForm1
    HWND ApplicationWindow();  // class TApplication: carries the taskbar button

    // Waits for the process to end; its exit code, or STILL_ACTIVE on timeout.
    DWORD WaitForExit(DWORD timeoutMs = 20000);
    bool Running() const;

    // A visible message box of this process, once it is there.
    HWND WaitForMessageBox(DWORD timeoutMs = 20000);

private:
    PROCESS_INFORMATION process_ = {};
};

// The stand-in for the shell's desktop windows (fake_shell.exe: "Progman" >
// "SHELLDLL_DefView" > "SysListView32"), ended when it goes. `options` are
// its own, such as --no-defview or --view-size WxH.
class FakeShell {
public:
    explicit FakeShell(const std::string& options = "");
    ~FakeShell();
    bool Started() const { return started_; }
    // Ends the shell; its desktop windows go, and every window inside them.
    void Quit();
    static HWND Progman() { return FindWindowA("Progman", nullptr); }
    static HWND View();

private:
    PROCESS_INFORMATION process_ = {};
    HANDLE ready_ = nullptr, quit_ = nullptr;
    bool started_ = false;
};

// A stand-in taskbar that refuses every icon: the shell sends icon requests
// to the first top-level window of class "Shell_TrayWnd", and while this one
// exists it is ours, placed above the real taskbar.
class RefusingTaskbar {
public:
    RefusingTaskbar();
    ~RefusingTaskbar();
    HWND Window() const { return window_; }

private:
    static DWORD WINAPI Run(void* self);
    HANDLE thread_ = nullptr;
    HANDLE ready_ = nullptr;
    HWND window_ = nullptr;
    DWORD threadId_ = 0;
};

// The text and caption of a message box, and its OK button.
std::string MessageBoxText(HWND box);
void PressOk(HWND box);

// --- menus -------------------------------------------------------------------

// Posts one key press (down and up) to a window's thread.
void PressKey(HWND window, UINT key);
// Opens the menu bar's `barIndex`-th menu with the keyboard and returns the
// shown popup.
HWND OpenBarMenu(HWND form, int barIndex);
// Visible popup menus (#32768) of a process, left to right.
std::vector<HWND> PopupMenus(DWORD pid);
// The leftmost shown popup menu of a process, once there is one.
HWND WaitForPopup(DWORD pid);
// Chooses the item `steps` places below the first (separators skipped).
void ChooseItem(HWND form, int steps);
// Whether each row of a shown popup menu of `rows` items carries a check mark,
// read from its pixels.
std::vector<bool> CheckMarks(HWND popup, int rows);
void CloseMenus(HWND form);

// --- the notification icon ----------------------------------------------------

// The hidden window behind the program's notification icon (id 1): the one of
// its windows for which the shell accepts a modify. 0 while there is none.
HWND TrayWindow(DWORD pid);
// Whether the shell holds the program's icon.
bool TrayIconPresent(DWORD pid);
// Releases a mouse button on the icon, as the shell reports it, and returns
// the popup menu that shows (0 if none came).
HWND OpenTrayMenu(DWORD pid, UINT buttonUp = WM_RBUTTONUP);
// Items of the icon's popup menu, top to bottom (the separator has no index
// of its own: keyboard selection skips it).
enum TrayItem { kTrayRestore = 0, kTrayLoadBackground = 1, kTrayRemoveBackground = 2, kTrayAbout = 3, kTrayExit = 4 };
// Opens the icon's menu and chooses an item.
void ChooseTrayItem(DWORD pid, TrayItem item);

// --- the screen ----------------------------------------------------------------

// Pixels of a screen rectangle as 0x00RRGGBB.
std::vector<COLORREF> Capture(const RECT& screenRect);
enum class Hue { Red, Blue, Other };
// Where the main window's prompt is, on the screen.
RECT PromptRect(HWND form);
// The prevailing strong colour of a screen rectangle.
Hue DominantHue(const RECT& screenRect);

// --- session end -------------------------------------------------------------

// What Windows does at log-off: ask, then tell, every top-level window.
void EndSession(DWORD pid);

}  // namespace driver
