// What happened in the rules, for the shell to play and to act on: the rules
// make no sound and touch no file themselves. Each core call adds to
// `events`; the main loop acts on them after the call and clears them.
#pragma once

struct GAME_EVENTS {
    int fruit_eaten;    // fruit collected
    int shots_hit;      // shots that cost a life
    int lives_gained;   // extra lives from points
    bool new_game;      // a new game began: its music starts
    bool level_start;   // a level is laid out: the next background, a save
    bool paused_by_key; // Enter toggled the pause: the keys rest half a second
    int commands;       // speed and lives keys taken: the keys rest a moment each
};

extern GAME_EVENTS events;

// Forgets what the main loop has acted on.
void clear_events();
