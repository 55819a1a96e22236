// The main window: options, blinking prompt and the menus.
#pragma once
#include <windows.h>

#include <string>

#include "../framework/Dialogs.h"
#include "../framework/ExtCtrls.h"
#include "../framework/Forms.h"
#include "../framework/Menus.h"
#include "../framework/StdCtrls.h"
#include "../components/SysCtrls.h"

class TForm1 : public fw::TForm {
public:
    explicit TForm1(fw::TComponent* owner);
    const char* ClassName() const override { return "TForm1"; }

    fw::TMainMenu* MainMenu1 = nullptr;
    fw::TOpenDialog* OpenDialog1 = nullptr;
    fw::TMenuItem* N1 = nullptr;
    fw::TMenuItem* N2 = nullptr;
    fw::TMenuItem* N3 = nullptr;
    fw::TMenuItem* Exit1 = nullptr;
    fw::TMenuItem* N4 = nullptr;
    fw::TMenuItem* N5 = nullptr;
    fw::TMenuItem* N6 = nullptr;
    fw::TMenuItem* N7 = nullptr;
    fw::TMenuItem* Help1 = nullptr;
    fw::TMenuItem* About1 = nullptr;
    TIconTray* IconTray1 = nullptr;
    fw::TMenuItem* task = nullptr;
    fw::TPopupMenu* PopupMenu1 = nullptr;
    fw::TMenuItem* N8 = nullptr;
    fw::TMenuItem* N9 = nullptr;
    fw::TMenuItem* N10 = nullptr;
    fw::TMenuItem* Exit2 = nullptr;
    fw::TLabel* Label1 = nullptr;
    fw::TTimer* Timer1 = nullptr;
    fw::TMenuItem* About2 = nullptr;
    fw::TMenuItem* N11 = nullptr;

    void FormCreate(fw::TObject* sender);
    void n2Click(fw::TObject* sender);
    void N6Click(fw::TObject* sender);
    // The desktop's icon view, 0 if there is none.
    HWND desktopwindow();
    void About1Click(fw::TObject* sender);
    void taskClick(fw::TObject* sender);
    void Exit1Click(fw::TObject* sender);
    void FormClose(fw::TObject* sender, fw::TCloseAction& action);
    void N8Click(fw::TObject* sender);
    void N9Click(fw::TObject* sender);
    void Exit2Click(fw::TObject* sender);
    void Timer1Timer(fw::TObject* sender);
    void About2Click(fw::TObject* sender);
    // Windows is ending the session: keep the options as a close would.
    void FormEndSession(fw::TObject* sender);
    void N11Click(fw::TObject* sender);

private:
    void StoreOptions();
};

// The main window's description.
extern const fw::DescriptionItem kForm1Description[];

// Where the two options live.
inline constexpr char kSettingsKey[] = "Sys_Change";
inline constexpr char kSettingsSection[] = "saver";

// State shared by the main window, the launcher and the background host.
extern TForm1* Form1;
extern std::string WinDir;
extern HWND DesktopView;
extern bool DeskLoaded;
extern HWND DeskHandle;
extern bool BlinkPhase;

// The command line that starts a screen saver in preview mode inside
// `target`: the quoted path, " /p ", and the handle in decimal.
std::string PreviewCommand(const std::string& path, HWND target);

// Opens a new background host over the desktop's icon view and shows it.
void OpenDesk();
// Takes the open background host down; nothing happens when none is open.
void CloseDesk();

// Makes the program's component classes known to descriptions.
void RegisterProgramClasses();
