#pragma once

#include <cstdint>

// The output that one run of the exporter produces.
enum ExportMode : int32_t {
    ShowVars = 0,
    LastValues = 1,
    TimeHistory = 2,
    PlotInfo = 3,
    VarInfo = 4,
    Stats = 5,
};
