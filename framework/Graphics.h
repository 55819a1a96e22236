// Fonts, colours and icons.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

namespace fw {

// A colour: 0x00BBGGRR, or a system colour index with the top bit set.
using TColor = long;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clWindowText = static_cast<TColor>(0x80000000 | COLOR_WINDOWTEXT);
inline constexpr TColor clBtnFace = static_cast<TColor>(0x80000000 | COLOR_BTNFACE);
COLORREF ColorToRGB(TColor color);

// A control's place: Left, Top, Width and Height as a description stores them.
struct TBounds {
    int left, top, width, height;
    // Takes one of the four stored properties; false for any other name.
    bool Apply(const std::string& name, int value) {
        if (name == "Left") left = value;
        else if (name == "Top") top = value;
        else if (name == "Width") width = value;
        else if (name == "Height") height = value;
        else return false;
        return true;
    }
};

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

class TFont {
public:
    TFont() = default;
    ~TFont();
    TFont(const TFont&) = delete;
    TFont& operator=(const TFont&) = delete;

    void Assign(const TFont& other);
    // Applies "Font.Name", "Font.Charset", ... from a stored description.
    bool SetProperty(const std::string& name, long long number, const char* text);

    TColor Color() const { return color_; }
    void SetColor(TColor color);
    const std::string& Name() const { return name_; }
    int Height() const { return height_; }
    unsigned Style() const { return style_; }
    int Charset() const { return charset_; }
    HFONT Handle();

    std::function<void()> OnChange;

private:
    void Changed(bool shapeChanged);

    std::string name_ = "MS Sans Serif";
    int charset_ = DEFAULT_CHARSET;
    int height_ = -11;
    TColor color_ = clWindowText;
    unsigned style_ = 0;
    HFONT handle_ = nullptr;
};

// An icon, kept as the resource it comes from until a handle is needed.
class TIcon {
public:
    TIcon() = default;
    ~TIcon();
    TIcon(const TIcon&) = delete;
    TIcon& operator=(const TIcon&) = delete;

    void LoadFromResourceName(HINSTANCE instance, const char* name);
    void Assign(const TIcon* other);  // nullptr makes the icon empty
    void SetHandle(HICON icon);       // takes ownership
    bool Empty() const { return !handle_ && resource_.empty(); }
    HICON Handle();  // made from the image data on first use

private:
    void Clear();
    HINSTANCE instance_ = nullptr;
    std::string resource_;
    HICON handle_ = nullptr;
};

}  // namespace fw
