// Synthesises the instruments and drums of the town tune as GUS patches, so the
// library's software synthesiser can play the music without any patch set installed.
// Melodic patches hold one wave per few keys around the notes the tune plays; drums play
// at their recorded pitch on their own key. Called by the patch set writer.
#pragma once

#include "gus_patch.h"

// The pitch of a MIDI key in equal temperament, A4 (key 69) at 440 Hz.
double key_hz(int key);

GusPatch make_marimba();       // struck wooden bars with their two-octave overtone
GusPatch make_grand_piano();   // hammered strings, two per note, slightly apart
GusPatch make_acoustic_bass(); // a plucked upright string with a finger thump
GusPatch make_bass_drum();     // a falling sine thud with a beater click
GusPatch make_snare_drum();    // a short drum-head tone under a burst of bright noise
GusPatch make_closed_hi_hat(); // clanging square waves and noise, high-passed and brief
