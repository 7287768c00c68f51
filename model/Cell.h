#pragma once

#include <vector>

enum : int { PHASE_LIQUID = 1, PHASE_VAPOUR = -1 };

// One cell of the vessel: temperature in degrees C, heat in cal and phase.
// Cells are read out of a grid as copies, changed and stored back whole.
class CCell {
public:
    CCell() = default;
    CCell(double temperature, double heat, int phase)
        : m_dTemperature(temperature), m_dHeat(heat), m_nPhase(phase) {}
    CCell(const CCell&) = default;
    CCell& operator=(const CCell&) = default;
    virtual ~CCell() = default;

    bool operator==(const CCell& other) const {
        return m_dTemperature == other.m_dTemperature && m_dHeat == other.m_dHeat &&
               m_nPhase == other.m_nPhase;
    }

    double m_dTemperature = 0.0;
    double m_dHeat = 0.0;
    int m_nPhase = 0;  // PHASE_LIQUID, PHASE_VAPOUR, or 0 before the grid is filled
};

// One row of a grid, sized once to the number of columns.
using CCellArray = std::vector<CCell>;
