// The patch set writer of make_assets; see patch_set.h.
#include "patch_set.h"

#include "byte_io.h"
#include "instrument_patches.h"
#include "town_tune.h"

const std::vector<PatchSetEntry> &patch_set() {
    static const std::vector<PatchSetEntry> entries = {
        {"piano.pat", false, 1, make_grand_piano},     {"marimba.pat", false, 13, make_marimba},
        {"acbass.pat", false, 33, make_acoustic_bass}, {"kick.pat", true, 36, make_bass_drum},
        {"snare.pat", true, 38, make_snare_drum},      {"hihat.pat", true, 42, make_closed_hi_hat},
    };
    return entries;
}

std::set<int> tune_keys(const PatchSetEntry &entry) {
    if (entry.drum) {
        return {entry.number};
    }
    const auto &by_program = town_tune_notes().keys_by_program;
    const auto found = by_program.find(entry.number - 1);
    return found == by_program.end() ? std::set<int>{} : found->second;
}

std::string default_cfg_text() {
    std::string text = "# Tarvellion's patch set, written by make_assets: the instruments of the\n"
                       "# town tune by General MIDI program (from 1), then its drums by key.\n";
    bool in_drums = false;
    for (const PatchSetEntry &entry : patch_set()) {
        if (entry.drum && !in_drums) {
            text += "\n129 begin_multipatch\n";
            in_drums = true;
        }
        const std::string name = entry.file.substr(0, entry.file.rfind('.'));
        text += std::to_string(entry.number) + " " + name + "\n";
    }
    if (in_drums) {
        text += "end_multipatch\n";
    }
    return text;
}

std::string allegro_cfg_text() {
    // A desktop may offer other MIDI devices (a synthesiser-less port, a keyboard) that
    // autodetection would pick before the software synthesiser, and the music would go
    // there unheard. The patches are in tune at an output rate of 44100 Hz only, and
    // quality 2 interpolates them smoothly.
    return "# The library's settings for Tarvellion, read from the game's directory.\n"
           "[sound]\n"
           "midi_card = DIGI\n"
           "patches = default.cfg\n"
           "sound_freq = 44100\n"
           "quality = 2\n";
}

void write_patch_set(const std::string &directory) {
    for (const PatchSetEntry &entry : patch_set()) {
        write_gus_patch(directory + "/" + entry.file, entry.make(tune_keys(entry)));
    }
    const auto bytes = [](const std::string &text) {
        return std::vector<std::uint8_t>(text.begin(), text.end());
    };
    write_file(directory + "/default.cfg", bytes(default_cfg_text()));
    write_file(directory + "/allegro.cfg", bytes(allegro_cfg_text()));
}
