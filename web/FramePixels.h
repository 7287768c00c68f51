#pragma once

#include <cstdio>
#include <memory>

class CSimulation;

// The vessel view's frame as the runner draws its picture: made for the client size after a
// fresh start, with no selection or hover outline and no info panel, then patched by every
// redraw of the run.
class FramePixels {
public:
    virtual ~FramePixels() = default;
    // Writes the frame (the view's part of the client area, as the runner's picture shows
    // it) row by row from the top, three bytes R, G, B a pixel. False when a write fails,
    // with errno telling why.
    virtual bool Write(std::FILE* stream) const = 0;
};

// Whether this build draws frames: only where the view is part of the engine build.
bool FramePixelsAvailable();
// Draws the frame for a client area of width x height and attaches it to the simulation as
// its redraw observer. Null where FramePixelsAvailable() is false.
std::unique_ptr<FramePixels> StartFramePixels(CSimulation& simulation, int width, int height);
