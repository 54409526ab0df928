// The instrument synthesis of make_assets; see instrument_patches.h. Pitched
// instruments are additive: partials with their own decays, plus a short noise
// transient for the strike. Piano and bass sustain on a loop: their sound crossfades
// into a steady tone of whole periods, and the envelope, not the wave, lets it fade while
// the key is held. Every wave's levels are baked in, so the tune's balance is set by its
// velocities and channel volumes alone.
//
// Why a wave per key: the library's mixer steps through a wave in 1/256ths of its output
// rate (44100 Hz, which allegro.cfg asks for), rounding down, so a wave played off its
// root comes out up to 14 cents flat. A wave played on its own key at 11025, 22050 or
// 44100 Hz, which are whole numbers of those steps, is exact, as long as its root lies
// just under the key's pitch: a hair above, and the ratio falls to the step below.
#include "instrument_patches.h"

#include "xorshift.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr double pi = 3.14159265358979323846;
constexpr int tonal_rate = 22050;
constexpr int bass_rate = 11025;         // the bass has nothing above 3 kHz
constexpr int drum_rate = 44100;         // cymbal and snare noise reaches well past 10 kHz
constexpr double root_under_key = 0.998; // a root 3.5 cents under its key's pitch
// The peak of each instrument's waves, as a fraction of full scale: this sets the mix.
// Once the library has mixed them, the game's sound effects peak near -10 dBFS, and the
// music stays under them with its melody on top. Bass and kick sit lower than they sound
// next to it, as their energy is in the lows; the short piano chords and the drums need
// more to be heard at all.
constexpr double marimba_peak = 0.25, piano_peak = 0.53, bass_peak = 0.155;
constexpr double kick_peak = 0.175, snare_peak = 0.44, hi_hat_peak = 0.33;
// The lowest and highest keys any patch must answer, whatever the tune plays.
constexpr int lowest_key = 0, highest_key = 127;

using Signal = std::vector<double>;

Signal silence(double seconds, int rate) {
    return Signal(static_cast<std::size_t>(seconds * rate), 0.0);
}

// Raised-cosine ramp from 0 at t = 0 to 1 at t = length.
double ease(double t, double length) {
    if (t >= length) {
        return 1.0;
    }
    return t <= 0 ? 0.0 : 0.5 - 0.5 * std::cos(pi * t / length);
}

// A one-pole low-pass filter; `cutoff_hz` sets where it starts to cut.
class LowPass {
  public:
    LowPass(double cutoff_hz, int rate) : k_(1.0 - std::exp(-2 * pi * cutoff_hz / rate)) {}
    double operator()(double x) { return state_ += k_ * (x - state_); }

  private:
    double k_;
    double state_ = 0;
};

// What a low-pass filter leaves out.
class HighPass {
  public:
    HighPass(double cutoff_hz, int rate) : low_(cutoff_hz, rate) {}
    double operator()(double x) { return x - low_(x); }

  private:
    LowPass low_;
};

std::vector<std::int16_t> to_samples(const Signal &signal, double wave_peak) {
    double peak = 1e-9;
    for (double v : signal) {
        peak = std::max(peak, std::fabs(v));
    }
    std::vector<std::int16_t> samples;
    samples.reserve(signal.size());
    for (double v : signal) {
        samples.push_back(static_cast<std::int16_t>(std::lround(v / peak * wave_peak * 32767)));
    }
    return samples;
}

// Fades the last `seconds` of a wave that is played once, so its end does not click.
void fade_end(Signal &signal, int rate, double seconds) {
    const auto count = std::min(signal.size(), static_cast<std::size_t>(seconds * rate));
    for (std::size_t i = 0; i < count; ++i) {
        signal[signal.size() - 1 - i] *= ease(static_cast<double>(i) / rate, seconds);
    }
}

// A wave played on `key` at its recorded rate.
GusWave wave_for_key(int key, int rate) {
    GusWave wave;
    wave.sample_rate = rate;
    wave.root_hz = key_hz(key) * root_under_key;
    return wave;
}

// One wave per key, each answering the keys nearer to it than to its neighbours (the
// bounds lie halfway between keys), the first from the lowest key, the last to the
// highest.
GusPatch patch(const char *name, const char *description, const std::set<int> &keys,
               const std::function<GusWave(int)> &make) {
    if (keys.empty()) {
        throw std::invalid_argument(std::string(name) + " needs a key to play");
    }
    GusPatch p;
    p.name = name;
    p.description = description;
    const std::vector<int> sorted(keys.begin(), keys.end());
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        GusWave wave = make(sorted[i]);
        wave.low_hz =
            i == 0 ? key_hz(lowest_key) : std::sqrt(key_hz(sorted[i - 1]) * key_hz(sorted[i]));
        wave.high_hz = i + 1 == sorted.size()
                           ? key_hz(highest_key)
                           : std::sqrt(key_hz(sorted[i]) * key_hz(sorted[i + 1])) - 0.001;
        p.waves.push_back(std::move(wave));
    }
    return p;
}

// A partial of a pitched sound: its frequency as a multiple of the fundamental, its
// starting amplitude, and the time it takes to fall to 1/e.
struct Partial {
    double ratio;
    double amplitude;
    double decay_s;
};

// The steady end of a sustaining wave: from `at_s` the struck sound crossfades over
// `fade_s` into whole periods of a tone made of `harmonics` (amplitudes of 1, 2, 3...
// times the fundamental), about a tenth of a second of them, which the wave then loops.
// The loop's length is rounded to whole samples, which retunes the tone by well under a
// cent.
void add_loop_tail(GusWave &wave, Signal &signal, double root_hz, double at_s, double fade_s,
                   const std::vector<double> &harmonics) {
    const int rate = wave.sample_rate;
    const long periods = std::max(1L, std::lround(0.1 * root_hz));
    const auto loop_length = static_cast<std::size_t>(std::lround(periods * rate / root_hz));
    const double tail_hz = static_cast<double>(periods) * rate / static_cast<double>(loop_length);
    const auto fade_start = static_cast<std::size_t>(at_s * rate);
    const auto loop_start = static_cast<std::size_t>((at_s + fade_s) * rate);
    signal.resize(loop_start + loop_length, 0.0);
    for (std::size_t i = fade_start; i < signal.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        double tone = 0;
        for (std::size_t h = 0; h < harmonics.size(); ++h) {
            tone += harmonics[h] * std::sin(2 * pi * tail_hz * static_cast<double>(h + 1) * t);
        }
        // Equal-power crossfade: the two sounds are not in phase.
        const double mix = ease(t - at_s, fade_s);
        signal[i] = signal[i] * std::sqrt(1 - mix) + tone * std::sqrt(mix);
    }
    wave.looping = true;
    wave.loop_start = loop_start;
    wave.loop_end = loop_start + loop_length;
}

// The envelope of a struck or plucked sustaining note: full at once, a quick fall to
// `settle`, a slow fall to `floor` that is then held, and a release of `release_s`.
GusEnvelope held_note_envelope(int settle, double settle_s, int floor, double fall_s,
                               double release_s) {
    return gus_envelope({GusStage{255, 0.002}, GusStage{settle, settle_s}, GusStage{floor, fall_s},
                         GusStage{0, release_s}, GusStage{0, 0.01}, GusStage{0, 0.01}});
}

// ---- marimba

GusWave marimba_wave(int key) {
    const double f = key_hz(key);
    GusWave wave = wave_for_key(key, tonal_rate);
    Signal signal = silence(0.8, tonal_rate);
    // The bar's first overtone is tuned two octaves up; the next, near ten times the
    // fundamental, is what makes the wood knock. Higher bars ring shorter.
    const Partial modes[] = {
        {1.0, 1.0, 0.42 * std::sqrt(523.25 / f)}, {3.99, 0.3, 0.07}, {9.86, 0.09, 0.018}};
    Xorshift random(1301);
    LowPass mallet(2500, tonal_rate);
    for (std::size_t i = 0; i < signal.size(); ++i) {
        const double t = static_cast<double>(i) / tonal_rate;
        double v = 0;
        for (const Partial &m : modes) {
            if (m.ratio * f < 0.45 * tonal_rate) {
                v += m.amplitude * std::exp(-t / m.decay_s) * std::sin(2 * pi * m.ratio * f * t);
            }
        }
        v += 0.2 * mallet(random.signed_unit()) * std::exp(-t / 0.004);
        signal[i] = v * ease(t, 0.001);
    }
    fade_end(signal, tonal_rate, 0.05);
    wave.samples = to_samples(signal, marimba_peak);
    // The bar rings on its own; letting go of the key damps it quickly but not at once.
    wave.envelope = true;
    wave.sustain = true;
    wave.volume = gus_envelope({GusStage{255, 0.002}, GusStage{255, 0.01}, GusStage{255, 0.01},
                                GusStage{0, 0.18}, GusStage{0, 0.01}, GusStage{0, 0.01}});
    return wave;
}

// ---- piano

GusWave piano_wave(int key) {
    const double f = key_hz(key);
    GusWave wave = wave_for_key(key, tonal_rate);
    constexpr double loop_at_s = 0.3, fade_s = 0.06;
    Signal signal = silence(loop_at_s + fade_s, tonal_rate);

    // Stiff strings: partial n sits a little sharp of n times the fundamental. The
    // hammer, striking an eighth of the way along, leaves out the partials near 8.
    constexpr double stiffness = 0.0004, strike_point = 0.12, string_spread = 0.0009;
    std::vector<Partial> partials;
    for (int n = 1; n <= 30; ++n) {
        const double ratio = n * std::sqrt(1 + stiffness * n * n);
        if (ratio * f * (1 + string_spread) >= 0.45 * tonal_rate) {
            break;
        }
        const double amplitude = std::fabs(std::sin(pi * n * strike_point)) / std::pow(n, 0.8);
        partials.push_back(
            {ratio, amplitude, 1.4 * std::pow(220.0 / f, 0.3) / (1 + 0.35 * (n - 1))});
    }
    // A partial dies in two stages, fast while the hammer's energy spreads, then slowly.
    auto level = [](const Partial &p, double t) {
        return p.amplitude *
               (0.6 * std::exp(-t / (0.25 * p.decay_s)) + 0.4 * std::exp(-t / p.decay_s));
    };
    Xorshift random(1709);
    LowPass felt(1200, tonal_rate);
    for (std::size_t i = 0; i < signal.size(); ++i) {
        const double t = static_cast<double>(i) / tonal_rate;
        double v = 0;
        for (const Partial &p : partials) {
            // Two strings a note, tuned a hair apart, beat slowly against each other.
            const double w = 2 * pi * p.ratio * f * t;
            v += level(p, t) * 0.5 *
                 (std::sin(w * (1 + string_spread / 2)) + std::sin(w * (1 - string_spread / 2)));
        }
        v += 0.12 * felt(random.signed_unit()) * std::exp(-t / 0.003);
        signal[i] = v * ease(t, 0.002);
    }
    std::vector<double> tail;
    for (int n = 1; n <= static_cast<int>(partials.size()); ++n) {
        tail.push_back(level(partials[n - 1], loop_at_s + fade_s));
    }
    add_loop_tail(wave, signal, f, loop_at_s, fade_s, tail);
    wave.samples = to_samples(signal, piano_peak);
    wave.envelope = true;
    wave.sustain = true;
    wave.volume = held_note_envelope(210, 0.4, 90, 2.5, 0.2);
    return wave;
}

// ---- acoustic bass

GusWave bass_wave(int key) {
    const double f = key_hz(key);
    GusWave wave = wave_for_key(key, bass_rate);
    constexpr double loop_at_s = 0.3, fade_s = 0.06;
    Signal signal = silence(loop_at_s + fade_s, bass_rate);

    // Plucked a fifth of the way along, so the low harmonics carry the note.
    std::vector<Partial> partials;
    for (int n = 1; n <= 16 && n * f < 0.45 * bass_rate; ++n) {
        double amplitude = std::fabs(std::sin(pi * n * 0.22)) / std::pow(n, 1.3);
        if (n == 1) {
            amplitude *= 1.6; // the body resonates under the lowest notes
        }
        partials.push_back({static_cast<double>(n), amplitude, 1.1 / (1 + 0.5 * (n - 1))});
    }
    Xorshift random(3301);
    LowPass thump(300, bass_rate);
    double phase = 0;
    for (std::size_t i = 0; i < signal.size(); ++i) {
        const double t = static_cast<double>(i) / bass_rate;
        // The string starts a little sharp while the pluck stretches it.
        phase += 2 * pi * f * (1 + 0.006 * std::exp(-t / 0.04)) / bass_rate;
        double v = 0;
        for (const Partial &p : partials) {
            v += p.amplitude * std::exp(-t / p.decay_s) * std::sin(p.ratio * phase);
        }
        v += 0.5 * thump(random.signed_unit()) * std::exp(-t / 0.008);
        signal[i] = v * ease(t, 0.003);
    }
    std::vector<double> tail;
    for (const Partial &p : partials) {
        tail.push_back(p.amplitude * std::exp(-(loop_at_s + fade_s) / p.decay_s));
    }
    add_loop_tail(wave, signal, f, loop_at_s, fade_s, tail);
    wave.samples = to_samples(signal, bass_peak);
    wave.envelope = true;
    wave.sustain = true;
    wave.volume = held_note_envelope(200, 0.3, 110, 1.8, 0.06);
    return wave;
}

// ---- drums

// A drum plays its wave as recorded on its key: the synthesiser pitches drums like any
// note (so the root is the key's), whatever the patch says about scaling. A drum rings
// out whatever the note's length.
GusPatch drum_patch(const char *name, const char *description, const std::set<int> &keys,
                    const Signal &signal, int rate, double peak) {
    return patch(name, description, keys, [&](int key) {
        GusWave wave = wave_for_key(key, rate);
        wave.scale_key = key;
        wave.scale_factor = 0;
        wave.samples = to_samples(signal, peak);
        return wave;
    });
}

} // namespace

double key_hz(int key) {
    return 440.0 * std::pow(2.0, (key - 69) / 12.0);
}

GusPatch make_marimba(const std::set<int> &keys) {
    return patch("Marimba", "Tarvellion marimba: struck bars, synthesised", keys, marimba_wave);
}

GusPatch make_grand_piano(const std::set<int> &keys) {
    return patch("Piano", "Tarvellion grand piano: hammered strings, synthesised", keys,
                 piano_wave);
}

GusPatch make_acoustic_bass(const std::set<int> &keys) {
    return patch("AcousticBass", "Tarvellion acoustic bass: plucked string, synthesised", keys,
                 bass_wave);
}

GusPatch make_bass_drum(const std::set<int> &keys) {
    Signal signal = silence(0.45, tonal_rate);
    Xorshift random(36);
    HighPass click(2000, tonal_rate);
    double phase = 0;
    for (std::size_t i = 0; i < signal.size(); ++i) {
        const double t = static_cast<double>(i) / tonal_rate;
        // The skin's pitch drops fast from the beater's hit to its resting thud.
        phase += 2 * pi * (45 + 120 * std::exp(-t / 0.03)) / tonal_rate;
        const double body = std::sin(phase) * std::exp(-t / 0.2) * ease(t, 0.0015);
        const double beater = 0.3 * click(random.signed_unit()) * std::exp(-t / 0.002);
        signal[i] = std::tanh(1.8 * (body + beater));
    }
    fade_end(signal, tonal_rate, 0.03);
    return drum_patch("BassDrum", "Tarvellion bass drum: falling sine and click, synthesised", keys,
                      signal, tonal_rate, kick_peak);
}

GusPatch make_snare_drum(const std::set<int> &keys) {
    Signal signal = silence(0.3, drum_rate);
    Xorshift random(38);
    HighPass low_cut_1(800, drum_rate), low_cut_2(800, drum_rate);
    LowPass top_cut(10000, drum_rate);
    double head = 0, overtone = 0;
    for (std::size_t i = 0; i < signal.size(); ++i) {
        const double t = static_cast<double>(i) / drum_rate;
        const double drop = 1 + 0.03 * std::exp(-t / 0.01);
        head += 2 * pi * 185 * drop / drum_rate;
        overtone += 2 * pi * 330 * drop / drum_rate;
        const double tone = 0.7 * std::sin(head) * std::exp(-t / 0.05) +
                            0.4 * std::sin(overtone) * std::exp(-t / 0.03);
        // The wires under the drum rattle as a bright hiss that outlasts the tone.
        const double wires =
            0.8 * top_cut(low_cut_2(low_cut_1(random.signed_unit()))) * std::exp(-t / 0.12);
        signal[i] = (tone + wires) * ease(t, 0.0008);
    }
    fade_end(signal, drum_rate, 0.03);
    return drum_patch("Snare", "Tarvellion snare drum: tone and noise, synthesised", keys, signal,
                      drum_rate, snare_peak);
}

GusPatch make_closed_hi_hat(const std::set<int> &keys) {
    Signal signal = silence(0.12, drum_rate);
    Xorshift random(42);
    // Six square waves at unrelated pitches make the metallic clang of two cymbals.
    const double clang_hz[] = {410.6, 608.8, 739.2, 1045.4, 1080.0, 1600.0};
    double phases[6] = {};
    HighPass cut_1(7000, drum_rate), cut_2(7000, drum_rate), cut_3(7000, drum_rate);
    HighPass hiss_cut(6000, drum_rate);
    for (std::size_t i = 0; i < signal.size(); ++i) {
        const double t = static_cast<double>(i) / drum_rate;
        double metal = 0;
        for (int k = 0; k < 6; ++k) {
            phases[k] = std::fmod(phases[k] + clang_hz[k] / drum_rate, 1.0);
            metal += phases[k] < 0.5 ? 1.0 : -1.0;
        }
        const double bright = cut_3(cut_2(cut_1(metal / 6)));
        const double hiss = hiss_cut(random.signed_unit());
        signal[i] = (0.6 * bright + 0.4 * hiss) * std::exp(-t / 0.022) * ease(t, 0.0003);
    }
    fade_end(signal, drum_rate, 0.02);
    return drum_patch("ClosedHiHat", "Tarvellion closed hi-hat: metal and noise, synthesised", keys,
                      signal, drum_rate, hi_hat_peak);
}
