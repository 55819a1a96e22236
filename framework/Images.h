// The image control: a picture painted by its form.
#pragma once
#include <windows.h>

#include "Graphics.h"
#include "StdCtrls.h"

namespace fw {

// Shows an icon at the system's large-icon size, whatever size the icon
// itself has, as icons are drawn throughout the system.
class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* owner) : TGraphicControl(owner) {}
    const char* ClassName() const override { return "TImage"; }

    TIcon Picture;
    // Takes the size the picture is drawn at.
    bool AutoSize = false;
    void PictureChanged();

    // The size an icon is drawn at.
    static SIZE IconDrawSize();

    void Paint(HDC dc) override;
    void Loaded() override;
    void SetProperty(const std::string& name, const PropValue& value) override;
};

}  // namespace fw
