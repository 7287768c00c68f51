#include "Simulation.h"

#include <chrono>
#include <cmath>
#include <cstring>

#include "Numbers.h"

const char* const ENDS_CAPTION_OFF = "消火(両端)";
const char* const ENDS_CAPTION_STRONG = "強火(両端)";
const char* const ENDS_CAPTION_MEDIUM = "中火(両端)";
const char* const ENDS_CAPTION_WEAK = "弱火(両端)";
const char* const CENTRE_CAPTION_OFF = "消火(中央)";
const char* const CENTRE_CAPTION_STRONG = "強火(中央)";
const char* const CENTRE_CAPTION_MEDIUM = "中火(中央)";
const char* const CENTRE_CAPTION_WEAK = "弱火(中央)";

const FlameCycleEntry ENDS_FLAME_CYCLE[4] = {
    {ENDS_CAPTION_OFF, FLAME_OFF, ENDS_CAPTION_STRONG},
    {ENDS_CAPTION_STRONG, FLAME_STRONG, ENDS_CAPTION_MEDIUM},
    {ENDS_CAPTION_MEDIUM, FLAME_MEDIUM, ENDS_CAPTION_WEAK},
    {ENDS_CAPTION_WEAK, FLAME_WEAK, ENDS_CAPTION_OFF},
};
const FlameCycleEntry CENTRE_FLAME_CYCLE[4] = {
    {CENTRE_CAPTION_OFF, FLAME_OFF, CENTRE_CAPTION_STRONG},
    {CENTRE_CAPTION_STRONG, FLAME_STRONG, CENTRE_CAPTION_MEDIUM},
    {CENTRE_CAPTION_MEDIUM, FLAME_MEDIUM, CENTRE_CAPTION_WEAK},
    {CENTRE_CAPTION_WEAK, FLAME_WEAK, CENTRE_CAPTION_OFF},
};

namespace {
// The decimal literal, deliberately not the full-precision value of pi.
constexpr double BURNER_PI = 3.1415926535;
}  // namespace

CSimulation::CSimulation()
    : m_pszEndsButtonText(ENDS_CAPTION_OFF), m_pszCentreButtonText(CENTRE_CAPTION_WEAK) {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    SetSeed(static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
}

void CSimulation::TakeFreshSettings(const SimulationSettings& settings) {
    m_nInitialTemperature = settings.initialTemperature;
    m_nColumns = settings.columns;
    m_nRows = settings.rows;
    TakeContinuedSettings(settings);
}

void CSimulation::TakeContinuedSettings(const SimulationSettings& settings) {
    m_dConvectionRatio = settings.convectionRatio;
    m_dConductionCoefficient = settings.conductionCoefficient;
    m_dCoolingCoefficient = settings.coolingCoefficient;
    m_nRoomTemperature = settings.roomTemperature;
    m_nFlamePower[FLAME_STRONG] = settings.strongFlamePower;
    m_nFlamePower[FLAME_MEDIUM] = settings.mediumFlamePower;
    m_nFlamePower[FLAME_WEAK] = settings.weakFlamePower;
    m_nStepInterval = settings.stepIntervalMs;
}

SimulationSettings CSimulation::CurrentSettings(int historyInterval) const {
    SimulationSettings s;
    s.initialTemperature = m_nInitialTemperature;
    s.convectionRatio = m_dConvectionRatio;
    s.conductionCoefficient = m_dConductionCoefficient;
    s.coolingCoefficient = m_dCoolingCoefficient;
    s.roomTemperature = m_nRoomTemperature;
    s.strongFlamePower = m_nFlamePower[FLAME_STRONG];
    s.mediumFlamePower = m_nFlamePower[FLAME_MEDIUM];
    s.weakFlamePower = m_nFlamePower[FLAME_WEAK];
    s.stepIntervalMs = m_nStepInterval;
    s.columns = m_nColumns;
    s.rows = m_nRows;
    s.historyInterval = historyInterval;
    return s;
}

void CSimulation::CreateGrid() {
    m_pGrid.reset();
    m_pStage.reset();
    m_pGrid = std::make_unique<CCellArray[]>(static_cast<std::size_t>(m_nRows));
    m_pStage = std::make_unique<CCellArray[]>(static_cast<std::size_t>(m_nRows));
    for (int row = 0; row < m_nRows; ++row) {
        m_pGrid[row].resize(static_cast<std::size_t>(m_nColumns));
        m_pStage[row].resize(static_cast<std::size_t>(m_nColumns));
    }
    m_pBurnerHeat.reset();
    m_pBurnerHeat = std::make_unique<int[]>(static_cast<std::size_t>(m_nColumns));

    // Water at exactly 100 C starts with 5 cal of latent heat already gathered.
    const CCell initial(m_nInitialTemperature,
                        m_nInitialTemperature == 100 ? 105.0 : m_nInitialTemperature, PHASE_LIQUID);
    for (int col = 0; col < m_nColumns; ++col) {
        for (int row = 0; row < m_nRows; ++row) {
            m_pGrid[row][col] = initial;
            m_pStage[row][col] = initial;
        }
    }
}

void CSimulation::Step() {
    ComputeAverages();
    m_nStepCol = static_cast<int>(m_rng() % static_cast<std::uint32_t>(m_nColumns));
    m_nStepRow = static_cast<int>(m_rng() % static_cast<std::uint32_t>(m_nRows));
    UpdateStepCell();
}

void CSimulation::StepCell(int col, int row) {
    ComputeAverages();
    m_nStepCol = col;
    m_nStepRow = row;
    UpdateStepCell();
}

void CSimulation::UpdateStepCell() {
    if (m_nStepRow < m_nRows - 1) {
        StepInteriorCell();
    } else {
        HeatBottomCell();
    }
}

void CSimulation::ComputeAverages() {
    // Summed column by column, each column from the surface down: the order fixes the
    // rounding of the sums and so the reproduced run.
    double temperatureSum = 0.0;
    double heatSum = 0.0;
    for (int col = 0; col < m_nColumns; ++col) {
        for (int row = 0; row < m_nRows; ++row) {
            const CCell& cell = m_pGrid[row][col];
            temperatureSum += cell.m_dTemperature;
            heatSum += cell.m_dHeat;
        }
    }
    const double count = static_cast<double>(m_nColumns * m_nRows);
    m_nAverageTemperature = TruncToInt(temperatureSum / count + 0.5);
    m_nAverageHeat = TruncToInt(heatSum / count + 0.5);
}

void CSimulation::HeatBottomCell() {
    const int row = m_nRows - 1;
    const int col = m_nStepCol;
    CCell cell = m_pGrid[row][col];
    cell.m_dHeat = cell.m_dHeat + m_pBurnerHeat[col];
    cell.m_dTemperature = cell.m_dHeat;
    m_pGrid[row][col] = cell;

    cell = m_pGrid[row][col];
    if (cell.m_dTemperature > BOILING_POINT) {
        cell.m_dTemperature = BOILING_POINT;
        m_pGrid[row][col] = cell;
    }

    cell = m_pGrid[row][col];
    if (cell.m_dHeat < VAPOUR_HEAT) {
        cell.m_nPhase = PHASE_LIQUID;
    } else {
        cell.m_nPhase = PHASE_VAPOUR;
        cell.m_dHeat = VAPOUR_HEAT;
    }
    m_pGrid[row][col] = cell;

    Redraw(row, col);
    StageCell();
}

void CSimulation::StageCell() {
    const int row = m_nStepRow;
    const int col = m_nStepCol;
    // The staged temperature lags one staging behind: it is the previously staged heat.
    CCell staged = m_pStage[row][col];
    staged.m_dTemperature = staged.m_dHeat;
    staged.m_dHeat = m_pGrid[row][col].m_dHeat;
    m_pStage[row][col] = staged;
    if (staged.m_dTemperature > BOILING_POINT) {
        staged.m_dTemperature = BOILING_POINT;
        m_pStage[row][col] = staged;
    }
    ConductCell();
}

void CSimulation::ConductCell() {
    const int row = m_nStepRow;
    const int col = m_nStepCol;
    const CCell& staged = m_pStage[row][col];
    const double stagedTemperature = staged.m_dTemperature;  // D
    const double stagedHeat = staged.m_dHeat;                // H

    CCell cell = m_pGrid[row][col];
    if (cell.m_nPhase == PHASE_VAPOUR) {
        // A bubble exchanges no heat and is not cooled: it takes over its staged values.
        cell.m_dHeat = stagedHeat;
        cell.m_dTemperature = stagedTemperature;
        m_pGrid[row][col] = cell;
        if (cell.m_dHeat >= VAPOUR_HEAT) {
            cell.m_nPhase = PHASE_VAPOUR;
            cell.m_dHeat = VAPOUR_HEAT;
            m_pGrid[row][col] = cell;
        }
        Redraw(row, col);
        return;
    }

    double flowSum = 0.0;  // S
    auto exchange = [&](int nRow, int nCol) {
        CCell neighbour = m_pGrid[nRow][nCol];
        const int weight = neighbour.m_nPhase + 1;  // 2 for liquid, 0 for vapour
        const double flow = (neighbour.m_dTemperature - stagedTemperature) * weight;
        neighbour.m_dHeat = neighbour.m_dHeat - m_dConductionCoefficient * flow;
        m_pGrid[nRow][nCol] = neighbour;
        Redraw(nRow, nCol);
        flowSum = flowSum + flow;
    };
    if (row < m_nRows - 1) {
        exchange(row + 1, col);
    }
    if (row > 0) {
        exchange(row - 1, col);
    }
    if (col > 0) {
        exchange(row, col - 1);
    }
    if (col < m_nColumns - 1) {
        exchange(row, col + 1);
    }
    if (col == 0 || col == m_nColumns - 1) {
        flowSum = flowSum - (stagedTemperature - m_nRoomTemperature) * m_dCoolingCoefficient;
    }
    if (row == 0 || row == m_nRows - 1) {
        flowSum = flowSum - (stagedTemperature - m_nRoomTemperature) * m_dCoolingCoefficient;
    }

    cell = m_pGrid[row][col];
    const double updated = m_dConductionCoefficient * flowSum + stagedHeat;
    cell.m_dTemperature = updated;
    cell.m_dHeat = updated;
    m_pGrid[row][col] = cell;
    if (cell.m_dTemperature > BOILING_POINT) {
        cell.m_dTemperature = BOILING_POINT;
        m_pGrid[row][col] = cell;
    }
    if (cell.m_dHeat >= VAPOUR_HEAT) {
        cell.m_nPhase = PHASE_VAPOUR;
        cell.m_dHeat = VAPOUR_HEAT;
        m_pGrid[row][col] = cell;
    }
    Redraw(row, col);
}

void CSimulation::StepInteriorCell() {
    const int row = m_nStepRow;
    const int col = m_nStepCol;
    const bool vapour = m_pGrid[row][col].m_nPhase == PHASE_VAPOUR;
    if (row == 0 && vapour) {
        BurstSurfaceBubble();
    } else if (vapour) {
        StageCell();  // a chosen bubble stays where it is
    } else if (m_pGrid[row + 1][col].m_nPhase == PHASE_VAPOUR) {
        RiseBubble();
    } else if (m_pGrid[row + 1][col].m_dHeat > m_pGrid[row][col].m_dHeat) {
        ConvectionExchange();
    } else {
        StageCell();
    }
}

void CSimulation::RiseBubble() {
    const int startRow = m_nStepRow;
    const int col = m_nStepCol;
    // The bubble below climbs through every liquid cell above it in one step; each liquid
    // cell it passes moves down one row.
    while (m_pGrid[m_nStepRow][col].m_nPhase == PHASE_LIQUID) {
        const CCell upper = m_pGrid[m_nStepRow][col];
        const CCell lower = m_pGrid[m_nStepRow + 1][col];
        m_pGrid[m_nStepRow][col] = lower;
        m_pGrid[m_nStepRow + 1][col] = upper;
        Redraw(m_nStepRow, col);
        Redraw(m_nStepRow + 1, col);
        m_nStepRow = m_nStepRow - 1;
        if (m_nStepRow < 0) {
            break;
        }
    }
    m_nStepRow = startRow;

    const CCell& live = m_pGrid[startRow][col];
    CCell staged = m_pStage[startRow][col];
    staged.m_dHeat = live.m_dHeat;
    staged.m_dTemperature = live.m_dTemperature;
    m_pStage[startRow][col] = staged;
    ConductCell();
}

void CSimulation::BurstSurfaceBubble() {
    const int col = m_nStepCol;
    m_nNeighbourCount = 1;
    double average = m_pGrid[1][col].m_dHeat;
    if (col > 0) {
        average = average + m_pGrid[0][col - 1].m_dHeat;
        m_nNeighbourCount = m_nNeighbourCount + 1;
    }
    if (col < m_nColumns - 1) {
        average = average + m_pGrid[0][col + 1].m_dHeat;
        m_nNeighbourCount = m_nNeighbourCount + 1;
    }
    average = average / m_nNeighbourCount;

    CCell cell = m_pGrid[0][col];
    cell.m_dTemperature = average;
    cell.m_dHeat = average;
    m_pGrid[0][col] = cell;
    if (cell.m_dTemperature > BOILING_POINT) {
        cell.m_dTemperature = BOILING_POINT;
        m_pGrid[0][col] = cell;
    }
    cell.m_nPhase = average < VAPOUR_HEAT ? PHASE_LIQUID : PHASE_VAPOUR;
    m_pGrid[0][col] = cell;
    Redraw(0, col);
    ConductCell();
}

void CSimulation::ConvectionExchange() {
    const int row = m_nStepRow;
    const int col = m_nStepCol;
    const double k = m_dConvectionRatio;
    const double upperHeat = m_pGrid[row][col].m_dHeat;      // Qu
    const double lowerHeat = m_pGrid[row + 1][col].m_dHeat;  // Ql

    CCell staged = m_pStage[row][col];
    staged.m_dHeat = (1 - k) * upperHeat + k * lowerHeat;
    m_pStage[row][col] = staged;

    CCell lower = m_pGrid[row + 1][col];
    lower.m_dHeat = (1 - k) * lowerHeat + k * upperHeat;
    lower.m_dTemperature = lower.m_dHeat;
    m_pGrid[row + 1][col] = lower;
    if (lower.m_dTemperature > BOILING_POINT) {
        lower.m_dTemperature = BOILING_POINT;
        m_pGrid[row + 1][col] = lower;
    }
    Redraw(row + 1, col);

    staged = m_pStage[row][col];
    staged.m_dTemperature = staged.m_dHeat;
    m_pStage[row][col] = staged;
    if (staged.m_dTemperature > BOILING_POINT) {
        staged.m_dTemperature = BOILING_POINT;
        m_pStage[row][col] = staged;
    }
    ConductCell();
}

void CSimulation::ComputeBurnerHeat() {
    const std::int64_t ends = m_nFlamePower[m_nEndsFlame];
    const std::int64_t centre = m_nFlamePower[m_nCentreFlame];
    // Any int powers are accepted, so the difference and the sum are formed wide.
    const double difference = static_cast<double>(centre - ends);
    const int n = m_nColumns;
    for (int i = 1; i <= n; ++i) {
        const double profile = std::sin(i * BURNER_PI / (n + 1)) * difference;
        // |profile| < 2^33, so the 64-bit truncation is exact and defined.
        m_pBurnerHeat[i - 1] = SaturateToInt(static_cast<std::int64_t>(profile) + ends);
    }
}

bool CSimulation::AdvanceFlame(const FlameCycleEntry (&cycle)[4], int& level,
                               const char*& caption) {
    for (const FlameCycleEntry& entry : cycle) {
        if (std::strcmp(caption, entry.caption) == 0) {
            level = entry.level;
            caption = entry.nextCaption;
            return true;
        }
    }
    return false;
}

bool CSimulation::AdvanceEndsFlame() {
    return AdvanceFlame(ENDS_FLAME_CYCLE, m_nEndsFlame, m_pszEndsButtonText);
}

bool CSimulation::AdvanceCentreFlame() {
    return AdvanceFlame(CENTRE_FLAME_CYCLE, m_nCentreFlame, m_pszCentreButtonText);
}

int CSimulation::VapourCellCount() const {
    int count = 0;
    for (int row = 0; row < m_nRows; ++row) {
        for (const CCell& cell : m_pGrid[row]) {
            count += cell.m_nPhase == PHASE_VAPOUR ? 1 : 0;
        }
    }
    return count;
}

void CSimulation::Redraw(int row, int col) {
    if (m_pObserver != nullptr) {
        m_pObserver->DrawCell(m_pGrid[row][col], col, row);
    }
}
