#include "Unit1.h"

#include <cstdint>

#include "../framework/Process.h"
#include "../framework/Registry.h"
#include "Unit2.h"
#include "child_desk.h"

TForm1* Form1 = nullptr;
std::string WinDir;
HWND DesktopView = nullptr;
bool DeskLoaded = false;
HWND DeskHandle = nullptr;
bool BlinkPhase = false;

using Published = fw::PublishedTable<TForm1>;

TForm1::TForm1(fw::TComponent* owner) : fw::TForm(owner) {
    Published published(this, {
        Published::Field("MainMenu1", &TForm1::MainMenu1),
        Published::Field("OpenDialog1", &TForm1::OpenDialog1),
        Published::Field("N1", &TForm1::N1),
        Published::Field("N2", &TForm1::N2),
        Published::Field("N3", &TForm1::N3),
        Published::Field("Exit1", &TForm1::Exit1),
        Published::Field("N4", &TForm1::N4),
        Published::Field("N5", &TForm1::N5),
        Published::Field("N6", &TForm1::N6),
        Published::Field("N7", &TForm1::N7),
        Published::Field("Help1", &TForm1::Help1),
        Published::Field("About1", &TForm1::About1),
        Published::Field("IconTray1", &TForm1::IconTray1),
        Published::Field("task", &TForm1::task),
        Published::Field("PopupMenu1", &TForm1::PopupMenu1),
        Published::Field("N8", &TForm1::N8),
        Published::Field("N9", &TForm1::N9),
        Published::Field("N10", &TForm1::N10),
        Published::Field("Exit2", &TForm1::Exit2),
        Published::Field("Label1", &TForm1::Label1),
        Published::Field("Timer1", &TForm1::Timer1),
        Published::Field("About2", &TForm1::About2),
        Published::Field("N11", &TForm1::N11),
        Published::Method("FormCreate", &TForm1::FormCreate),
        Published::Method("n2Click", &TForm1::n2Click),
        Published::Method("N6Click", &TForm1::N6Click),
        Published::Method("About1Click", &TForm1::About1Click),
        Published::Method("taskClick", &TForm1::taskClick),
        Published::Method("Exit1Click", &TForm1::Exit1Click),
        Published::Method("FormClose", &TForm1::FormClose),
        Published::Method("N8Click", &TForm1::N8Click),
        Published::Method("N9Click", &TForm1::N9Click),
        Published::Method("Exit2Click", &TForm1::Exit2Click),
        Published::Method("Timer1Timer", &TForm1::Timer1Timer),
        Published::Method("About2Click", &TForm1::About2Click),
        Published::Method("FormEndSession", &TForm1::FormEndSession),
        Published::Method("N11Click", &TForm1::N11Click),
    });
    InitializeFromDescription(kForm1Description, &published);
}

void TForm1::FormCreate(fw::TObject*) {
    {
        fw::TRegIniFile settings(kSettingsKey);
        if (settings.ReadBool(kSettingsSection, "normal", true)) {
            N6->SetChecked(true);
            N7->SetChecked(false);
        } else {
            N6->SetChecked(false);
            N7->SetChecked(true);
        }
        task->SetChecked(settings.ReadBool(kSettingsSection, "task", false));
    }
    char buffer[256] = "";
    // Zero or a size beyond the buffer means no directory: then the dialog
    // keeps the system's own choice of folder.
    UINT length = GetWindowsDirectoryA(buffer, 255);
    if (length > 0 && length < 255) {
        WinDir = buffer;
        OpenDialog1->InitialDir = WinDir + "\\system";
    }
    DeskLoaded = false;
    DeskHandle = nullptr;
}

void TForm1::N6Click(fw::TObject*) {
    if (N6->Checked()) {
        N6->SetChecked(false);
        N7->SetChecked(true);
    } else {
        N6->SetChecked(true);
        N7->SetChecked(false);
    }
}

void TForm1::taskClick(fw::TObject*) { task->SetChecked(!task->Checked()); }

void TForm1::Exit1Click(fw::TObject*) { Close(); }

void TForm1::Exit2Click(fw::TObject*) { Close(); }

// The dialog's answer makes no difference here.
void TForm1::About1Click(fw::TObject*) { Form2->ShowModal(); }

void TForm1::About2Click(fw::TObject*) { Form2->ShowModal(); }

void TForm1::FormClose(fw::TObject*, fw::TCloseAction&) { StoreOptions(); }

void TForm1::FormEndSession(fw::TObject*) { StoreOptions(); }

void TForm1::StoreOptions() {
    fw::TRegIniFile settings(kSettingsKey);
    settings.WriteBool(kSettingsSection, "normal", N6->Checked());
    settings.WriteBool(kSettingsSection, "task", task->Checked());
}

void TForm1::Timer1Timer(fw::TObject*) {
    Label1->Font.SetColor(BlinkPhase ? fw::clRed : fw::clBlue);
    BlinkPhase = !BlinkPhase;
}

// --- the launcher ---------------------------------------------------------------

std::string PreviewCommand(const std::string& path, HWND target) {
    return fw::QuotedPath(path) + " /p " +
           std::to_string(static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(target)));
}

namespace {

// Whether the open host still has its window: the shell takes it down with
// its desktop (Explorer restarting), and a dead handle is no place to draw.
bool DeskAlive() {
    return desk && desk->HandleAllocated() && desk->Handle() == DeskHandle && IsWindow(DeskHandle);
}

}  // namespace

void TForm1::n2Click(fw::TObject*) {
    if (!OpenDialog1->Execute()) return;
    Timer1->SetEnabled(false);
    Label1->SetVisible(false);
    HWND target;
    if (N6->Checked()) {
        target = Handle();
    } else {
        if (DeskLoaded && !DeskAlive()) CloseDesk();
        if (DeskLoaded) {
            target = DeskHandle;
        } else {
            OpenDesk();
            target = desk->Handle();
            ShowWindow(fw::Application->Handle(), SW_HIDE);
        }
        if (task->Checked()) {
            ShowWindow(fw::Application->Handle(), SW_HIDE);
            Hide();
        }
    }
    std::string command = PreviewCommand(OpenDialog1->FileName, target);
    SetCaption(command);
    fw::StartProcess(OpenDialog1->FileName, command, SW_SHOW);
}

void TForm1::N9Click(fw::TObject* sender) {
    N6->SetChecked(false);
    N7->SetChecked(true);
    n2Click(sender);
}

void TForm1::N8Click(fw::TObject*) {
    ShowWindow(fw::Application->Handle(), SW_SHOW);
    Show();
}

// --- the background host ------------------------------------------------------

HWND TForm1::desktopwindow() {
    HWND progman = FindWindowA("Progman", nullptr);
    return FindWindowExA(progman, nullptr, "SHELLDLL_DefView", nullptr);
}

void OpenDesk() {
    DesktopView = Form1->desktopwindow();
    ShowWindow(DesktopView, SW_SHOW);
    RECT view;
    if (!GetWindowRect(DesktopView, &view)) view = {0, 0, fw::Screen::Width(), fw::Screen::Height()};
    fw::Application->CreateForm(desk);
    try {
        DeskHandle = desk->Handle();
    } catch (...) {
        // A host without a window can never be used: do not keep it ticking.
        // None of its handlers can be running, so it may go at once.
        delete desk;
        desk = nullptr;
        throw;
    }
    desk->SetLeft(0);
    desk->SetTop(0);
    desk->SetWidth(view.right - view.left);
    desk->SetHeight(view.bottom - view.top);
    DeskLoaded = true;
    desk->Show();
}

void CloseDesk() {
    if (!DeskLoaded) return;
    // Only hiding it would leave the screen saver inside running unseen, and
    // one more host ticking at every removal.
    if (desk) desk->Remove();
    desk = nullptr;
    DeskLoaded = false;
}

void TForm1::N11Click(fw::TObject*) { CloseDesk(); }

void RegisterProgramClasses() {
    fw::RegisterComponentClass<fw::TMainMenu>("TMainMenu");
    fw::RegisterComponentClass<fw::TPopupMenu>("TPopupMenu");
    fw::RegisterComponentClass<fw::TMenuItem>("TMenuItem");
    fw::RegisterComponentClass<fw::TOpenDialog>("TOpenDialog");
    fw::RegisterComponentClass<fw::TLabel>("TLabel");
    fw::RegisterComponentClass<fw::TTimer>("TTimer");
    fw::RegisterComponentClass<Tdesk>("Tdesk");
    RegisterSysCtrls();
    RegisterForm2Classes();
}
