#include "Images.h"

namespace fw {

SIZE TImage::IconDrawSize() { return {GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)}; }

void TImage::PictureChanged() {
    if (AutoSize && !Picture.Empty() && !(ComponentState() & csLoading)) {
        SIZE size = IconDrawSize();
        SetBounds(Left(), Top(), size.cx, size.cy);
    }
    Invalidate(true);
}

void TImage::Loaded() {
    TGraphicControl::Loaded();
    PictureChanged();
}

void TImage::Paint(HDC dc) {
    HICON icon = Picture.Handle();
    if (!icon) return;
    SIZE size = IconDrawSize();
    DrawIconEx(dc, Left(), Top(), icon, size.cx, size.cy, 0, nullptr, DI_NORMAL);
}

void TImage::SetProperty(const std::string& name, const PropValue& value) {
    if (name == "Picture.Data") {
        Picture.LoadFromResourceName(GetModuleHandleA(nullptr), value.text);
        PictureChanged();
    } else if (name == "AutoSize") {
        AutoSize = value.number != 0;
        PictureChanged();
    } else {
        TGraphicControl::SetProperty(name, value);
    }
}

}  // namespace fw
