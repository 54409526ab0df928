// The standard MIDI file writer of make_assets; see midi_writer.h.
#include "midi_writer.h"

#include "byte_io.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

void put_variable_length(std::vector<std::uint8_t> &out, std::uint32_t value) {
    std::uint8_t groups[5];
    int count = 0;
    do {
        groups[count++] = static_cast<std::uint8_t>(value & 0x7F);
        value >>= 7;
    } while (value != 0);
    while (count-- > 0) {
        out.push_back(static_cast<std::uint8_t>(groups[count] | (count > 0 ? 0x80 : 0)));
    }
}

std::uint8_t status(int kind, int channel) {
    return static_cast<std::uint8_t>(kind | (channel & 0x0F));
}

std::uint8_t data(int value) {
    return static_cast<std::uint8_t>(value & 0x7F);
}

} // namespace

void MidiTrack::add(std::uint32_t tick, int order, std::vector<std::uint8_t> bytes) {
    events_.push_back({tick, order, std::move(bytes)});
}

void MidiTrack::name(const std::string &text) {
    std::vector<std::uint8_t> bytes = {0xFF, 0x03};
    put_variable_length(bytes, static_cast<std::uint32_t>(text.size()));
    bytes.insert(bytes.end(), text.begin(), text.end());
    add(0, 1, bytes);
}

void MidiTrack::tempo(std::uint32_t tick, double beats_per_minute) {
    const auto micros = static_cast<std::uint32_t>(std::lround(60000000.0 / beats_per_minute));
    add(tick, 1,
        {0xFF, 0x51, 0x03, static_cast<std::uint8_t>(micros >> 16),
         static_cast<std::uint8_t>(micros >> 8), static_cast<std::uint8_t>(micros)});
}

void MidiTrack::four_four_time(std::uint32_t tick) {
    add(tick, 1, {0xFF, 0x58, 0x04, 4, 2, 24, 8});
}

void MidiTrack::program(std::uint32_t tick, int channel, int program_from_zero) {
    add(tick, 1, {status(0xC0, channel), data(program_from_zero)});
}

void MidiTrack::controller(std::uint32_t tick, int channel, int number, int value) {
    add(tick, 1, {status(0xB0, channel), data(number), data(value)});
}

void MidiTrack::note(std::uint32_t tick, std::uint32_t length, int channel, int key, int velocity) {
    add(tick, 2, {status(0x90, channel), data(key), data(velocity)});
    add(tick + length, 0, {status(0x80, channel), data(key), 0});
}

std::set<int> MidiTrack::keys(int channel) const {
    std::set<int> found;
    for (const Event &event : events_) {
        if (event.bytes.size() == 3 && event.bytes[0] == status(0x90, channel)) {
            found.insert(event.bytes[1]);
        }
    }
    return found;
}

std::set<int> MidiTrack::programs(int channel) const {
    std::set<int> found;
    for (const Event &event : events_) {
        if (event.bytes.size() == 2 && event.bytes[0] == status(0xC0, channel)) {
            found.insert(event.bytes[1]);
        }
    }
    return found;
}

std::vector<std::uint8_t> MidiTrack::encode(std::uint32_t end_tick) const {
    std::vector<Event> sorted = events_;
    std::stable_sort(sorted.begin(), sorted.end(), [](const Event &a, const Event &b) {
        return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });
    std::vector<std::uint8_t> body;
    std::uint32_t now = 0;
    for (const Event &event : sorted) {
        if (event.tick > end_tick) {
            throw std::runtime_error("MIDI event after the end of the tune");
        }
        put_variable_length(body, event.tick - now);
        now = event.tick;
        body.insert(body.end(), event.bytes.begin(), event.bytes.end());
    }
    put_variable_length(body, end_tick - now);
    body.insert(body.end(), {0xFF, 0x2F, 0x00});

    std::vector<std::uint8_t> chunk = {'M', 'T', 'r', 'k'};
    put_be32(chunk, static_cast<std::uint32_t>(body.size()));
    chunk.insert(chunk.end(), body.begin(), body.end());
    return chunk;
}

void write_midi_file(const std::string &path, int ticks_per_quarter,
                     const std::vector<MidiTrack> &tracks, std::uint32_t end_tick) {
    std::vector<std::uint8_t> out = {'M', 'T', 'h', 'd'};
    put_be32(out, 6);
    put_be16(out, 1);
    put_be16(out, static_cast<std::uint32_t>(tracks.size()));
    put_be16(out, static_cast<std::uint32_t>(ticks_per_quarter));
    for (const MidiTrack &track : tracks) {
        const std::vector<std::uint8_t> chunk = track.encode(end_tick);
        out.insert(out.end(), chunk.begin(), chunk.end());
    }
    write_file(path, out);
}
