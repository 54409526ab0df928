// The attract mode: the menu left alone for half a minute (no key, click,
// pointer movement or gamepad input) plays the best game of the high-score
// table, or the demo shipped with the game when the table has none, with
// "Demo" shown - also the menu shown over a game in progress. Any input gives
// the menu back exactly as it was, the player's game untouched, and the demo
// comes again after every further half minute left alone. `attract = 0` in
// options.ini switches it off. An entry of the world board chosen on the
// World page plays the same way, labelled with whose it is.
#pragma once

// How long the menu waits, left alone, before the demo.
constexpr double ATTRACT_IDLE_MS = 30000;

// Called by the main loop after every pass: starts the demo once the menu
// has been left alone long enough, ends it at any input or at its end.
void follow_attract();

// Whether the demo is playing: nothing of the game is saved or recorded.
bool showing_demo();
