#include "Unit2.h"

#include <shellapi.h>

#include <string>

TForm2* Form2 = nullptr;
ShellExecuteFunction ShellOpen = ShellExecuteA;

using Published = fw::PublishedTable<TForm2>;

TForm2::TForm2(fw::TComponent* owner) : fw::TForm(owner) {
    Published published(this, {
        Published::Field("Image1", &TForm2::Image1),
        Published::Field("Label1", &TForm2::Label1),
        Published::Field("Label2", &TForm2::Label2),
        Published::Field("Label3", &TForm2::Label3),
        Published::Field("Label4", &TForm2::Label4),
        Published::Field("Label5", &TForm2::Label5),
        Published::Field("Label6", &TForm2::Label6),
        Published::Field("BitBtn1", &TForm2::BitBtn1),
        Published::Method("Label5Click", &TForm2::Label5Click),
        Published::Method("Label6Click", &TForm2::Label6Click),
    });
    InitializeFromDescription(kForm2Description, &published);
}

// The shell's answer is not looked at: a link nobody can open (no mail
// program set up) simply opens nothing.
void TForm2::Label5Click(fw::TObject*) {
    std::string link = std::string("mailto:") + kMakerMailAddress;
    ShellOpen(nullptr, nullptr, link.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void TForm2::Label6Click(fw::TObject*) {
    ShellOpen(nullptr, nullptr, kMakerWebAddress, nullptr, nullptr, SW_SHOWNORMAL);
}

void RegisterForm2Classes() {
    fw::RegisterComponentClass<fw::TImage>("TImage");
    fw::RegisterComponentClass<fw::TLabel>("TLabel");
    fw::RegisterComponentClass<fw::TBitBtn>("TBitBtn");
}
