#include "FramePixels.h"

#include <cstdint>
#include <vector>

#include "Simulation.h"
#include "VesselView.h"

namespace {

class ViewFramePixels : public FramePixels {
public:
    ViewFramePixels(CSimulation& simulation, int width, int height) : m_view(simulation) {
        m_view.ClearSelection();
        m_view.CreateFrame(width, height);
        m_view.FullRebuild(true);
        simulation.SetRedrawObserver(&m_view);
    }

    bool Write(std::FILE* stream) const override {
        const int width = m_view.Frame().Width();
        const int height = m_view.Frame().Height();
        std::vector<unsigned char> line(static_cast<std::size_t>(width) * 3);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const std::uint32_t pixel = m_view.PixelAt(x, y);  // 0xAARRGGBB
                unsigned char* rgb = &line[static_cast<std::size_t>(x) * 3];
                rgb[0] = static_cast<unsigned char>(pixel >> 16);
                rgb[1] = static_cast<unsigned char>(pixel >> 8);
                rgb[2] = static_cast<unsigned char>(pixel);
            }
            if (std::fwrite(line.data(), 1, line.size(), stream) != line.size()) {
                return false;
            }
        }
        return true;
    }

private:
    CVesselView m_view;
};

}  // namespace

bool FramePixelsAvailable() {
    return true;
}

std::unique_ptr<FramePixels> StartFramePixels(CSimulation& simulation, int width, int height) {
    return std::make_unique<ViewFramePixels>(simulation, width, height);
}
