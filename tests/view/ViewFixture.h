#pragma once

#include <gtest/gtest.h>

#include <functional>

#include "FatalTrap.h"
#include "PixelBox.h"
#include "Simulation.h"
#include "VesselView.h"

constexpr Rgb kBlack = RGB(0, 0, 0);
constexpr Rgb kWhite = RGB(255, 255, 255);
constexpr Rgb kGrey = RGB(130, 130, 130);
constexpr Rgb kRed = RGB(255, 0, 0);
constexpr Rgb kYellow = RGB(255, 255, 0);
constexpr Rgb kBubble = RGB(95, 180, 175);

inline Rgb Blue(int g) {
    return RGB(g, g, 255);
}

// A default 20 x 20 run at 15 C in the 640 x 480 client area (a 640 x 439 frame), with
// the selection on the centre cell as after a start, and a fatal handler that throws.
class ViewTest : public ::testing::Test {
protected:
    void SetUp() override { Start(20, 20, 640, 480); }

    // A fresh grid of columns x rows in a client area of cx x cy, fully drawn.
    void Start(int columns, int rows, int cx, int cy) {
        SimulationSettings settings;
        settings.columns = columns;
        settings.rows = rows;
        sim.FreshStart(settings);
        view.CentreInspection();
        view.CreateFrame(cx, cy);
        view.FullRebuild(true);
    }

    Rgb Pixel(int x, int y) const { return view.Frame().Pixel(x, y); }

    // Bounding box of the pixels that pass `match` inside `area` (inclusive PixelBox).
    PixelBox BoundsWhere(const PixelBox& area, const std::function<bool(Rgb)>& match) const {
        PixelBox box;
        const PixelBox clipped = area.intersected(PixelBox::Of(view.Frame()));
        for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
            for (int x = clipped.left(); x <= clipped.right(); ++x) {
                if (match(Pixel(x, y))) {
                    box = box.united(PixelBox(x, y, 1, 1));
                }
            }
        }
        return box;
    }
    PixelBox BoundsOf(Rgb colour, const PixelBox& area) const {
        return BoundsWhere(area, [colour](Rgb c) { return c == colour; });
    }
    PixelBox BoundsOf(Rgb colour) const { return BoundsOf(colour, PixelBox::Of(view.Frame())); }

    // The inclusive PixelBox of a right- and bottom-exclusive pixel rectangle.
    static PixelBox Inclusive(int left, int top, int right, int bottom) {
        return PixelBox(Point{left, top}, Point{right - 1, bottom - 1});
    }

    void SetCell(int col, int row, double temperature, double heat, int phase) {
        sim.SetCell(row, col, CCell(temperature, heat, phase));
    }

    FatalTrap trap;
    CSimulation sim;
    CVesselView view{sim};
};
