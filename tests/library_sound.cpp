// The library's sound without a system driver or device; see library_sound.h.
#include "library_sound.h"

#include <allegro/internal/aintern.h>

#include <cstdint>
#include <mutex>

namespace library_sound {

const int MIXER = AL_ID('M', 'I', 'X', 'R');

namespace {

constexpr int TICK_MS = 20;
constexpr int MIX_RATE = 11025;
constexpr int MIX_FRAMES = 256; // about one tick's worth, stereo

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
DIGI_DRIVER manual_mixer = {MIXER,
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
_DRIVER_INFO mixers[] = {{MIXER, &manual_mixer, TRUE}, {0, nullptr, 0}};
} // namespace

void lend_the_library_a_sound_system() {
    system_driver->create_mutex = create_mutex;
    system_driver->destroy_mutex = destroy_mutex;
    system_driver->lock_mutex = lock_mutex;
    system_driver->unlock_mutex = unlock_mutex;
    system_driver->timer_drivers = [] { return timers; };
    system_driver->digi_drivers = [] { return mixers; };
}

void play_for(int ms) {
    for (int played = 0; played < ms; played += TICK_MS) {
        _handle_timer_tick(MSEC_TO_TIMER(TICK_MS));
        _mix_some_samples(reinterpret_cast<uintptr_t>(mix_buffer), 0, TRUE);
    }
}

} // namespace library_sound
