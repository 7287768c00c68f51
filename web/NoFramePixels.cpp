#include "FramePixels.h"

// A build without the view draws no frame.
bool FramePixelsAvailable() {
    return false;
}

std::unique_ptr<FramePixels> StartFramePixels(CSimulation&, int, int) {
    return nullptr;
}
