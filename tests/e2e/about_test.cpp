// The version dialog as a user meets it: from the menu bar and from the
// notification icon, closed every way a user can, looked at on screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "driver.h"

using namespace driver;

namespace {

constexpr int kSettingsMenu = 1, kHelpMenu = 2;
constexpr int kAboutItem = 0, kWithdrawItem = 1;
constexpr char kDialogClass[] = "TForm2";
constexpr char kDialogCaption[] = "ソラリムのバージョン情報";
// The error report's text: the message with the "." the report appends.
constexpr char kAlreadyShownReport[] = "表示されているｳｨﾝﾄﾞｳをﾓｰﾀﾞﾙにすることはできません.";

// A rectangle of the dialog's client area, in screen coordinates.
RECT ClientRectOnScreen(HWND window, int left, int top, int width, int height) {
    POINT origin = {left, top};
    ClientToScreen(window, &origin);
    return {origin.x, origin.y, origin.x + width, origin.y + height};
}

RECT WindowBounds(HWND window) {
    RECT bounds = {};
    GetWindowRect(window, &bounds);
    return bounds;
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

class AboutDialogTest : public ::testing::Test {
protected:
    void SetUp() override { DeleteSettings(); }
    void TearDown() override { DeleteSettings(); }

    static HWND Dialog(Program& program) {
        auto windows = TopLevelWindows(program.Pid(), kDialogClass);
        return windows.empty() ? nullptr : windows.front();
    }
    static HWND WaitForDialog(Program& program) {
        HWND dialog = nullptr;
        WaitFor([&] {
            dialog = Dialog(program);
            return dialog && IsWindowVisible(dialog);
        });
        return dialog && IsWindowVisible(dialog) ? dialog : nullptr;
    }
    static bool WaitUntilHidden(HWND dialog) {
        return WaitFor([&] { return !IsWindowVisible(dialog); });
    }
    static HWND OpenFromMenuBar(Program& program) {
        if (!OpenBarMenu(program.MainWindow(), kHelpMenu)) return nullptr;
        ChooseItem(program.MainWindow(), kAboutItem);
        return WaitForDialog(program);
    }
    static HWND OpenFromTray(Program& program) {
        if (!WaitFor([&] { return TrayIconPresent(program.Pid()); })) return nullptr;
        ChooseTrayItem(program.Pid(), kTrayAbout);
        return WaitForDialog(program);
    }
    // Whether the main window is back in charge: enabled and in front.
    static bool MainWindowActiveAgain(Program& program) {
        HWND form = program.MainWindow();
        return WaitFor([&] { return IsWindowEnabled(form) && GetForegroundWindow() == form; });
    }
};

TEST_F(AboutDialogTest, MenuBarShowsTheDesignedDialogAndEnterClosesIt) {
    Program program;
    HWND form = program.MainWindow();
    ASSERT_TRUE(form);
    HWND hidden = Dialog(program);
    EXPECT_TRUE(!hidden || !IsWindowVisible(hidden)) << "the dialog waits hidden until asked for";

    HWND dialog = OpenFromMenuBar(program);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(kDialogCaption, WindowText(dialog));
    RECT bounds = WindowBounds(dialog), client;
    GetClientRect(dialog, &client);
    EXPECT_EQ(419, bounds.left);
    EXPECT_EQ(199, bounds.top);
    EXPECT_EQ(336, client.right);
    EXPECT_EQ(167, client.bottom);
    LONG style = GetWindowLongA(dialog, GWL_STYLE), exStyle = GetWindowLongA(dialog, GWL_EXSTYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_TRUE(exStyle & WS_EX_DLGMODALFRAME);
    EXPECT_EQ(program.ApplicationWindow(), GetWindow(dialog, GW_OWNER)) << "no taskbar button of its own";

    // Modal: the main window waits, the dialog has the keyboard on its button.
    EXPECT_FALSE(IsWindowEnabled(form));
    EXPECT_TRUE(IsWindowEnabled(dialog));
    HWND button = FindWindowExA(dialog, nullptr, "Button", nullptr);
    ASSERT_TRUE(button);
    EXPECT_EQ("OK", WindowText(button));
    RECT buttonBounds = WindowBounds(button);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&buttonBounds), 2);
    EXPECT_TRUE(SameRect(RECT{144, 136, 144 + 75, 136 + 25}, buttonBounds));
    EXPECT_TRUE(WaitFor([&] { return FocusOf(dialog) == button; }));

    PressKey(dialog, VK_RETURN);
    EXPECT_TRUE(WaitUntilHidden(dialog));
    EXPECT_TRUE(MainWindowActiveAgain(program));
    EXPECT_TRUE(program.Running());
}

TEST_F(AboutDialogTest, EscDoesNothing) {
    Program program;
    HWND dialog = OpenFromMenuBar(program);
    ASSERT_TRUE(dialog);
    PressKey(dialog, VK_ESCAPE);
    // The system menu opens only after the Esc before it has been handled.
    PostMessageA(dialog, WM_SYSCOMMAND, SC_KEYMENU, ' ');
    ASSERT_TRUE(WaitFor([&] { return !PopupMenus(program.Pid()).empty(); }));
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_FALSE(IsWindowEnabled(program.MainWindow()));
    CloseMenus(dialog);
    PressKey(dialog, VK_RETURN);
    EXPECT_TRUE(WaitUntilHidden(dialog));
}

TEST_F(AboutDialogTest, EveryWayOfClosingTheWindowClosesIt) {
    Program program;
    const struct {
        const char* way;
        void (*close)(HWND dialog, DWORD pid);
    } ways[] = {
        {"title-bar close button", [](HWND dialog, DWORD) { PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }},
        {"Alt+F4",
         [](HWND dialog, DWORD) {
             PostMessageA(dialog, WM_SYSKEYDOWN, VK_F4, 0x20000001);
             PostMessageA(dialog, WM_SYSKEYUP, VK_F4, 0xE0000001);
         }},
        {"system menu's close",
         [](HWND dialog, DWORD pid) {
             PostMessageA(dialog, WM_SYSCOMMAND, SC_KEYMENU, ' ');
             PressKey(WaitForPopup(pid), 'C');  // its mnemonic
         }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.way);
        HWND dialog = OpenFromMenuBar(program);
        ASSERT_TRUE(dialog);
        way.close(dialog, program.Pid());
        EXPECT_TRUE(WaitUntilHidden(dialog));
        EXPECT_TRUE(MainWindowActiveAgain(program));
    }
    EXPECT_TRUE(program.Running());
}

TEST_F(AboutDialogTest, BothMenusShowItAgainWhereItWasLeft) {
    Program program;
    HWND dialog = OpenFromMenuBar(program);
    ASSERT_TRUE(dialog);
    RECT designed = WindowBounds(dialog);
    const int width = designed.right - designed.left, height = designed.bottom - designed.top;

    SetWindowPos(dialog, nullptr, 300, 250, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    PressKey(dialog, VK_RETURN);
    ASSERT_TRUE(WaitUntilHidden(dialog));
    ASSERT_EQ(dialog, OpenFromTray(program));
    EXPECT_TRUE(SameRect(RECT{300, 250, 300 + width, 250 + height}, WindowBounds(dialog)));

    SetWindowPos(dialog, nullptr, 120, 80, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(WaitUntilHidden(dialog));
    ASSERT_EQ(dialog, OpenFromMenuBar(program));
    EXPECT_TRUE(SameRect(RECT{120, 80, 120 + width, 80 + height}, WindowBounds(dialog)));
    PressKey(dialog, VK_RETURN);
    EXPECT_TRUE(WaitUntilHidden(dialog));
}

TEST_F(AboutDialogTest, SecondShowFromTheTrayIsReportedAndLeavesTheDialogAsItWas) {
    Program program;
    HWND dialog = OpenFromMenuBar(program);
    ASSERT_TRUE(dialog);
    SetWindowPos(dialog, nullptr, 200, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT before = WindowBounds(dialog);

    ASSERT_TRUE(TrayIconPresent(program.Pid()));
    ChooseTrayItem(program.Pid(), kTrayAbout);
    HWND box = program.WaitForMessageBox();
    ASSERT_TRUE(box);
    EXPECT_EQ(kAlreadyShownReport, MessageBoxText(box));
    EXPECT_EQ("Solarim", WindowText(box));
    PressOk(box);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(box) || !IsWindowVisible(box); }));

    // Still the same modal dialog, in the same place, and it still answers.
    EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(dialog); }));
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_TRUE(SameRect(before, WindowBounds(dialog)));
    EXPECT_FALSE(IsWindowEnabled(program.MainWindow()));
    EXPECT_EQ(1u, TopLevelWindows(program.Pid(), kDialogClass, true).size());
    PressKey(dialog, VK_RETURN);
    EXPECT_TRUE(WaitUntilHidden(dialog));
    EXPECT_TRUE(MainWindowActiveAgain(program));
}

TEST_F(AboutDialogTest, ExitFromTheTrayWhileShownEndsTheProgramAndStoresTheOptions) {
    Program program;
    // Change an option in this run, so the stored values can only come from its close.
    ASSERT_TRUE(OpenBarMenu(program.MainWindow(), kSettingsMenu));
    ChooseItem(program.MainWindow(), kWithdrawItem);
    ASSERT_TRUE(WaitFor([&] { return PopupMenus(program.Pid()).empty(); }));
    ASSERT_TRUE(OpenFromMenuBar(program));

    ChooseTrayItem(program.Pid(), kTrayExit);
    EXPECT_EQ(0u, program.WaitForExit());
    auto normal = ReadSetting("normal"), task = ReadSetting("task");
    ASSERT_TRUE(normal && task);
    EXPECT_EQ(TextBytes("1"), normal->bytes);
    EXPECT_EQ(TextBytes("1"), task->bytes);
}

// The stand-in shell desktop, with a log for the probe screen saver, for as
// long as a test runs.
class ShellDesktop {
public:
    ShellDesktop() {
        char temp[MAX_PATH] = "";
        GetTempPathA(sizeof temp, temp);
        log_ = std::string(temp) + "solarim_about_probe.log";
        DeleteFileA(log_.c_str());
        SetEnvironmentVariableA("SOLARIM_PROBE_LOG", log_.c_str());  // handed on to the probe
        shell_ = std::make_unique<FakeShell>();
    }
    ~ShellDesktop() {
        shell_.reset();
        SetEnvironmentVariableA("SOLARIM_PROBE_LOG", nullptr);
        DeleteFileA(log_.c_str());
    }
    bool Up() const { return shell_->Started(); }

private:
    std::string log_;
    std::unique_ptr<FakeShell> shell_;
};

TEST_F(AboutDialogTest, WithdrawnIntoTheTrayTheDialogStillComesFromThere) {
    ShellDesktop desktop;
    ASSERT_TRUE(desktop.Up());
    StoreText("task", "1");
    Program program;

    // A background load from the tray, withdrawing the program.
    ChooseTrayItem(program.Pid(), kTrayLoadBackground);
    HWND open = program.WaitForMessageBox();
    ASSERT_TRUE(open);
    // The file name field: ComboBoxEx32 > ComboBox > Edit.
    HWND combo = FindWindowExA(GetDlgItem(open, 0x47C), nullptr, "ComboBox", nullptr);
    HWND edit = FindWindowExA(combo, nullptr, "Edit", nullptr);
    ASSERT_TRUE(edit);
    std::string saver = BinDir() + "\\probe_saver.scr";
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(saver.c_str()));
    SendMessageA(GetDlgItem(open, IDOK), BM_CLICK, 0, 0);
    HWND form = program.MainWindow();
    HWND application = program.ApplicationWindow();
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(form) && !IsWindowVisible(application); }));

    HWND dialog = OpenFromTray(program);
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(IsWindowEnabled(dialog));
    EXPECT_FALSE(IsWindowVisible(form));
    PressKey(dialog, VK_RETURN);
    EXPECT_TRUE(WaitUntilHidden(dialog));
    // Still withdrawn: neither the window nor the taskbar button came back.
    EXPECT_FALSE(IsWindowVisible(form));
    EXPECT_FALSE(IsWindowVisible(application));
    EXPECT_TRUE(IsWindowEnabled(form));
    EXPECT_TRUE(program.Running());
}

// --- how it looks --------------------------------------------------------------

// The dialog's client area as it is on screen.
class ClientPicture {
public:
    explicit ClientPicture(HWND dialog) {
        RECT client;
        GetClientRect(dialog, &client);
        width_ = client.right;
        pixels_ = Capture(ClientRectOnScreen(dialog, 0, 0, client.right, client.bottom));
        if (pixels_.size() != static_cast<size_t>(client.right) * client.bottom) pixels_.clear();
    }
    COLORREF At(int x, int y) const { return pixels_.empty() ? 0 : pixels_[static_cast<size_t>(y) * width_ + x]; }
    // Pixels of a client rectangle that match.
    template <class Match>
    int Count(int left, int top, int width, int height, Match match) const {
        int count = 0;
        for (int y = top; y < top + height; ++y)
            for (int x = left; x < left + width; ++x)
                if (!pixels_.empty() && match(At(x, y))) ++count;
        return count;
    }
    // Extent of what differs from `background` inside a client rectangle.
    SIZE Extent(int left, int top, int width, int height, COLORREF background) const {
        int minX = width, maxX = -1, minY = height, maxY = -1;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (!pixels_.empty() && At(left + x, top + y) != background) {
                    minX = std::min(minX, x), maxX = std::max(maxX, x);
                    minY = std::min(minY, y), maxY = std::max(maxY, y);
                }
        return {maxX - minX + 1, maxY - minY + 1};
    }
    // Longest horizontal run of matching pixels in the given rows.
    template <class Match>
    int LongestRun(int left, int top, int width, int height, Match match) const {
        int longest = 0;
        for (int y = top; y < top + height; ++y) {
            int run = 0;
            for (int x = left; x < left + width; ++x) {
                run = (!pixels_.empty() && match(At(x, y))) ? run + 1 : 0;
                longest = std::max(longest, run);
            }
        }
        return longest;
    }

private:
    int width_ = 0;
    std::vector<COLORREF> pixels_;
};

bool Dark(COLORREF p) { return ((p >> 16) & 0xFF) < 90 && ((p >> 8) & 0xFF) < 90 && (p & 0xFF) < 90; }
bool Blue(COLORREF p) { return (p & 0xFF) > 160 && ((p >> 16) & 0xFF) < 90 && ((p >> 8) & 0xFF) < 90; }
bool Green(COLORREF p) { return p == 0x008000 || p == 0x00FF00; }
bool Olive(COLORREF p) { return p == 0x808000; }

struct DialogLook {
    SIZE icon;
    int productText, mailCaption, webCaption;
    int mailBlue, webBlue, mailUnderline, webUnderline;
    int checkMark, seeThroughColour, buttonInk;
};

DialogLook LookAt(HWND dialog) {
    ClientPicture picture(dialog);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const COLORREF background = ((face & 0xFF) << 16) | (face & 0xFF00) | ((face >> 16) & 0xFF);
    DialogLook look;
    look.icon = picture.Extent(16, 16, 32, 32, background);
    look.productText = picture.Count(64, 24, 205, 15, Dark);
    look.mailCaption = picture.Count(56, 80, 48, 15, Dark);
    look.webCaption = picture.Count(11, 112, 92, 15, Dark);
    // The underline may sit just below a label as tall as its characters.
    look.mailBlue = picture.Count(112, 80, 157, 15, Blue);
    look.webBlue = picture.Count(112, 112, 209, 15, Blue);
    look.mailUnderline = picture.LongestRun(112, 88, 157, 10, Blue);
    look.webUnderline = picture.LongestRun(112, 120, 209, 10, Blue);
    look.checkMark = picture.Count(144, 136, 75, 25, Green);
    look.seeThroughColour = picture.Count(144, 136, 75, 25, Olive);
    look.buttonInk = picture.Count(144, 136, 75, 25, Dark);
    return look;
}

bool LooksAsDesigned(const DialogLook& look) {
    // The 16 x 16 icon fills its 32 x 32 place at twice its size.
    return look.icon.cx >= 28 && look.icon.cy >= 24 && look.productText > 40 && look.mailCaption > 20 &&
           look.webCaption > 20 && look.mailBlue > 150 && look.webBlue > 200 && look.mailUnderline >= 140 &&
           look.webUnderline >= 190 && look.checkMark > 15 && look.seeThroughColour == 0 && look.buttonInk > 10;
}

TEST_F(AboutDialogTest, DialogShowsIconTextsLinksAndTheCheckMark) {
    Program program;
    HWND dialog = OpenFromMenuBar(program);
    ASSERT_TRUE(dialog);
    // Painting reaches the screen a little after the window: look until it
    // is all there, then say what is missing if it never comes.
    DialogLook look = {};
    WaitFor([&] {
        look = LookAt(dialog);
        return LooksAsDesigned(look);
    });
    EXPECT_GE(look.icon.cx, 28) << "icon drawn at twice its size";
    EXPECT_GE(look.icon.cy, 24);
    EXPECT_GT(look.productText, 40);
    EXPECT_GT(look.mailCaption, 20);
    EXPECT_GT(look.webCaption, 20);
    EXPECT_GT(look.mailBlue, 150) << "mail link in blue";
    EXPECT_GT(look.webBlue, 200) << "web link in blue";
    EXPECT_GE(look.mailUnderline, 140) << "mail link underlined";
    EXPECT_GE(look.webUnderline, 190) << "web link underlined";
    EXPECT_GT(look.checkMark, 15) << "green check mark on the button";
    EXPECT_EQ(0, look.seeThroughColour) << "the glyph's see-through colour must not show";
    EXPECT_GT(look.buttonInk, 10) << "caption and outline";

    PressKey(dialog, VK_RETURN);
    EXPECT_TRUE(WaitUntilHidden(dialog));
}

}  // namespace
