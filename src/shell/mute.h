// Muting all sound, music and effects, with the M key; the choice is kept in
// the options file (options.mute), so a new run starts as the last one left.
// The key handling calls switch_mute(); the sound calls of assets.cpp ask
// sound_muted() before they play anything.
#pragma once

bool sound_muted();

// Sound off, or on again: the music stops where it is and goes on from there
// (or starts, when a game began while it was off); the options file is
// rewritten. A file that cannot be written is not reported: the choice
// still holds for this run.
void switch_mute();

// Called by start_music() when it does not play because the sound is off: the
// music then starts from its beginning once the sound is switched on.
void music_held_back();
