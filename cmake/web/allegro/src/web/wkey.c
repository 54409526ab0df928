/* The browser's keyboard driver: the page's keydown and keyup events, by
 * the key's place (wkeymap.c) for key[] and by the character it types for
 * readkey(). While the program runs, the keys it knows do nothing else on
 * the page (no scrolling, no find-as-you-type); the page may take a key
 * first (Module.takeKey, for its fullscreen keys). The browser repeats a held
 * key itself. Installed by install_keyboard(). */
#include "allegro.h"
#include "allegro/internal/aintern.h"
#include "allegro/platform/aintweb.h"

#include <emscripten.h>

/* From the page's listeners: the key's DOM code, the character it types
 * (0 for none) and whether it went down. True when the library knows it. */
EMSCRIPTEN_KEEPALIVE int web_key_event(const char *code, int character, int down)
{
   const int scancode = _web_scancode(code);
   if (!scancode)
      return FALSE;
   if (!down)
      _handle_key_release(scancode);
   else
      _handle_key_press(character ? character : scancode_to_ascii(scancode), scancode);
   return TRUE;
}

void _web_release_all_keys(void)
{
   int scancode;
   for (scancode = 1; scancode < KEY_MAX; scancode++)
      if (key[scancode])
         _handle_key_release(scancode);
}

EM_JS(void, web_watch_keys, (void), {
   var code = _malloc(64);
   /* The characters the library gives keys that type none in the DOM. */
   var typed = { Enter: 13, Escape: 27, Backspace: 8, Tab: 9 };
   function report(e, down) {
      if (Module.webStopped || (Module.takeKey && Module.takeKey(e, down)))
         return;
      var character = 0;
      if (e.key.length === 1 && !e.ctrlKey && !e.metaKey)
         character = e.key.charCodeAt(0);
      else if (typed[e.key])
         character = typed[e.key];
      stringToUTF8(e.code, code, 64);
      /* Browser shortcuts with Ctrl or Meta stay the browser's. */
      if (_web_key_event(code, character, down) && !e.ctrlKey && !e.metaKey)
         e.preventDefault();
   }
   window.addEventListener('keydown', function(e) { report(e, 1); });
   window.addEventListener('keyup', function(e) { report(e, 0); });
});

static int web_keyboard_init(void)
{
   web_watch_keys();
   return 0;
}

static void web_keyboard_exit(void)
{
}

KEYBOARD_DRIVER keyboard_web = {
   KEYBOARD_WEB,
   empty_string,
   empty_string,
   "Web keyboard",
   TRUE, /* autorepeat */
   web_keyboard_init,
   web_keyboard_exit,
   NULL, /* poll: events arrive by themselves */
   NULL, /* set_leds */
   NULL, /* set_rate */
   NULL, /* wait_for_input */
   NULL, /* stop_waiting_for_input */
   NULL, /* scancode_to_ascii */
   NULL  /* scancode_to_name */
};
