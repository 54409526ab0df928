// Synthesises the instruments and drums of the town tune as GUS patches, so the
// library's software synthesiser can play the music without any patch set installed.
// Each patch holds one wave for each key it is given (the keys the tune plays with it),
// rooted on that key, so every note the tune plays sounds at its own pitch; other keys
// borrow the nearest wave. Called by the patch set writer.
#pragma once

#include "gus_patch.h"

#include <set>

// The pitch of a MIDI key in equal temperament, A4 (key 69) at 440 Hz.
double key_hz(int key);

// All of them throw std::invalid_argument for an empty set of keys.
GusPatch make_marimba(const std::set<int> &keys);       // struck bars, two-octave overtone
GusPatch make_grand_piano(const std::set<int> &keys);   // hammered strings, two a note
GusPatch make_acoustic_bass(const std::set<int> &keys); // a plucked string, finger thump
GusPatch make_bass_drum(const std::set<int> &keys);     // a falling sine thud, beater click
GusPatch make_snare_drum(const std::set<int> &keys);    // a drum-head tone, bright noise
GusPatch make_closed_hi_hat(const std::set<int> &keys); // clanging squares and noise, brief
