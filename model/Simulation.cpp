#include "Simulation.h"

#include <chrono>
#include <cmath>
#include <limits>
#include <optional>

#include "Burners.h"
#include "Numbers.h"

namespace {

// Fixed point of the tracked sums: 2^30 steps per unit, for values of magnitude below
// 2^20, so that up to 8192 cells sum to less than 2^63. Any other value is out of range.
constexpr double FIXED_SCALE = 1073741824.0;
constexpr double FIXED_LIMIT = 1048576.0;
constexpr std::int64_t OUT_OF_RANGE = std::numeric_limits<std::int64_t>::min();
// 2^13 cells of magnitude below 2^50 steps sum to less than 2^63.
constexpr std::size_t MAX_TRACKED_CELLS = 8192;

std::int64_t ToFixed(double value) {
    if (!(std::fabs(value) < FIXED_LIMIT)) {
        return OUT_OF_RANGE;  // also NaN
    }
    return static_cast<std::int64_t>(value * FIXED_SCALE);  // off by less than one step
}

// trunc(S / count + 0.5) of the sum S that the pass in cell order gives, when the tracked
// sum proves it: the tracked sum is within count steps of the exact sum, the ordered pass
// within count * u * sum|x| of it (u the unit roundoff), and the division and addition
// round once each. Beyond a margin of twice all that from every integer, the truncation of
// the estimate and of the pass agree. Otherwise nothing: the caller sums the grid itself.
std::optional<int> ProvenRoundedMean(std::int64_t sum, std::int64_t absSum, int outOfRange,
                                     int count) {
    if (outOfRange != 0 || count <= 0) {
        return std::nullopt;
    }
    constexpr double u = std::numeric_limits<double>::epsilon() / 2;
    const double n = count;
    const double mean = static_cast<double>(sum) / FIXED_SCALE / n;
    const double sumOfMagnitudes = (static_cast<double>(absSum) + n) / FIXED_SCALE;
    const double gamma = n * u / (1.0 - n * u);
    const double bound =
        (gamma * sumOfMagnitudes + n / FIXED_SCALE) / n + 8 * u * (std::fabs(mean) + 1);
    const double estimate = mean + 0.5;
    if (std::fabs(estimate - std::nearbyint(estimate)) <= 2 * bound + 1e-12) {
        return std::nullopt;
    }
    return TruncToInt(estimate);
}

// Water is never warmer than its boiling point: a copy above it is capped and stored back
// to its place. A copy at or below it is left alone and nothing is stored.
void CapAtBoilingPoint(CCell& cell, CCell& place) {
    if (cell.m_dTemperature > BOILING_POINT) {
        cell.m_dTemperature = BOILING_POINT;
        place = cell;
    }
}

// A cell that has gathered the heat of vapour turns to vapour holding exactly that heat,
// stored back to its place. Below it the cell is left alone and nothing is stored.
void TurnToVapourAtVapourHeat(CCell& cell, CCell& place) {
    if (cell.m_dHeat >= VAPOUR_HEAT) {
        cell.m_nPhase = PHASE_VAPOUR;
        cell.m_dHeat = VAPOUR_HEAT;
        place = cell;
    }
}
}  // namespace

void CSimulation::TrackedSum::Reset(std::size_t count) {
    cells.assign(count, 0);
    sum = 0;
    absSum = 0;
    outOfRange = 0;
}

void CSimulation::TrackedSum::Set(std::size_t index, double value) {
    const std::int64_t old = cells[index];
    if (old == OUT_OF_RANGE) {
        --outOfRange;
    } else {
        sum -= old;
        absSum -= old < 0 ? -old : old;
    }
    const std::int64_t fixed = ToFixed(value);
    if (fixed == OUT_OF_RANGE) {
        ++outOfRange;
    } else {
        sum += fixed;
        absSum += fixed < 0 ? -fixed : fixed;
    }
    cells[index] = fixed;
}

CSimulation::CSimulation() {
    SetFlames(START_ENDS_FLAME, START_CENTRE_FLAME);
    TakeFreshSettings(SimulationSettings{});
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
    ResyncTrackedSums();
}

void CSimulation::FreshStart(const SimulationSettings& settings) {
    TakeFreshSettings(settings);
    CreateGrid();
    ComputeBurnerHeat();
    m_nTicksRun = 0;
}

void CSimulation::RestoreStart(const SimulationSettings& settings, int endsLevel, int centreLevel,
                               std::uint32_t seed, const std::mt19937& generator,
                               long long ticksRun, int averageTemperature, int averageHeat) {
    SetFlames(endsLevel, centreLevel);
    FreshStart(settings);
    m_nSeed = seed;
    m_rng = generator;
    m_nTicksRun = ticksRun;
    m_nAverageTemperature = averageTemperature;
    m_nAverageHeat = averageHeat;
}

void CSimulation::ContinuedStart(const SimulationSettings& settings) {
    TakeContinuedSettings(settings);
    ComputeBurnerHeat();
    ResyncTrackedSums();
}

void CSimulation::RunTicks(long long ticks, CHistoryRecorder& recorder, SampleSink* sink) {
    if (!HasGrid()) {
        return;
    }
    for (long long left = ticks; left > 0; --left) {
        // The averages of a tick are those of the grid before its cell update.
        const bool sampled = recorder.SampleDue();
        if (sampled || left == 1) {
            ComputeAveragesWhereNeeded();
        }
        PickRandomCell();
        UpdateStepCell();
        if (m_nTicksRun < std::numeric_limits<long long>::max()) {
            ++m_nTicksRun;
        }
        const int temperature = m_nAverageTemperature;
        const int heat = CalToJoules(m_nAverageHeat);
        if (recorder.RecordSample(temperature, heat) && sink != nullptr) {
            sink->OnSample(m_nTicksRun, temperature, heat);
        }
    }
}

void CSimulation::ReleaseGrids() {
    m_pGrid.reset();
    m_pStage.reset();
    m_pBurnerHeat.reset();
    m_trackedTemperature.Reset(0);
    m_trackedHeat.Reset(0);
}

void CSimulation::SetCell(int row, int col, const CCell& cell) {
    m_pGrid[row][col] = cell;
    Track(row, col);
}

void CSimulation::SetStagedCell(int row, int col, const CCell& cell) {
    m_pStage[row][col] = cell;
}

void CSimulation::ResyncTrackedSums() {
    if (!HasGrid()) {
        return;
    }
    const auto count = static_cast<std::size_t>(m_nColumns) * static_cast<std::size_t>(m_nRows);
    if (count > MAX_TRACKED_CELLS) {
        // The fixed-point sums could overflow: such a grid is always summed in full.
        m_trackedTemperature.Reset(0);
        m_trackedHeat.Reset(0);
        m_trackedTemperature.outOfRange = 1;
        return;
    }
    m_trackedTemperature.Reset(count);
    m_trackedHeat.Reset(count);
    for (int row = 0; row < m_nRows; ++row) {
        for (int col = 0; col < m_nColumns; ++col) {
            Track(row, col);
        }
    }
}

void CSimulation::Track(int row, int col) {
    const CCell& cell = m_pGrid[row][col];
    const auto index = static_cast<std::size_t>(row) * static_cast<std::size_t>(m_nColumns) +
                       static_cast<std::size_t>(col);
    if (index >= m_trackedTemperature.cells.size()) {
        return;  // a grid too large for the tracked sums is not tracked
    }
    m_trackedTemperature.Set(index, cell.m_dTemperature);
    m_trackedHeat.Set(index, cell.m_dHeat);
}

void CSimulation::ComputeAveragesWhereNeeded() {
    const int count = m_nColumns * m_nRows;
    const std::optional<int> temperature =
        ProvenRoundedMean(m_trackedTemperature.sum, m_trackedTemperature.absSum,
                          m_trackedTemperature.outOfRange, count);
    const std::optional<int> heat =
        ProvenRoundedMean(m_trackedHeat.sum, m_trackedHeat.absSum, m_trackedHeat.outOfRange, count);
    if (temperature && heat) {
        m_nAverageTemperature = *temperature;
        m_nAverageHeat = *heat;
        m_dTemperatureSum = 0.0;
        m_dHeatSum = 0.0;
    } else {
        ComputeAverages();
    }
}

void CSimulation::Step() {
    ComputeAverages();
    PickRandomCell();
    UpdateStepCell();
}

void CSimulation::PickRandomCell() {
    // The column is drawn first, then the row.
    m_nStepCol = static_cast<int>(m_rng() % static_cast<std::uint32_t>(m_nColumns));
    m_nStepRow = static_cast<int>(m_rng() % static_cast<std::uint32_t>(m_nRows));
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
    m_dTemperatureSum = temperatureSum;
    m_dHeatSum = heatSum;
}

void CSimulation::HeatBottomCell() {
    const int row = m_nRows - 1;
    const int col = m_nStepCol;
    CCell cell = m_pGrid[row][col];
    cell.m_dHeat = cell.m_dHeat + m_pBurnerHeat[col];
    cell.m_dTemperature = cell.m_dHeat;
    m_pGrid[row][col] = cell;

    cell = m_pGrid[row][col];
    CapAtBoilingPoint(cell, m_pGrid[row][col]);

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
    CapAtBoilingPoint(staged, m_pStage[row][col]);
    ConductCell();
}

void CSimulation::ConductCell() {
    const int row = m_nStepRow;
    const int col = m_nStepCol;
    const CCell& staged = m_pStage[row][col];
    const double stagedTemperature = staged.m_dTemperature;
    const double stagedHeat = staged.m_dHeat;

    CCell cell = m_pGrid[row][col];
    if (cell.m_nPhase == PHASE_VAPOUR) {
        // A bubble exchanges no heat and is not cooled: it takes over its staged values.
        cell.m_dHeat = stagedHeat;
        cell.m_dTemperature = stagedTemperature;
        m_pGrid[row][col] = cell;
        TurnToVapourAtVapourHeat(cell, m_pGrid[row][col]);
        Redraw(row, col);
        return;
    }

    // What draws heat into the cell, before the conduction coefficient: the differences to
    // its neighbours, less the loss to the room through each wall it touches.
    double flowSum = 0.0;
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
    const double conductedHeat = m_dConductionCoefficient * flowSum + stagedHeat;
    cell.m_dTemperature = conductedHeat;
    cell.m_dHeat = conductedHeat;
    m_pGrid[row][col] = cell;
    CapAtBoilingPoint(cell, m_pGrid[row][col]);
    TurnToVapourAtVapourHeat(cell, m_pGrid[row][col]);
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
    CapAtBoilingPoint(cell, m_pGrid[0][col]);
    cell.m_nPhase = average < VAPOUR_HEAT ? PHASE_LIQUID : PHASE_VAPOUR;
    m_pGrid[0][col] = cell;
    Redraw(0, col);
    ConductCell();
}

void CSimulation::ConvectionExchange() {
    const int row = m_nStepRow;
    const int col = m_nStepCol;
    const double ratio = m_dConvectionRatio;
    const double upperHeat = m_pGrid[row][col].m_dHeat;
    const double lowerHeat = m_pGrid[row + 1][col].m_dHeat;

    CCell staged = m_pStage[row][col];
    staged.m_dHeat = (1 - ratio) * upperHeat + ratio * lowerHeat;
    m_pStage[row][col] = staged;

    CCell lower = m_pGrid[row + 1][col];
    lower.m_dHeat = (1 - ratio) * lowerHeat + ratio * upperHeat;
    lower.m_dTemperature = lower.m_dHeat;
    m_pGrid[row + 1][col] = lower;
    CapAtBoilingPoint(lower, m_pGrid[row + 1][col]);
    Redraw(row + 1, col);

    staged = m_pStage[row][col];
    staged.m_dTemperature = staged.m_dHeat;
    m_pStage[row][col] = staged;
    CapAtBoilingPoint(staged, m_pStage[row][col]);
    ConductCell();
}

void CSimulation::ComputeBurnerHeat() {
    for (int col = 0; col < m_nColumns; ++col) {
        m_pBurnerHeat[col] = ColumnBurnerHeat(col, m_nColumns, m_nFlamePower[m_nEndsFlame],
                                              m_nFlamePower[m_nCentreFlame]);
    }
}

int NextFlameLevel(int level) {
    switch (level) {
        case FLAME_OFF:
            return FLAME_STRONG;
        case FLAME_STRONG:
            return FLAME_MEDIUM;
        case FLAME_MEDIUM:
            return FLAME_WEAK;
        case FLAME_WEAK:
            return FLAME_OFF;
        default:
            return level;
    }
}

bool CSimulation::AdvanceFlame(int& level) {
    const int next = NextFlameLevel(level);
    if (next == level) {
        return false;
    }
    level = next;
    return true;
}

void CSimulation::SetFlames(int endsLevel, int centreLevel) {
    m_nEndsFlame = endsLevel;
    m_nCentreFlame = centreLevel;
}

bool CSimulation::AdvanceEndsFlame() {
    return AdvanceFlame(m_nEndsFlame);
}

bool CSimulation::AdvanceCentreFlame() {
    return AdvanceFlame(m_nCentreFlame);
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
    // Every change of a live cell ends in its redraw, so the tracked sums follow here.
    Track(row, col);
    if (m_pObserver != nullptr) {
        m_pObserver->DrawCell(m_pGrid[row][col], col, row);
    }
}
