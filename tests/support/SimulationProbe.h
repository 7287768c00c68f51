#pragma once

#include "Simulation.h"

// The model's private state for tests that set up a grid, a chosen cell or a parameter the
// public operations do not reach, or inspect what they do not show.
struct SimulationProbe {
    static int& Columns(CSimulation& sim) { return sim.m_nColumns; }
    static int& Rows(CSimulation& sim) { return sim.m_nRows; }
    static int& InitialTemperature(CSimulation& sim) { return sim.m_nInitialTemperature; }
    static double& ConvectionRatio(CSimulation& sim) { return sim.m_dConvectionRatio; }
    static int (&FlamePower(CSimulation& sim))[4] { return sim.m_nFlamePower; }

    static std::unique_ptr<CCellArray[]>& Grid(CSimulation& sim) { return sim.m_pGrid; }
    static std::unique_ptr<CCellArray[]>& Stage(CSimulation& sim) { return sim.m_pStage; }
    static const CCell& Staged(const CSimulation& sim, int row, int col) {
        return sim.m_pStage[row][col];
    }
    static std::unique_ptr<int[]>& BurnerHeat(CSimulation& sim) { return sim.m_pBurnerHeat; }

    static int& StepCol(CSimulation& sim) { return sim.m_nStepCol; }
    static int& StepRow(CSimulation& sim) { return sim.m_nStepRow; }
    static int NeighbourCount(const CSimulation& sim) { return sim.m_nNeighbourCount; }
};
