#pragma once

// Burner setting; also the index into the flame power table.
enum FlameLevel : int { FLAME_STRONG = 0, FLAME_MEDIUM = 1, FLAME_WEAK = 2, FLAME_OFF = 3 };

// The burner levels the program starts with.
constexpr FlameLevel START_ENDS_FLAME = FLAME_WEAK;
constexpr FlameLevel START_CENTRE_FLAME = FLAME_MEDIUM;

// The parameters the user edits before each start, with the values the program starts with.
struct SimulationSettings {
    int initialTemperature = 15;   // degrees C, 0 to 100
    double convectionRatio = 0.7;  // 0 to 1
    double conductionCoefficient = 0.035;
    double coolingCoefficient = 0.6;
    int roomTemperature = 10;    // degrees C
    int strongFlamePower = 400;  // cal per step
    int mediumFlamePower = 140;
    int weakFlamePower = 70;
    int stepIntervalMs = 5;     // 1 to 2000
    int columns = 20;           // 3 to 80
    int rows = 20;              // 3 to 80
    int historyInterval = 100;  // ticks, any value
    bool continueRun = false;   // continue the stopped run instead of a fresh one

    bool operator==(const SimulationSettings&) const = default;
};

// Accepted ranges of the checked fields (inclusive).
constexpr int MIN_INITIAL_TEMPERATURE = 0;
constexpr int MAX_INITIAL_TEMPERATURE = 100;
constexpr double MIN_CONVECTION_RATIO = 0.0;
constexpr double MAX_CONVECTION_RATIO = 1.0;
constexpr int MIN_STEP_INTERVAL = 1;
constexpr int MAX_STEP_INTERVAL = 2000;
constexpr int MIN_GRID_SIZE = 3;
constexpr int MAX_GRID_SIZE = 80;
