#pragma once

#include <cmath>
#include <cstdint>
#include <memory>
#include <random>

#include <vector>

#include "Cell.h"
#include "HistoryRecorder.h"
#include "SimulationSettings.h"

// Receives every "redraw this cell" of the step rules, in the order the rules give,
// with the cell exactly as it was just stored.
class CellRedrawObserver {
public:
    virtual ~CellRedrawObserver() = default;
    virtual void DrawCell(const CCell& cell, int col, int row) = 0;
};

// Heat at which water turns to vapour: 100 cal to reach 100 C plus 539 cal latent heat.
constexpr double VAPOUR_HEAT = 639.0;
constexpr double BOILING_POINT = 100.0;

// The most ticks a run is counted to where it can be kept and gone on from: 2^62, some 146
// years at a billion ticks a second, leaving as many again before the counter's own limit.
// A run file holds no more, and the runner takes no run past it. The counter itself stops
// at the largest long long rather than overflow.
constexpr long long MAX_TICKS_RUN = 1LL << 62;

// The level a burner button's click selects after `level`: off, strong, medium, weak and
// round again. A value that is no level has no successor (returned unchanged).
int NextFlameLevel(int level);

// The water in the vessel: parameters, the live and staging grids, the burners and the
// one-random-cell-per-tick update. Cells are addressed [row][column]; row 0 is the surface.
class CSimulation {
public:
    CSimulation();  // default settings, no grid, generator seeded from the clock

    // Generator control: a fixed seed reproduces a run exactly.
    void SetSeed(std::uint32_t seed) {
        m_nSeed = seed;
        m_rng.seed(seed);
    }
    std::uint32_t Seed() const { return m_nSeed; }
    // The generator as it stands: the draws still to come.
    const std::mt19937& Generator() const { return m_rng; }
    void SetRedrawObserver(CellRedrawObserver* observer) { m_pObserver = observer; }

    // The settings the last start took, with the given history interval.
    SimulationSettings CurrentSettings(int historyInterval) const;

    bool HasGrid() const { return m_pGrid != nullptr; }

    // --- Run operations: the one path by which the window and the headless runner tick.
    // A fresh run: every setting taken over, both grids made anew at the initial state,
    // the burner heat computed and the tick count back at 0.
    void FreshStart(const SimulationSettings& settings);
    // Continues the present run: the grid, its size and the initial temperature stay; the
    // other settings are taken over and the burner heat recomputed.
    void ContinuedStart(const SimulationSettings& settings);
    // Runs `ticks` whole ticks, each handed to `recorder` as the window's tick hands it the
    // averages. The averages are computed only for the ticks whose averages are read: a
    // tick that takes a sample, and the last tick (whose averages the caller shows).
    // Afterwards AverageTemperature() and AverageHeat() are those of the last tick, as
    // the eager Step would have left them. `sink` (may be null) receives every sample.
    void RunTicks(long long ticks, CHistoryRecorder& recorder, SampleSink* sink = nullptr);
    // Ticks run since the last fresh start (at most the largest long long).
    long long TicksRun() const { return m_nTicksRun; }
    // A run read back from a file: the settings taken as a fresh start takes them, both grids
    // made (at the initial state, for SetCell and SetStagedCell to fill), the flames and their
    // heat, the generator where the run left it (with the seed it came from), the ticks run
    // and the averages the last tick left. The settings' grid size must be a valid one.
    void RestoreStart(const SimulationSettings& settings, int endsLevel, int centreLevel,
                      std::uint32_t seed, const std::mt19937& generator, long long ticksRun,
                      int averageTemperature, int averageHeat);
    // Frees both grids and the burner heat; the model then has no grid.
    void ReleaseGrids();

    // One tick computed in full: the averages over all cells, a random cell, its update.
    // It neither samples nor counts the tick; a run ticks through RunTicks.
    void Step();
    // The same tick on a given cell instead of a drawn one; the generator is not used.
    // It makes each rule of the update reproducible on a cell of one's choosing, with the
    // redraws it reports in order. The grid must exist and the cell lie inside it.
    void StepCell(int col, int row);

    // The averages over all cells, summed in their fixed order.
    void ComputeAverages();
    // Recomputes every column's burner heat from the present levels and powers.
    void ComputeBurnerHeat();

    // First step of the burner button handlers: the burner goes to the next level of the
    // cycle. Returns false (and changes nothing) if its level is none of the four.
    bool AdvanceEndsFlame();
    bool AdvanceCentreFlame();

    // The live grid, row 0 the surface, and the staging grid beside it: the cell as last
    // staged for its update (its temperature one staging behind its heat).
    const CCell& Cell(int row, int col) const { return m_pGrid[row][col]; }
    const CCell& StagedCell(int row, int col) const { return m_pStage[row][col]; }
    // Replace one cell of a grid that a start has made, to build a run from given cells
    // (a test's grid, or a run read back): nothing is redrawn and the averages stay until
    // the next tick computes them. The cell must lie inside the grid.
    void SetCell(int row, int col, const CCell& cell);
    void SetStagedCell(int row, int col, const CCell& cell);
    int VapourCellCount() const;

    // The size and timing of the run, as the last start took them.
    int Columns() const { return m_nColumns; }
    int Rows() const { return m_nRows; }
    int InitialTemperature() const { return m_nInitialTemperature; }
    int StepInterval() const { return m_nStepInterval; }

    // Burner levels.
    int EndsFlame() const { return m_nEndsFlame; }
    int CentreFlame() const { return m_nCentreFlame; }
    // Sets both levels, as if the buttons had been clicked to them. The burner heat follows
    // at the next start or ComputeBurnerHeat.
    void SetFlames(int endsLevel, int centreLevel);
    // Heat the burner under a column gives its bottom cell each time that cell is chosen.
    int BurnerHeat(int col) const { return m_pBurnerHeat[col]; }

    // Rounded means over the live grid, as the last tick (or ComputeAverages) left them.
    int AverageTemperature() const { return m_nAverageTemperature; }
    int AverageHeat() const { return m_nAverageHeat; }
    // The same, except where the grid's sum is not finite (cells that are NaN or infinite, which
    // the rounded means cannot hold): then that sum, NaN or an infinity.
    double AverageTemperatureValue() const {
        return std::isfinite(m_dTemperatureSum) ? m_nAverageTemperature : m_dTemperatureSum;
    }
    double AverageHeatValue() const {
        return std::isfinite(m_dHeatSum) ? m_nAverageHeat : m_dHeatSum;
    }

private:
    // Parameter transfer. A fresh run takes every value; a continued run keeps the grid,
    // its size and the initial temperature.
    void TakeFreshSettings(const SimulationSettings& settings);
    void TakeContinuedSettings(const SimulationSettings& settings);
    void CreateGrid();

    // The averages from sums kept up to date cell by cell when they decide the rounded
    // means beyond doubt, otherwise from ComputeAverages.
    void ComputeAveragesWhereNeeded();

    // The stages of one cell's update, on the cell at (m_nStepRow, m_nStepCol).
    void UpdateStepCell();
    void HeatBottomCell();
    void StageCell();
    void ConductCell();
    void StepInteriorCell();
    void BurstSurfaceBubble();
    void RiseBubble();
    void ConvectionExchange();

    // Parameters; every value but the off power comes from a start's settings.
    int m_nInitialTemperature = 0;
    double m_dConvectionRatio = 0.0;
    double m_dConductionCoefficient = 0.0;
    double m_dCoolingCoefficient = 0.0;
    int m_nRoomTemperature = 0;
    int m_nFlamePower[4] = {};  // indexed by FlameLevel; FLAME_OFF stays 0
    int m_nStepInterval = 0;
    int m_nColumns = 0;
    int m_nRows = 0;

    // Burners.
    int m_nEndsFlame = START_ENDS_FLAME;
    int m_nCentreFlame = START_CENTRE_FLAME;

    // Grids and burner heat; null until the first CreateGrid.
    std::unique_ptr<CCellArray[]> m_pGrid;
    std::unique_ptr<CCellArray[]> m_pStage;
    std::unique_ptr<int[]> m_pBurnerHeat;

    // The cell being updated; the bubble rise moves m_nStepRow and restores it.
    int m_nStepCol = 0;
    int m_nStepRow = 0;
    int m_nNeighbourCount = 0;

    int m_nAverageTemperature = 0;
    int m_nAverageHeat = 0;
    // The sums the last full pass found (0 after a proven estimate, whose cells are finite).
    double m_dTemperatureSum = 0.0;
    double m_dHeatSum = 0.0;

    // Integer sums of every cell's value in fixed point, kept as cells change, so that the
    // rounded means can be had without a pass over the grid. A cell whose value is too
    // large (or not finite) for the fixed point is counted apart and forces a full pass.
    struct TrackedSum {
        std::vector<std::int64_t> cells;  // per cell: fixed-point value, or OUT_OF_RANGE
        std::int64_t sum = 0;
        std::int64_t absSum = 0;
        int outOfRange = 0;
        void Reset(std::size_t count);
        void Set(std::size_t index, double value);
    };
    void ResyncTrackedSums();
    void Track(int row, int col);

    void PickRandomCell();
    void Redraw(int row, int col);
    static bool AdvanceFlame(int& level);

    std::mt19937 m_rng;
    std::uint32_t m_nSeed = 0;
    CellRedrawObserver* m_pObserver = nullptr;
    long long m_nTicksRun = 0;
    TrackedSum m_trackedTemperature;
    TrackedSum m_trackedHeat;
};
