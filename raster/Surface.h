#pragma once

#include "Drawing.h"

// The messages of the six failure points below, the same for every surface.
namespace SurfaceMessages {

constexpr const char* BITMAP_CREATE = "ビットマップの作成に失敗しました。";
constexpr const char* BITMAP_DETACH = "ビットマップの切り放しに失敗しました。";
constexpr const char* BITMAP_SELECT = "ビットマップの割り当てに失敗しました。";
constexpr const char* BITMAP_DELETE = "ビットマップの解放に失敗しました。";
constexpr const char* MEMORY_DC_CREATE = "メモリデバイスコンテキストの作成に失敗しました。";
constexpr const char* MEMORY_DC_DELETE = "メモリデバイスコンテキストの解放に失敗しました。";

}  // namespace SurfaceMessages

// Exit codes of the six failure points in the life of an off-screen surface (a bitmap
// selected into a memory context).
struct SurfaceExitCodes {
    int detachBitmap;  // selecting the displaced bitmap back
    int deleteMemoryDC;
    int deleteBitmap;
    int createBitmap;
    int createMemoryDC;
    int selectBitmap;
};

// Makes a width x height bitmap and a memory context and selects the bitmap into it.
// Returns the bitmap it displaced, whose presence says the surface exists. Any failure
// ends the program with its message and code.
FrameBitmap* CreateSurface(MemoryDC& dc, FrameBitmap& bitmap, int width, int height,
                           const SurfaceExitCodes& codes);

// Releases the surface if `oldBitmap` says there is one. `oldBitmap` is cleared as soon as
// the context no longer holds the surface, so a surface is never released twice.
void ReleaseSurface(MemoryDC& dc, FrameBitmap& bitmap, FrameBitmap*& oldBitmap,
                    const SurfaceExitCodes& codes);
