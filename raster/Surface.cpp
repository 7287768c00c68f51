#include "Surface.h"

#include "FatalError.h"

FrameBitmap* CreateSurface(MemoryDC& dc, FrameBitmap& bitmap, int width, int height,
                           const SurfaceExitCodes& codes) {
    if (!bitmap.Create(width, height)) {
        FatalError(SurfaceMessages::BITMAP_CREATE, codes.createBitmap);
    }
    if (!dc.Create()) {
        FatalError(SurfaceMessages::MEMORY_DC_CREATE, codes.createMemoryDC);
    }
    FrameBitmap* oldBitmap = dc.SelectBitmap(&bitmap);
    if (oldBitmap == nullptr) {
        FatalError(SurfaceMessages::BITMAP_SELECT, codes.selectBitmap);
    }
    return oldBitmap;
}

void ReleaseSurface(MemoryDC& dc, FrameBitmap& bitmap, FrameBitmap*& oldBitmap,
                    const SurfaceExitCodes& codes) {
    if (oldBitmap == nullptr) {
        return;
    }
    if (dc.SelectBitmap(oldBitmap) == nullptr) {
        FatalError(SurfaceMessages::BITMAP_DETACH, codes.detachBitmap);
    }
    oldBitmap = nullptr;
    if (!dc.Delete()) {
        FatalError(SurfaceMessages::MEMORY_DC_DELETE, codes.deleteMemoryDC);
    }
    if (!bitmap.Delete()) {
        FatalError(SurfaceMessages::BITMAP_DELETE, codes.deleteBitmap);
    }
}
