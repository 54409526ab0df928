// Builds standard MIDI files (format 1, one track per part) for the game's music. Events
// are kept in time order with note-offs ahead of note-ons on the same tick, and every
// track ends with its end-of-track event at one stated tick, so a player that loops the
// file jumps back exactly at the end of the last bar. Called by the tune composer.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

class MidiTrack {
  public:
    void name(const std::string &text);
    void tempo(std::uint32_t tick, double beats_per_minute);
    void four_four_time(std::uint32_t tick);
    void program(std::uint32_t tick, int channel, int program_from_zero);
    void controller(std::uint32_t tick, int channel, int number, int value);
    void note(std::uint32_t tick, std::uint32_t length, int channel, int key, int velocity);

    // The keys of the notes this track plays on `channel`, and the programs it selects
    // there (from zero).
    std::set<int> keys(int channel) const;
    std::set<int> programs(int channel) const;

    // The track's bytes ending at `end_tick`; throws if an event lies beyond it.
    std::vector<std::uint8_t> encode(std::uint32_t end_tick) const;

  private:
    struct Event {
        std::uint32_t tick;
        int order; // at one tick: notes off, then settings, then notes on
        std::vector<std::uint8_t> bytes;
    };
    void add(std::uint32_t tick, int order, std::vector<std::uint8_t> bytes);

    std::vector<Event> events_;
};

// Throws std::runtime_error if the file cannot be written.
void write_midi_file(const std::string &path, int ticks_per_quarter,
                     const std::vector<MidiTrack> &tracks, std::uint32_t end_tick);
