/* The browser's mouse driver: the canvas's pointer events, mapped back to
 * the screen's pixels however the page scales the canvas. Installed by
 * install_mouse(). */
#include "allegro.h"
#include "allegro/internal/aintern.h"

#include <emscripten.h>

static int range_x1 = 0, range_y1 = 0, range_x2 = 639, range_y2 = 479;

/* From the page's listeners: a position in screen pixels and the buttons
 * held (bit 0 left, 1 right, 2 middle). */
EMSCRIPTEN_KEEPALIVE void web_mouse_event(int x, int y, int buttons)
{
   _mouse_x = MID(range_x1, x, range_x2);
   _mouse_y = MID(range_y1, y, range_y2);
   _mouse_b = buttons;
   _handle_mouse_input();
}

EM_JS(void, web_watch_mouse, (void), {
   var canvas = Module['canvas'];
   var held = 0;
   function report(e) {
      if (Module.webStopped)
         return;
      var box = canvas.getBoundingClientRect();
      if (box.width <= 0 || box.height <= 0)
         return;
      var x = Math.floor((e.clientX - box.left) * canvas.width / box.width);
      var y = Math.floor((e.clientY - box.top) * canvas.height / box.height);
      _web_mouse_event(x, y, held);
   }
   /* A move to where the pointer already was is the engine's, not the
    * player's: WebKit reports one at the click's place when the note over
    * the canvas goes away, and others do when the page changes under a
    * still pointer. Taken as a move it would light the button there (End,
    * in the canvas's middle) for the first Enter. The window sees every
    * event first, on the canvas or not, so it knows the last place. */
   var lastX = null, lastY = null, stillMove = null;
   function place(e) {
      stillMove = e.type === 'mousemove' && e.clientX === lastX && e.clientY === lastY ? e : null;
      lastX = e.clientX;
      lastY = e.clientY;
   }
   ['mousemove', 'mousedown', 'mouseup'].forEach(function(name) {
      window.addEventListener(name, place, true);
   });
   /* DOM buttons number left 0, middle 1, right 2. */
   var bit = [1, 4, 2];
   canvas.addEventListener('mousemove', function(e) {
      if (e !== stillMove)
         report(e);
   });
   canvas.addEventListener('mousedown', function(e) {
      held |= bit[e.button] || 0;
      report(e);
      e.preventDefault();
   });
   window.addEventListener('mouseup', function(e) {
      held &= ~(bit[e.button] || 0);
      report(e);
   });
   canvas.addEventListener('contextmenu', function(e) { e.preventDefault(); });
});

static int web_mouse_init(void)
{
   web_watch_mouse();
   return 3;
}

static void web_mouse_exit(void)
{
}

static void web_mouse_position(int x, int y)
{
   _mouse_x = x;
   _mouse_y = y;
}

static void web_mouse_set_range(int x1, int y1, int x2, int y2)
{
   range_x1 = x1;
   range_y1 = y1;
   range_x2 = x2;
   range_y2 = y2;
   _mouse_x = MID(range_x1, _mouse_x, range_x2);
   _mouse_y = MID(range_y1, _mouse_y, range_y2);
}

MOUSE_DRIVER mouse_web = {
   MOUSE_WEB,
   empty_string,
   empty_string,
   "Web mouse",
   web_mouse_init,
   web_mouse_exit,
   NULL, /* poll: events arrive by themselves */
   NULL, /* timer_poll */
   web_mouse_position,
   web_mouse_set_range,
   NULL, /* set_speed */
   NULL, /* get_mickeys */
   NULL, /* analyse_data */
   NULL, /* enable_hardware_cursor */
   NULL  /* select_system_cursor */
};
