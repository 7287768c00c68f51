#pragma once

// The messages the vessel view reports through FatalError, each naming the object and the
// action that failed. The exit codes are fixed at each call site.
namespace ViewMessages {

constexpr const char* REGION_CREATE = "リージョンの作成に失敗しました。";
constexpr const char* REGION_DELETE = "リージョンの解放に失敗しました。";
constexpr const char* POLYGON_CREATE = "多角形リージョンの作成に失敗しました。";
constexpr const char* POLYGON_DELETE = "多角形リージョンの解放に失敗しました。";

constexpr const char* BRUSH_CREATE = "ブラシの作成に失敗しました。";
constexpr const char* BRUSH_SELECT = "ブラシの選択に失敗しました。";
constexpr const char* BRUSH_UNSELECT = "ブラシの解除に失敗しました。";
constexpr const char* BRUSH_DETACH = "ブラシの取り外しに失敗しました。";
constexpr const char* BRUSH_DELETE = "ブラシの解放に失敗しました。";

constexpr const char* PEN_CREATE = "ペンの作成に失敗しました。";
constexpr const char* PEN_SELECT = "ペンの選択に失敗しました。";
constexpr const char* PEN_UNSELECT = "ペンの解除に失敗しました。";
constexpr const char* PEN_DETACH = "ペンの取り外しに失敗しました。";
constexpr const char* PEN_DELETE = "ペンの解放に失敗しました。";

}  // namespace ViewMessages
