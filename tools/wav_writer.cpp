// The WAV writer of make_assets; see wav_writer.h.
#include "wav_writer.h"

#include "byte_io.h"

void write_mono_wav(const std::string &path, const std::vector<std::int16_t> &samples,
                    int sample_rate) {
    const std::uint32_t data_bytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::vector<std::uint8_t> out;
    for (char c : {'R', 'I', 'F', 'F'}) {
        out.push_back(static_cast<std::uint8_t>(c));
    }
    put_le32(out, 36 + data_bytes);
    for (char c : {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '}) {
        out.push_back(static_cast<std::uint8_t>(c));
    }
    put_le32(out, 16);
    put_le16(out, 1); // PCM
    put_le16(out, 1); // mono
    put_le32(out, static_cast<std::uint32_t>(sample_rate));
    put_le32(out, static_cast<std::uint32_t>(sample_rate) * 2);
    put_le16(out, 2);
    put_le16(out, 16);
    for (char c : {'d', 'a', 't', 'a'}) {
        out.push_back(static_cast<std::uint8_t>(c));
    }
    put_le32(out, data_bytes);
    for (std::int16_t sample : samples) {
        put_le16(out, static_cast<std::uint16_t>(sample));
    }
    write_file(path, out);
}
