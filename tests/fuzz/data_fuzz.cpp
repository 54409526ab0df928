// Fuzz target for the data files. Each input is written, in one round, as a
// sprite frame (back2.dat), a sound (eat.wav) and the music (town.dat), and
// in a second round as a patch of the music's bass (acbass.pat); each round
// loads the game's data through loadfile() and plays the music and the sound
// for a second through the library's own player, mixer and patch loader. The
// checks must decide alone what is loaded: a file they pass must load, one
// they fail must be reported (a picture) or left out (a sound, the music).
//
// The library runs here without a system driver, so the target lends it what
// the music needs (library_sound.h): mutexes, a timer that ticks when told,
// and a sound driver that hands the library's mixer a buffer when told.
//
// With TARVELLION_FUZZ_UNCHECKED=1 in the environment the target hands each
// file straight to the library's loaders instead, with no checks and no
// expectations: that is how the faults the checks guard against are found.
#include "game_harness.h"
#include "library_sound.h"

#include "shell/output/assets.h"
#include "shell/files/data_checks.h"

#include <allegro.h>
#include <allegro/internal/aintern.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

const char *const PICTURE = "back2.dat";
const char *const SOUND = "eat.wav";
const char *const MUSIC = "town.dat";
const char *const PATCH = "acbass.pat";

constexpr int PLAY_MS = 1000;

std::string work_dir;
std::string messages;
bool unchecked = false;

void keep_message(const char *text) {
    messages += text;
}

_DRIVER_INFO synthesisers[] = {{MIDI_DIGMID, &midi_digmid, TRUE}, {0, nullptr, 0}};

void lend_the_library_a_system() {
    library_sound::lend_the_library_a_sound_system();
    system_driver->message = keep_message;
    system_driver->midi_drivers = [] { return synthesisers; };
}

Bytes read_file(const char *name) {
    Bytes bytes;
    FILE *file = std::fopen(name, "rb");
    if (!file)
        fail(std::string("can't read ") + name);
    for (int c; (c = std::fgetc(file)) != EOF;)
        bytes.push_back(static_cast<unsigned char>(c));
    std::fclose(file);
    return bytes;
}

void write_file(const char *name, const Bytes &bytes) {
    unlink(name);
    FILE *file = std::fopen(name, "wb");
    if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() ||
        std::fclose(file) != 0)
        fail(std::string("can't write ") + name);
}

// Puts the game's own file back in place of a fuzzed one.
void restore(const char *name) {
    unlink(name);
    if (symlink((std::string(TARVELLION_DATA_DIR) + "/" + name).c_str(), name) != 0)
        fail(std::string("can't link ") + name);
}

// The game's large files would take most of every run to read: the work
// directory keeps no pictures but the pointer, which also stands in for the
// game-over picture (a missing frame is passed over), and the smallest patch
// stands in for each of the large ones.
const char *const LARGE_PATCHES[] = {"piano.pat", "marimba.pat", PATCH};
const char *const SMALL_PATCH = "hihat.pat";

void keep_only_small_files() {
    DIR *dir = opendir(".");
    if (!dir)
        fail("can't list " + work_dir);
    while (const dirent *entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".dat") == 0 &&
            name != "mouse.dat" && name != MUSIC)
            unlink(name.c_str());
    }
    closedir(dir);
    write_file("lost.dat", read_file("mouse.dat"));
    for (const char *name : LARGE_PATCHES)
        write_file(name, read_file(SMALL_PATCH));
}

// The library's loaders on the fuzzed roles, with nothing checked first.
bool load_unchecked() {
    PALETTE palette = {}; // as the game's: entries a file leaves out are read as 0
    if (BITMAP *picture = load_bmp(PICTURE, palette))
        destroy_bitmap(picture);
    seat = load_sample(SOUND);
    backsound = load_midi(MUSIC);
    return true;
}

void play_a_second() {
    start_music();
    play_effect(seat);
    library_sound::play_for(PLAY_MS);
    stop_midi();
}

void release() {
    if (unchecked) {
        destroy_sample(seat);
        destroy_midi(backsound);
        seat = nullptr;
        backsound = nullptr;
    } else {
        destory_all();
        destroy_bitmap(blost);
        blost = nullptr;
    }
    remove_sound();
}

void expect(bool holds, const std::string &what) {
    if (!holds)
        fail(what + (messages.empty() ? "" : " (message: " + messages + ")"));
}

// Loads the game's data and plays; `check` looks at what loaded first.
template <class Check> void round(Check check) {
    if (install_sound(library_sound::MIXER, MIDI_DIGMID, nullptr) != 0)
        fail(std::string("can't start the mixer and synthesiser: ") + allegro_error);
    messages.clear();
    const bool complete = unchecked ? load_unchecked() : loadfile();
    if (!unchecked)
        check(complete);
    play_a_second();
    release();
}

void run(const Bytes &input) {
    for (const char *name : {PICTURE, SOUND, MUSIC})
        write_file(name, input);
    round([&](bool complete) {
        const bool picture = picture_is_usable(input);
        expect(complete == picture,
               picture ? "a picture that passed did not load" : "a picture that failed was loaded");
        expect(picture || messages == std::string("Can't open file ") + PICTURE + " !!!",
               "a damaged picture was not reported by name");
        expect(picture == (sback.FrameBitmap(2) != nullptr), "the frame is not as checked");
        expect(sound_is_usable(input) == (seat != nullptr), "the sound is not as checked");
        expect(music_is_usable(input) == (backsound != nullptr), "the music is not as checked");
    });
    unlink(PICTURE);
    restore(SOUND);
    restore(MUSIC);

    write_file(PATCH, input);
    round([&](bool complete) {
        expect(complete && messages.empty(), "a patch stopped the loading");
        expect(patch_is_usable(input) == (backsound != nullptr),
               "the music is not played as the patch was checked");
    });
    write_file(PATCH, read_file(SMALL_PATCH));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    unchecked = std::getenv("TARVELLION_FUZZ_UNCHECKED") != nullptr;
    start_library();
    lend_the_library_a_system();
    use_screen(400, 300, 32);
    // As a graphics mode would: pictures are converted to the screen's depth.
    set_color_conversion(COLORCONV_TOTAL);
    work_dir = make_temp_dir();
    load_assets_in(work_dir);
    destory_all();
    destroy_bitmap(blost);
    blost = nullptr;
    in_directory(work_dir, keep_only_small_files);
    // The synthesiser's patch set is the work directory's. An override is
    // never written back to a settings file, as a set_config_string would be
    // (through the link to the game's own allegro.cfg).
    const std::string sound = "[sound]\npatches = " + work_dir + "/default.cfg\n";
    override_config_data(sound.c_str(), static_cast<int>(sound.size()));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    in_directory(work_dir, [&] { run(Bytes(data, data + size)); });
    return 0;
}
