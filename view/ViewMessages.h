#pragma once

// The messages the vessel view reports through FatalError, each naming the object and the
// action that failed. The exit codes are fixed at each call site.
namespace ViewMessages {

constexpr const char* BITMAP_DETACH = "ビットマップの切り放しに失敗しました。";
constexpr const char* MEMORY_DC_DELETE = "メモリデバイスコンテキストの解放に失敗しました。";
constexpr const char* BITMAP_DELETE = "ビットマップの解放に失敗しました。";
constexpr const char* BITMAP_CREATE = "ビットマップの作成に失敗しました。";
constexpr const char* MEMORY_DC_CREATE = "メモリデバイスコンテキストの作成に失敗しました。";
constexpr const char* BITMAP_SELECT = "ビットマップの割り当てに失敗しました。";

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
