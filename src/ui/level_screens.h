// The pictures of the screens between levels (core/screens.h): the texts of
// a cleared level and the game-over picture, drawn into buffer for the main
// loop to present. The high-score screen draws through high_score_screens.h.
#pragma once

// Draws the screen into buffer, centred on the field.
void draw_level_screen(int screen);
