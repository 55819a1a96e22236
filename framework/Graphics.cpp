#include "Graphics.h"

#include <cstring>

namespace fw {

COLORREF ColorToRGB(TColor color) {
    if (color < 0) return GetSysColor(static_cast<int>(color & 0xFF));
    return static_cast<COLORREF>(color);
}

TFont::~TFont() {
    if (handle_) DeleteObject(handle_);
}

void TFont::Assign(const TFont& other) {
    name_ = other.name_;
    charset_ = other.charset_;
    height_ = other.height_;
    color_ = other.color_;
    style_ = other.style_;
    Changed(true);
}

bool TFont::SetProperty(const std::string& name, long long number, const char* text) {
    if (name == "Font.Name")
        name_ = text;
    else if (name == "Font.Charset")
        charset_ = static_cast<int>(number);
    else if (name == "Font.Height")
        height_ = static_cast<int>(number);
    else if (name == "Font.Color")
        color_ = static_cast<TColor>(number);
    else if (name == "Font.Style")
        style_ = static_cast<unsigned>(number);
    else
        return false;
    Changed(name != "Font.Color");
    return true;
}

void TFont::SetColor(TColor color) {
    if (color == color_) return;
    color_ = color;
    Changed(false);
}

HFONT TFont::Handle() {
    if (!handle_) {
        LOGFONTA font = {};
        font.lfHeight = height_;
        font.lfWeight = (style_ & fsBold) ? FW_BOLD : FW_NORMAL;
        font.lfItalic = (style_ & fsItalic) != 0;
        font.lfUnderline = (style_ & fsUnderline) != 0;
        font.lfStrikeOut = (style_ & fsStrikeOut) != 0;
        font.lfCharSet = static_cast<BYTE>(charset_);
        font.lfQuality = DEFAULT_QUALITY;
        lstrcpynA(font.lfFaceName, name_.c_str(), LF_FACESIZE);
        handle_ = CreateFontIndirectA(&font);
    }
    return handle_;
}

void TFont::Changed(bool shapeChanged) {
    if (shapeChanged && handle_) {
        DeleteObject(handle_);
        handle_ = nullptr;
    }
    if (OnChange) OnChange();
}

TIcon::~TIcon() { Clear(); }

void TIcon::Clear() {
    if (handle_) DestroyIcon(handle_);
    handle_ = nullptr;
    resource_.clear();
    instance_ = nullptr;
}

void TIcon::LoadFromResourceName(HINSTANCE instance, const char* name) {
    Clear();
    instance_ = instance;
    resource_ = name;
}

void TIcon::Assign(const TIcon* other) {
    if (other == this) return;
    Clear();
    if (!other) return;
    instance_ = other->instance_;
    resource_ = other->resource_;
    if (other->handle_) handle_ = CopyIcon(other->handle_);
}

void TIcon::SetHandle(HICON icon) {
    Clear();
    handle_ = icon;
}

HICON TIcon::Handle() {
    if (!handle_ && !resource_.empty())
        // The picture's own size: the 16 x 16 tray icon must not be scaled up.
        handle_ = static_cast<HICON>(LoadImageA(instance_, resource_.c_str(), IMAGE_ICON, 0, 0, 0));
    return handle_;
}

}  // namespace fw
