#include "driver.h"

#include <shellapi.h>

#include <algorithm>
#include <map>
#include <stdexcept>

namespace driver {

namespace {
constexpr char kSettingsKey[] = "Sys_Change";
constexpr char kSectionKey[] = "Sys_Change\\saver";
}  // namespace

std::string BinDir() {
    char path[MAX_PATH * 4] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string dir = path;
    return dir.substr(0, dir.find_last_of('\\'));
}

bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(10);
    }
    return true;
}

namespace {
struct EnumContext {
    DWORD pid;
    const char* className;
    bool visibleOnly;
    std::vector<HWND> found;
};
BOOL CALLBACK CollectWindow(HWND window, LPARAM lParam) {
    auto* context = reinterpret_cast<EnumContext*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != context->pid) return TRUE;
    if (context->className && ClassOf(window) != context->className) return TRUE;
    if (context->visibleOnly && !IsWindowVisible(window)) return TRUE;
    context->found.push_back(window);
    return TRUE;
}
}  // namespace

std::vector<HWND> TopLevelWindows(DWORD pid, const char* className, bool visibleOnly) {
    EnumContext context{pid, className, visibleOnly, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&context));
    return context.found;
}

std::string WindowText(HWND window) {
    char text[4096] = "";
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                        5000, nullptr);
    return text;
}

std::string ClassOf(HWND window) {
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

// --- the options in the registry -------------------------------------------

void DeleteSettings() { RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey); }

void StoreSetting(const char* name, DWORD type, const std::string& bytes) {
    HKEY section;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kSectionKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &section,
                        nullptr) != ERROR_SUCCESS)
        throw std::runtime_error("cannot create the settings section");
    RegSetValueExA(section, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                   static_cast<DWORD>(bytes.size()));
    RegCloseKey(section);
}

std::string TextBytes(const char* text) { return std::string(text) + '\0'; }

void StoreText(const char* name, const char* text) { StoreSetting(name, REG_SZ, TextBytes(text)); }

std::optional<StoredValue> ReadSetting(const char* name) {
    HKEY section;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSectionKey, 0, KEY_READ, &section) != ERROR_SUCCESS)
        return std::nullopt;
    char data[256];
    DWORD type = 0, size = sizeof data;
    LSTATUS status = RegQueryValueExA(section, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(section);
    if (status != ERROR_SUCCESS) return std::nullopt;
    return StoredValue{type, std::string(data, size)};
}

namespace {
bool KeyExists(const char* path) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}
}  // namespace

bool SettingsKeyExists() { return KeyExists(kSettingsKey); }
bool SettingsSectionExists() { return KeyExists(kSectionKey); }

// --- the program -------------------------------------------------------------

Program::Program() {
    std::string exe = BinDir() + "\\Solarim.exe";
    std::string commandLine = "\"" + exe + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process_))
        throw std::runtime_error("cannot start " + exe);
    // Ready once it waits for input: its main window, or an error box first.
    WaitForInputIdle(process_.hProcess, 20000);
    WaitFor([this] {
        HWND form = MainWindow();
        return (form && IsWindowVisible(form)) || !TopLevelWindows(Pid(), "#32770", true).empty() || !Running();
    });
}

Program::~Program() {
    if (Running()) {
        TerminateProcess(process_.hProcess, 99);
        WaitForSingleObject(process_.hProcess, 10000);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

HWND Program::MainWindow() {
    auto windows = TopLevelWindows(Pid(), "TForm1");
    return windows.empty() ? nullptr : windows.front();
}

HWND Program::ApplicationWindow() {
    auto windows = TopLevelWindows(Pid(), "TApplication");
    return windows.empty() ? nullptr : windows.front();
}

DWORD Program::WaitForExit(DWORD timeoutMs) {
    if (WaitForSingleObject(process_.hProcess, timeoutMs) != WAIT_OBJECT_0) return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
}

bool Program::Running() const { return WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT; }

HWND Program::WaitForMessageBox(DWORD timeoutMs) {
    HWND box = nullptr;
    WaitFor(
        [&] {
            auto boxes = TopLevelWindows(Pid(), "#32770", true);
            box = boxes.empty() ? nullptr : boxes.front();
            return box != nullptr;
        },
        timeoutMs);
    return box;
}

FakeShell::FakeShell(const std::string& options) {
    // Names of our own, so shells of several test runs never meet.
    static int count = 0;
    std::string suffix = std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++count);
    std::string readyName = "SolarimTestShellReady-" + suffix, quitName = "SolarimTestShellQuit-" + suffix;
    ready_ = CreateEventA(nullptr, TRUE, FALSE, readyName.c_str());
    quit_ = CreateEventA(nullptr, TRUE, FALSE, quitName.c_str());
    std::string exe = BinDir() + "\\fake_shell.exe";
    std::string line = "\"" + exe + "\" --ready-event " + readyName + " --quit-event " + quitName + " " + options;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &process_)) {
        HANDLE either[] = {ready_, process_.hProcess};
        started_ = WaitForMultipleObjects(2, either, FALSE, 20000) == WAIT_OBJECT_0;
    }
}

FakeShell::~FakeShell() {
    Quit();
    if (process_.hProcess) {
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    CloseHandle(ready_);
    CloseHandle(quit_);
}

void FakeShell::Quit() {
    if (!process_.hProcess) return;
    SetEvent(quit_);
    if (WaitForSingleObject(process_.hProcess, 20000) != WAIT_OBJECT_0) TerminateProcess(process_.hProcess, 9);
}

HWND FakeShell::View() {
    HWND progman = Progman();
    return progman ? FindWindowExA(progman, nullptr, "SHELLDLL_DefView", nullptr) : nullptr;
}

namespace {
LRESULT CALLBACK RefusingTaskbarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COPYDATA) return FALSE;  // every add, modify and delete refused
    return DefWindowProcA(window, message, wParam, lParam);
}
}  // namespace

RefusingTaskbar::RefusingTaskbar() {
    ready_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, Run, this, 0, &threadId_);
    WaitForSingleObject(ready_, 20000);
}

DWORD WINAPI RefusingTaskbar::Run(void* self) {
    auto* taskbar = static_cast<RefusingTaskbar*>(self);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = RefusingTaskbarProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "Shell_TrayWnd";
    RegisterClassA(&wc);
    taskbar->window_ = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "Shell_TrayWnd", "", WS_POPUP, 0, 0, 0,
                                       0, nullptr, nullptr, wc.hInstance, nullptr);
    SetEvent(taskbar->ready_);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    DestroyWindow(taskbar->window_);
    return 0;
}

RefusingTaskbar::~RefusingTaskbar() {
    PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
    WaitForSingleObject(thread_, 20000);
    CloseHandle(thread_);
    CloseHandle(ready_);
}

std::string MessageBoxText(HWND box) {
    // A message box's text is the static control with the id 0xFFFF.
    HWND text = GetDlgItem(box, 0xFFFF);
    return text ? WindowText(text) : std::string();
}

void PressOk(HWND box) { PostMessageA(box, WM_COMMAND, IDOK, 0); }

// --- menus -------------------------------------------------------------------

void PressKey(HWND window, UINT key) {
    PostMessageA(window, WM_KEYDOWN, key, 1);
    PostMessageA(window, WM_KEYUP, key, 0xC0000001);
}

std::vector<HWND> PopupMenus(DWORD pid) {
    auto menus = TopLevelWindows(pid, "#32768", true);
    std::sort(menus.begin(), menus.end(), [](HWND a, HWND b) {
        RECT ra, rb;
        GetWindowRect(a, &ra);
        GetWindowRect(b, &rb);
        return ra.left < rb.left;
    });
    return menus;
}

HWND WaitForPopup(DWORD pid) {
    HWND popup = nullptr;
    WaitFor([&] {
        auto menus = PopupMenus(pid);
        popup = menus.empty() ? nullptr : menus.front();
        return popup != nullptr;
    });
    return popup;
}

HWND OpenBarMenu(HWND form, int barIndex) {
    DWORD pid = 0;
    GetWindowThreadProcessId(form, &pid);
    SetForegroundWindow(form);
    PostMessageA(form, WM_SYSCOMMAND, SC_KEYMENU, 0);  // what F10 does: the bar's first item selected
    for (int i = 0; i < barIndex; ++i) PressKey(form, VK_RIGHT);
    PressKey(form, VK_DOWN);
    return WaitForPopup(pid);
}

void ChooseItem(HWND form, int steps) {
    for (int i = 0; i < steps; ++i) PressKey(form, VK_DOWN);
    PressKey(form, VK_RETURN);
}

std::vector<bool> CheckMarks(HWND popup, int rows) {
    RECT client;
    GetClientRect(popup, &client);
    POINT origin = {0, 0};
    ClientToScreen(popup, &origin);
    // A menu window exists before it is drawn: read it once two looks agree.
    RECT screen = {origin.x, origin.y, origin.x + client.right, origin.y + client.bottom};
    std::vector<COLORREF> previous;
    WaitFor([&] {
        std::vector<COLORREF> now = Capture(screen);
        bool settled = !now.empty() && now == previous &&
                       std::any_of(now.begin(), now.end(), [&](COLORREF c) { return c != now.front(); });
        previous = std::move(now);
        if (!settled) Sleep(30);
        return settled;
    });
    // Inside the frame, and (left and right) inside a selected row's
    // highlight, which leaves a margin of the menu's own colour.
    int border = 2, margin = 4;
    int rowHeight = (client.bottom - 2 * border) / rows;
    std::vector<bool> marks;
    for (int row = 0; row < rows; ++row) {
        int top = origin.y + border + row * rowHeight;
        RECT whole = {origin.x + margin, top + 1, origin.x + client.right - margin, top + rowHeight - 1};
        std::vector<COLORREF> pixels = Capture(whole);
        std::map<COLORREF, int> counts;
        for (COLORREF pixel : pixels) ++counts[pixel];
        COLORREF background =
            std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) { return a.second < b.second; })
                ->first;
        // The check mark sits in the column left of the text.
        int width = whole.right - whole.left, ink = 0;
        int column = GetSystemMetrics(SM_CXMENUCHECK);
        for (size_t i = 0; i < pixels.size(); ++i)
            if (static_cast<int>(i % width) < column && pixels[i] != background) ++ink;
        marks.push_back(ink > 4);
    }
    return marks;
}

void CloseMenus(HWND form) {
    DWORD pid = 0;
    GetWindowThreadProcessId(form, &pid);
    for (int i = 0; i < 4 && !PopupMenus(pid).empty(); ++i) {
        PressKey(form, VK_ESCAPE);
        Sleep(50);
    }
    PressKey(form, VK_ESCAPE);  // leaves the menu bar itself
    WaitFor([&] { return PopupMenus(pid).empty(); });
}

// --- the notification icon ----------------------------------------------------

HWND TrayWindow(DWORD pid) {
    for (HWND window : TopLevelWindows(pid, "TPUtilWindow")) {
        NOTIFYICONDATAA data = {};
        data.cbSize = NOTIFYICONDATAA_V1_SIZE;
        data.hWnd = window;
        data.uID = 1;
        data.uFlags = 0;  // changes nothing: only asks whether the shell knows the icon
        if (Shell_NotifyIconA(NIM_MODIFY, &data)) return window;
    }
    return nullptr;
}

bool TrayIconPresent(DWORD pid) { return TrayWindow(pid) != nullptr; }

HWND OpenTrayMenu(DWORD pid, UINT buttonUp) {
    HWND tray = TrayWindow(pid);
    if (!tray) return nullptr;
    PostMessageA(tray, WM_USER, 1, buttonUp);
    return WaitForPopup(pid);
}

void ChooseTrayItem(DWORD pid, TrayItem item) {
    HWND popup = OpenTrayMenu(pid);
    if (!popup) return;
    // A popup opened by the mouse has nothing selected: the first press
    // selects the top item.
    for (int i = 0; i <= static_cast<int>(item); ++i) PressKey(popup, VK_DOWN);
    PressKey(popup, VK_RETURN);
    WaitFor([&] { return PopupMenus(pid).empty(); });
}

// --- the screen ----------------------------------------------------------------

std::vector<COLORREF> Capture(const RECT& rect) {
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    std::vector<COLORREF> pixels;
    if (width <= 0 || height <= 0) return pixels;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    GdiFlush();
    const DWORD* data = static_cast<const DWORD*>(bits);
    pixels.assign(data, data + static_cast<size_t>(width) * height);
    for (COLORREF& pixel : pixels) pixel &= 0xFFFFFF;
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

RECT PromptRect(HWND form) {
    RECT prompt = {8, 96, 8 + 289, 96 + 17};  // the label's designed place in the client area
    MapWindowPoints(form, nullptr, reinterpret_cast<POINT*>(&prompt), 2);
    return prompt;
}

Hue DominantHue(const RECT& rect) {
    int red = 0, blue = 0;
    for (COLORREF pixel : Capture(rect)) {
        int r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
        if (r > 160 && g < 90 && b < 90) ++red;
        if (b > 160 && r < 90 && g < 90) ++blue;
    }
    if (red > 20 && red > 4 * blue) return Hue::Red;
    if (blue > 20 && blue > 4 * red) return Hue::Blue;
    return Hue::Other;
}

// --- session end -------------------------------------------------------------

void EndSession(DWORD pid) {
    auto windows = TopLevelWindows(pid);
    for (HWND window : windows)
        SendMessageTimeoutA(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000, nullptr);
    for (HWND window : windows)
        SendMessageTimeoutA(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000, nullptr);
}

}  // namespace driver
