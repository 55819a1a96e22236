#include "Forms.h"

#include <windowsx.h>

#include <algorithm>
#include <cstring>
#include <set>

#include "Consts.h"
#include "Controls.h"
#include "Menus.h"
#include "StdCtrls.h"

namespace fw {

TApplication* Application = nullptr;

// --- windows of our own ------------------------------------------------------

namespace {

LRESULT CALLBACK ObjectWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowObject* object;
    if (message == WM_NCCREATE) {
        object = static_cast<WindowObject*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
    } else {
        object = reinterpret_cast<WindowObject*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    }
    if (!object) return DefWindowProcA(window, message, wParam, lParam);
    LRESULT result = 0;
    try {
        result = object->WndProc(window, message, wParam, lParam);
    } catch (...) {
        HandleCurrentException();
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        object->WindowDestroyed();
    }
    return result;
}

class UtilWindow : public WindowObject {
public:
    explicit UtilWindow(WindowHandler handler) : handler_(std::move(handler)) {}
    HWND Create() {
        // WS_EX_TOOLWINDOW keeps it off the taskbar even if something shows it.
        return CreateObjectWindow(this, "TPUtilWindow", 0, nullptr, WS_EX_TOOLWINDOW, "", WS_POPUP, 0,
                                  0, 0, 0, nullptr);
    }
    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
        return handler_(window, message, wParam, lParam);
    }
    void WindowDestroyed() override { delete this; }

private:
    WindowHandler handler_;
};

}  // namespace

HWND WindowObject::CreateObjectWindow(WindowObject* object, const char* className, UINT classStyle,
                                      HICON icon, DWORD exStyle, const char* title, DWORD style, int x,
                                      int y, int width, int height, HWND parent) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA existing;
    if (!GetClassInfoA(instance, className, &existing)) {
        WNDCLASSA wc = {};
        wc.style = classStyle;
        wc.lpfnWndProc = ObjectWndProc;
        wc.hInstance = instance;
        wc.hIcon = icon;
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.lpszClassName = className;
        RegisterClassA(&wc);
    }
    return CreateWindowExA(exStyle, className, title, style, x, y, width, height, parent, nullptr,
                           instance, object);
}

HWND AllocateHWnd(WindowHandler handler) {
    auto* window = new UtilWindow(std::move(handler));
    HWND handle = window->Create();
    if (!handle) {
        delete window;
        RaiseLastOSError();
    }
    return handle;
}

void DeallocateHWnd(HWND window) {
    if (window) DestroyWindow(window);
}

void HandleCurrentException() {
    try {
        throw;
    } catch (const EAbort&) {
    } catch (const Exception& error) {
        if (Application) Application->ShowException(error);
    } catch (const std::exception& error) {
        if (Application) Application->ShowException(Exception(error.what()));
    } catch (...) {
        if (Application) Application->ShowException(Exception("Unknown error"));
    }
}

// --- application -------------------------------------------------------------

std::string TitleFromModulePath(const std::string& path) {
    std::string name = ExtractFileName(path);
    for (const char* p = name.c_str(); *p; p = CharNextA(p)) {
        if (*p == '.') {
            name.resize(static_cast<size_t>(p - name.c_str()));
            break;
        }
    }
    if (!name.empty()) {
        std::vector<char> buffer(name.begin(), name.end());
        buffer.push_back('\0');
        CharLowerA(CharNextA(buffer.data()));
        name = buffer.data();
    }
    return name;
}

TApplication::TApplication() : TComponent(nullptr) { Application = this; }

TApplication::~TApplication() {
    DeleteReleasedForms();
    DestroyComponents();
    if (handle_) DestroyWindow(handle_);
    if (Application == this) Application = nullptr;
}

void TApplication::Initialize() {
    char path[MAX_PATH * 4] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    title_ = TitleFromModulePath(path);
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), "MAINICON");
    // A zero-sized, unowned window: it alone carries the taskbar button, so
    // forms can come and go without touching it.
    handle_ = CreateObjectWindow(this, "TApplication", 0, icon, 0, title_.c_str(),
                                 WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                                 GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2,
                                 0, 0, nullptr);
    if (!handle_) RaiseLastOSError();
}

void TApplication::FormCreated(TForm* form) {
    if (!mainForm_) {
        form->Handle();
        mainForm_ = form;
    }
}

void TApplication::Run() {
    if (mainForm_ && ShowMainForm) {
        ShowWindow(handle_, SW_SHOW);
        mainForm_->SetVisible(true);
    }
    while (!terminated_) HandleMessage();
}

void TApplication::Terminate() { PostQuitMessage(0); }

void TApplication::HandleMessage() {
    MSG msg;
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) DeleteReleasedForms();  // the idle turn
    // Waiting in GetMessage is what tells the system (and WaitForInputIdle in
    // whoever started us) that the program is ready for input.
    if (GetMessageA(&msg, nullptr, 0, 0) <= 0) {
        terminated_ = true;
        return;
    }
    if (!DialogKey(msg)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

bool TApplication::DialogKey(const MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
    HWND root = GetAncestor(msg.hwnd, GA_ROOT);
    for (TComponent* component : Components()) {
        auto* form = dynamic_cast<TForm*>(component);
        if (form && form->HandleAllocated() && form->Handle() == root)
            return form->DialogKey(static_cast<UINT>(msg.wParam), msg.message == WM_SYSKEYDOWN);
    }
    return false;
}

void TApplication::ShowException(const Exception& error) {
    std::string text = DefaultReportText(error.Message());
    if (OnReport) {
        OnReport(text);
        return;
    }
    HWND active = GetActiveWindow();
    std::vector<HWND> disabled = DisableTaskWindows(nullptr);
    MessageBoxA(handle_, text.c_str(), title_.c_str(), MB_OK | MB_ICONERROR);
    EnableTaskWindows(disabled);
    if (active) SetActiveWindow(active);
}

void TApplication::EndSession() {
    if (sessionEnded_) return;
    sessionEnded_ = true;
    if (mainForm_) mainForm_->EndSession();
    Terminate();
}

void TApplication::ReleaseForm(TForm* form) {
    if (std::find(released_.begin(), released_.end(), form) == released_.end()) released_.push_back(form);
    PostMessageA(handle_, WM_NULL, 0, 0);  // wake the loop so it gets to its idle step
}

void TApplication::DeleteReleasedForms() {
    while (!released_.empty()) {
        TForm* form = released_.back();
        released_.pop_back();
        delete form;
    }
}

LRESULT TApplication::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        // "Close" on the taskbar button closes the program the usual way.
        if (mainForm_) mainForm_->Close();
        return 0;
    case WM_SETFOCUS: {
        // The zero-sized window has nothing to focus: hand focus on to the
        // window the user last worked in (a modal dialog while one runs).
        HWND target = GetLastActivePopup(window);
        if (target && target != window && IsWindowVisible(target) && IsWindowEnabled(target))
            SetFocus(target);
        return 0;
    }
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        if (wParam) EndSession();
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

namespace {

struct DisableContext {
    HWND except;
    std::vector<HWND> disabled;
};

BOOL CALLBACK DisableOne(HWND window, LPARAM lParam) {
    auto* context = reinterpret_cast<DisableContext*>(lParam);
    if (window != context->except && IsWindowVisible(window) && IsWindowEnabled(window)) {
        context->disabled.push_back(window);
        EnableWindow(window, FALSE);
    }
    return TRUE;
}

}  // namespace

std::vector<HWND> DisableTaskWindows(HWND except) {
    DisableContext context{except, {}};
    EnumThreadWindows(GetCurrentThreadId(), DisableOne, reinterpret_cast<LPARAM>(&context));
    return context.disabled;
}

void EnableTaskWindows(const std::vector<HWND>& windows) {
    for (HWND window : windows)
        if (IsWindow(window)) EnableWindow(window, TRUE);
}

// --- forms ----------------------------------------------------------------------

namespace {

// The form's windowed controls in tab order (stored order among equals).
std::vector<TWinControl*> WinControls(const TForm* form) {
    std::vector<TWinControl*> controls;
    for (TComponent* component : form->Components())
        if (auto* control = dynamic_cast<TWinControl*>(component); control && control->Parent() == form)
            controls.push_back(control);
    std::stable_sort(controls.begin(), controls.end(), [](TWinControl* a, TWinControl* b) {
        return static_cast<unsigned>(a->TabOrder) < static_cast<unsigned>(b->TabOrder);
    });
    return controls;
}

}  // namespace

TForm::TForm(TComponent* owner) : TComponent(owner) {
    Font.OnChange = [this] {
        if (handle_) ::InvalidateRect(handle_, nullptr, TRUE);
    };
}

TForm::~TForm() {
    if (handle_ && Menu) SetMenu(handle_, nullptr);  // the menu is ours to destroy, not the window's
    DestroyComponents();
    DestroyHandle();
}

void TForm::InitializeFromDescription(const DescriptionItem* items, TPublished* published) {
    ReadDescription(this, published, items);
    if (OnCreate) Guarded([this] { OnCreate(this); });
}

HWND TForm::Handle() {
    if (!handle_) CreateHandle();
    return handle_;
}

void TForm::CreateParams(TCreateParams& params) {
    params.Caption = caption_;
    params.X = left_;
    params.Y = top_;
    params.Width = width_;
    params.Height = height_;
    params.WndParent = Application ? Application->Handle() : nullptr;
    params.WindowClassStyle = CS_DBLCLKS;
    params.Style = WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    params.ExStyle = WS_EX_CONTROLPARENT;
    switch (BorderStyle) {
    case bsNone:
        params.Style |= WS_POPUP;
        break;
    case bsSingle:
        params.Style |= WS_CAPTION | WS_BORDER;
        break;
    case bsSizeable:
        params.Style |= WS_CAPTION | WS_THICKFRAME;
        break;
    case bsDialog:
        params.Style |= WS_POPUP | WS_CAPTION;
        params.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
        break;
    }
    if (BorderStyle != bsNone) {
        if (BorderIcons & biSystemMenu) params.Style |= WS_SYSMENU;
        if (BorderStyle == bsSingle || BorderStyle == bsSizeable) {
            if (BorderIcons & biMinimize) params.Style |= WS_MINIMIZEBOX;
            if (BorderIcons & biMaximize) params.Style |= WS_MAXIMIZEBOX;
        }
    }
}

void TForm::CreateHandle() {
    TCreateParams params;
    CreateParams(params);
    handle_ = CreateObjectWindow(this, ClassName(), params.WindowClassStyle, nullptr, params.ExStyle,
                                 params.Caption.c_str(), params.Style, params.X, params.Y,
                                 params.Width, params.Height, params.WndParent);
    if (!handle_) RaiseLastOSError();
    if (!Icon.Empty() && BorderStyle != bsDialog) {
        SendMessageA(handle_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(Icon.Handle()));
        SendMessageA(handle_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(Icon.Handle()));
    }
    if (Menu) SetMenu(handle_, Menu->Handle());
    for (TWinControl* control : WinControls(this)) control->CreateHandle(handle_);
    if (pendingClientWidth_ >= 0) SetClientWidth(pendingClientWidth_);
    if (pendingClientHeight_ >= 0) SetClientHeight(pendingClientHeight_);
    pendingClientWidth_ = pendingClientHeight_ = -1;
    if (visible_) ShowWindow(handle_, SW_SHOWNORMAL);
}

void TForm::DestroyHandle() {
    if (handle_) DestroyWindow(handle_);
    handle_ = nullptr;
}

void TForm::WindowDestroyed() { handle_ = nullptr; }

void TForm::SetCaption(const std::string& caption) {
    caption_ = caption;
    if (handle_) SetWindowTextA(handle_, caption_.c_str());
}

void TForm::SetBounds(int left, int top, int width, int height) {
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    if (handle_)
        SetWindowPos(handle_, nullptr, left_, top_, width_, height_, SWP_NOZORDER | SWP_NOACTIVATE);
}

int TForm::ClientWidth() {
    if (!handle_) return pendingClientWidth_ >= 0 ? pendingClientWidth_ : width_;
    RECT client;
    GetClientRect(handle_, &client);
    return client.right;
}

int TForm::ClientHeight() {
    if (!handle_) return pendingClientHeight_ >= 0 ? pendingClientHeight_ : height_;
    RECT client;
    GetClientRect(handle_, &client);
    return client.bottom;
}

void TForm::SetClientWidth(int value) {
    if (!handle_) {
        // Without a window the frame is unknown until one is made.
        pendingClientWidth_ = value;
        SetWidth(value);
        return;
    }
    SetWidth(width_ - ClientWidth() + value);
}

void TForm::SetClientHeight(int value) {
    if (!handle_) {
        pendingClientHeight_ = value;
        SetHeight(value);
        return;
    }
    SetHeight(height_ - ClientHeight() + value);
}

void TForm::SetVisible(bool visible) {
    visible_ = visible;
    if (visible)
        ShowWindow(Handle(), SW_SHOWNORMAL);
    else if (handle_)
        ShowWindow(handle_, SW_HIDE);
}

void TForm::Show() {
    SetVisible(true);
    BringToFront();
}

void TForm::BringToFront() {
    if (handle_) SetWindowPos(handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void TForm::Close() {
    if (modal_) {
        ModalResult = mrCancel;
        return;
    }
    TCloseAction action = caHide;
    if (OnClose) OnClose(this, action);
    if (action == caNone) return;
    if (Application && Application->MainForm() == this)
        Application->Terminate();
    else if (action == caHide)
        Hide();
    else if (action == caMinimize)
        ShowWindow(Handle(), SW_MINIMIZE);
    else if (action == caFree)
        Release();
}

void TForm::Release() {
    if (Application) Application->ReleaseForm(this);
}

int TForm::ShowModal() {
    if (visible_ || modal_ || (handle_ && !IsWindowEnabled(handle_)))
        Raise(EInvalidOperation(consts::kCannotShowModal));
    HWND active = GetActiveWindow();
    std::vector<HWND> disabled = DisableTaskWindows(nullptr);
    modal_ = true;
    ModalResult = mrNone;
    int result = mrCancel;
    try {
        Show();
        while (ModalResult == mrNone) {
            Application->HandleMessage();
            if (Application->Terminated()) ModalResult = mrCancel;
        }
        result = ModalResult;
    } catch (...) {
        modal_ = false;
        EnableTaskWindows(disabled);
        Hide();
        throw;
    }
    modal_ = false;
    // The others first: hidden while they are still disabled, the dialog
    // would hand activation to another program's window.
    EnableTaskWindows(disabled);
    Hide();
    if (active && IsWindow(active)) SetActiveWindow(active);
    return result;
}

bool TForm::DialogKey(UINT key, bool alt) {
    if (key != VK_RETURN && key != VK_ESCAPE) return false;
    if (alt || (GetKeyState(VK_SHIFT) & 0x8000) || (GetKeyState(VK_CONTROL) & 0x8000)) return false;
    for (TWinControl* control : WinControls(this))
        if (control->CanFocus() && control->DialogKey(key)) return true;
    return false;
}

void TForm::SendCancelMode() {
    if (!handle_ || GetActiveWindow() != handle_) return;
    HWND focus = GetFocus();
    if (focus && focus != handle_ && IsChild(handle_, focus)) SendMessageA(focus, WM_CANCELMODE, 0, 0);
}

void TForm::SetProperty(const std::string& name, const PropValue& value) {
    long long n = value.number;
    if (name == "Left")
        SetLeft(static_cast<int>(n));
    else if (name == "Top")
        SetTop(static_cast<int>(n));
    else if (name == "Width")
        SetWidth(static_cast<int>(n));
    else if (name == "Height")
        SetHeight(static_cast<int>(n));
    else if (name == "ClientWidth")
        SetClientWidth(static_cast<int>(n));
    else if (name == "ClientHeight")
        SetClientHeight(static_cast<int>(n));
    else if (name == "Caption")
        SetCaption(value.text);
    else if (name == "BorderStyle")
        BorderStyle = static_cast<TBorderStyle>(n);
    else if (name == "BorderIcons")
        BorderIcons = static_cast<unsigned>(n);
    else if (name == "Color")
        Color = static_cast<TColor>(n);
    else if (name == "Icon.Data")
        Icon.LoadFromResourceName(GetModuleHandleA(nullptr), value.text);
    else if (name == "Visible")
        SetVisible(n != 0);
    else if (name == "PixelsPerInch" || name == "TextHeight" || name == "Position")
        ;  // designed at 96 dpi and placed as designed
    else if (!Font.SetProperty(name, n, value.text))
        UnknownProperty(name);
}

void TForm::SetReference(const std::string& name, TComponent* target) {
    if (name == "Menu") {
        Menu = dynamic_cast<TMainMenu*>(target);
        FreeNotification(Menu);
        if (handle_ && Menu) SetMenu(handle_, Menu->Handle());
    } else if (name == "PopupMenu") {
        PopupMenu = dynamic_cast<TPopupMenu*>(target);
        FreeNotification(PopupMenu);
    } else {
        UnknownProperty(name);
    }
}

void TForm::SetEvent(const std::string& name, const TMethod& handler) {
    if (name == "OnCreate")
        OnCreate = NotifyFrom(handler);
    else if (name == "OnClose")
        OnClose = EventFrom<TCloseAction>(handler);
    else if (name == "OnEndSession")
        OnEndSession = NotifyFrom(handler);
    else
        UnknownProperty(name);
}

void TForm::InsertChild(TComponent* child) {
    if (auto* control = dynamic_cast<TGraphicControl*>(child)) {
        control->SetParent(this);
        controls_.push_back(control);
    }
    if (auto* control = dynamic_cast<TWinControl*>(child)) control->SetParent(this);
}

void TForm::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == Menu) {
        if (handle_) SetMenu(handle_, nullptr);
        Menu = nullptr;
    }
    if (component == PopupMenu) PopupMenu = nullptr;
    controls_.erase(std::remove(controls_.begin(), controls_.end(), component), controls_.end());
    if (pressed_ == component) pressed_ = nullptr;
}

void TForm::InvalidateRect(const RECT& rect, bool erase) {
    if (handle_) ::InvalidateRect(handle_, &rect, erase);
}

TGraphicControl* TForm::ControlAt(POINT client) const {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        RECT bounds = (*it)->BoundsRect();
        if ((*it)->Visible() && PtInRect(&bounds, client)) return *it;
    }
    return nullptr;
}

void TForm::EndSession() {
    // The session ends whatever happens here: no message box may hold it up.
    if (OnEndSession) {
        try {
            OnEndSession(this);
        } catch (...) {
        }
    }
}

void TForm::Paint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(handle_, &paint);
    for (TGraphicControl* control : controls_) {
        RECT bounds = control->BoundsRect(), overlap;
        if (control->Visible() && IntersectRect(&overlap, &bounds, &paint.rcPaint)) {
            int saved = SaveDC(dc);
            control->Paint(dc);
            RestoreDC(dc, saved);
        }
    }
    EndPaint(handle_, &paint);
}

LRESULT TForm::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        Close();
        return 0;
    case WM_COMMAND:
        if (TWinControl* control = TWinControl::FromHandle(reinterpret_cast<HWND>(lParam))) {
            LRESULT result = 0;
            if (control->ParentNotify(message, wParam, lParam, result)) return result;
        }
        if (HIWORD(wParam) == 0 && lParam == 0) {
            if (TMenuItem* item = TMenuItem::FindCommand(LOWORD(wParam))) {
                item->Click();
                return 0;
            }
        }
        break;
    case WM_ERASEBKGND: {
        RECT client;
        GetClientRect(window, &client);
        HBRUSH brush = CreateSolidBrush(ColorToRGB(Color));
        FillRect(reinterpret_cast<HDC>(wParam), &client, brush);
        DeleteObject(brush);
        return 1;
    }
    case WM_PAINT:
        Paint();
        return 0;
    case WM_DRAWITEM:
        if (auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam); item->CtlType != ODT_MENU) {
            if (TWinControl* control = TWinControl::FromHandle(item->hwndItem)) {
                LRESULT result = 0;
                if (control->ParentNotify(message, wParam, lParam, result)) return result;
            }
        }
        break;
    case WM_SETFOCUS:
        // A form with controls passes the focus on to the first that takes it.
        for (TWinControl* control : WinControls(this)) {
            if (control->TabStop && control->CanFocus()) {
                control->SetFocus();
                return 0;
            }
        }
        break;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT && reinterpret_cast<HWND>(wParam) == window) {
            POINT point;
            GetCursorPos(&point);
            ScreenToClient(window, &point);
            TGraphicControl* control = ControlAt(point);
            if (control && control->Cursor == crHandPoint) {
                SetCursor(LoadCursorA(nullptr, IDC_HAND));
                return TRUE;
            }
        }
        break;
    case WM_LBUTTONDOWN:
        pressed_ = ControlAt({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        break;
    case WM_LBUTTONUP: {
        TGraphicControl* control = ControlAt({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        bool clicked = control && control == pressed_;
        pressed_ = nullptr;
        if (clicked && control->OnClick) control->OnClick(control);
        break;
    }
    case WM_CONTEXTMENU:
        // A window inside the form without a menu of its own (even another
        // program's) hands the request up: the form's menu serves it too.
        if (PopupMenu && PopupMenu->AutoPopup &&
            (reinterpret_cast<HWND>(wParam) == window || IsChild(window, reinterpret_cast<HWND>(wParam)))) {
            POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            if (lParam == -1) GetCursorPos(&point);  // from the keyboard
            PopupMenu->Popup(point.x, point.y);
            return 0;
        }
        break;
    case WM_WINDOWPOSCHANGED: {
        // Keep the stored bounds true to a window the user moved or sized.
        RECT bounds;
        GetWindowRect(window, &bounds);
        if (HWND parent = GetParent(window); parent && (GetWindowLongA(window, GWL_STYLE) & WS_CHILD))
            MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&bounds), 2);
        left_ = bounds.left;
        top_ = bounds.top;
        width_ = bounds.right - bounds.left;
        height_ = bounds.bottom - bounds.top;
        break;
    }
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        if (wParam && Application) Application->EndSession();
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace fw
