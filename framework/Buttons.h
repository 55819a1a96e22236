// Push buttons: the plain one and the bitmap button with a glyph.
#pragma once
#include <windows.h>

#include <string>

#include "Controls.h"
#include "Forms.h"

namespace fw {

class TButton : public TWinControl {
public:
    explicit TButton(TComponent* owner) : TWinControl(owner) {}
    const char* ClassName() const override { return "TButton"; }

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    // Enter anywhere in the form clicks the default button, Esc the cancel one.
    bool Default = false;
    bool Cancel = false;
    // Handed to the form on a click; anything but mrNone ends a modal show.
    int ModalResult = mrNone;
    TNotifyEvent OnClick;
    virtual void Click();

    bool DialogKey(UINT key) override;
    bool ParentNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void SetProperty(const std::string& name, const PropValue& value) override;
    void SetEvent(const std::string& name, const TMethod& handler) override;

protected:
    void CreateParams(TControlParams& params) override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::string caption_;
};

// Stock kinds that bring their caption, glyph and modal result.
enum TBitBtnKind { bkCustom = 0, bkOK = 1 };

// A button that draws a glyph beside its caption. A glyph bitmap holds
// NumGlyphs images side by side (normal, then disabled); its lower-left
// pixel's colour is see-through.
class TBitBtn : public TButton {
public:
    explicit TBitBtn(TComponent* owner) : TButton(owner) {}
    ~TBitBtn() override;
    const char* ClassName() const override { return "TBitBtn"; }

    TBitBtnKind Kind() const { return kind_; }
    void SetKind(TBitBtnKind kind);
    HBITMAP Glyph() const { return glyph_; }
    void LoadGlyph(HINSTANCE instance, const char* resource);
    int NumGlyphs = 1;
    // Pixels between glyph and caption.
    int Spacing = 4;

    bool ParentNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void SetProperty(const std::string& name, const PropValue& value) override;

    // Paints the whole button for an owner-draw request.
    void DrawItem(const DRAWITEMSTRUCT& item);

protected:
    void CreateParams(TControlParams& params) override;

private:
    void DrawGlyph(HDC dc, int x, int y, int index);

    TBitBtnKind kind_ = bkCustom;
    HBITMAP glyph_ = nullptr;
};

// The stored names of the glyph resources the stock kinds use.
inline constexpr char kOkGlyphResource[] = "OKGLYPH";

}  // namespace fw
