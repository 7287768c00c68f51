#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "Simulation.h"

// One "redraw" reported by the model.
struct RedrawEvent {
    int row;
    int col;
    CCell cell;
    bool operator==(const RedrawEvent& o) const {
        return row == o.row && col == o.col && cell == o.cell;
    }
};

inline void PrintTo(const RedrawEvent& e, std::ostream* os) {
    *os << "(" << e.row << "," << e.col << ": T=" << e.cell.m_dTemperature
        << " Q=" << e.cell.m_dHeat << " P=" << e.cell.m_nPhase << ")";
}

class RecordingObserver : public CellRedrawObserver {
public:
    void DrawCell(const CCell& cell, int col, int row) override {
        events.push_back({row, col, cell});
    }
    std::vector<std::pair<int, int>> Positions() const {
        std::vector<std::pair<int, int>> out;
        for (const auto& e : events) {
            out.emplace_back(e.row, e.col);
        }
        return out;
    }
    std::vector<RedrawEvent> events;
};

// A fresh default run (20 x 20 at 15 C, ends weak, centre medium) with a recorder attached.
class SimulationTest : public ::testing::Test {
protected:
    void SetUp() override { Fresh(); }

    void Fresh(int columns = 20, int rows = 20, int initialTemperature = 15) {
        SimulationSettings settings;
        settings.columns = columns;
        settings.rows = rows;
        settings.initialTemperature = initialTemperature;
        Fresh(settings);
    }
    void Fresh(const SimulationSettings& settings) {
        sim.FreshStart(settings);
        sim.SetRedrawObserver(&observer);
        observer.events.clear();
    }

    void SetLive(int row, int col, double temperature, double heat, int phase = PHASE_LIQUID) {
        sim.SetCell(row, col, CCell(temperature, heat, phase));
    }
    void SetStage(int row, int col, double temperature, double heat) {
        sim.SetStagedCell(row, col, CCell(temperature, heat, PHASE_LIQUID));
    }
    const CCell& Live(int row, int col) const { return sim.Cell(row, col); }
    const CCell& Stage(int row, int col) const { return sim.StagedCell(row, col); }
    // Where the last tick's update ended: the chosen cell is always redrawn last.
    std::pair<int, int> LastRedrawn() const {
        if (observer.events.empty()) {
            return {-1, -1};
        }
        return {observer.events.back().row, observer.events.back().col};
    }

    CSimulation sim;
    RecordingObserver observer;
};
