// The audio capture of the window tests; see audio_capture.h. The sound effects are
// found by cross-correlation, computed with a radix-2 FFT so that a second of effect
// slides over several seconds of capture in a moment.
#include "audio_capture.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <stdlib.h>

namespace window_test {

namespace {

namespace fs = std::filesystem;
using Complex = std::complex<double>;

constexpr int BYTES_PER_FRAME = 4;
constexpr unsigned SILENCE = 0x8000;
constexpr double FULL_SCALE = 32768.0;
constexpr double PI = 3.14159265358979323846;

std::vector<unsigned char> read_range(const std::string &path, long from, long to) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("no capture at " + path);
    in.seekg(from);
    std::vector<unsigned char> bytes(static_cast<std::size_t>(std::max(0L, to - from)));
    in.read(reinterpret_cast<char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (in.gcount() != static_cast<std::streamsize>(bytes.size()))
        throw std::runtime_error("the capture ends before byte " + std::to_string(to));
    return bytes;
}

unsigned le16(const unsigned char *p) {
    return static_cast<unsigned>(p[0]) | static_cast<unsigned>(p[1]) << 8;
}

// In place; the size must be a power of two. `inverse` leaves out the 1/n.
void fft(std::vector<Complex> &a, bool inverse) {
    const std::size_t n = a.size();
    for (std::size_t i = 1, j = 0; i < n; i++) {
        std::size_t bit = n >> 1;
        for (; j & bit; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j)
            std::swap(a[i], a[j]);
    }
    for (std::size_t length = 2; length <= n; length <<= 1) {
        const double angle = 2 * PI / static_cast<double>(length) * (inverse ? 1 : -1);
        const Complex step(std::cos(angle), std::sin(angle));
        for (std::size_t start = 0; start < n; start += length) {
            Complex w(1);
            for (std::size_t k = 0; k < length / 2; k++) {
                const Complex even = a[start + k];
                const Complex odd = a[start + k + length / 2] * w;
                a[start + k] = even + odd;
                a[start + k + length / 2] = even - odd;
                w *= step;
            }
        }
    }
}

} // namespace

ScratchHome::ScratchHome(const std::string &asoundrc) {
    char dir[] = "/tmp/tarvellion-home-XXXXXX";
    if (!mkdtemp(dir))
        throw std::runtime_error("cannot make a scratch HOME");
    path_ = dir;
    set_asoundrc(asoundrc);
}

void ScratchHome::set_asoundrc(const std::string &text) const {
    std::ofstream(path_ + "/.asoundrc") << text;
}

ScratchHome::~ScratchHome() {
    std::error_code error;
    fs::remove_all(path_, error);
}

AudioCapture::AudioCapture() : file_(home_.path() + "/capture.raw") {
    home_.set_asoundrc("pcm.!default { type file slave.pcm \"null\" file \"" + file_ +
                       "\" format \"raw\" }\npcm.null { type null }\n");
}

long AudioCapture::size() const {
    std::error_code error;
    const auto bytes = fs::file_size(file_, error);
    return error ? 0 : static_cast<long>(bytes);
}

std::vector<double> AudioCapture::mono(long from, long to) const {
    from -= from % BYTES_PER_FRAME;
    to -= to % BYTES_PER_FRAME;
    const std::vector<unsigned char> bytes = read_range(file_, from, to);
    std::vector<double> samples;
    samples.reserve(bytes.size() / BYTES_PER_FRAME);
    for (std::size_t i = 0; i + BYTES_PER_FRAME <= bytes.size(); i += BYTES_PER_FRAME) {
        const double left = static_cast<double>(le16(&bytes[i])) - SILENCE;
        const double right = static_cast<double>(le16(&bytes[i + 2])) - SILENCE;
        samples.push_back((left + right) / 2 / FULL_SCALE);
    }
    return samples;
}

bool AudioCapture::silent_until(long to) const {
    const std::vector<unsigned char> bytes = read_range(file_, 0, to - to % 2);
    for (std::size_t i = 0; i + 2 <= bytes.size(); i += 2)
        if (le16(&bytes[i]) != SILENCE)
            return false;
    return true;
}

std::string asoundrc_without_a_card() {
    return "pcm.!default { type hw card 31 device 0 }\nctl.!default { type hw card 31 }\n";
}

double rms_dbfs(const std::vector<double> &samples) {
    double sum = 0;
    for (double s : samples)
        sum += s * s;
    if (samples.empty() || sum == 0)
        return -200;
    return 10 * std::log10(sum / static_cast<double>(samples.size()));
}

std::vector<double> effect_as_played(const std::string &wav_path) {
    std::ifstream in(wav_path, std::ios::binary);
    const std::vector<unsigned char> file((std::istreambuf_iterator<char>(in)),
                                          std::istreambuf_iterator<char>());
    // RIFF chunks after the 12-byte header: "fmt " gives the rate, "data" the samples.
    long rate = 0;
    std::vector<double> samples;
    for (std::size_t at = 12; at + 8 <= file.size();) {
        const std::string id(file.begin() + static_cast<long>(at),
                             file.begin() + static_cast<long>(at) + 4);
        const std::size_t length = le16(&file[at + 4]) | le16(&file[at + 6]) << 16;
        const std::size_t body = at + 8;
        if (body + length > file.size())
            break;
        if (id == "fmt " && length >= 16) {
            if (le16(&file[body + 2]) != 1 || le16(&file[body + 14]) != 16)
                throw std::runtime_error(wav_path + " is not 16-bit mono");
            rate = le16(&file[body + 4]) | le16(&file[body + 6]) << 16;
        }
        if (id == "data")
            for (std::size_t i = body; i + 2 <= body + length; i += 2)
                samples.push_back(static_cast<std::int16_t>(le16(&file[i])) / FULL_SCALE);
        at = body + length + length % 2;
    }
    if (rate <= 0 || samples.empty())
        throw std::runtime_error("no sound in " + wav_path);
    const double step = static_cast<double>(rate) / CAPTURE_RATE;
    std::vector<double> played;
    for (double position = 0; position + 1 < static_cast<double>(samples.size());
         position += step) {
        const auto i = static_cast<std::size_t>(position);
        const double fraction = position - static_cast<double>(i);
        played.push_back(samples[i] * (1 - fraction) + samples[i + 1] * fraction);
    }
    return played;
}

Match best_match(const std::vector<double> &capture, const std::vector<double> &sound) {
    Match best;
    if (sound.empty() || capture.size() < sound.size())
        return best;
    std::size_t n = 1;
    while (n < capture.size() + sound.size())
        n <<= 1;
    std::vector<Complex> x(n), t(n);
    std::copy(capture.begin(), capture.end(), x.begin());
    std::copy(sound.begin(), sound.end(), t.begin());
    fft(x, false);
    fft(t, false);
    for (std::size_t i = 0; i < n; i++)
        x[i] *= std::conj(t[i]);
    fft(x, true); // x[lag] * n is now the sum of capture[lag + i] * sound[i]

    double sound_energy = 0;
    for (double s : sound)
        sound_energy += s * s;
    // The capture's energy under the sound at each lag, from running sums.
    std::vector<double> running(capture.size() + 1, 0.0);
    for (std::size_t i = 0; i < capture.size(); i++)
        running[i + 1] = running[i] + capture[i] * capture[i];
    for (std::size_t lag = 0; lag + sound.size() <= capture.size(); lag++) {
        const double window_energy = running[lag + sound.size()] - running[lag];
        if (window_energy <= 1e-12)
            continue;
        const double product = x[lag].real() / static_cast<double>(n);
        const double correlation = product / std::sqrt(window_energy * sound_energy);
        if (correlation > best.correlation) {
            const double gain = product / sound_energy;
            best.correlation = correlation;
            best.at = lag;
            best.level_dbfs =
                10 * std::log10(gain * gain * sound_energy / static_cast<double>(sound.size()));
        }
    }
    return best;
}

} // namespace window_test
