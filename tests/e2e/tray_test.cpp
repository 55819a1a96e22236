// The notification icon and its popup menu, driven as the shell would.
#include <gtest/gtest.h>

#include "driver.h"

using namespace driver;

namespace {

class TrayTest : public ::testing::Test {
protected:
    void SetUp() override { DeleteSettings(); }
    void TearDown() override { DeleteSettings(); }
};

TEST_F(TrayTest, EitherButtonReleaseShowsTheMenuAtTheCursor) {
    Program program;
    ASSERT_TRUE(WaitFor([&] { return TrayIconPresent(program.Pid()); })) << "no icon after start-up";
    SetCursorPos(600, 400);
    for (UINT release : {WM_RBUTTONUP, WM_LBUTTONUP}) {
        HWND popup = OpenTrayMenu(program.Pid(), release);
        ASSERT_TRUE(popup) << "no menu after button message " << std::hex << release;
        RECT bounds;
        GetWindowRect(popup, &bounds);
        EXPECT_TRUE(bounds.left <= 600 && 600 <= bounds.right && bounds.top <= 400 && 400 <= bounds.bottom)
            << "the menu opens at the cursor";
        PressKey(popup, VK_ESCAPE);
        ASSERT_TRUE(WaitFor([&] { return PopupMenus(program.Pid()).empty(); }));
    }
    EXPECT_TRUE(IsWindowVisible(program.MainWindow())) << "showing the menu changes nothing else";
}

TEST_F(TrayTest, ExitFromTheMenuStoresTheOptionsAndRemovesTheIcon) {
    StoreText("normal", "0");
    StoreText("task", "1");
    Program program;
    ASSERT_TRUE(WaitFor([&] { return TrayIconPresent(program.Pid()); }));
    HWND tray = TrayWindow(program.Pid());
    ChooseTrayItem(program.Pid(), kTrayExit);
    EXPECT_EQ(0u, program.WaitForExit());
    EXPECT_FALSE(IsWindow(tray));
    auto normal = ReadSetting("normal");
    auto task = ReadSetting("task");
    ASSERT_TRUE(normal && task);
    EXPECT_EQ(TextBytes("0"), normal->bytes);
    EXPECT_EQ(TextBytes("1"), task->bytes);
}

TEST_F(TrayTest, IconComesBackWhenTheTaskbarIsCreatedAgain) {
    Program program;
    ASSERT_TRUE(WaitFor([&] { return TrayIconPresent(program.Pid()); }));
    HWND tray = TrayWindow(program.Pid());
    // A restarted shell knows no icons...
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = tray;
    data.uID = 1;
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &data));
    ASSERT_FALSE(TrayIconPresent(program.Pid()));
    // ...and tells every program that the taskbar is new.
    DWORD_PTR ignored;
    SendMessageTimeoutA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0, SMTO_ABORTIFHUNG, 5000,
                        &ignored);
    EXPECT_TRUE(WaitFor([&] { return TrayIconPresent(program.Pid()); })) << "the icon did not come back";
    ChooseTrayItem(program.Pid(), kTrayExit);  // and it still answers
    EXPECT_EQ(0u, program.WaitForExit());
}

TEST_F(TrayTest, RefusedIconEndsStartUpWithTheLastResortReport) {
    RefusingTaskbar taskbar;
    ASSERT_EQ(taskbar.Window(), FindWindowA("Shell_TrayWnd", nullptr)) << "the stand-in must be found first";
    Program program;
    HWND box = program.WaitForMessageBox();
    ASSERT_TRUE(box);
    EXPECT_EQ("ｱﾌﾟﾘｹｰｼｮﾝ ｴﾗｰ", WindowText(box));
    std::string text = MessageBoxText(box);
    const std::string head = "EIconTrayErrorがﾓｼﾞｭｰﾙ Solarim.exe の ";
    const std::string tail = " で発生しました。\nRegistration Error.";
    ASSERT_GE(text.size(), head.size() + tail.size()) << text;
    EXPECT_EQ(head, text.substr(0, head.size())) << text;
    EXPECT_EQ(tail, text.substr(text.size() - tail.size())) << text;
    std::string address = text.substr(head.size(), text.size() - head.size() - tail.size());
    EXPECT_GE(address.size(), 8u);
    EXPECT_EQ(std::string::npos, address.find_first_not_of("0123456789ABCDEF")) << address;
    EXPECT_EQ(nullptr, GetWindow(box, GW_OWNER)) << "a box of its own, owned by no window";
    PressOk(box);
    EXPECT_EQ(1u, program.WaitForExit());
    EXPECT_FALSE(SettingsSectionExists()) << "nothing is stored";
}

}  // namespace
