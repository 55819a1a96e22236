// The main window as a user meets it: start-up, options, prompt and closing.
#include <gtest/gtest.h>

#include "driver.h"

using namespace driver;

namespace {

// Menu places, as the user sees them.
constexpr int kFileMenu = 0, kSettingsMenu = 1;
constexpr int kExitItem = 1;  // below "ロード", past the separator
constexpr int kDisplayItem = 0, kWithdrawItem = 1;
constexpr int kStandardItem = 0, kBackgroundItem = 1;

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override { DeleteSettings(); }
    void TearDown() override { DeleteSettings(); }

    // Chooses an item of the display-mode submenu (設定 > 表示ウインドー).
    static void ChooseDisplayItem(HWND form, int item) {
        ASSERT_TRUE(OpenBarMenu(form, kSettingsMenu));
        PressKey(form, VK_RIGHT);  // opens 表示ウインドー
        DWORD pid = 0;
        GetWindowThreadProcessId(form, &pid);
        ASSERT_TRUE(WaitFor([&] { return PopupMenus(pid).size() == 2; }));
        ChooseItem(form, item);
        ASSERT_TRUE(WaitFor([&] { return PopupMenus(pid).empty(); }));
    }
    static void ChooseWithdrawItem(HWND form) {
        ASSERT_TRUE(OpenBarMenu(form, kSettingsMenu));
        ChooseItem(form, kWithdrawItem);
    }
    static void ExitFromMenu(HWND form) {
        ASSERT_TRUE(OpenBarMenu(form, kFileMenu));
        ChooseItem(form, kExitItem);
    }
    // What the two menus show: 標準, 背景, タスクバーに収納する.
    static std::vector<bool> ShownOptions(Program& program) {
        HWND form = program.MainWindow();
        HWND settings = OpenBarMenu(form, kSettingsMenu);
        std::vector<bool> withdraw = CheckMarks(settings, 2);
        PressKey(form, VK_RIGHT);
        std::vector<bool> modes;
        if (WaitFor([&] { return PopupMenus(program.Pid()).size() == 2; }))
            modes = CheckMarks(PopupMenus(program.Pid())[1], 2);
        CloseMenus(form);
        if (modes.size() != 2) return {};
        return {modes[0], modes[1], withdraw[kWithdrawItem]};
    }
    static void ExpectStored(const char* normal, const char* task) {
        auto storedNormal = ReadSetting("normal");
        auto storedTask = ReadSetting("task");
        ASSERT_TRUE(storedNormal && storedTask);
        EXPECT_EQ(static_cast<DWORD>(REG_SZ), storedNormal->type);
        EXPECT_EQ(TextBytes(normal), storedNormal->bytes);
        EXPECT_EQ(static_cast<DWORD>(REG_SZ), storedTask->type);
        EXPECT_EQ(TextBytes(task), storedTask->bytes);
    }
};

TEST_F(MainWindowTest, FirstRunShowsTheDesignedWindowAndStoresDefaultsOnClose) {
    Program program;
    HWND form = program.MainWindow();
    ASSERT_TRUE(form);
    EXPECT_TRUE(IsWindowVisible(form));
    EXPECT_EQ("スクリーンセーバー", WindowText(form));
    RECT bounds;
    GetWindowRect(form, &bounds);
    EXPECT_EQ(268, bounds.left);
    EXPECT_EQ(129, bounds.top);
    EXPECT_EQ(322, bounds.right - bounds.left);
    EXPECT_EQ(323, bounds.bottom - bounds.top);
    LONG style = GetWindowLongA(form, GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_THICKFRAME);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));

    // The taskbar button belongs to the application window, titled by the file name.
    HWND application = program.ApplicationWindow();
    ASSERT_TRUE(application);
    EXPECT_TRUE(IsWindowVisible(application));
    EXPECT_EQ("Solarim", WindowText(application));
    EXPECT_EQ(application, GetWindow(form, GW_OWNER));

    EXPECT_TRUE(SettingsKeyExists());
    EXPECT_FALSE(SettingsSectionExists()) << "start-up reads but never creates the section";
    EXPECT_EQ((std::vector<bool>{true, false, false}), ShownOptions(program));

    PostMessageA(form, WM_SYSCOMMAND, SC_CLOSE, 0);  // the title bar's close button
    EXPECT_EQ(0u, program.WaitForExit());
    ExpectStored("1", "0");
}

TEST_F(MainWindowTest, StoredOptionsAreShownAsCheckMarks) {
    StoreText("normal", "0");
    StoreText("task", "0x1F");
    Program program;
    EXPECT_EQ((std::vector<bool>{false, true, true}), ShownOptions(program));
    ExitFromMenu(program.MainWindow());
    EXPECT_EQ(0u, program.WaitForExit());
    ExpectStored("0", "1");
}

TEST_F(MainWindowTest, StoredTextsComeBackAsTheOptionsTheyMean) {
    struct {
        const char* normal;
        const char* task;
        const char* normalAfter;
        const char* taskAfter;
    } const cases[] = {
        {"1", "2", "1", "1"},     {"0", "-1", "0", "1"},   {"00", " 1", "0", "1"},
        {"abc", "$10", "1", "1"}, {"", "0X1", "1", "1"},   {"1 ", "00", "1", "0"},
        {"0x0", "0x", "0", "0"},  {"$0", "1.0", "0", "0"}, {"9999999999", "abc", "1", "0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("normal=\"") + c.normal + "\" task=\"" + c.task + "\"");
        DeleteSettings();
        StoreText("normal", c.normal);
        StoreText("task", c.task);
        Program program;
        ASSERT_TRUE(program.MainWindow());
        PostMessageA(program.MainWindow(), WM_CLOSE, 0, 0);
        ASSERT_EQ(0u, program.WaitForExit());
        ExpectStored(c.normalAfter, c.taskAfter);
    }
}

TEST_F(MainWindowTest, EitherDisplayItemSwitchesModeAndTheWithdrawItemToggles) {
    Program program;
    HWND form = program.MainWindow();
    ChooseDisplayItem(form, kStandardItem);  // checked already: still switches
    EXPECT_EQ((std::vector<bool>{false, true, false}), ShownOptions(program));
    ChooseDisplayItem(form, kBackgroundItem);  // checked now: back to standard
    EXPECT_EQ((std::vector<bool>{true, false, false}), ShownOptions(program));
    ChooseDisplayItem(form, kBackgroundItem);
    ChooseWithdrawItem(form);
    EXPECT_EQ((std::vector<bool>{false, true, true}), ShownOptions(program));
    ExitFromMenu(form);
    EXPECT_EQ(0u, program.WaitForExit());
    ExpectStored("0", "1");
}

TEST_F(MainWindowTest, PromptBlinksRedAndBlue) {
    Program program;
    HWND form = program.MainWindow();
    RECT prompt = PromptRect(form);
    std::vector<Hue> seen;
    WaitFor([&] {
        Hue hue = DominantHue(prompt);
        if (hue != Hue::Other && (seen.empty() || seen.back() != hue)) seen.push_back(hue);
        return seen.size() >= 5;
    });
    ASSERT_GE(seen.size(), 5u) << "the prompt stopped changing colour";
    for (size_t i = 1; i < seen.size(); ++i) EXPECT_NE(seen[i - 1], seen[i]);
}

TEST_F(MainWindowTest, NumberTypedModeIsReportedAndTheWindowOpensInStandardMode) {
    StoreSetting("normal", REG_DWORD, std::string("\0\0\0\0", 4));
    StoreText("task", "1");
    Program program;
    HWND box = program.WaitForMessageBox();
    ASSERT_TRUE(box);
    EXPECT_EQ("Solarim", WindowText(box));
    EXPECT_EQ("'normal' のﾃﾞｰﾀ型が不正です.", MessageBoxText(box));
    EXPECT_EQ(program.ApplicationWindow(), GetWindow(box, GW_OWNER));
    PressOk(box);
    ASSERT_TRUE(WaitFor([&] { return program.MainWindow() && IsWindowVisible(program.MainWindow()); }));
    // Reading stopped at the bad value: standard mode, withdraw off.
    EXPECT_EQ((std::vector<bool>{true, false, false}), ShownOptions(program));
    ExitFromMenu(program.MainWindow());
    EXPECT_EQ(0u, program.WaitForExit());
    ExpectStored("1", "0");
}

TEST_F(MainWindowTest, SessionEndStoresTheOptions) {
    StoreText("normal", "1");
    StoreText("task", "0");
    Program program;
    HWND form = program.MainWindow();
    ChooseDisplayItem(form, kBackgroundItem);
    ChooseWithdrawItem(form);
    EXPECT_EQ((std::vector<bool>{false, true, true}), ShownOptions(program));
    EndSession(program.Pid());
    EXPECT_NE(STILL_ACTIVE, program.WaitForExit());
    ExpectStored("0", "1");
}

TEST_F(MainWindowTest, CloseThatCannotStoreIsReportedAndTheProgramStays) {
    // A volatile key cannot hold the lasting section, so storing fails.
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, "Sys_Change", 0, nullptr, REG_OPTION_VOLATILE,
                                             KEY_ALL_ACCESS, nullptr, &key, nullptr));
    RegCloseKey(key);
    Program program;
    HWND form = program.MainWindow();
    ASSERT_TRUE(form);
    ExitFromMenu(form);
    HWND box = program.WaitForMessageBox();
    ASSERT_TRUE(box);
    EXPECT_EQ("ｷｰ saver の作成に失敗しました.", MessageBoxText(box));
    PressOk(box);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }));
    EXPECT_TRUE(program.Running());
    EXPECT_TRUE(IsWindowVisible(form));

    // Once the key is sound again, the next close stores and ends.
    DeleteSettings();
    PostMessageA(form, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(0u, program.WaitForExit());
    ExpectStored("1", "0");
}

}  // namespace
