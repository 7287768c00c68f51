#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <QRect>
#include <functional>

#include "FatalTrap.h"
#include "Simulation.h"
#include "VesselView.h"

constexpr QRgb kBlack = RGB(0, 0, 0);
constexpr QRgb kWhite = RGB(255, 255, 255);
constexpr QRgb kGrey = RGB(130, 130, 130);
constexpr QRgb kRed = RGB(255, 0, 0);
constexpr QRgb kYellow = RGB(255, 255, 0);
constexpr QRgb kBubble = RGB(95, 180, 175);

inline QRgb Blue(int g) {
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

    QRgb Pixel(int x, int y) const { return view.FrameImage().pixel(x, y); }

    // Bounding box of the pixels that pass `match` inside `area` (inclusive QRect).
    QRect BoundsWhere(const QRect& area, const std::function<bool(QRgb)>& match) const {
        QRect box;
        const QRect clipped = area.intersected(view.FrameImage().rect());
        for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
            for (int x = clipped.left(); x <= clipped.right(); ++x) {
                if (match(Pixel(x, y))) {
                    box = box.united(QRect(x, y, 1, 1));
                }
            }
        }
        return box;
    }
    QRect BoundsOf(QRgb colour, const QRect& area) const {
        return BoundsWhere(area, [colour](QRgb c) { return c == colour; });
    }
    QRect BoundsOf(QRgb colour) const { return BoundsOf(colour, view.FrameImage().rect()); }

    // The inclusive QRect of a right- and bottom-exclusive pixel rectangle.
    static QRect Inclusive(int left, int top, int right, int bottom) {
        return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
    }

    void SetCell(int col, int row, double temperature, double heat, int phase) {
        sim.SetCell(row, col, CCell(temperature, heat, phase));
    }

    FatalTrap trap;
    CSimulation sim;
    CVesselView view{sim};
};
