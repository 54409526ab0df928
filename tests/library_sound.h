// The library's sound with no system driver and no sound device, for the
// tests and fuzz targets that bring it up headless: its own mutexes, a timer
// that ticks only when told, and a sound driver that is the library's
// software mixer, mixing only when told. Used by the volume test
// (shell/options_test.cpp) and the data fuzz target.
#pragma once

#include <allegro.h>

namespace library_sound {

// The sound driver's id for install_sound().
extern const int MIXER;

// Lends the library the system's part of the above; call after
// install_allegro(SYSTEM_NONE, ...), before install_sound().
void lend_the_library_a_sound_system();

// Advances the library's timers by ms and mixes about as much sound, as a
// device asking for more would.
void play_for(int ms);

} // namespace library_sound
