// What the game plays, caught for the window tests: a HOME whose .asoundrc hands
// everything the library sends to ALSA to a file instead of a sound card, and the
// measurements the audio tests make on that file.
#pragma once

#include <string>
#include <vector>

namespace window_test {

// The library's ALSA driver plays 16-bit stereo at 44100 Hz (the game's allegro.cfg
// asks for that rate), unsigned: its silence reads 0x8000. The file grows as the mixer
// runs, faster than real time when nothing paces it, so a stretch of play is found by
// the file's size before and after it, not by a time within the file.
constexpr int CAPTURE_RATE = 44100;

// A scratch HOME holding only an .asoundrc of the given text (and whatever is put there
// later); removed again at the end.
class ScratchHome {
  public:
    explicit ScratchHome(const std::string &asoundrc = "");
    void set_asoundrc(const std::string &text) const;
    ~ScratchHome();
    ScratchHome(const ScratchHome &) = delete;
    ScratchHome &operator=(const ScratchHome &) = delete;

    const std::string &path() const { return path_; }

  private:
    std::string path_;
};

// A scratch HOME whose .asoundrc hands everything played to a file inside it.
class AudioCapture {
  public:
    AudioCapture();

    const std::string &home() const { return home_.path(); }
    long size() const; // bytes caught so far

    // The frames caught between two sizes as mono samples (the mean of left and right)
    // with silence at 0 and full scale at 1; throws if the file does not hold them.
    std::vector<double> mono(long from, long to) const;
    // Whether every frame up to `to` is the driver's silence, 0x8000: nothing sounded,
    // and the samples are unsigned as expected.
    bool silent_until(long to) const;

  private:
    ScratchHome home_;
    std::string file_; // inside home_
};

// An .asoundrc that sends the default sound device to a card that does not exist.
std::string asoundrc_without_a_card();

// Root-mean-square level in dB below full scale; -200 for digital silence.
double rms_dbfs(const std::vector<double> &samples);

// One of the game's WAV sound effects as the library plays it at its own pitch: read
// as 16-bit mono and brought to the capture's rate by linear interpolation.
std::vector<double> effect_as_played(const std::string &wav_path);

// Where `sound` best fits inside `capture`: the normalised cross-correlation there
// (1 for the sound alone, near 0 for anything unrelated) and the level, in dB below
// full scale, of the part of the capture that is the sound. Music under the sound
// lowers the correlation only by its own share of the energy.
struct Match {
    double correlation = 0;
    double level_dbfs = -200;
    std::size_t at = 0; // the sample where the sound starts
};
Match best_match(const std::vector<double> &capture, const std::vector<double> &sound);

} // namespace window_test
