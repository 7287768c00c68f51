#include "Surface.h"

#include "FatalError.h"

FrameBitmap* CreateSurface(MemoryDC& dc, FrameBitmap& bitmap, int width, int height,
                           const SurfaceExitCodes& codes) {
    if (!bitmap.Create(width, height)) {
        FatalError("ビットマップの作成に失敗しました。", codes.createBitmap);
    }
    if (!dc.Create()) {
        FatalError("メモリデバイスコンテキストの作成に失敗しました。", codes.createMemoryDC);
    }
    FrameBitmap* oldBitmap = dc.SelectBitmap(&bitmap);
    if (oldBitmap == nullptr) {
        FatalError("ビットマップの割り当てに失敗しました。", codes.selectBitmap);
    }
    return oldBitmap;
}

void ReleaseSurface(MemoryDC& dc, FrameBitmap& bitmap, FrameBitmap*& oldBitmap,
                    const SurfaceExitCodes& codes) {
    if (oldBitmap == nullptr) {
        return;
    }
    if (dc.SelectBitmap(oldBitmap) == nullptr) {
        FatalError("ビットマップの切り放しに失敗しました。", codes.detachBitmap);
    }
    oldBitmap = nullptr;
    if (!dc.Delete()) {
        FatalError("メモリデバイスコンテキストの解放に失敗しました。", codes.deleteMemoryDC);
    }
    if (!bitmap.Delete()) {
        FatalError("ビットマップの解放に失敗しました。", codes.deleteBitmap);
    }
}
