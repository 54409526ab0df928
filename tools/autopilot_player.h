// The autopilot's player: it heads for the nearest fruit and steps out of a
// shot's way, reading the core's records as a player reads the screen. The
// autopilot tool (autopilot.cpp) records and soaks with it; the board's load
// benchmark (bench/board_bench.cpp) plays the games it sends with it.
#pragma once

#include "core/input_record.h"

// What the autopilot asks for in this pass.
INPUT_RECORD autopilot_record();
