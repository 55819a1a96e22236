#include "Menus.h"

#include <algorithm>
#include <map>

#include "Forms.h"

namespace fw {

namespace {

// Command identifiers of all live items; 0 is never used.
std::map<UINT, TMenuItem*>& Commands() {
    static std::map<UINT, TMenuItem*> commands;
    return commands;
}
UINT nextCommand = 100;

// Owner of shown popup menus: receives their WM_COMMAND.
HWND PopupOwner() {
    static HWND owner = nullptr;
    if (!owner || !IsWindow(owner)) {
        owner = AllocateHWnd([](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
            if (message == WM_COMMAND && HIWORD(wParam) == 0) {
                if (TMenuItem* item = TMenuItem::FindCommand(LOWORD(wParam))) item->Click();
                return 0;
            }
            return DefWindowProcA(window, message, wParam, lParam);
        });
    }
    return owner;
}

}  // namespace

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), command_(nextCommand++) {
    Commands()[command_] = this;
}

TMenuItem::~TMenuItem() { Commands().erase(command_); }

TMenuItem* TMenuItem::FindCommand(UINT command) {
    auto found = Commands().find(command);
    return found == Commands().end() ? nullptr : found->second;
}

void TMenuItem::SetChecked(bool checked) {
    checked_ = checked;
    if (container_)
        CheckMenuItem(container_, command_, MF_BYCOMMAND | (checked_ ? MF_CHECKED : MF_UNCHECKED));
}

void TMenuItem::Click() {
    if (OnClick) OnClick(this);
}

void TMenuItem::Add(TMenuItem* item) {
    items_.push_back(item);
    item->parent_ = this;
    FreeNotification(item);
}

void TMenuItem::AppendTo(HMENU menu) {
    container_ = menu;
    if (caption_ == "-") {
        AppendMenuA(menu, MF_SEPARATOR, command_, nullptr);
    } else if (!items_.empty()) {
        HMENU sub = CreatePopupMenu();
        for (TMenuItem* item : items_) item->AppendTo(sub);
        AppendMenuA(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub), caption_.c_str());
    } else {
        AppendMenuA(menu, MF_STRING | (checked_ ? MF_CHECKED : 0), command_, caption_.c_str());
    }
}

void TMenuItem::SetProperty(const std::string& name, const PropValue& value) {
    if (name == "Caption")
        SetCaption(value.text);
    else if (name == "Checked")
        SetChecked(value.number != 0);
    else
        UnknownProperty(name);
}

void TMenuItem::SetEvent(const std::string& name, const TMethod& handler) {
    if (name == "OnClick")
        OnClick = NotifyFrom(handler);
    else
        UnknownProperty(name);
}

void TMenuItem::InsertChild(TComponent* child) {
    auto* item = dynamic_cast<TMenuItem*>(child);
    if (!item) TComponent::InsertChild(child);
    Add(item);
}

void TMenuItem::Notification(TComponent* component, TOperation operation) {
    if (operation == opRemove)
        items_.erase(std::remove(items_.begin(), items_.end(), component), items_.end());
}

TMenu::~TMenu() {
    if (handle_) DestroyMenu(handle_);
}

HMENU TMenu::Handle() {
    if (!handle_) {
        handle_ = MakeMenu();
        for (TMenuItem* item : items_) item->AppendTo(handle_);
    }
    return handle_;
}

void TMenu::InsertChild(TComponent* child) {
    auto* item = dynamic_cast<TMenuItem*>(child);
    if (!item) TComponent::InsertChild(child);
    items_.push_back(item);
    FreeNotification(item);
}

void TMenu::Notification(TComponent* component, TOperation operation) {
    if (operation == opRemove)
        items_.erase(std::remove(items_.begin(), items_.end(), component), items_.end());
}

void TPopupMenu::SetProperty(const std::string& name, const PropValue& value) {
    if (name == "AutoPopup")
        AutoPopup = value.number != 0;
    else
        UnknownProperty(name);
}

void TPopupMenu::Popup(int x, int y) {
    TrackPopupMenu(Handle(), TPM_LEFTALIGN | TPM_LEFTBUTTON | TPM_RIGHTBUTTON, x, y, 0, PopupOwner(),
                   nullptr);
}

}  // namespace fw
