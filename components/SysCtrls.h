// The notification-area icon: one icon with a tooltip, mouse events, and a
// popup menu after a button is released on it.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <functional>
#include <string>

#include "../framework/Classes.h"
#include "../framework/Graphics.h"
#include "../framework/Menus.h"
#include "../framework/SysUtils.h"

FW_EXCEPTION_CLASS(EIconTrayError, fw::Exception);

enum TMouseButton { mbLeft = 0, mbRight = 1, mbMiddle = 2 };
// Held in one byte, as the shell's callback reports it.
using TShiftState = uint8_t;
enum : TShiftState {
    ssShift = 0x01,
    ssAlt = 0x02,
    ssCtrl = 0x04,
    ssLeft = 0x08,
    ssRight = 0x10,
    ssMiddle = 0x20,
    ssDouble = 0x40,
};
using TMouseEvent = std::function<void(fw::TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(fw::TObject* sender, TShiftState shift, int x, int y)>;

// Instances made in this process so far; each takes the next number as its
// icon id, and no id is given out twice.
extern int32_t IconTrayCount;

// The shell call, replaceable so tests can record what the shell is told.
using ShellNotifyIconFunction = BOOL(WINAPI*)(DWORD message, PNOTIFYICONDATAA data);
extern ShellNotifyIconFunction ShellNotifyIcon;

class TIconTray : public fw::TComponent {
public:
    explicit TIconTray(fw::TComponent* owner);
    ~TIconTray() override;
    const char* ClassName() const override { return "TIconTray"; }

    // Published properties, in the order a description lists them.
    fw::TIcon* Icon() const { return icon_; }
    void SetIcon(const fw::TIcon* icon);
    bool HideMainForm() const { return hideMainForm_; }
    void SetHideMainForm(bool hide) { hideMainForm_ = hide; }
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint);
    fw::TPopupMenu* RBtnPopupMenu() const { return rbtnPopupMenu_; }
    void SetRBtnPopupMenu(fw::TPopupMenu* menu);
    fw::TPopupMenu* LBtnPopupMenu() const { return lbtnPopupMenu_; }
    void SetLBtnPopupMenu(fw::TPopupMenu* menu);
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool show);

    fw::TNotifyEvent OnClick;
    fw::TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;

    void Loaded() override;
    void Notification(fw::TComponent* component, fw::TOperation operation) override;
    void SetProperty(const std::string& name, const fw::PropValue& value) override;
    void SetReference(const std::string& name, fw::TComponent* target) override;
    void SetEvent(const std::string& name, const fw::TMethod& handler) override;

    // The longest tooltip the shell's record holds, in bytes.
    static constexpr size_t kMaxHint = 63;

private:
    void UpdateIcon(bool show);
    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void PopupAt(POINT point, fw::TPopupMenu* menu);

    // State in declared order.
    fw::TIcon* icon_;
    int32_t iconId_;
    bool hideMainForm_ = false;
    std::string hint_;
    fw::TPopupMenu* rbtnPopupMenu_ = nullptr;
    fw::TPopupMenu* lbtnPopupMenu_ = nullptr;
    bool showHint_;
    HWND window_ = nullptr;
    bool registered_ = false;
    NOTIFYICONDATAA record_ = {};
};

void RegisterSysCtrls();
