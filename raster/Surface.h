#pragma once

#include "Drawing.h"

// Exit codes of the six failure points in the life of an off-screen surface (a bitmap
// selected into a memory context). The messages are the same for every surface.
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
