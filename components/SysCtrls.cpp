#include "SysCtrls.h"

#include "../framework/Forms.h"

int32_t IconTrayCount = 0;
ShellNotifyIconFunction ShellNotifyIcon = Shell_NotifyIconA;

namespace {

constexpr UINT kCallbackMessage = WM_USER;
constexpr char kRegistrationError[] = "Registration Error";

// The shell announces a new taskbar (Explorer restarted): icons must be added
// again, or a withdrawn program could never be reached.
UINT TaskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageA("TaskbarCreated");
    return message;
}

bool KeyDown(int key) { return (GetKeyState(key) & 0x8000) != 0; }

TShiftState CurrentShiftState() {
    TShiftState shift = 0;
    if (KeyDown(VK_SHIFT)) shift |= ssShift;
    if (KeyDown(VK_CONTROL)) shift |= ssCtrl;
    if (KeyDown(VK_MENU)) shift |= ssAlt;
    if (KeyDown(VK_LBUTTON)) shift |= ssLeft;
    if (KeyDown(VK_RBUTTON)) shift |= ssRight;
    if (KeyDown(VK_MBUTTON)) shift |= ssMiddle;
    return shift;
}

}  // namespace

TIconTray::TIconTray(fw::TComponent* owner)
    : fw::TComponent(owner), icon_(nullptr), iconId_(++IconTrayCount), showHint_(true) {
    icon_ = new fw::TIcon;
    if (!(ComponentState() & fw::csDesigning)) {
        // The handler gets the window itself: messages come before window_ is set.
        window_ = fw::AllocateHWnd([this](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
            return WndProc(window, message, wParam, lParam);
        });
    }
}

TIconTray::~TIconTray() {
    // Release everything even when the shell refuses the removal; the refusal
    // is then reported like any other error.
    bool refused = false;
    try {
        UpdateIcon(false);
    } catch (const EIconTrayError&) {
        refused = true;
    }
    fw::DeallocateHWnd(window_);
    delete icon_;
    if (refused) fw::Guarded([] { fw::Raise(EIconTrayError(kRegistrationError)); });
}

void TIconTray::SetIcon(const fw::TIcon* icon) {
    icon_->Assign(icon);
    UpdateIcon(true);
}

void TIconTray::SetHint(const std::string& hint) {
    if (hint == hint_) return;
    std::string cut = hint;
    if (cut.size() > kMaxHint) {
        // Never keep half of a double-byte character at the end.
        size_t end = 0;
        for (const char* p = hint.c_str(); *p;) {
            const char* next = CharNextA(p);
            size_t nextEnd = static_cast<size_t>(next - hint.c_str());
            if (nextEnd > kMaxHint) break;
            end = nextEnd;
            p = next;
        }
        cut.resize(end);
    }
    hint_ = cut;
    UpdateIcon(true);
}

void TIconTray::SetRBtnPopupMenu(fw::TPopupMenu* menu) {
    rbtnPopupMenu_ = menu;
    if (menu) menu->FreeNotification(this);
}

void TIconTray::SetLBtnPopupMenu(fw::TPopupMenu* menu) {
    lbtnPopupMenu_ = menu;
    if (menu) menu->FreeNotification(this);
}

void TIconTray::SetShowHint(bool show) {
    if (show == showHint_) return;
    showHint_ = show;
    UpdateIcon(true);
}

void TIconTray::UpdateIcon(bool show) {
    if (ComponentState() & fw::csDesigning) return;
    if (show && icon_->Empty()) show = false;  // an empty icon is never handed to the shell
    BOOL accepted;
    if (show) {
        record_.cbSize = NOTIFYICONDATAA_V1_SIZE;
        record_.hWnd = window_;
        record_.uID = static_cast<UINT>(iconId_);
        record_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
        record_.uCallbackMessage = kCallbackMessage;
        record_.hIcon = icon_->Handle();
        ZeroMemory(record_.szTip, sizeof record_.szTip);
        if (showHint_) hint_.copy(record_.szTip, kMaxHint);
        accepted = ShellNotifyIcon(registered_ ? NIM_MODIFY : NIM_ADD, &record_);
    } else {
        if (!registered_) return;
        accepted = ShellNotifyIcon(NIM_DELETE, &record_);
    }
    if (!accepted) fw::Raise(EIconTrayError(kRegistrationError));
    registered_ = show;
}

void TIconTray::Loaded() {
    fw::TComponent::Loaded();
    if (ComponentState() & fw::csDesigning) return;
    if (hideMainForm_ && fw::Application) {
        fw::Application->ShowMainForm = false;
        ShowWindow(fw::Application->Handle(), SW_HIDE);
    }
    UpdateIcon(true);
}

void TIconTray::Notification(fw::TComponent* component, fw::TOperation operation) {
    fw::TComponent::Notification(component, operation);
    if (operation != fw::opRemove) return;
    if (component == rbtnPopupMenu_) rbtnPopupMenu_ = nullptr;
    if (component == lbtnPopupMenu_) lbtnPopupMenu_ = nullptr;
}

LRESULT TIconTray::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == TaskbarCreatedMessage() && message != 0) {
        // The new shell knows no icons: add ours again if it had it.
        if (registered_) {
            registered_ = false;
            UpdateIcon(true);
        }
        return 0;
    }
    if (message != kCallbackMessage) return DefWindowProcA(window, message, wParam, lParam);
    POINT point = {0, 0};
    GetCursorPos(&point);
    TShiftState shift = CurrentShiftState();
    int x = point.x, y = point.y;
    switch (static_cast<UINT>(lParam)) {
    case WM_MOUSEMOVE:
        if (OnMouseMove) OnMouseMove(this, shift, x, y);
        break;
    case WM_LBUTTONDOWN:
        if (OnMouseDown) OnMouseDown(this, mbLeft, shift, x, y);
        break;
    case WM_LBUTTONUP:
        if (OnClick) OnClick(this);
        if (OnMouseUp) OnMouseUp(this, mbLeft, shift, x, y);
        PopupAt(point, lbtnPopupMenu_);
        break;
    case WM_LBUTTONDBLCLK:
        if (OnDblClick) OnDblClick(this);
        if (OnMouseDown) OnMouseDown(this, mbLeft, shift | ssDouble, x, y);
        break;
    case WM_RBUTTONDOWN:
        if (OnMouseDown) OnMouseDown(this, mbRight, shift, x, y);
        break;
    case WM_RBUTTONUP:
        if (OnMouseUp) OnMouseUp(this, mbRight, shift, x, y);
        PopupAt(point, rbtnPopupMenu_);
        break;
    case WM_RBUTTONDBLCLK:
        if (OnMouseDown) OnMouseDown(this, mbRight, shift | ssDouble, x, y);
        break;
    case WM_MBUTTONDOWN:
        if (OnMouseDown) OnMouseDown(this, mbMiddle, shift, x, y);
        break;
    case WM_MBUTTONUP:
        if (OnMouseUp) OnMouseUp(this, mbMiddle, shift, x, y);
        break;
    case WM_MBUTTONDBLCLK:
        if (OnMouseDown) OnMouseDown(this, mbMiddle, shift | ssDouble, x, y);
        break;
    }
    return 0;
}

void TIconTray::PopupAt(POINT point, fw::TPopupMenu* menu) {
    if ((ComponentState() & fw::csDesigning) || !menu || !menu->AutoPopup) return;
    if (auto* form = dynamic_cast<fw::TForm*>(Owner())) form->SendCancelMode();
    menu->Popup(point.x, point.y);
}

void TIconTray::SetProperty(const std::string& name, const fw::PropValue& value) {
    if (name == "Icon.Data")
        icon_->LoadFromResourceName(GetModuleHandleA(nullptr), value.text);  // no shell call
    else if (name == "HideMainForm")
        SetHideMainForm(value.number != 0);
    else if (name == "Hint")
        SetHint(value.text);
    else if (name == "ShowHint")
        SetShowHint(value.number != 0);
    else
        UnknownProperty(name);
}

void TIconTray::SetReference(const std::string& name, fw::TComponent* target) {
    auto* menu = dynamic_cast<fw::TPopupMenu*>(target);
    if (name == "RBtnPopupMenu")
        SetRBtnPopupMenu(menu);
    else if (name == "LBtnPopupMenu")
        SetLBtnPopupMenu(menu);
    else
        UnknownProperty(name);
}

void TIconTray::SetEvent(const std::string& name, const fw::TMethod& handler) {
    if (name == "OnClick")
        OnClick = fw::NotifyFrom(handler);
    else if (name == "OnDblClick")
        OnDblClick = fw::NotifyFrom(handler);
    else
        UnknownProperty(name);
}

void RegisterSysCtrls() { fw::RegisterComponentClass<TIconTray>("TIconTray"); }
