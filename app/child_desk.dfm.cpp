// The background host as designed.
#include "child_desk.h"

using namespace fw::desc;

const fw::DescriptionItem kDeskDescription[] = {
    Object("Tdesk", "desk"),
        Prop("Left", 623),
        Prop("Top", 274),
        Prop("ClientWidth", 274),
        Prop("ClientHeight", 289),
        Prop("BorderStyle", static_cast<int>(fw::bsNone)),
        Prop("Caption", "desk"),
        Prop("Font.Charset", SHIFTJIS_CHARSET),
        Prop("Font.Color", fw::clWindowText),
        Prop("Font.Height", -12),
        Prop("Font.Name", "ＭＳ Ｐゴシック"),
        Prop("Font.Style", 0),
        Ref("PopupMenu", "PopupMenu1"),
        Prop("PixelsPerInch", 96),
        Prop("TextHeight", 12),
        Object("TPopupMenu", "PopupMenu1"),
            Object("TMenuItem", "Exit1"),
                Prop("Caption", "終了"),
                Event("OnClick", "Exit1Click"),
            End(),
        End(),
        Object("TTimer", "Timer1"),
            Prop("Interval", 100),
            Event("OnTimer", "Timer1Timer"),
        End(),
    End(),
};
