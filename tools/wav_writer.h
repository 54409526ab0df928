// Writes mono 16-bit PCM WAV files, the sample format the game's load_sample reads.
// Called by make_assets for the sound effects.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Throws std::runtime_error if the file cannot be written.
void write_mono_wav(const std::string &path, const std::vector<std::int16_t> &samples,
                    int sample_rate);
