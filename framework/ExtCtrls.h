// The window timer.
#pragma once
#include <windows.h>

#include "Classes.h"

namespace fw {

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;
    const char* ClassName() const override { return "TTimer"; }

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned interval);
    TNotifyEvent OnTimer;

    void SetProperty(const std::string& name, const PropValue& value) override;
    void SetEvent(const std::string& name, const TMethod& handler) override;

private:
    // Ticks only while enabled, with an interval and a handler.
    void UpdateTimer();

    bool enabled_ = true;
    unsigned interval_ = 1000;
    HWND window_ = nullptr;
};

}  // namespace fw
