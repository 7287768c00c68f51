#include "Soundness.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "Simulation.h"

namespace {
// Cooling coefficients up to this one leave the inner cells as the tightest bound.
constexpr double INNER_CELL_COOLING = 2.0;
}  // namespace

double MaxStableConduction(double cooling) {
    return 1.0 / (4.0 + 2.0 * std::max(cooling, INNER_CELL_COOLING));
}

double MaxStableCooling(double conduction) {
    if (conduction == 0.0) {
        return std::numeric_limits<double>::infinity();
    }
    return (1.0 / conduction - 4.0) / 2.0;
}

bool StableCoefficients(double conduction, double cooling) {
    // Written so that a NaN fails every comparison and counts as unstable.
    return conduction >= 0.0 && cooling >= 0.0 &&
           conduction * (4.0 + 2.0 * std::max(cooling, INNER_CELL_COOLING)) <= 1.0;
}

unsigned SettingsConcerns(const SimulationSettings& s) {
    unsigned concerns = 0;
    if (!StableCoefficients(s.conductionCoefficient, s.coolingCoefficient)) {
        concerns |= CONCERN_UNSTABLE_COEFFICIENTS;
    }
    // Any level may be chosen during the run, so every power counts.
    if (s.strongFlamePower < 0 || s.mediumFlamePower < 0 || s.weakFlamePower < 0) {
        concerns |= CONCERN_NEGATIVE_FLAME_POWER;
    }
    if (s.roomTemperature < MIN_SOUND_ROOM_TEMPERATURE) {
        concerns |= CONCERN_ROOM_BELOW_ABSOLUTE_ZERO;
    }
    return concerns;
}

bool IsPhysicalCell(const CCell& cell) {
    return std::isfinite(cell.m_dTemperature) && std::isfinite(cell.m_dHeat) &&
           cell.m_dTemperature >= ABSOLUTE_ZERO && cell.m_dHeat >= ABSOLUTE_ZERO;
}

int UnphysicalCellCount(const CSimulation& simulation) {
    if (!simulation.HasGrid()) {
        return 0;
    }
    int count = 0;
    for (int row = 0; row < simulation.Rows(); ++row) {
        for (int col = 0; col < simulation.Columns(); ++col) {
            count += IsPhysicalCell(simulation.Cell(row, col)) ? 0 : 1;
        }
    }
    return count;
}
