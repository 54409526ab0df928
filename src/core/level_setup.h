// Starting a new game and setting up each level. game_initdata() is run by the
// Start button and after game over, game_next() after each cleared level.
#pragma once

// A new game: level 1 with 3 lives, score 0, its own seed (random.h) and the
// music from its start.
void game_initdata();

// The next level: the player and trains back at their start, no shot in
// flight, two more fruit (up to 100) drawn anew; the shell then shows the
// next background and saves the game (events.h).
void game_next();

// A random fruit column in 48 .. unit.width - 48 (a row for randy).
int randx();
int randy();
