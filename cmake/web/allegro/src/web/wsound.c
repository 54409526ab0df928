/* The browser's digital sound driver: the library's software mixer (and
 * the MIDI player's DIGMID voices through it) feeding WebAudio. The mixer
 * runs on the program's one thread, between the game's passes: where the
 * engine has an AudioWorklet (a secure page: https or this machine), the
 * worklet plays blocks from a short queue and asks for one more each time it
 * has played one, which the page's thread mixes and posts; elsewhere a
 * script processor asks for its blocks itself. The browser keeps the
 * AudioContext suspended until the player clicks or presses a key on the
 * page; it is resumed then. Module.audioLevel holds the loudest sample of
 * the last block, Module.audioGaps how often the worklet ran dry, for the
 * page to show or measure. Installed by install_sound(). */
#include "allegro.h"
#include "allegro/internal/aintern.h"

#include <emscripten.h>

/* 1024 frames are 23 ms at 44.1 kHz; the worklet holds three (70 ms),
 * enough to ride out a pass and the page's own work between its asks. */
#define BLOCK_FRAMES 1024
#define QUEUED_BLOCKS 3
#define SCRIPT_BLOCKS 2

static short *block = NULL;

/* The next block of mixed, signed 16-bit stereo frames. */
EMSCRIPTEN_KEEPALIVE short *web_mix_block(void)
{
   _mix_some_samples((uintptr_t)block, 0, TRUE);
   return block;
}

EM_JS(int, web_open_audio, (int frames, int queued, int script_blocks), {
   /* Making a context takes a while (a quarter of a second in headless
    * Chromium): the page may have made one already, as it loaded. */
   var Context = window.AudioContext || window.webkitAudioContext;
   if (!Context)
      return 0;
   var context = Module.audioContext || new Context();
   Module.audioContext = context;
   Module.audioLevel = 0;
   Module.audioGaps = 0;

   /* The next block as two channels, silent once the game has ended. */
   function mix(left, right, offset) {
      if (Module.webStopped)
         return;
      var at = _web_mix_block() >> 1;
      var loudest = 0;
      for (var i = 0; i < frames; i++) {
         var l = HEAP16[at + 2 * i] / 32768, r = HEAP16[at + 2 * i + 1] / 32768;
         left[offset + i] = l;
         right[offset + i] = r;
         loudest = Math.max(loudest, Math.abs(l), Math.abs(r));
      }
      Module.audioLevel = loudest;
   }

   function playOnScriptProcessor() {
      var node = context.createScriptProcessor(frames * script_blocks, 0, 2);
      node.onaudioprocess = function(e) {
         var left = e.outputBuffer.getChannelData(0);
         var right = e.outputBuffer.getChannelData(1);
         left.fill(0);
         right.fill(0);
         for (var b = 0; b < script_blocks; b++)
            mix(left, right, b * frames);
      };
      node.connect(context.destination);
      Module.audioNode = node;
   }

   /* Runs in the audio thread: plays the posted blocks in turn and asks for
    * one more as each is used up; silence, counted once, when none is there. */
   function player() {
      class Player extends AudioWorkletProcessor {
         constructor() {
            super();
            this.queue = [];
            this.at = 0;
            this.dry = false;
            this.port.onmessage = (e) => this.queue.push(e.data);
         }
         process(inputs, outputs) {
            var out = outputs[0];
            for (var i = 0; i < out[0].length;) {
               var next = this.queue[0];
               if (!next) {
                  out[0].fill(0, i);
                  out[1].fill(0, i);
                  if (!this.dry)
                     this.port.postMessage('gap');
                  this.dry = true;
                  break;
               }
               this.dry = false;
               var n = Math.min(out[0].length - i, next[0].length - this.at);
               out[0].set(next[0].subarray(this.at, this.at + n), i);
               out[1].set(next[1].subarray(this.at, this.at + n), i);
               i += n;
               this.at += n;
               if (this.at === next[0].length) {
                  this.queue.shift();
                  this.at = 0;
                  this.port.postMessage('more');
               }
            }
            return true;
         }
      }
      registerProcessor('tarvellion-player', Player);
   }

   function playOnWorklet() {
      var source = '(' + player.toString() + ')();';
      var url = URL.createObjectURL(new Blob([source], {type: 'text/javascript'}));
      return context.audioWorklet.addModule(url).then(function() {
         URL.revokeObjectURL(url);
         var node = new AudioWorkletNode(context, 'tarvellion-player',
                                         {numberOfInputs: 0, outputChannelCount: [2]});
         function send() {
            var left = new Float32Array(frames), right = new Float32Array(frames);
            mix(left, right, 0);
            node.port.postMessage([left, right], [left.buffer, right.buffer]);
         }
         node.port.onmessage = function(e) {
            if (e.data === 'more')
               send();
            else
               Module.audioGaps++;
         };
         for (var b = 0; b < queued; b++)
            send();
         node.connect(context.destination);
         Module.audioNode = node;
      });
   }

   if (context.audioWorklet && window.AudioWorkletNode)
      playOnWorklet().catch(playOnScriptProcessor);
   else
      playOnScriptProcessor();

   function wake() {
      if (context.state === 'suspended')
         context.resume();
   }
   ['pointerdown', 'keydown', 'touchend'].forEach(function(name) {
      window.addEventListener(name, wake, true);
   });
   wake();
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
   rate = web_open_audio(BLOCK_FRAMES, QUEUED_BLOCKS, SCRIPT_BLOCKS);
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
