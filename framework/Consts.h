// The framework's own texts, shown to the user as they stand.
#pragma once

namespace fw::consts {

inline constexpr char kInvalidRegType[] = "'%s' のﾃﾞｰﾀ型が不正です";
inline constexpr char kRegCreateFailed[] = "ｷｰ %s の作成に失敗しました";
inline constexpr char kRegSetDataFailed[] = "'%s' の設定に失敗しました";
inline constexpr char kCannotShowModal[] = "表示されているｳｨﾝﾄﾞｳをﾓｰﾀﾞﾙにすることはできません";
inline constexpr char kNoTimers[] = "ﾀｲﾏｰが足りません";
inline constexpr char kOkButtonCaption[] = "OK";
inline constexpr char kLastResortCaption[] = "ｱﾌﾟﾘｹｰｼｮﾝ ｴﾗｰ";
// Filled with class name, module, address, message and the closing ".".
inline constexpr char kLastResortTemplate[] = "%sがﾓｼﾞｭｰﾙ %s の %s で発生しました。\n%s%s";

}  // namespace fw::consts
