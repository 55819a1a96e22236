// The background host in-process: where it opens, what a tick does to it,
// how it is taken down, and a host whose window the system refuses.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "../../app/Unit1.h"
#include "../../app/child_desk.h"

namespace {

// The shell's desktop in miniature: "Progman" holding a view smaller than the
// display (so the host's own size shows), the view holding one child of its own.
class InProcessDesktop {
public:
    InProcessDesktop() {
        for (const char* name : {"Progman", "SHELLDLL_DefView"}) {
            WNDCLASSA wc = {};
            wc.lpfnWndProc = DefWindowProcA;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.lpszClassName = name;
            RegisterClassA(&wc);
        }
        progman = CreateWindowExA(WS_EX_TOOLWINDOW, "Progman", "Program Manager", WS_POPUP | WS_VISIBLE, 0, 0, 640,
                                  480, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        view = CreateWindowExA(0, "SHELLDLL_DefView", "", WS_CHILD | WS_VISIBLE, 10, 20, 300, 200, progman, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
        icons = CreateWindowExA(0, "STATIC", "icons", WS_CHILD | WS_VISIBLE, 0, 0, 300, 200, view, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    }
    ~InProcessDesktop() { DestroyWindow(progman); }
    HWND progman, view, icons;
};

// Refuses the creation of every window of one class while it lives.
class RefuseWindows {
public:
    explicit RefuseWindows(const char* className) {
        refused = className;
        hook_ = SetWindowsHookExA(WH_CBT, Refuse, nullptr, GetCurrentThreadId());
    }
    ~RefuseWindows() { UnhookWindowsHookEx(hook_); }

private:
    static LRESULT CALLBACK Refuse(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HCBT_CREATEWND) {
            char name[64] = "";
            GetClassNameA(reinterpret_cast<HWND>(wParam), name, sizeof name);
            if (refused == name) return 1;
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static inline std::string refused;
    HHOOK hook_;
};

class DeskTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterProgramClasses();
        application.OnReport = [this](const std::string& text) { reports.push_back(text); };
        application.Initialize();
        application.CreateForm(Form1);
        desk = nullptr;
        DesktopView = nullptr;
    }
    void TearDown() override { desk = nullptr; }

    int HostForms() const {
        int count = 0;
        for (fw::TComponent* component : application.Components())
            if (dynamic_cast<Tdesk*>(component)) ++count;
        return count;
    }

    fw::TApplication application;
    std::vector<std::string> reports;
};

TEST_F(DeskTest, OpensOverTheViewAndTakesTheDisplaySizeAtItsTick) {
    InProcessDesktop desktop;
    OpenDesk();
    ASSERT_TRUE(desk);
    HWND host = desk->Handle();
    EXPECT_EQ(desktop.view, DesktopView);
    EXPECT_EQ(host, DeskHandle);
    EXPECT_TRUE(DeskLoaded);
    EXPECT_EQ(desktop.view, GetParent(host));
    EXPECT_EQ(host, GetWindow(desktop.view, GW_CHILD)) << "above the view's own children";
    EXPECT_TRUE(IsWindowVisible(host));
    EXPECT_EQ("desk", desk->Caption());
    EXPECT_EQ(100u, desk->Timer1->Interval());
    RECT placed;
    GetWindowRect(host, &placed);
    MapWindowPoints(nullptr, desktop.view, reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ((std::vector<LONG>{0, 0, 300, 200}),
              (std::vector<LONG>{placed.left, placed.top, placed.right, placed.bottom}))
        << "opened over the view, with its size";

    desk->Timer1->OnTimer(desk->Timer1);
    RECT client;
    GetClientRect(host, &client);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), client.right);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), client.bottom);
    GetWindowRect(host, &placed);
    MapWindowPoints(nullptr, desktop.view, reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(0, placed.left) << "a tick never moves the host";
    EXPECT_EQ(0, placed.top);
}

TEST_F(DeskTest, ClosingDestroysTheHostAndASecondCloseDoesNothing) {
    InProcessDesktop desktop;
    CloseDesk();  // before any host was opened
    EXPECT_FALSE(DeskLoaded);
    OpenDesk();
    HWND host = DeskHandle;
    HWND inside = CreateWindowExA(0, "STATIC", "saver", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, host, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    CloseDesk();
    EXPECT_FALSE(DeskLoaded);
    EXPECT_FALSE(desk);
    EXPECT_FALSE(IsWindow(host));
    EXPECT_FALSE(IsWindow(inside)) << "the window inside goes with the host";
    EXPECT_EQ(host, DeskHandle) << "the handle is left as it was";
    CloseDesk();
    EXPECT_FALSE(DeskLoaded);
    EXPECT_TRUE(reports.empty());
}

TEST_F(DeskTest, AHostWhoseWindowIsRefusedIsNotKept) {
    InProcessDesktop desktop;
    {
        RefuseWindows refuse("Tdesk");
        EXPECT_THROW(OpenDesk(), fw::EOSError);
    }
    EXPECT_FALSE(desk);
    EXPECT_FALSE(DeskLoaded);
    EXPECT_EQ(0, HostForms()) << "a window-less host would tick on for nothing";

    OpenDesk();
    EXPECT_TRUE(DeskLoaded);
    EXPECT_TRUE(IsWindowVisible(DeskHandle));
    EXPECT_EQ(1, HostForms());
}

TEST(PreviewCommandTest, QuotesThePathAndWritesTheHandleInDecimal) {
    struct {
        const char* path;
        uintptr_t handle;
        const char* command;
    } const cases[] = {
        {"C:\\WINDOWS\\system\\sample.scr", 1234, "\"C:\\WINDOWS\\system\\sample.scr\" /p 1234"},
        {"C:\\Program Files\\Savers\\a b.scr", 65546, "\"C:\\Program Files\\Savers\\a b.scr\" /p 65546"},
        // A handle with its top bit set stays positive.
        {"C:\\x.scr", 0x80000000u, "\"C:\\x.scr\" /p 2147483648"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.command, PreviewCommand(c.path, reinterpret_cast<HWND>(c.handle)));
}

}  // namespace
