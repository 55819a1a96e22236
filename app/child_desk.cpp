#include "child_desk.h"

#include "Unit1.h"

Tdesk* desk = nullptr;

using Published = fw::PublishedTable<Tdesk>;

Tdesk::Tdesk(fw::TComponent* owner) : fw::TForm(owner) {
    Published published(this, {
        Published::Field("PopupMenu1", &Tdesk::PopupMenu1),
        Published::Field("Exit1", &Tdesk::Exit1),
        Published::Field("Timer1", &Tdesk::Timer1),
        Published::Method("Exit1Click", &Tdesk::Exit1Click),
        Published::Method("Timer1Timer", &Tdesk::Timer1Timer),
    });
    InitializeFromDescription(kDeskDescription, &published);
}

void Tdesk::CreateParams(fw::TCreateParams& params) {
    fw::TForm::CreateParams(params);
    if (DesktopView) {
        params.WndParent = DesktopView;
        params.Style = (params.Style & ~WS_POPUP) | WS_CHILD;
    }
}

void Tdesk::Timer1Timer(fw::TObject*) {
    SetClientWidth(fw::Screen::Width());
    SetClientHeight(fw::Screen::Height());
}

void Tdesk::Exit1Click(fw::TObject*) { CloseDesk(); }

void Tdesk::Remove() {
    Timer1->SetEnabled(false);
    Hide();
    DestroyHandle();
    Release();
}
