#pragma once

#include <QImage>

#include "PixelBuffer.h"

// The pixels as a desktop image that shares their memory (no copy): valid while the
// buffer keeps its pixels; a null image for an empty buffer. The image is read-only: a
// change to it makes it a copy of its own.
QImage FrameImageOf(const PixelBuffer& pixels);
