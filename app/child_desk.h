// The background host: a borderless window inside the desktop's icon view
// that a screen saver draws into.
#pragma once
#include "../framework/ExtCtrls.h"
#include "../framework/Forms.h"
#include "../framework/Menus.h"

class Tdesk : public fw::TForm {
public:
    explicit Tdesk(fw::TComponent* owner);
    const char* ClassName() const override { return "Tdesk"; }

    fw::TPopupMenu* PopupMenu1 = nullptr;
    fw::TMenuItem* Exit1 = nullptr;
    fw::TTimer* Timer1 = nullptr;

    void Exit1Click(fw::TObject* sender);
    void Timer1Timer(fw::TObject* sender);

    // Takes the host down for good: its window (and with it the screen
    // saver's window inside) goes at once, the form on the next idle turn.
    void Remove();

protected:
    void CreateParams(fw::TCreateParams& params) override;
};

// The host's description.
extern const fw::DescriptionItem kDeskDescription[];

// The most recently opened host, while it is open; it is owned by the
// application, not by this reference.
extern Tdesk* desk;
