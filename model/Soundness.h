#pragma once

#include "Cell.h"
#include "SimulationSettings.h"

class CSimulation;

// Settings that the update turns into numbers no water can have, and runs that got there.
//
// A liquid cell's conduction step, with k the conduction and c the cooling coefficient, Ts the
// cell's staged temperature, n its liquid neighbours and w the walls (or the surface) it
// touches, is
//     H' = Ts + k (sum of 2 (Tn - Ts) over the neighbours - c w (Ts - Troom))
//        = (1 - k (2n + c w)) Ts + k (sum of 2 Tn) + k c w Troom.
// When k >= 0, c >= 0 and k (2n + c w) <= 1 this is a weighted mean of the cell, its
// neighbours and the room, so it lies between the coldest and the warmest of them. Beyond that
// the cell's weight turns negative: the new value overshoots past its neighbours, the next
// update overshoots back further, and the difference grows without bound. Every grid (at
// least 3 x 3) has an inner cell (n = 4, w = 0: 8k <= 1), edge cells (n = 3, w = 1:
// k (6 + c) <= 1) and corners (n = 2, w = 2: k (4 + 2c) <= 1), so the update is stable when
//     0 <= k,  0 <= c,  k (4 + 2 max(c, 2)) <= 1,
// that is 0 <= k <= 1/8 and 0 <= c <= (1/k - 4) / 2.

// The lowest temperature there is, in degrees C, and the lowest room temperature (an integer)
// that cannot cool water below it.
constexpr double ABSOLUTE_ZERO = -273.15;
constexpr int MIN_SOUND_ROOM_TEMPERATURE = -273;

// The largest conduction coefficient for which no cell's update overshoots, with any cooling
// coefficient in [0, 2]; larger cooling coefficients lower it (MaxStableConduction).
constexpr double MAX_STABLE_CONDUCTION = 0.125;

// The largest stable conduction coefficient for a cooling coefficient c >= 0.
double MaxStableConduction(double cooling);
// The largest stable cooling coefficient for a conduction coefficient 0 < k <= 1/8 (for k = 0
// there is no limit: infinity).
double MaxStableCooling(double conduction);
bool StableCoefficients(double conduction, double cooling);

// What is wrong with a start's settings; 0 when nothing is.
enum SettingsConcern : unsigned {
    CONCERN_UNSTABLE_COEFFICIENTS = 1u,  // conduction and cooling outside the stable range
    CONCERN_NEGATIVE_FLAME_POWER = 2u,   // a burner level that takes heat away
    CONCERN_ROOM_BELOW_ABSOLUTE_ZERO = 4u,
};
unsigned SettingsConcerns(const SimulationSettings& settings);

// Water as it can be: finite, and neither its temperature nor its heat (which equals the
// temperature below the boiling point) below absolute zero.
bool IsPhysicalCell(const CCell& cell);
// The cells of the live grid that are not; 0 without a grid.
int UnphysicalCellCount(const CSimulation& simulation);
