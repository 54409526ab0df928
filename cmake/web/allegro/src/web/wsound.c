/* The browser's digital sound driver: the library's software mixer (and
 * the MIDI player's DIGMID voices through it) feeding WebAudio. A script
 * processor asks for the next block while the program sleeps, so the mixer
 * runs on the program's one thread. The browser keeps the AudioContext
 * suspended until the player clicks or presses a key on the page; it is
 * resumed then. Module.audioLevel holds the loudest sample of the last
 * block, for the page to show or measure. Installed by install_sound(). */
#include "allegro.h"
#include "allegro/internal/aintern.h"

#include <emscripten.h>

#define BLOCK_FRAMES 2048

static short *block = NULL;

/* Called by the script processor for each block: the mixed, signed 16-bit
 * stereo frames. */
EMSCRIPTEN_KEEPALIVE short *web_mix_block(void)
{
   _mix_some_samples((uintptr_t)block, 0, TRUE);
   return block;
}

EM_JS(int, web_open_audio, (int frames), {
   /* Making a context takes a while (a quarter of a second in headless
    * Chromium): the page may have made one already, as it loaded. */
   var Context = window.AudioContext || window.webkitAudioContext;
   if (!Context)
      return 0;
   var context = Module.audioContext || new Context();
   var node = context.createScriptProcessor(frames, 0, 2);
   node.onaudioprocess = function(e) {
      var left = e.outputBuffer.getChannelData(0);
      var right = e.outputBuffer.getChannelData(1);
      if (Module.webStopped) {
         left.fill(0);
         right.fill(0);
         return;
      }
      var at = _web_mix_block() >> 1;
      var loudest = 0;
      for (var i = 0; i < frames; i++) {
         left[i] = HEAP16[at + 2 * i] / 32768;
         right[i] = HEAP16[at + 2 * i + 1] / 32768;
         loudest = Math.max(loudest, Math.abs(left[i]), Math.abs(right[i]));
      }
      Module.audioLevel = loudest;
   };
   node.connect(context.destination);
   function wake() {
      if (context.state === 'suspended')
         context.resume();
   }
   ['pointerdown', 'keydown', 'touchend'].forEach(function(name) {
      window.addEventListener(name, wake, true);
   });
   wake();
   Module.audioContext = context;
   Module.audioLevel = 0;
   return context.sampleRate;
});

static int web_digi_detect(int input)
{
   return input ? FALSE : TRUE;
}

static int web_digi_init(int input, int voices)
{
   int rate;
   if (input) {
      ustrzcpy(allegro_error, ALLEGRO_ERROR_SIZE, get_config_text("Input is not supported"));
      return -1;
   }
   block = _AL_MALLOC_ATOMIC(BLOCK_FRAMES * 2 * sizeof(short));
   if (!block)
      return -1;
   rate = web_open_audio(BLOCK_FRAMES);
   if (!rate) {
      _AL_FREE(block);
      block = NULL;
      ustrzcpy(allegro_error, ALLEGRO_ERROR_SIZE, get_config_text("No WebAudio here"));
      return -1;
   }
   digi_web.voices = voices;
   if (_mixer_init(BLOCK_FRAMES * 2, rate, TRUE, TRUE, &digi_web.voices) != 0) {
      ustrzcpy(allegro_error, ALLEGRO_ERROR_SIZE, get_config_text("Error initialising mixer"));
      return -1;
   }
   return 0;
}

EM_JS(void, web_close_audio, (void), {
   if (Module.audioContext)
      Module.audioContext.close();
   Module.audioContext = null;
});

static void web_digi_exit(int input)
{
   (void)input;
   web_close_audio();
   _mixer_exit();
   _AL_FREE(block);
   block = NULL;
}

static int web_digi_buffer_size(void)
{
   return BLOCK_FRAMES;
}

DIGI_DRIVER digi_web = {
   DIGI_WEB,
   empty_string,
   empty_string,
   "WebAudio",
   0,
   0,
   MIXER_MAX_SFX,
   MIXER_DEF_SFX,
   web_digi_detect,
   web_digi_init,
   web_digi_exit,
   NULL, /* set_mixer_volume */
   NULL, /* get_mixer_volume */
   NULL, /* lock_voice */
   NULL, /* unlock_voice */
   web_digi_buffer_size,
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
   0, 0, NULL, NULL, NULL, NULL, NULL, NULL
};
