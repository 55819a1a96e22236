#include "StdCtrls.h"

#include "Forms.h"

namespace fw {

TGraphicControl::~TGraphicControl() {
    if (parent_ && visible_) Invalidate(true);
}

void TGraphicControl::SetBounds(int left, int top, int width, int height) {
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    Invalidate(true);
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    Invalidate(true);
}

void TGraphicControl::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    Invalidate(true);  // the form's background shows where a hidden control was
}

void TGraphicControl::Invalidate(bool erase) {
    if (parent_) parent_->InvalidateRect(BoundsRect(), erase);
}

void TGraphicControl::SetProperty(const std::string& name, const PropValue& value) {
    int n = static_cast<int>(value.number);
    TBounds bounds{left_, top_, width_, height_};
    if (bounds.Apply(name, n))
        SetBounds(bounds.left, bounds.top, bounds.width, bounds.height);
    else if (name == "Visible")
        SetVisible(n != 0);
    else if (name == "Cursor")
        Cursor = static_cast<TCursor>(n);
    else
        UnknownProperty(name);
}

void TGraphicControl::SetEvent(const std::string& name, const TMethod& handler) {
    if (name == "OnClick")
        OnClick = NotifyFrom(handler);
    else
        UnknownProperty(name);
}

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
    Font.OnChange = [this] {
        AdjustSize();
        Invalidate(false);
    };
}

void TLabel::SetCaption(const std::string& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    AdjustSize();
    Invalidate(true);
}

void TLabel::SetProperty(const std::string& name, const PropValue& value) {
    if (name == "Caption")
        SetCaption(value.text);
    else if (name == "AutoSize")
        AutoSize = value.number != 0;
    else if (name == "ParentFont" || name == "Transparent")
        ;  // labels here always have their own font and paint their background
    else if (!Font.SetProperty(name, value.number, value.text))
        TGraphicControl::SetProperty(name, value);
}

void TLabel::AdjustSize() {
    if (!AutoSize || caption_.empty() || (ComponentState() & csLoading)) return;
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, Font.Handle());
    RECT text = {0, 0, 0, 0};
    DrawTextA(dc, caption_.c_str(), -1, &text, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    SetBounds(Left(), Top(), text.right, text.bottom);
}

void TLabel::Paint(HDC dc) {
    RECT bounds = BoundsRect();
    SetBkColor(dc, ColorToRGB(Parent()->Color));
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &bounds, "", 0, nullptr);
    SelectObject(dc, Font.Handle());
    SetTextColor(dc, ColorToRGB(Font.Color()));
    SetBkMode(dc, TRANSPARENT);
    DrawTextA(dc, caption_.c_str(), -1, &bounds, DT_SINGLELINE | DT_NOPREFIX | DT_LEFT | DT_TOP);
}

}  // namespace fw
