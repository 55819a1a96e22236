// The version dialog in-process: its links, its modal show and how the
// show treats the program's other windows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../../app/Unit2.h"
#include "../../framework/Consts.h"
#include "../../framework/ExtCtrls.h"

namespace {

// A plain form to stand in for the main window.
class TStandInForm : public fw::TForm {
public:
    using fw::TForm::TForm;
    const char* ClassName() const override { return "TStandInForm"; }
};

struct ShellCall {
    HWND owner;
    std::string operation, file;
    bool hasParameters, hasDirectory;
    INT show;
    bool dialogShown;
};
std::vector<ShellCall> shellCalls;

HINSTANCE WINAPI RecordShellCall(HWND owner, LPCSTR operation, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                                 INT show) {
    shellCalls.push_back({owner, operation ? operation : "<null>", file ? file : "<null>", parameters != nullptr,
                          directory != nullptr, show, IsWindowVisible(Form2->Handle()) != FALSE});
    return reinterpret_cast<HINSTANCE>(42);
}

LPARAM CentreOf(const fw::TGraphicControl* control) {
    return MAKELPARAM(control->Left() + control->Width() / 2, control->Top() + control->Height() / 2);
}

class Form2Test : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterForm2Classes();
        application.OnReport = [this](const std::string& text) { reports.push_back(text); };
        application.Initialize();
        application.CreateForm(mainForm);
        application.CreateForm(Form2);
        mainForm->Show();
        shellCalls.clear();
        ShellOpen = RecordShellCall;
    }
    void TearDown() override { ShellOpen = ShellExecuteA; }

    // Posts a message for the dialog's window, handled once the modal loop runs.
    static void PostToDialog(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        PostMessageA(Form2->Handle(), message, wParam, lParam);
    }
    static HWND Button() { return Form2->BitBtn1->Handle(); }

    fw::TApplication application;
    TStandInForm* mainForm = nullptr;
    std::vector<std::string> reports;
};

TEST_F(Form2Test, EachLinkHandsTheShellExactlyItsTextAndTheOtherLabelsNothing) {
    const struct {
        fw::TLabel* TForm2::*label;
        const char* expected;  // nullptr: no shell call
    } cases[] = {
        {&TForm2::Label5, "mailto:solarim@example.com"},
        {&TForm2::Label6, "http://example.com/solarim/"},
        {&TForm2::Label3, nullptr},
        {&TForm2::Label4, nullptr},
        {&TForm2::Label1, nullptr},
    };
    for (const auto& c : cases) {
        fw::TLabel* label = Form2->*c.label;
        SCOPED_TRACE(label->Name());
        shellCalls.clear();
        PostToDialog(WM_LBUTTONDOWN, MK_LBUTTON, CentreOf(label));
        PostToDialog(WM_LBUTTONUP, 0, CentreOf(label));
        PostToDialog(WM_CLOSE);
        EXPECT_EQ(fw::mrCancel, Form2->ShowModal()) << "a label click does not end the dialog";
        if (!c.expected) {
            EXPECT_TRUE(shellCalls.empty());
            continue;
        }
        ASSERT_EQ(1u, shellCalls.size());
        const ShellCall& call = shellCalls.front();
        EXPECT_EQ(c.expected, call.file);
        EXPECT_EQ(nullptr, call.owner);
        EXPECT_EQ("<null>", call.operation);
        EXPECT_FALSE(call.hasParameters);
        EXPECT_FALSE(call.hasDirectory);
        EXPECT_EQ(SW_SHOWNORMAL, call.show);
        EXPECT_TRUE(call.dialogShown);
    }
    // The links open what they show.
    EXPECT_EQ("mailto:" + Form2->Label5->Caption(), cases[0].expected);
    EXPECT_EQ(Form2->Label6->Caption(), cases[1].expected);
    EXPECT_TRUE(reports.empty());
}

TEST_F(Form2Test, OnlyTheLinksShowTheHandCursor) {
    HCURSOR hand = LoadCursorA(nullptr, IDC_HAND);
    const struct {
        fw::TLabel* TForm2::*label;
        bool hand;
    } cases[] = {
        {&TForm2::Label5, true}, {&TForm2::Label6, true}, {&TForm2::Label3, false}, {&TForm2::Label4, false},
    };
    HWND dialog = Form2->Handle();
    for (const auto& c : cases) {
        fw::TLabel* label = Form2->*c.label;
        SCOPED_TRACE(label->Name());
        POINT point = {label->Left() + label->Width() / 2, label->Top() + label->Height() / 2};
        ClientToScreen(dialog, &point);
        // The pointer gets there a moment later under some window systems.
        SetCursorPos(point.x, point.y);
        POINT at = {-1, -1};
        for (int tries = 0; tries < 500 && (GetCursorPos(&at), at.x != point.x || at.y != point.y); ++tries) Sleep(10);
        ASSERT_EQ(point.x, at.x);
        ASSERT_EQ(point.y, at.y);
        // A fresh desktop may still be settling the pointer: ask a few times.
        bool handShown = !c.hand;
        for (int tries = 0; tries < 50 && handShown != c.hand; ++tries) {
            if (tries) Sleep(20);
            SetCursor(nullptr);
            SendMessageA(dialog, WM_SETCURSOR, reinterpret_cast<WPARAM>(dialog), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
            handShown = GetCursor() == hand;
        }
        EXPECT_EQ(c.hand, handShown);
    }
}

TEST_F(Form2Test, ModalResultTellsHowTheDialogWasClosed) {
    struct Post {
        bool toButton;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    constexpr LPARAM kAltDown = 0x20000001;
    const struct {
        const char* way;
        std::vector<Post> posts;
        int result;
    } cases[] = {
        {"Enter", {{false, WM_KEYDOWN, VK_RETURN, 1}}, fw::mrOk},
        {"Enter with the focus on the button", {{true, WM_KEYDOWN, VK_RETURN, 1}}, fw::mrOk},
        {"a click on the button", {{true, BM_CLICK, 0, 0}}, fw::mrOk},
        {"Space on the button", {{true, WM_KEYDOWN, VK_SPACE, 1}, {true, WM_KEYUP, VK_SPACE, static_cast<LPARAM>(0xC0000001u)}}, fw::mrOk},
        // Esc ends nothing and presses nothing: what comes after it decides.
        {"Esc, then Enter", {{false, WM_KEYDOWN, VK_ESCAPE, 1}, {false, WM_KEYDOWN, VK_RETURN, 1}}, fw::mrOk},
        {"Esc, then close", {{false, WM_KEYDOWN, VK_ESCAPE, 1}, {false, WM_CLOSE, 0, 0}}, fw::mrCancel},
        // Alt+Enter is no Enter: the dialog stays until closed.
        {"Alt+Enter, then close", {{false, WM_SYSKEYDOWN, VK_RETURN, kAltDown}, {false, WM_CLOSE, 0, 0}}, fw::mrCancel},
        {"title-bar close button", {{false, WM_SYSCOMMAND, SC_CLOSE, 0}}, fw::mrCancel},
        {"Alt+F4", {{false, WM_SYSKEYDOWN, VK_F4, kAltDown}}, fw::mrCancel},
    };
    Form2->Handle();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.way);
        for (const Post& post : c.posts)
            PostMessageA(post.toButton ? Button() : Form2->Handle(), post.message, post.wParam, post.lParam);
        EXPECT_EQ(c.result, Form2->ShowModal());
        EXPECT_FALSE(IsWindowVisible(Form2->Handle()));
        EXPECT_TRUE(IsWindowEnabled(mainForm->Handle()));
    }
    EXPECT_TRUE(reports.empty());
}

TEST_F(Form2Test, EnterWithShiftOrCtrlHeldDoesNotPressTheButton) {
    BYTE keys[256];
    GetKeyboardState(keys);
    for (int modifier : {VK_SHIFT, VK_CONTROL}) {
        SCOPED_TRACE(modifier);
        BYTE held[256];
        GetKeyboardState(held);
        held[modifier] = 0x80;
        SetKeyboardState(held);
        PostToDialog(WM_KEYDOWN, VK_RETURN, 1);
        PostToDialog(WM_CLOSE);
        EXPECT_EQ(fw::mrCancel, Form2->ShowModal());
        SetKeyboardState(keys);
    }
}

TEST_F(Form2Test, TheEndOfTheProgramEndsTheDialogWithCancel) {
    PostQuitMessage(0);
    EXPECT_EQ(fw::mrCancel, Form2->ShowModal());
    EXPECT_TRUE(application.Terminated());
    EXPECT_FALSE(IsWindowVisible(Form2->Handle()));
}

TEST_F(Form2Test, ModalShowDisablesOnlyVisibleEnabledWindowsAndKeepsServingTheRest) {
    TStandInForm* hiddenForm = nullptr;
    TStandInForm* disabledForm = nullptr;
    application.CreateForm(hiddenForm);
    application.CreateForm(disabledForm);
    hiddenForm->Handle();
    disabledForm->Show();
    EnableWindow(disabledForm->Handle(), FALSE);
    mainForm->Show();
    HWND activeBefore = GetActiveWindow();
    ASSERT_EQ(mainForm->Handle(), activeBefore);

    // A timer of the hidden form ticks inside the modal loop, looks around
    // and closes the dialog.
    struct Seen {
        bool ticked = false, mainEnabled = true, hiddenEnabled = false, disabledEnabled = true, dialogEnabled = false;
    } seen;
    auto* timer = new fw::TTimer(hiddenForm);
    timer->OnTimer = [&](fw::TObject*) {
        timer->SetEnabled(false);
        seen.ticked = true;
        seen.mainEnabled = IsWindowEnabled(mainForm->Handle());
        seen.hiddenEnabled = IsWindowEnabled(hiddenForm->Handle());
        seen.disabledEnabled = IsWindowEnabled(disabledForm->Handle());
        seen.dialogEnabled = IsWindowEnabled(Form2->Handle()) && IsWindowVisible(Form2->Handle());
        Form2->Close();
    };
    timer->SetInterval(10);  // starts it

    EXPECT_EQ(fw::mrCancel, Form2->ShowModal());
    EXPECT_TRUE(seen.ticked);
    EXPECT_FALSE(seen.mainEnabled);
    EXPECT_TRUE(seen.hiddenEnabled) << "hidden windows are left alone";
    EXPECT_FALSE(seen.disabledEnabled);
    EXPECT_TRUE(seen.dialogEnabled);

    EXPECT_TRUE(IsWindowEnabled(mainForm->Handle()));
    EXPECT_FALSE(IsWindowEnabled(disabledForm->Handle())) << "only what the show disabled comes back";
    EXPECT_TRUE(IsWindowEnabled(hiddenForm->Handle()));
    EXPECT_EQ(activeBefore, GetActiveWindow());
}

TEST_F(Form2Test, ShowingItAgainWhileShownIsRefusedAndChangesNothing) {
    std::string refusal, refusalClass;
    bool stillShown = false;
    auto* timer = new fw::TTimer(mainForm);
    timer->OnTimer = [&](fw::TObject*) {
        timer->SetEnabled(false);
        try {
            Form2->ShowModal();
        } catch (const fw::Exception& error) {
            refusal = error.Message();
            refusalClass = error.ClassName();
        }
        stillShown = IsWindowVisible(Form2->Handle()) && IsWindowEnabled(Form2->Handle()) &&
                     !IsWindowEnabled(mainForm->Handle());
        PostToDialog(WM_KEYDOWN, VK_RETURN, 1);
    };
    timer->SetInterval(10);  // starts it

    EXPECT_EQ(fw::mrOk, Form2->ShowModal()) << "the first show goes on to its own end";
    EXPECT_EQ(fw::consts::kCannotShowModal, refusal);
    EXPECT_EQ("EInvalidOperation", refusalClass);
    EXPECT_TRUE(stillShown);
    EXPECT_TRUE(IsWindowEnabled(mainForm->Handle()));
}

}  // namespace
