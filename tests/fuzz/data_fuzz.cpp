// Fuzz target for the data files. Each input is written, in one round, as a
// sprite frame (back2.dat), a sound (eat.wav) and the music (town.dat), and
// in a second round as a patch of the music's bass (acbass.pat); each round
// loads the game's data through loadfile() and plays the music and the sound
// for a second through the library's own player, mixer and patch loader. The
// checks must decide alone what is loaded: a file they pass must load, one
// they fail must be reported (a picture) or left out (a sound, the music).
//
// The library runs here without a system driver, so the target lends it what
// the music needs: mutexes, a timer that ticks when told, and a sound driver
// that hands the library's mixer a buffer when told.
//
// With TARVELLION_FUZZ_UNCHECKED=1 in the environment the target hands each
// file straight to the library's loaders instead, with no checks and no
// expectations: that is how the faults the checks guard against are found.
#include "game_harness.h"

#include "shell/assets.h"
#include "shell/data_checks.h"

#include <allegro.h>
#include <allegro/internal/aintern.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <mutex>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

const char *const PICTURE = "back2.dat";
const char *const SOUND = "eat.wav";
const char *const MUSIC = "town.dat";
const char *const PATCH = "acbass.pat";

constexpr int TICKS = 50; // a second of play
constexpr int TICK_MS = 20;
constexpr int MIX_RATE = 11025;
constexpr int MIX_FRAMES = 256; // about one tick's worth, stereo

std::string work_dir;
std::string messages;
bool unchecked = false;
short mix_buffer[2 * MIX_FRAMES];

// The library's own mutexes, which a system driver would provide. It may
// ask to lock the timer's before it has made it.
void *create_mutex() {
    return new std::recursive_mutex;
}
void destroy_mutex(void *m) {
    delete static_cast<std::recursive_mutex *>(m);
}
void lock_mutex(void *m) {
    if (m)
        static_cast<std::recursive_mutex *>(m)->lock();
}
void unlock_mutex(void *m) {
    if (m)
        static_cast<std::recursive_mutex *>(m)->unlock();
}

void keep_message(const char *text) {
    messages += text;
}

// A timer with no thread: the library's timer queue, advanced by
// _handle_timer_tick() from the target.
int no_setup() {
    return 0;
}
void no_teardown() {}
TIMER_DRIVER manual_timer = {AL_ID('M', 'A', 'N', 'U'),
                             empty_string,
                             empty_string,
                             "manual",
                             no_setup,
                             no_teardown,
                             nullptr,
                             nullptr,
                             nullptr,
                             nullptr,
                             nullptr,
                             nullptr,
                             nullptr};
_DRIVER_INFO timers[] = {{AL_ID('M', 'A', 'N', 'U'), &manual_timer, TRUE}, {0, nullptr, 0}};

// A sound driver with no device: the library's software mixer, run by
// _mix_some_samples() from the target.
int mixer_detect(int) {
    return TRUE;
}
int mixer_init(int, int voices);
void mixer_exit(int) {
    _mixer_exit();
}
int mixer_buffer_size() {
    return MIX_FRAMES;
}
DIGI_DRIVER manual_mixer = {AL_ID('M', 'I', 'X', 'R'),
                            empty_string,
                            empty_string,
                            "manual mixer",
                            0,
                            0,
                            MIXER_MAX_SFX,
                            MIXER_DEF_SFX,
                            mixer_detect,
                            mixer_init,
                            mixer_exit,
                            nullptr,
                            nullptr,
                            nullptr,
                            nullptr,
                            mixer_buffer_size,
                            _mixer_init_voice,
                            _mixer_release_voice,
                            _mixer_start_voice,
                            _mixer_stop_voice,
                            _mixer_loop_voice,
                            _mixer_get_position,
                            _mixer_set_position,
                            _mixer_get_volume,
                            _mixer_set_volume,
                            _mixer_ramp_volume,
                            _mixer_stop_volume_ramp,
                            _mixer_get_frequency,
                            _mixer_set_frequency,
                            _mixer_sweep_frequency,
                            _mixer_stop_frequency_sweep,
                            _mixer_get_pan,
                            _mixer_set_pan,
                            _mixer_sweep_pan,
                            _mixer_stop_pan_sweep,
                            _mixer_set_echo,
                            _mixer_set_tremolo,
                            _mixer_set_vibrato,
                            0,
                            0,
                            nullptr,
                            nullptr,
                            nullptr,
                            nullptr,
                            nullptr,
                            nullptr};
int mixer_init(int, int voices) {
    manual_mixer.voices = voices;
    return _mixer_init(2 * MIX_FRAMES, MIX_RATE, TRUE, TRUE, &manual_mixer.voices);
}
_DRIVER_INFO mixers[] = {{manual_mixer.id, &manual_mixer, TRUE}, {0, nullptr, 0}};
_DRIVER_INFO synthesisers[] = {{MIDI_DIGMID, &midi_digmid, TRUE}, {0, nullptr, 0}};

void lend_the_library_a_system() {
    system_driver->create_mutex = create_mutex;
    system_driver->destroy_mutex = destroy_mutex;
    system_driver->lock_mutex = lock_mutex;
    system_driver->unlock_mutex = unlock_mutex;
    system_driver->message = keep_message;
    system_driver->timer_drivers = [] { return timers; };
    system_driver->digi_drivers = [] { return mixers; };
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
    for (int tick = 0; tick < TICKS; tick++) {
        _handle_timer_tick(MSEC_TO_TIMER(TICK_MS));
        _mix_some_samples(reinterpret_cast<uintptr_t>(mix_buffer), 0, TRUE);
    }
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
    if (install_sound(manual_mixer.id, MIDI_DIGMID, nullptr) != 0)
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
