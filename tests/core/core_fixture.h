// The core's tests run without Allegro: the records, the tuning values, the
// events, the menu and the screens between levels start at their
// program-start state in every test.
#pragma once

#include "core/events.h"
#include "core/game_state.h"
#include "core/input_record.h"
#include "core/player_control.h"
#include "core/screens.h"

#include <gtest/gtest.h>

class Core : public ::testing::Test {
  protected:
    void SetUp() override {
        reset_records();
        reset_tuning();
        clear_events();
        input = INPUT_RECORD{};
        showmouse = false;
        focus_paused = false;
        between_levels = BETWEEN_NONE;
    }
};
