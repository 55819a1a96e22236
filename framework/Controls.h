// Controls with a window of their own inside a form (buttons).
#pragma once
#include <windows.h>

#include <string>

#include "Classes.h"

namespace fw {

class TForm;

struct TControlParams {
    const char* ClassName = "";  // a system class, subclassed by the control
    std::string Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
};

// A child window of a form, made from a system class and subclassed so the
// control sees its own messages. The form makes the window right after its
// own and passes on what the window tells its parent (WM_COMMAND,
// WM_DRAWITEM).
class TWinControl : public TComponent {
public:
    explicit TWinControl(TComponent* owner) : TComponent(owner) {}
    ~TWinControl() override;

    TForm* Parent() const { return parent_; }
    void SetParent(TForm* parent) { parent_ = parent; }
    HWND Handle() const { return handle_; }
    bool HandleAllocated() const { return handle_ != nullptr; }
    // Makes the window inside `parentWindow`; nothing when it exists already.
    void CreateHandle(HWND parentWindow);

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetBounds(int left, int top, int width, int height);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    int TabOrder = -1;
    bool TabStop = true;

    // Whether the user can reach it: its window exists, is shown and enabled.
    bool CanFocus() const;
    void SetFocus();

    // A key meant for the dialog as a whole (Enter, Esc), pressed with no
    // Shift, Ctrl or Alt; true when the control used it.
    virtual bool DialogKey(UINT key);
    // A message the window sent its parent about itself; true when handled.
    virtual bool ParentNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // The control behind a child window, if the window is one of ours.
    static TWinControl* FromHandle(HWND window);

    void SetProperty(const std::string& name, const PropValue& value) override;

protected:
    virtual void CreateParams(TControlParams& params) = 0;
    // The subclassed window's messages; the default is the class's own.
    virtual LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam);
    void Invalidate();

private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    TForm* parent_ = nullptr;
    HWND handle_ = nullptr;
    WNDPROC classProc_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 75, height_ = 25;
    bool visible_ = true;
    bool enabled_ = true;
};

}  // namespace fw
