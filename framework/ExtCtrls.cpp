#include "ExtCtrls.h"

#include "Consts.h"
#include "Forms.h"

namespace fw {

namespace {
constexpr UINT_PTR kTimerId = 1;
}

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
    window_ = AllocateHWnd([this](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message == WM_TIMER) {
            if (enabled_ && OnTimer) OnTimer(this);
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    });
}

TTimer::~TTimer() {
    enabled_ = false;
    UpdateTimer();
    DeallocateHWnd(window_);
}

void TTimer::UpdateTimer() {
    KillTimer(window_, kTimerId);
    if (enabled_ && interval_ != 0 && OnTimer) {
        if (!SetTimer(window_, kTimerId, interval_, nullptr)) Raise(EOutOfResources(consts::kNoTimers));
    }
}

void TTimer::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    UpdateTimer();
}

void TTimer::SetInterval(unsigned interval) {
    if (interval == interval_) return;
    interval_ = interval;
    UpdateTimer();
}

void TTimer::SetProperty(const std::string& name, const PropValue& value) {
    if (name == "Interval")
        SetInterval(static_cast<unsigned>(value.number));
    else if (name == "Enabled")
        SetEnabled(value.number != 0);
    else
        UnknownProperty(name);
}

void TTimer::SetEvent(const std::string& name, const TMethod& handler) {
    if (name != "OnTimer") UnknownProperty(name);
    OnTimer = NotifyFrom(handler);
    UpdateTimer();
}

}  // namespace fw
