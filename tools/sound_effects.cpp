// The sound-effect synthesis of make_assets; see sound_effects.h.
#include "sound_effects.h"

#include "xorshift.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float pi = 3.14159265358979f;
constexpr float rate = static_cast<float>(effect_sample_rate);

using Signal = std::vector<float>;

Signal silence(float seconds) {
    return Signal(static_cast<std::size_t>(seconds * rate), 0.0f);
}

float seconds_at(std::size_t i) {
    return static_cast<float>(i) / rate;
}

// Raised-cosine ramp from 0 to 1 over `length` seconds.
float ease(float t, float length) {
    if (t >= length) {
        return 1.0f;
    }
    return t <= 0 ? 0.0f : 0.5f - 0.5f * std::cos(pi * t / length);
}

// One note: a pitch gliding from start_hz to end_hz, shaped by its own attack, decay and
// release, and a timbre given as harmonic weights.
void add_note(Signal &signal, float start, float length, float start_hz, float end_hz, float decay,
              float loudness, std::initializer_list<float> harmonics, float vibrato = 0.0f) {
    float phase = 0;
    const std::size_t first = static_cast<std::size_t>(start * rate);
    const std::size_t count = static_cast<std::size_t>(length * rate);
    for (std::size_t i = 0; i < count && first + i < signal.size(); ++i) {
        const float t = seconds_at(i);
        const float glide = t / length;
        const float wobble = 1.0f + vibrato * std::sin(2 * pi * 5.5f * t) * ease(t, 0.15f);
        phase += 2 * pi * (start_hz + (end_hz - start_hz) * glide) * wobble / rate;
        float value = 0;
        int k = 1;
        for (float weight : harmonics) {
            value += weight * std::sin(phase * static_cast<float>(k++));
        }
        const float envelope = ease(t, 0.003f) * ease(length - t, 0.008f) * std::exp(-t / decay);
        signal[first + i] += loudness * value * envelope;
    }
}

// Centres the signal, fades its ends and scales it to -4 dBFS.
std::vector<std::int16_t> finish(Signal signal) {
    double sum = 0;
    for (float v : signal) {
        sum += v;
    }
    const float mean = static_cast<float>(sum / static_cast<double>(signal.size()));
    const float length = seconds_at(signal.size());
    float peak = 0;
    for (std::size_t i = 0; i < signal.size(); ++i) {
        const float t = seconds_at(i);
        signal[i] = (signal[i] - mean) * ease(t, 0.002f) * ease(length - t, 0.012f);
        peak = std::max(peak, std::fabs(signal[i]));
    }
    const float target = 32767.0f * std::pow(10.0f, -4.0f / 20.0f);
    std::vector<std::int16_t> samples;
    samples.reserve(signal.size());
    for (float v : signal) {
        samples.push_back(static_cast<std::int16_t>(std::lround(v / peak * target)));
    }
    return samples;
}

} // namespace

std::vector<std::int16_t> make_pickup_blip() {
    Signal signal = silence(0.15f);
    // Two quick rising notes, C6 then G6, a soft square wave.
    add_note(signal, 0.0f, 0.06f, 1046.5f, 1108.7f, 0.05f, 0.8f, {1.0f, 0.0f, 0.3f, 0.0f, 0.12f});
    add_note(signal, 0.05f, 0.1f, 1568.0f, 1661.2f, 0.045f, 1.0f, {1.0f, 0.0f, 0.3f, 0.0f, 0.12f});
    return finish(signal);
}

std::vector<std::int16_t> make_hit_crash() {
    Signal signal = silence(0.4f);
    Xorshift random(61);
    float low_passed = 0, thud_phase = 0, buzz_phase = 0;
    for (std::size_t i = 0; i < signal.size(); ++i) {
        const float t = seconds_at(i);
        // Noise burst that dulls as it dies away.
        const float brightness = 0.08f + 0.7f * std::exp(-t / 0.05f);
        low_passed += brightness * (random.signed_unit() - low_passed);
        const float noise = low_passed * std::exp(-t / 0.07f);
        // A falling, overdriven thud under it.
        thud_phase += 2 * pi * (50.0f + 170.0f * std::exp(-t / 0.08f)) / rate;
        const float thud = std::tanh(3.0f * std::sin(thud_phase)) * std::exp(-t / 0.14f);
        // A sawtooth buzz sliding down, band-limited to keep it harsh but not brittle.
        const float buzz_hz = 140.0f - 80.0f * t / 0.4f;
        buzz_phase += 2 * pi * buzz_hz / rate;
        float buzz = 0;
        for (int k = 1; static_cast<float>(k) * buzz_hz < 6000.0f; ++k) {
            buzz += std::sin(buzz_phase * static_cast<float>(k)) / static_cast<float>(k);
        }
        buzz *= 0.35f * std::exp(-t / 0.12f);
        signal[i] = std::tanh(1.6f * (1.2f * noise + 0.8f * thud + buzz)) * ease(t, 0.002f);
    }
    return finish(signal);
}

std::vector<std::int16_t> make_extra_life_fanfare() {
    Signal signal = silence(1.0f);
    const std::initializer_list<float> brass = {1.0f, 0.55f, 0.38f, 0.22f, 0.14f, 0.08f};
    // A quick C-major arpeggio...
    const float pickups[] = {523.25f, 659.26f, 783.99f};
    for (int i = 0; i < 3; ++i) {
        add_note(signal, 0.09f * static_cast<float>(i), 0.1f, pickups[i], pickups[i], 0.2f, 0.6f,
                 brass);
    }
    // ...landing on a held chord with a little vibrato.
    const float chord[] = {523.25f, 659.26f, 783.99f, 1046.5f};
    for (float hz : chord) {
        add_note(signal, 0.27f, 0.73f, hz, hz, 0.3f, 0.45f, brass, 0.006f);
    }
    return finish(signal);
}
