// The version dialog: product, version, maker and the two links.
#pragma once
#include <windows.h>

#include "../framework/Buttons.h"
#include "../framework/Forms.h"
#include "../framework/Images.h"
#include "../framework/StdCtrls.h"

class TForm2 : public fw::TForm {
public:
    explicit TForm2(fw::TComponent* owner);
    const char* ClassName() const override { return "TForm2"; }

    fw::TImage* Image1 = nullptr;
    fw::TLabel* Label1 = nullptr;
    fw::TLabel* Label2 = nullptr;
    fw::TLabel* Label3 = nullptr;
    fw::TLabel* Label4 = nullptr;
    fw::TLabel* Label5 = nullptr;
    fw::TLabel* Label6 = nullptr;
    fw::TBitBtn* BitBtn1 = nullptr;

    void Label5Click(fw::TObject* sender);
    void Label6Click(fw::TObject* sender);
};

// The dialog's description.
extern const fw::DescriptionItem kForm2Description[];

// Where the links lead; the labels show these very texts.
inline constexpr char kMakerMailAddress[] = "solarim@example.com";
inline constexpr char kMakerWebAddress[] = "http://example.com/solarim/";

// How a link is handed to the shell; replaceable so a test can see the call.
using ShellExecuteFunction = HINSTANCE(WINAPI*)(HWND owner, LPCSTR operation, LPCSTR file, LPCSTR parameters,
                                                LPCSTR directory, INT show);
extern ShellExecuteFunction ShellOpen;

extern TForm2* Form2;

// Makes the dialog's component classes known to descriptions.
void RegisterForm2Classes();
