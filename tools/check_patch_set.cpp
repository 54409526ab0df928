// check_patch_set DATADIR: starts the library for real in DATADIR, as the game does, and
// plays every instrument and drum of the patch set through its software synthesiser,
// capturing what ALSA is handed into a file. Fails unless the sound set-up picks DIGMID
// with the patch set found there, the set holds exactly the town tune's programs and
// drums, every key the tune plays on a melodic patch sounds in tune, and the drums
// sound, the kick darkest and the hi-hat brightest. The library's timer needs a display:
// the patch_set_plays_in_allegro test runs this under xvfb-run.
#include "instrument_patches.h"
#include "patch_set.h"
#include "town_tune.h"

#include <allegro.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr double pi = 3.14159265358979323846;
constexpr int capture_rate = 44100; // what the library's ALSA driver asks for
constexpr int drum_channel = 9;
// How far a note may stray: the library's own pitch steps can put it up to 14 cents
// flat, which the patch set is made to avoid.
constexpr double in_tune_cents = 4;

int failures = 0;

void fail(const std::string &what) {
    std::printf("FAIL %s\n", what.c_str());
    ++failures;
}

// Everything the library plays lands in one file, appended to as its mixer runs.
class Capture {
  public:
    explicit Capture(std::string path) : path_(std::move(path)) {}

    long size() const {
        struct stat info {};
        return stat(path_.c_str(), &info) == 0 ? static_cast<long>(info.st_size) : 0;
    }

    // The left channel of what was written between two sizes, centred on zero. The
    // driver hands over 16-bit stereo, unsigned (its silence reads 0x8000).
    std::vector<double> left(long from, long to) const {
        from -= from % 4;
        std::ifstream in(path_, std::ios::binary);
        in.seekg(from);
        std::vector<unsigned char> bytes(static_cast<std::size_t>(std::max(0L, to - from)));
        in.read(reinterpret_cast<char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        bytes.resize(static_cast<std::size_t>(std::max<std::streamsize>(0, in.gcount())));
        std::vector<double> out;
        for (std::size_t at = 0; at + 4 <= bytes.size(); at += 4) {
            out.push_back(static_cast<double>(bytes[at] | bytes[at + 1] << 8) - 32768.0);
        }
        return out;
    }

  private:
    std::string path_;
};

double energy(const std::vector<double> &s, std::size_t from, std::size_t count) {
    double sum = 0;
    for (std::size_t i = from; i < from + count && i < s.size(); ++i) {
        sum += s[i] * s[i];
    }
    return sum;
}

// Where the sound is loudest: the start of the `count`-sample stretch of most energy.
std::size_t loudest(const std::vector<double> &s, std::size_t count) {
    std::size_t best = 0;
    double best_energy = -1;
    for (std::size_t at = 0; at + count <= s.size(); at += count / 8) {
        const double e = energy(s, at, count);
        if (e > best_energy) {
            best_energy = e;
            best = at;
        }
    }
    return best;
}

// Power at one frequency over a stretch (a single DFT bin, any frequency).
double power_at(const std::vector<double> &s, std::size_t from, std::size_t count, double hz) {
    double re = 0, im = 0;
    for (std::size_t i = 0; i < count && from + i < s.size(); ++i) {
        const double phase = 2 * pi * hz * static_cast<double>(i) / capture_rate;
        re += s[from + i] * std::cos(phase);
        im += s[from + i] * std::sin(phase);
    }
    return re * re + im * im;
}

double zero_crossings_per_second(const std::vector<double> &s, std::size_t from,
                                 std::size_t count) {
    int crossings = 0;
    for (std::size_t i = from + 1; i < from + count && i < s.size(); ++i) {
        crossings += (s[i - 1] < 0) != (s[i] < 0);
    }
    return crossings * static_cast<double>(capture_rate) / static_cast<double>(count);
}

// Plays one note and returns what the synthesiser made of it.
std::vector<double> play(const Capture &capture, int channel, int key, int hold_ms) {
    const long before = capture.size();
    unsigned char on[] = {static_cast<unsigned char>(0x90 | channel),
                          static_cast<unsigned char>(key), 100};
    midi_out(on, 3);
    rest(hold_ms);
    unsigned char off[] = {static_cast<unsigned char>(0x80 | channel),
                           static_cast<unsigned char>(key), 0};
    midi_out(off, 3);
    rest(200); // most of the release, and the mixer's next writes
    return capture.left(before, capture.size());
}

void select_program(int channel, int program_from_one) {
    unsigned char change[] = {static_cast<unsigned char>(0xC0 | channel),
                              static_cast<unsigned char>(program_from_one - 1)};
    midi_out(change, 2);
}

// How far, in cents, the fundamental of a sound lies from `hz`: the strongest frequency
// within a semitone of it, searched in steps of a cent.
double cents_off(const std::vector<double> &s, std::size_t from, std::size_t count, double hz) {
    double best_power = -1, best_cents = 0;
    for (int cents = -100; cents <= 100; ++cents) {
        const double power = power_at(s, from, count, hz * std::pow(2.0, cents / 1200.0));
        if (power > best_power) {
            best_power = power;
            best_cents = cents;
        }
    }
    return best_cents;
}

// The share of a stretch's energy that a sine at `hz` holds.
double share_at(const std::vector<double> &s, std::size_t from, std::size_t count, double hz) {
    return 2 * power_at(s, from, count, hz) / (static_cast<double>(count) * energy(s, from, count));
}

void check_pitch(const Capture &capture, const PatchSetEntry &entry, int key) {
    const std::string what = entry.file + " key " + std::to_string(key);
    const std::vector<double> sound = play(capture, 0, key, 200);
    // A stretch long enough to resolve a few cents on a high note and to tell a low bass
    // note from its neighbours, begun after the strike has settled.
    const auto window = static_cast<std::size_t>(0.25 * capture_rate);
    const auto settle = static_cast<std::size_t>(0.05 * capture_rate);
    if (sound.size() < settle + window || energy(sound, 0, sound.size()) == 0) {
        fail(what + ": silent");
        return;
    }
    const std::size_t from = loudest(sound, window) + settle;
    const double hz = key_hz(key);
    const double off = cents_off(sound, from, window, hz);
    // A note an octave off would put a harmonic, or nothing, where the fundamental
    // belongs: the fundamental must carry a good part of the sound, and nothing may sit
    // an octave below it.
    const double fundamental = share_at(sound, from, window, hz * std::pow(2.0, off / 1200));
    const double octave_below = share_at(sound, from, window, hz / 2);
    std::printf("%s: %+.0f cents, fundamental %.2f, octave below %.4f\n", what.c_str(), off,
                fundamental, octave_below);
    if (std::fabs(off) > in_tune_cents) {
        fail(what + ": " + std::to_string(off) + " cents off");
    }
    if (fundamental < 0.05 || octave_below > 0.01) {
        fail(what + ": not at the key's octave");
    }
}

// How bright a drum sounds, as zero crossings a second where it is loudest.
double drum_brightness(const Capture &capture, const PatchSetEntry &entry) {
    const std::vector<double> sound = play(capture, drum_channel, entry.number, 100);
    const auto window = static_cast<std::size_t>(0.03 * capture_rate);
    if (sound.size() < window || energy(sound, 0, sound.size()) == 0) {
        fail(entry.file + ": silent");
        return 0;
    }
    return zero_crossings_per_second(sound, loudest(sound, window), window);
}

// The set must hold exactly what the tune plays, or the game's music has a part missing.
void check_covers_the_tune() {
    const TownTuneNotes tune = town_tune_notes();
    std::set<int> programs, drums;
    for (const PatchSetEntry &entry : patch_set()) {
        (entry.drum ? drums : programs).insert(entry.drum ? entry.number : entry.number - 1);
    }
    std::set<int> tune_programs;
    for (const auto &part : tune.keys_by_program) {
        tune_programs.insert(part.first);
    }
    if (programs != tune_programs || drums != tune.drum_keys) {
        fail("the patch set's programs and drums are not the town tune's");
    }
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        std::printf("usage: check_patch_set DATADIR\n");
        return 2;
    }
    char home[] = "/tmp/tarvellion-patch-check-XXXXXX";
    if (!mkdtemp(home) || chdir(argv[1]) != 0) {
        std::printf("FAIL cannot make a scratch home or enter %s\n", argv[1]);
        return 1;
    }
    // ALSA reads ~/.asoundrc: everything played goes into a file, and no sound card is
    // needed.
    const std::string capture_path = std::string(home) + "/capture.raw";
    std::ofstream(std::string(home) + "/.asoundrc")
        << "pcm.!default { type file slave.pcm \"null\" file \"" << capture_path
        << "\" format \"raw\" }\npcm.null { type null }\n";
    setenv("HOME", home, 1);

    set_allegro_resource_path(1, ".");
    if (allegro_init() != 0) {
        std::printf("FAIL the library does not start (no display?): %s\n", allegro_error);
        return 1;
    }
    install_timer(); // the game's keyboard and mouse bring it in; this check has neither
    const int installed = install_sound(DIGI_AUTODETECT, MIDI_AUTODETECT, "");
    const std::string error = allegro_error;
    if (installed != 0 || !error.empty()) {
        fail("install_sound returned " + std::to_string(installed) + ": \"" + error + "\"");
    }
    if (!digi_driver || digi_driver->id == DIGI_NONE) {
        fail("no digital sound driver");
    }
    if (!midi_driver || midi_driver->id != MIDI_DIGMID) {
        fail(std::string("the MIDI driver is \"") + (midi_driver ? midi_driver->name : "none") +
             "\", not DIGMID");
    }
    check_covers_the_tune();
    if (failures == 0) {
        std::printf("sound: %s, music: %s\n", digi_driver->name, midi_driver->name);
        if (load_midi_patches() != 0) {
            fail(std::string("load_midi_patches: ") + allegro_error);
        }
        const Capture capture(capture_path);
        std::map<int, double> brightness; // by drum key
        for (const PatchSetEntry &entry : patch_set()) {
            if (entry.drum) {
                brightness[entry.number] = drum_brightness(capture, entry);
                std::printf("%s: %.0f zero crossings a second\n", entry.file.c_str(),
                            brightness[entry.number]);
            } else {
                select_program(0, entry.number);
                for (int key : tune_keys(entry)) {
                    check_pitch(capture, entry, key);
                }
            }
        }
        constexpr int kick = 36, snare = 38, closed_hi_hat = 42;
        if (brightness.size() != 3 || !(brightness[kick] < brightness[snare] &&
                                        brightness[snare] < brightness[closed_hi_hat])) {
            fail("the drums are not kick darkest, then snare, then hi-hat");
        }
    }
    remove_sound();
    allegro_exit();
    std::remove(capture_path.c_str());
    std::remove((std::string(home) + "/.asoundrc").c_str());
    rmdir(home);
    std::printf("%s\n", failures == 0 ? "the patch set plays" : "the patch set fails");
    return failures == 0 ? 0 : 1;
}
END_OF_MAIN()
