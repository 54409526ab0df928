/* The browser's timer driver: an interval of the page drives the library's
 * timer queue (mouse, key repeat, install_int) between the game's passes.
 * Installed by install_timer(). */
#include "allegro.h"
#include "allegro/internal/aintern.h"

#include <emscripten.h>
#include <emscripten/eventloop.h>

#define TICK_MS 5.0

static long interval = 0;
static double last_tick_ms;

static void web_tick(void *unused)
{
   /* Whole timer units only; the rest waits for the next tick. */
   const double now = emscripten_get_now();
   const long units = (long)((now - last_tick_ms) * TIMERS_PER_SECOND / 1000.0);
   (void)unused;
   if (units <= 0)
      return;
   last_tick_ms += units * 1000.0 / TIMERS_PER_SECOND;
   _handle_timer_tick((int)units);
}

static int web_timer_init(void)
{
   last_tick_ms = emscripten_get_now();
   interval = emscripten_set_interval(web_tick, TICK_MS, NULL);
   return 0;
}

static void web_timer_exit(void)
{
   emscripten_clear_interval(interval);
}

/* Nothing may block the page's one thread: the game never rests, and the
 * library's own short rests spin. */
static void web_rest(unsigned int ms, AL_METHOD(void, callback, (void)))
{
   const double end = emscripten_get_now() + ms;
   while (emscripten_get_now() < end) {
      if (callback)
         callback();
   }
}

TIMER_DRIVER timer_web = {
   TIMER_WEB,
   empty_string,
   empty_string,
   "Web timer",
   web_timer_init,
   web_timer_exit,
   NULL, NULL, /* install_int, remove_int: the library's queue */
   NULL, NULL, /* install_param_int, remove_param_int */
   NULL, NULL, /* can_simulate_retrace, simulate_retrace */
   web_rest
};
