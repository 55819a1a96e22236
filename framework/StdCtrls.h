// Window-less controls drawn by their form: the label.
#pragma once
#include <windows.h>

#include <string>

#include "Classes.h"
#include "Graphics.h"

namespace fw {

class TForm;

enum TCursor { crDefault = 0, crHandPoint = -21 };

class TGraphicControl : public TComponent {
public:
    explicit TGraphicControl(TComponent* owner) : TComponent(owner) {}
    ~TGraphicControl() override;

    TForm* Parent() const { return parent_; }
    void SetParent(TForm* parent) { parent_ = parent; }
    RECT BoundsRect() const { return {left_, top_, left_ + width_, top_ + height_}; }
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetBounds(int left, int top, int width, int height);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    TCursor Cursor = crDefault;
    TNotifyEvent OnClick;

    virtual void Paint(HDC dc) = 0;
    void Invalidate(bool erase = false);

    void SetProperty(const std::string& name, const PropValue& value) override;
    void SetEvent(const std::string& name, const TMethod& handler) override;

private:
    TForm* parent_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = true;
};

class TLabel : public TGraphicControl {
public:
    explicit TLabel(TComponent* owner);
    const char* ClassName() const override { return "TLabel"; }

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    TFont Font;  // the label's own font (ParentFont false)
    bool AutoSize = true;

    void Paint(HDC dc) override;
    void SetProperty(const std::string& name, const PropValue& value) override;

private:
    void AdjustSize();
    std::string caption_;
};

}  // namespace fw
