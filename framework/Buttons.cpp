#include "Buttons.h"

#include <algorithm>

#include "Consts.h"

namespace fw {

// --- TButton -------------------------------------------------------------------

void TButton::SetCaption(const std::string& caption) {
    caption_ = caption;
    if (HandleAllocated()) SetWindowTextA(Handle(), caption_.c_str());
}

void TButton::Click() {
    if (Parent()) Parent()->ModalResult = ModalResult;
    if (OnClick) OnClick(this);
}

bool TButton::DialogKey(UINT key) {
    if ((key == VK_RETURN && Default) || (key == VK_ESCAPE && Cancel)) {
        Click();
        return true;
    }
    return false;
}

bool TButton::ParentNotify(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        Click();
        result = 0;
        return true;
    }
    return false;
}

void TButton::CreateParams(TControlParams& params) {
    params.ClassName = "BUTTON";
    params.Caption = caption_;
    params.Style = Default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

LRESULT TButton::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // A quick second click is a click like the first, not a double-click
    // the button would report instead.
    if (message == WM_LBUTTONDBLCLK) message = WM_LBUTTONDOWN;
    return TWinControl::WndProc(message, wParam, lParam);
}

void TButton::SetProperty(const std::string& name, const PropValue& value) {
    if (name == "Caption")
        SetCaption(value.text);
    else if (name == "Default")
        Default = value.number != 0;
    else if (name == "Cancel")
        Cancel = value.number != 0;
    else if (name == "ModalResult")
        ModalResult = static_cast<int>(value.number);
    else
        TWinControl::SetProperty(name, value);
}

void TButton::SetEvent(const std::string& name, const TMethod& handler) {
    if (name == "OnClick")
        OnClick = NotifyFrom(handler);
    else
        TWinControl::SetEvent(name, handler);
}

// --- TBitBtn -------------------------------------------------------------------

TBitBtn::~TBitBtn() {
    if (glyph_) DeleteObject(glyph_);
}

void TBitBtn::SetKind(TBitBtnKind kind) {
    kind_ = kind;
    if (kind != bkOK) return;
    SetCaption(consts::kOkButtonCaption);
    LoadGlyph(GetModuleHandleA(nullptr), kOkGlyphResource);
    NumGlyphs = 2;
    ModalResult = mrOk;
    Default = true;
    Cancel = false;
}

void TBitBtn::LoadGlyph(HINSTANCE instance, const char* resource) {
    if (glyph_) DeleteObject(glyph_);
    // A program without the resource gets a button without a glyph.
    glyph_ = LoadBitmapA(instance, resource);
    Invalidate();
}

void TBitBtn::CreateParams(TControlParams& params) {
    TButton::CreateParams(params);
    params.Style = BS_OWNERDRAW;
}

bool TBitBtn::ParentNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_DRAWITEM) {
        DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        result = TRUE;
        return true;
    }
    return TButton::ParentNotify(message, wParam, lParam, result);
}

void TBitBtn::DrawItem(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    RECT frame = item.rcItem;
    bool down = item.itemState & ODS_SELECTED;
    bool focused = item.itemState & ODS_FOCUS;
    bool disabled = item.itemState & ODS_DISABLED;

    // The default button wears a black outline.
    bool outlined = Default || focused;
    if (outlined) {
        FrameRect(dc, &frame, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        InflateRect(&frame, -1, -1);
    }
    if (down && outlined) {
        // Pressed inside the outline: flat, with a shadow line.
        FrameRect(dc, &frame, GetSysColorBrush(COLOR_BTNSHADOW));
        InflateRect(&frame, -1, -1);
        FillRect(dc, &frame, GetSysColorBrush(COLOR_BTNFACE));
    } else {
        DrawFrameControl(dc, &frame, DFC_BUTTON, DFCS_BUTTONPUSH | (down ? DFCS_PUSHED : 0));
    }

    // Glyph and caption side by side, centred together; pressed, they sink
    // by a pixel.
    HGDIOBJ oldFont = Parent() ? SelectObject(dc, Parent()->Font.Handle()) : nullptr;
    const std::string& caption = Caption();
    SIZE text = {0, 0};
    if (!caption.empty()) GetTextExtentPoint32A(dc, caption.c_str(), static_cast<int>(caption.size()), &text);
    int glyphWidth = 0, glyphHeight = 0;
    if (glyph_) {
        BITMAP info;
        GetObjectA(glyph_, sizeof info, &info);
        glyphWidth = info.bmWidth / std::max(1, NumGlyphs);
        glyphHeight = info.bmHeight;
    }
    int gap = (glyphWidth && text.cx) ? Spacing : 0;
    int width = item.rcItem.right - item.rcItem.left, height = item.rcItem.bottom - item.rcItem.top;
    int shift = down ? 1 : 0;
    int x = item.rcItem.left + (width - (glyphWidth + gap + text.cx)) / 2 + shift;
    if (glyph_) {
        int index = (disabled && NumGlyphs > 1) ? 1 : 0;
        DrawGlyph(dc, x, item.rcItem.top + (height - glyphHeight) / 2 + shift, index);
    }
    if (text.cx) {
        int textX = x + glyphWidth + gap, textY = item.rcItem.top + (height - text.cy) / 2 + shift;
        SetBkMode(dc, TRANSPARENT);
        int length = static_cast<int>(caption.size());
        if (disabled) {
            // Engraved, as disabled captions are.
            SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
            TextOutA(dc, textX + 1, textY + 1, caption.c_str(), length);
            SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
        } else {
            SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        }
        TextOutA(dc, textX, textY, caption.c_str(), length);
    }
    if (oldFont) SelectObject(dc, oldFont);

    if (focused && !(item.itemState & ODS_NOFOCUSRECT)) {
        RECT focus = item.rcItem;
        InflateRect(&focus, -4, -4);
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, RGB(255, 255, 255));
        DrawFocusRect(dc, &focus);
    }
}

void TBitBtn::DrawGlyph(HDC dc, int x, int y, int index) {
    BITMAP info;
    GetObjectA(glyph_, sizeof info, &info);
    int width = info.bmWidth / std::max(1, NumGlyphs), height = info.bmHeight;
    int sourceX = index * width;

    HDC image = CreateCompatibleDC(dc);
    HGDIOBJ oldImage = SelectObject(image, glyph_);
    // Mask: white where the image has the see-through colour.
    HDC mask = CreateCompatibleDC(dc);
    HBITMAP maskBitmap = CreateBitmap(width, height, 1, 1, nullptr);
    HGDIOBJ oldMask = SelectObject(mask, maskBitmap);
    SetBkColor(image, GetPixel(image, 0, height - 1));
    BitBlt(mask, 0, 0, width, height, image, sourceX, 0, SRCCOPY);

    // Image XOR screen, cut out where the mark is, XOR image again: the
    // screen shows through, the mark is drawn as it is.
    COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
    BitBlt(dc, x, y, width, height, image, sourceX, 0, SRCINVERT);
    BitBlt(dc, x, y, width, height, mask, 0, 0, SRCAND);
    BitBlt(dc, x, y, width, height, image, sourceX, 0, SRCINVERT);
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBack);

    SelectObject(mask, oldMask);
    DeleteObject(maskBitmap);
    DeleteDC(mask);
    SelectObject(image, oldImage);
    DeleteDC(image);
}

void TBitBtn::SetProperty(const std::string& name, const PropValue& value) {
    if (name == "Kind")
        SetKind(static_cast<TBitBtnKind>(value.number));
    else if (name == "NumGlyphs")
        NumGlyphs = static_cast<int>(value.number);
    else if (name == "Spacing")
        Spacing = static_cast<int>(value.number);
    else if (name == "Glyph.Data")
        LoadGlyph(GetModuleHandleA(nullptr), value.text);
    else
        TButton::SetProperty(name, value);
}

}  // namespace fw
