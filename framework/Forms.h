// The application object, forms and the hidden-window facility.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "Classes.h"
#include "Graphics.h"
#include "SysUtils.h"

namespace fw {

class TMainMenu;
class TPopupMenu;
class TGraphicControl;
class TForm;

// --- windows of our own ------------------------------------------------------

// An object that owns a window. One window procedure serves every class: it
// attaches the object at WM_NCCREATE, detaches it at WM_NCDESTROY and guards
// every handler, so no exception ever crosses into the system.
class WindowObject {
public:
    virtual ~WindowObject() = default;
    virtual LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // The window has gone; the object no longer has one.
    virtual void WindowDestroyed() {}

protected:
    static HWND CreateObjectWindow(WindowObject* object, const char* className, UINT classStyle,
                                   HICON icon, DWORD exStyle, const char* title, DWORD style, int x,
                                   int y, int width, int height, HWND parent);
};

// A window that is never shown, has no taskbar button and hands every
// message to `handler`. Top-level, so that broadcasts reach it.
using WindowHandler = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;
HWND AllocateHWnd(WindowHandler handler);
void DeallocateHWnd(HWND window);

// Reports the exception being handled through the application's default
// error report; an EAbort is silent. Call only inside a catch block.
void HandleCurrentException();

// Runs f; an exception leaving it reaches the default error report.
template <class F>
void Guarded(F&& f) {
    try {
        f();
    } catch (...) {
        HandleCurrentException();
    }
}

// --- application -------------------------------------------------------------

// The title rule: the file name without directory and without everything
// from its first ".", every character after the first in lower case.
std::string TitleFromModulePath(const std::string& path);

class TApplication : public TComponent, private WindowObject {
public:
    TApplication();
    ~TApplication() override;
    const char* ClassName() const override { return "TApplication"; }

    void Initialize();
    HWND Handle() const { return handle_; }
    const std::string& Title() const { return title_; }
    TForm* MainForm() const { return mainForm_; }
    bool ShowMainForm = true;
    bool Terminated() const { return terminated_; }

    // Creates a form owned by the application; `reference` names it before
    // its description is read. The first form becomes the main form.
    template <class T>
    void CreateForm(T*& reference) {
        reference = nullptr;
        try {
            reference = new T(this);
        } catch (...) {
            reference = nullptr;
            throw;
        }
        FormCreated(reference);
    }

    void Run();
    void Terminate();
    // Waits for one message and dispatches it.
    void HandleMessage();

    // The default error report.
    void ShowException(const Exception& error);
    // Replaces the message box, for tests that run the framework in-process.
    std::function<void(const std::string& text)> OnReport;

    // Windows is ending the session: the main form hears of it once.
    void EndSession();

    // Deletes the form on the next turn of the message loop, when none of its
    // own handlers can still be on the stack.
    void ReleaseForm(TForm* form);

private:
    void FormCreated(TForm* form);
    // Keyboard interface of forms (a dialog's default button), before dispatch.
    bool DialogKey(const MSG& msg);
    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    void DeleteReleasedForms();

    HWND handle_ = nullptr;
    std::string title_;
    TForm* mainForm_ = nullptr;
    bool terminated_ = false;
    bool sessionEnded_ = false;
    std::vector<TForm*> released_;
};

extern TApplication* Application;

// Disables the visible, enabled top-level windows of this thread except
// `except`; returns what it disabled, for EnableTaskWindows.
std::vector<HWND> DisableTaskWindows(HWND except);
void EnableTaskWindows(const std::vector<HWND>& windows);

// --- screen -------------------------------------------------------------------

namespace Screen {
inline int Width() { return GetSystemMetrics(SM_CXSCREEN); }
inline int Height() { return GetSystemMetrics(SM_CYSCREEN); }
}  // namespace Screen

// --- forms ----------------------------------------------------------------------

enum TBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog };
enum TBorderIcon : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4 };
enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TModalResult { mrNone = 0, mrOk = 1, mrCancel = 2 };

using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;

struct TCreateParams {
    std::string Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
    UINT WindowClassStyle = 0;
};

class TForm : public TComponent, protected WindowObject {
public:
    explicit TForm(TComponent* owner);
    ~TForm() override;

    HWND Handle();  // makes the window on first use
    bool HandleAllocated() const { return handle_ != nullptr; }

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int value) { SetBounds(value, top_, width_, height_); }
    void SetTop(int value) { SetBounds(left_, value, width_, height_); }
    void SetWidth(int value) { SetBounds(left_, top_, value, height_); }
    void SetHeight(int value) { SetBounds(left_, top_, width_, value); }
    void SetBounds(int left, int top, int width, int height);
    int ClientWidth();
    int ClientHeight();
    void SetClientWidth(int value);
    void SetClientHeight(int value);

    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    void Show();
    void Hide() { SetVisible(false); }
    void BringToFront();
    void Close();
    int ShowModal();
    int ModalResult = mrNone;
    void Release();

    TFont Font;
    TIcon Icon;
    TColor Color = clBtnFace;
    TBorderStyle BorderStyle = bsSizeable;
    unsigned BorderIcons = biSystemMenu | biMinimize | biMaximize;
    TMainMenu* Menu = nullptr;
    TPopupMenu* PopupMenu = nullptr;

    TNotifyEvent OnCreate;
    TCloseEvent OnClose;
    TNotifyEvent OnEndSession;

    void SetProperty(const std::string& name, const PropValue& value) override;
    void SetReference(const std::string& name, TComponent* target) override;
    void SetEvent(const std::string& name, const TMethod& handler) override;
    void InsertChild(TComponent* child) override;
    void Notification(TComponent* component, TOperation operation) override;

    const std::vector<TGraphicControl*>& Controls() const { return controls_; }
    void InvalidateRect(const RECT& rect, bool erase);
    // A control's mouse cursor or click target at a client point.
    TGraphicControl* ControlAt(POINT client) const;
    // Sent by the application while a session ends.
    void EndSession();
    // Ends whatever the focused control of the active form is in the middle of.
    void SendCancelMode();
    // A key pressed in this form; true when the form used it up.
    virtual bool DialogKey(UINT key, bool alt);

protected:
    // Reads the form's description, then runs OnCreate with errors reported.
    void InitializeFromDescription(const DescriptionItem* items, TPublished* published);
    virtual void CreateParams(TCreateParams& params);
    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    void WindowDestroyed() override;
    void DestroyHandle();

private:
    void CreateHandle();
    void ApplyBounds();
    void Paint();

    HWND handle_ = nullptr;
    std::string caption_;
    int left_ = 0, top_ = 0, width_ = 320, height_ = 240;
    int pendingClientWidth_ = -1, pendingClientHeight_ = -1;
    bool visible_ = false;
    bool modal_ = false;
    std::vector<TGraphicControl*> controls_;
    TGraphicControl* pressed_ = nullptr;
};

}  // namespace fw
