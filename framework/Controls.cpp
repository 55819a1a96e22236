#include "Controls.h"

#include "Forms.h"

namespace fw {

namespace {
// Marks a child window as one of ours and leads back to its control.
constexpr char kControlProperty[] = "fw.TWinControl";
// Child ids start at 1: an owner-draw request with id 0 is taken for a menu.
UINT_PTR nextControlId = 1;
}  // namespace

TWinControl::~TWinControl() {
    if (handle_) DestroyWindow(handle_);
}

void TWinControl::CreateHandle(HWND parentWindow) {
    if (handle_) return;
    TControlParams params;
    CreateParams(params);
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | params.Style;
    if (visible_) style |= WS_VISIBLE;
    if (!enabled_) style |= WS_DISABLED;
    if (TabStop) style |= WS_TABSTOP;
    HWND window = CreateWindowExA(params.ExStyle, params.ClassName, params.Caption.c_str(), style, left_, top_,
                                  width_, height_, parentWindow, reinterpret_cast<HMENU>(nextControlId++),
                                  GetModuleHandleA(nullptr), nullptr);
    if (!window) RaiseLastOSError();
    SetPropA(window, kControlProperty, this);
    classProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TWinControl::SubclassProc)));
    handle_ = window;
}

TWinControl* TWinControl::FromHandle(HWND window) {
    return window ? static_cast<TWinControl*>(GetPropA(window, kControlProperty)) : nullptr;
}

LRESULT CALLBACK TWinControl::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    TWinControl* control = FromHandle(window);
    if (!control) return DefWindowProcA(window, message, wParam, lParam);
    LRESULT result = 0;
    try {
        result = control->WndProc(message, wParam, lParam);
    } catch (...) {
        HandleCurrentException();
    }
    if (message == WM_NCDESTROY) {
        RemovePropA(window, kControlProperty);
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(control->classProc_));
        control->handle_ = nullptr;
    }
    return result;
}

LRESULT TWinControl::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefaultHandler(message, wParam, lParam);
}

LRESULT TWinControl::DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcA(classProc_, handle_, message, wParam, lParam);
}

void TWinControl::Invalidate() {
    if (handle_) InvalidateRect(handle_, nullptr, TRUE);
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    if (handle_) MoveWindow(handle_, left_, top_, width_, height_, TRUE);
}

void TWinControl::SetVisible(bool visible) {
    visible_ = visible;
    if (handle_) ShowWindow(handle_, visible ? SW_SHOWNA : SW_HIDE);
}

void TWinControl::SetEnabled(bool enabled) {
    enabled_ = enabled;
    if (handle_) EnableWindow(handle_, enabled);
}

bool TWinControl::CanFocus() const { return handle_ && IsWindowVisible(handle_) && IsWindowEnabled(handle_); }

void TWinControl::SetFocus() {
    if (CanFocus()) ::SetFocus(handle_);
}

bool TWinControl::DialogKey(UINT) { return false; }

bool TWinControl::ParentNotify(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

void TWinControl::SetProperty(const std::string& name, const PropValue& value) {
    int n = static_cast<int>(value.number);
    TBounds bounds{left_, top_, width_, height_};
    if (bounds.Apply(name, n))
        SetBounds(bounds.left, bounds.top, bounds.width, bounds.height);
    else if (name == "TabOrder")
        TabOrder = n;
    else if (name == "TabStop")
        TabStop = n != 0;
    else if (name == "Visible")
        SetVisible(n != 0);
    else if (name == "Enabled")
        SetEnabled(n != 0);
    else
        UnknownProperty(name);
}

}  // namespace fw
