/* The browser's system driver and the lists of every driver the library may
 * pick there. The page's focus becomes the library's display switch: leaving
 * the tab or window is a switch out, as losing the keyboard focus is under X,
 * so a program's focus pause works unchanged. Called by allegro_init(). */
#include "allegro.h"
#include "allegro/internal/aintern.h"
#include "allegro/platform/aintweb.h"

#include <emscripten.h>

static int focused = TRUE;

/* From the page's focus, blur and visibilitychange listeners. */
EMSCRIPTEN_KEEPALIVE void web_focus_changed(int now_focused)
{
   if (now_focused == focused)
      return;
   focused = now_focused;
   if (focused)
      _switch_in();
   else {
      _web_release_all_keys();
      _switch_out();
   }
}

EM_JS(void, web_watch_focus, (void), {
   function report() {
      if (!Module.webStopped)
         _web_focus_changed(document.hidden || !Module.webPageFocused ? 0 : 1);
   }
   Module.webPageFocused = true;
   window.addEventListener('blur', function() { Module.webPageFocused = false; report(); });
   window.addEventListener('focus', function() { Module.webPageFocused = true; report(); });
   document.addEventListener('visibilitychange', report);
});

EM_JS(void, web_message, (const char *text), {
   var message = UTF8ToString(text);
   if (Module.showMessage)
      Module.showMessage(message);
   else
      console.log(message);
});

static int web_sys_init(void)
{
   os_type = OSTYPE_UNKNOWN;
   web_watch_focus();
   return 0;
}

static void web_sys_exit(void)
{
}

static void web_message_method(AL_CONST char *msg)
{
   char text[1024];
   web_message(uconvert_toascii(msg, text));
}

/* Every mode works: the page never stops a program that lost the focus, and
 * the program's switch callbacks decide what to do. */
static int web_set_display_switch_mode(int mode)
{
   (void)mode;
   return 0;
}

static int web_desktop_color_depth(void)
{
   return 32;
}

static void web_get_gfx_safe_mode(int *driver, struct GFX_MODE *mode)
{
   *driver = GFX_WEB;
   mode->width = 640;
   mode->height = 480;
   mode->bpp = 32;
}

/* The page gets control back between two passes of the main loop. */
static void web_yield_timeslice(void)
{
}

SYSTEM_DRIVER system_web = {
   SYSTEM_WEB,
   empty_string,
   empty_string,
   "Web browser",
   web_sys_init,
   web_sys_exit,
   NULL, /* get_executable_name */
   NULL, /* find_resource */
   NULL, /* set_window_title: the page keeps its own */
   NULL, /* set_close_button_callback: a page has none */
   web_message_method,
   NULL, /* assert */
   NULL, /* save_console_state */
   NULL, /* restore_console_state */
   NULL, /* create_bitmap */
   NULL, /* created_bitmap */
   NULL, /* create_sub_bitmap */
   NULL, /* created_sub_bitmap */
   NULL, /* destroy_bitmap */
   NULL, /* read_hardware_palette */
   NULL, /* set_palette_range */
   NULL, /* get_vtable */
   web_set_display_switch_mode,
   NULL, /* display_switch_lock */
   web_desktop_color_depth,
   NULL, /* get_desktop_resolution: the canvas is scaled by the page */
   web_get_gfx_safe_mode,
   web_yield_timeslice,
   NULL, /* create_mutex: one thread */
   NULL, /* destroy_mutex */
   NULL, /* lock_mutex */
   NULL, /* unlock_mutex */
   NULL, /* gfx_drivers */
   NULL, /* digi_drivers */
   NULL, /* midi_drivers */
   NULL, /* keyboard_drivers */
   NULL, /* mouse_drivers */
   NULL, /* joystick_drivers */
   NULL  /* timer_drivers */
};

_DRIVER_INFO _system_driver_list[] = {
   { SYSTEM_WEB,  &system_web,  TRUE  },
   { SYSTEM_NONE, &system_none, FALSE },
   { 0,           NULL,         0     }
};

_DRIVER_INFO _keyboard_driver_list[] = {
   { KEYBOARD_WEB, &keyboard_web, TRUE },
   { 0,            NULL,          0    }
};

_DRIVER_INFO _timer_driver_list[] = {
   { TIMER_WEB, &timer_web, TRUE },
   { 0,         NULL,       0    }
};

_DRIVER_INFO _mouse_driver_list[] = {
   { MOUSE_WEB, &mouse_web, TRUE },
   { 0,         NULL,       0    }
};

_DRIVER_INFO _gfx_driver_list[] = {
   { GFX_WEB,            &gfx_web,            TRUE },
   { GFX_WEB_FULLSCREEN, &gfx_web_fullscreen, TRUE },
   { 0,                  NULL,                0    }
};

_DRIVER_INFO _digi_driver_list[] = {
   { DIGI_WEB, &digi_web, TRUE },
   { 0,        NULL,      0    }
};

BEGIN_MIDI_DRIVER_LIST
MIDI_DRIVER_DIGMID
END_MIDI_DRIVER_LIST

BEGIN_JOYSTICK_DRIVER_LIST
   { JOYSTICK_WEB, &joystick_web, TRUE },
END_JOYSTICK_DRIVER_LIST
