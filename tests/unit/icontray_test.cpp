// The notification icon component, with the shell replaced by a recorder.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "../../app/Unit1.h"
#include "../../components/SysCtrls.h"

namespace {

// What the program tells the shell: operation and the record's bytes.
struct ShellCall {
    DWORD operation;
    std::string record;
    UINT id() const { return *reinterpret_cast<const UINT*>(record.data() + offsetof(NOTIFYICONDATAA, uID)); }
    UINT flags() const { return *reinterpret_cast<const UINT*>(record.data() + offsetof(NOTIFYICONDATAA, uFlags)); }
    HWND window() const { return *reinterpret_cast<const HWND*>(record.data() + offsetof(NOTIFYICONDATAA, hWnd)); }
    std::string tip() const { return record.data() + offsetof(NOTIFYICONDATAA, szTip); }
};

std::vector<ShellCall> calls;
BOOL shellAnswer = TRUE;
std::vector<std::string>* journal = nullptr;  // also records when calls happen among other steps

BOOL WINAPI RecordShellCall(DWORD operation, PNOTIFYICONDATAA data) {
    calls.push_back({operation, std::string(reinterpret_cast<const char*>(data), data->cbSize)});
    if (journal) journal->push_back(operation == NIM_ADD ? "add" : operation == NIM_MODIFY ? "modify" : "delete");
    return shellAnswer;
}

class IconTrayTest : public ::testing::Test {
protected:
    void SetUp() override {
        calls.clear();
        shellAnswer = TRUE;
        ShellNotifyIcon = RecordShellCall;
        someIcon.SetHandle(CopyIcon(LoadIconA(nullptr, IDI_APPLICATION)));
    }
    void TearDown() override { ShellNotifyIcon = Shell_NotifyIconA; }

    static std::vector<DWORD> Operations() {
        std::vector<DWORD> operations;
        for (const ShellCall& call : calls) operations.push_back(call.operation);
        return operations;
    }
    static void ExpectRefused(const std::function<void()>& step) {
        try {
            step();
            ADD_FAILURE() << "the refusal was not raised";
        } catch (const EIconTrayError& error) {
            EXPECT_EQ("Registration Error", error.Message());
        }
    }
    fw::TIcon someIcon;
    fw::TIcon noIcon;
};

TEST_F(IconTrayTest, IdsCountUpAndAreNeverGivenBack) {
    auto first = std::make_unique<TIconTray>(nullptr);
    auto second = std::make_unique<TIconTray>(nullptr);
    first->SetIcon(&someIcon);
    second->SetIcon(&someIcon);
    ASSERT_EQ(2u, calls.size());
    EXPECT_EQ(calls[0].id() + 1, calls[1].id());
    first.reset();
    auto third = std::make_unique<TIconTray>(nullptr);
    third->SetIcon(&someIcon);
    EXPECT_EQ(calls[1].id() + 1, calls.back().id()) << "a freed id is not reused";
    EXPECT_EQ(static_cast<UINT>(IconTrayCount), calls.back().id());
}

TEST_F(IconTrayTest, RecordCarriesWindowIdMessageIconAndTip) {
    TIconTray tray(nullptr);
    tray.SetHint("ソラリム ");
    EXPECT_TRUE(calls.empty()) << "no icon yet: nothing to show";
    tray.SetIcon(&someIcon);
    ASSERT_EQ(1u, calls.size());
    const ShellCall& add = calls[0];
    EXPECT_EQ(static_cast<DWORD>(NIM_ADD), add.operation);
    static_assert(sizeof(void*) != 4 || NOTIFYICONDATAA_V1_SIZE == 88, "the first, 88-byte form of the record");
    EXPECT_EQ(static_cast<size_t>(NOTIFYICONDATAA_V1_SIZE), add.record.size());
    EXPECT_EQ(static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP), add.flags());
    EXPECT_EQ(static_cast<UINT>(WM_USER),
              *reinterpret_cast<const UINT*>(add.record.data() + offsetof(NOTIFYICONDATAA, uCallbackMessage)));
    EXPECT_NE(nullptr, *reinterpret_cast<const HICON*>(add.record.data() + offsetof(NOTIFYICONDATAA, hIcon)));
    EXPECT_TRUE(IsWindow(add.window()));
    EXPECT_FALSE(IsWindowVisible(add.window()));
    EXPECT_EQ("ソラリム ", add.tip());
}

TEST_F(IconTrayTest, AddModifyDeleteFollowWhatTheShellHolds) {
    auto tray = std::make_unique<TIconTray>(nullptr);
    tray->SetIcon(&someIcon);                 // add
    tray->SetHint("a");                       // modify
    tray->SetHint("a");                       // unchanged: no call
    tray->SetShowHint(true);                  // unchanged: no call
    tray->SetShowHint(false);                 // modify with an empty tip
    EXPECT_EQ("", calls.back().tip());
    EXPECT_EQ(static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP), calls.back().flags());
    tray->SetIcon(&someIcon);                 // same picture: still a modify
    tray->SetIcon(&noIcon);                   // empty: delete
    tray->SetHint("b");                       // empty icon: nothing to remove again
    tray->SetIcon(&someIcon);                 // back: a fresh add
    tray.reset();                             // delete
    EXPECT_EQ((std::vector<DWORD>{NIM_ADD, NIM_MODIFY, NIM_MODIFY, NIM_MODIFY, NIM_DELETE, NIM_ADD, NIM_DELETE}),
              Operations());
}

TEST_F(IconTrayTest, RefusedCallsRaiseAndLeaveTheStateAsItWas) {
    auto tray = std::make_unique<TIconTray>(nullptr);
    shellAnswer = FALSE;
    ExpectRefused([&] { tray->SetIcon(&someIcon); });  // refused add
    shellAnswer = TRUE;
    tray->SetHint("x");                                  // so the next show is an add again
    shellAnswer = FALSE;
    ExpectRefused([&] { tray->SetHint("y"); });          // refused modify
    ExpectRefused([&] { tray->SetIcon(&noIcon); });      // refused delete: still registered
    shellAnswer = TRUE;
    tray->SetIcon(&someIcon);
    EXPECT_EQ((std::vector<DWORD>{NIM_ADD, NIM_ADD, NIM_MODIFY, NIM_DELETE, NIM_MODIFY}), Operations());
    tray.reset();
    EXPECT_EQ(static_cast<DWORD>(NIM_DELETE), calls.back().operation);
}

TEST_F(IconTrayTest, DestroyingANeverShownIconTellsTheShellNothing) {
    { TIconTray tray(nullptr); }
    {
        TIconTray tray(nullptr);
        tray.SetHint("only a tip");
    }
    EXPECT_TRUE(calls.empty());
}

TEST_F(IconTrayTest, HintIsCutToWholeCharactersWithinSixtyThreeBytes) {
    const std::string sixtyOne(61, 'a'), sixtyTwo(62, 'a'), sixtyThree(63, 'a');
    struct {
        std::string given;
        std::string kept;
    } const cases[] = {
        {sixtyThree, sixtyThree},
        {sixtyThree + "b", sixtyThree},
        {sixtyOne + "ソ", sixtyOne + "ソ"},   // 63 bytes, ending in a whole character
        {sixtyTwo + "ソ", sixtyTwo},          // its second byte would be the 64th: the character goes
        {sixtyTwo + "ｱb", sixtyTwo + "ｱ"},    // a single-byte kana is one byte
    };
    for (const auto& c : cases) {
        TIconTray tray(nullptr);
        tray.SetIcon(&someIcon);
        tray.SetHint(c.given);
        EXPECT_EQ(c.kept, tray.Hint()) << c.given;
        EXPECT_EQ(c.kept, calls.back().tip()) << c.given;
    }
    // A longer text is not the same as the cut one it was stored as.
    TIconTray tray(nullptr);
    tray.SetIcon(&someIcon);
    tray.SetHint(sixtyThree + "b");
    size_t before = calls.size();
    tray.SetHint(sixtyThree + "b");
    EXPECT_EQ(before + 1, calls.size());
    EXPECT_EQ(static_cast<DWORD>(NIM_MODIFY), calls.back().operation);
}

TEST_F(IconTrayTest, RemovedMenuLeavesNeitherReference) {
    TIconTray tray(nullptr);
    auto* menu = new fw::TPopupMenu(nullptr);
    tray.SetRBtnPopupMenu(menu);
    tray.SetLBtnPopupMenu(menu);
    delete menu;
    EXPECT_EQ(nullptr, tray.RBtnPopupMenu());
    EXPECT_EQ(nullptr, tray.LBtnPopupMenu());
}

// A menu that records where it would pop up instead of showing.
class RecordingMenu : public fw::TPopupMenu {
public:
    RecordingMenu(std::vector<std::string>& events, const char* name) : fw::TPopupMenu(nullptr), events_(events), name_(name) {}
    void Popup(int x, int y) override { events_.push_back(std::string("popup ") + name_ + " " + std::to_string(x) + "," + std::to_string(y)); }

private:
    std::vector<std::string>& events_;
    const char* name_;
};

TEST_F(IconTrayTest, CallbackTurnsMouseMessagesIntoEventsAndMenus) {
    std::vector<std::string> events;
    TIconTray tray(nullptr);
    tray.SetIcon(&someIcon);
    HWND window = calls.back().window();
    RecordingMenu left(events, "L"), right(events, "R");
    tray.SetLBtnPopupMenu(&left);
    tray.SetRBtnPopupMenu(&right);
    auto text = [](const char* what, int button, TShiftState shift, int x, int y) {
        char buffer[96];
        wsprintfA(buffer, "%s %d %02X %d,%d", what, button, shift, x, y);
        return std::string(buffer);
    };
    tray.OnClick = [&](fw::TObject* sender) { events.push_back(sender == &tray ? "click" : "click?"); };
    tray.OnDblClick = [&](fw::TObject* sender) { events.push_back(sender == &tray ? "dblclick" : "dblclick?"); };
    tray.OnMouseDown = [&](fw::TObject*, TMouseButton b, TShiftState s, int x, int y) { events.push_back(text("down", b, s, x, y)); };
    tray.OnMouseUp = [&](fw::TObject*, TMouseButton b, TShiftState s, int x, int y) { events.push_back(text("up", b, s, x, y)); };
    tray.OnMouseMove = [&](fw::TObject*, TShiftState s, int x, int y) { events.push_back(text("move", -1, s, x, y)); };

    // Shift and Ctrl held, and the right button: the shift state comes from the key states.
    BYTE keys[256] = {};
    keys[VK_SHIFT] = keys[VK_CONTROL] = keys[VK_RBUTTON] = 0x80;
    ASSERT_TRUE(SetKeyboardState(keys));
    ASSERT_TRUE(SetCursorPos(123, 45));
    POINT cursor;
    GetCursorPos(&cursor);
    const int x = cursor.x, y = cursor.y;
    const TShiftState held = ssShift | ssCtrl | ssRight;

    struct {
        UINT mouseMessage;
        std::vector<std::string> expected;
    } const table[] = {
        {WM_MOUSEMOVE, {text("move", -1, held, x, y)}},
        {WM_LBUTTONDOWN, {text("down", mbLeft, held, x, y)}},
        {WM_LBUTTONUP, {"click", text("up", mbLeft, held, x, y), "popup L " + std::to_string(x) + "," + std::to_string(y)}},
        {WM_LBUTTONDBLCLK, {"dblclick", text("down", mbLeft, held | ssDouble, x, y)}},
        {WM_RBUTTONDOWN, {text("down", mbRight, held, x, y)}},
        {WM_RBUTTONUP, {text("up", mbRight, held, x, y), "popup R " + std::to_string(x) + "," + std::to_string(y)}},
        {WM_RBUTTONDBLCLK, {text("down", mbRight, held | ssDouble, x, y)}},
        {WM_MBUTTONDOWN, {text("down", mbMiddle, held, x, y)}},
        {WM_MBUTTONUP, {text("up", mbMiddle, held, x, y)}},
        {WM_MBUTTONDBLCLK, {text("down", mbMiddle, held | ssDouble, x, y)}},
        {0x20A, {}},  // the wheel: not for the icon
        {0x1FF, {}},
    };
    for (const auto& row : table) {
        events.clear();
        EXPECT_EQ(0, SendMessageA(window, WM_USER, calls.back().id(), row.mouseMessage));
        EXPECT_EQ(row.expected, events) << std::hex << row.mouseMessage;
    }

    // Without a menu, or with a menu that does not pop up, a release only raises events.
    left.AutoPopup = false;
    tray.SetRBtnPopupMenu(nullptr);
    for (UINT release : {WM_LBUTTONUP, WM_RBUTTONUP}) {
        events.clear();
        SendMessageA(window, WM_USER, 1, release);
        for (const std::string& event : events) EXPECT_EQ(std::string::npos, event.find("popup")) << event;
        EXPECT_FALSE(events.empty());
    }
    BYTE none[256] = {};
    SetKeyboardState(none);
}

TEST_F(IconTrayTest, NewTaskbarGetsTheIconAgain) {
    TIconTray tray(nullptr);
    tray.SetIcon(&someIcon);
    HWND window = calls.back().window();
    SendMessageA(window, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_EQ((std::vector<DWORD>{NIM_ADD, NIM_ADD}), Operations());
    tray.SetIcon(&noIcon);
    SendMessageA(window, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_EQ(static_cast<DWORD>(NIM_DELETE), calls.back().operation) << "a removed icon stays removed";
}

TEST_F(IconTrayTest, MainWindowAddsWhileReadingModifiesAfterLoadingDeletesAtExit) {
    std::vector<std::string> steps;
    journal = &steps;
    WinDir.clear();
    {
        fw::TApplication application;
        application.OnReport = [&](const std::string& text) { steps.push_back("report " + text); };
        RegisterProgramClasses();
        application.Initialize();
        application.CreateForm(Form1);
        steps.push_back(WinDir.empty() ? "before create handler" : "after create handler");
        ASSERT_EQ(2u, calls.size());
        EXPECT_EQ(Form1->IconTray1->Hint(), calls[0].tip());
        EXPECT_EQ("ソラリム ", calls[0].tip());
        EXPECT_EQ(static_cast<UINT>(IconTrayCount), calls[0].id());
        EXPECT_EQ(Form1->PopupMenu1, Form1->IconTray1->RBtnPopupMenu());
        EXPECT_EQ(Form1->PopupMenu1, Form1->IconTray1->LBtnPopupMenu());
        EXPECT_FALSE(Form1->IconTray1->HideMainForm());
        EXPECT_TRUE(application.ShowMainForm);
    }
    journal = nullptr;
    // Add while the description is read (before the create handler ran),
    // modify in the after-loading step, delete when the window goes.
    EXPECT_EQ((std::vector<std::string>{"add", "modify", "after create handler", "delete"}), steps);
}

TEST_F(IconTrayTest, RefusedAddStopsTheMainWindowBeingBuilt) {
    fw::TApplication application;
    application.OnReport = [](const std::string&) {};
    RegisterProgramClasses();
    application.Initialize();
    shellAnswer = FALSE;
    TForm1* form = nullptr;
    try {
        application.CreateForm(form);
        ADD_FAILURE() << "the main window was built";
    } catch (const EIconTrayError& error) {
        EXPECT_EQ("Registration Error", error.Message());
        EXPECT_STREQ("EIconTrayError", error.ClassName());
    }
    EXPECT_EQ(nullptr, form);
    EXPECT_EQ(nullptr, application.MainForm());
    EXPECT_EQ((std::vector<DWORD>{NIM_ADD}), Operations()) << "nothing to delete after a refused add";
}

}  // namespace

namespace {

class TTrayOnlyForm : public fw::TForm {
public:
    explicit TTrayOnlyForm(fw::TComponent* owner) : fw::TForm(owner) {
        using namespace fw::desc;
        static const fw::DescriptionItem description[] = {
            Object("TTrayOnlyForm", "TrayOnly"),
                Object("TIconTray", "Tray"),
                    Prop("Icon.Data", "TRAYICON"),
                    Prop("HideMainForm", true),
                    Prop("Hint", "hidden"),
                End(),
            End(),
        };
        fw::PublishedTable<TTrayOnlyForm> published(this, {});
        InitializeFromDescription(description, &published);
    }
    const char* ClassName() const override { return "TTrayOnlyForm"; }
};

TEST_F(IconTrayTest, HideMainFormLeavesOnlyTheIcon) {
    fw::TApplication application;
    RegisterSysCtrls();
    application.Initialize();
    ShowWindow(application.Handle(), SW_SHOW);
    TTrayOnlyForm* form = nullptr;
    application.CreateForm(form);
    EXPECT_FALSE(application.ShowMainForm) << "the loop will not show the main form";
    EXPECT_FALSE(IsWindowVisible(application.Handle())) << "no taskbar button";
    EXPECT_EQ((std::vector<DWORD>{NIM_ADD, NIM_MODIFY}), Operations()) << "the icon is shown as usual";
}

}  // namespace
