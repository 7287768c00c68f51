#pragma once

#include "SimulationSettings.h"

// Settings that differ from the defaults in every field.
inline SimulationSettings CustomSettings() {
    SimulationSettings s;
    s.initialTemperature = 50;
    s.convectionRatio = 0.25;
    s.conductionCoefficient = 0.1;
    s.coolingCoefficient = 0.3;
    s.roomTemperature = 20;
    s.strongFlamePower = 500;
    s.mediumFlamePower = 200;
    s.weakFlamePower = 50;
    s.stepIntervalMs = 10;
    s.columns = 40;
    s.rows = 30;
    s.historyInterval = 50;
    return s;
}
