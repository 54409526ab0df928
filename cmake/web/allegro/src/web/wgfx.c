/* The browser's graphics driver: the screen is a memory bitmap, painted into
 * the page's canvas (Module.canvas) at each animation frame. The program
 * gives the page control only while it sleeps, so a paint always sees a
 * whole frame. Windowed and fullscreen modes are the same canvas; the page
 * scales it and fills the screen with it. Installed by set_gfx_mode(). */
#include "allegro.h"
#include "allegro/internal/aintern.h"

#include <emscripten.h>
#include <emscripten/html5.h>

static uint32_t *pixels = NULL; /* the screen, as the library draws it */
static uint32_t *painted = NULL; /* the same, as the canvas wants it */
static int painting = FALSE;

EM_JS(void, web_open_canvas, (int w, int h), {
   var canvas = Module['canvas'];
   canvas.width = w;
   canvas.height = h;
   Module.webCanvasContext = canvas.getContext('2d');
   if (Module.onCanvasResized)
      Module.onCanvasResized(w, h);
});

EM_JS(void, web_put_pixels, (const void *rgba, int w, int h), {
   var bytes = new Uint8ClampedArray(HEAPU8.buffer, rgba, w * h * 4);
   Module.webCanvasContext.putImageData(new ImageData(bytes, w, h), 0, 0);
});

/* The library's 32-bit pixels are 0x00RRGGBB words; the canvas takes R, G,
 * B, A bytes, opaque. The page's frames come about twice as often as the
 * game's, and a menu or a pause stands still: an unchanged screen is not
 * handed to the canvas again. */
static EM_BOOL web_paint(double time, void *unused)
{
   const int n = gfx_driver ? gfx_driver->w * gfx_driver->h : 0;
   int changed = FALSE;
   int i;
   (void)time;
   (void)unused;
   if (!painting)
      return EM_FALSE;
   for (i = 0; i < n; i++) {
      const uint32_t p = pixels[i];
      const uint32_t rgba = 0xFF000000u | ((p & 0xFFu) << 16) | (p & 0xFF00u) | ((p >> 16) & 0xFFu);
      if (painted[i] != rgba) {
         painted[i] = rgba;
         changed = TRUE;
      }
   }
   if (changed)
      web_put_pixels(painted, gfx_driver->w, gfx_driver->h);
   return EM_TRUE;
}

static BITMAP *web_open(GFX_DRIVER *driver, int w, int h, int v_w, int v_h, int color_depth)
{
   BITMAP *b;
   if (color_depth != 32) {
      ustrzcpy(allegro_error, ALLEGRO_ERROR_SIZE,
               get_config_text("Unsupported color depth"));
      return NULL;
   }
   if (w <= 0 || h <= 0 || (v_w > w) || (v_h > h)) {
      ustrzcpy(allegro_error, ALLEGRO_ERROR_SIZE,
               get_config_text("Resolution not supported"));
      return NULL;
   }
   pixels = _AL_MALLOC_ATOMIC(w * h * 4);
   painted = _AL_MALLOC_ATOMIC(w * h * 4);
   if (!pixels || !painted) {
      _AL_FREE(pixels);
      _AL_FREE(painted);
      pixels = painted = NULL;
      ustrzcpy(allegro_error, ALLEGRO_ERROR_SIZE, get_config_text("Not enough memory"));
      return NULL;
   }
   memset(pixels, 0, w * h * 4);
   memset(painted, 0, w * h * 4); /* transparent: the first paint differs */
   b = _make_bitmap(w, h, (uintptr_t)pixels, driver, color_depth, w * 4);
   if (!b) {
      _AL_FREE(pixels);
      _AL_FREE(painted);
      pixels = painted = NULL;
      return NULL;
   }
   driver->w = w;
   driver->h = h;
   web_open_canvas(w, h);
   painting = TRUE;
   emscripten_request_animation_frame_loop(web_paint, NULL);
   return b;
}

static BITMAP *web_init_windowed(int w, int h, int v_w, int v_h, int color_depth)
{
   return web_open(&gfx_web, w, h, v_w, v_h, color_depth);
}

static BITMAP *web_init_fullscreen(int w, int h, int v_w, int v_h, int color_depth)
{
   return web_open(&gfx_web_fullscreen, w, h, v_w, v_h, color_depth);
}

/* The last frame stays on the canvas. */
static void web_exit(BITMAP *b)
{
   (void)b;
   painting = FALSE;
   _AL_FREE(pixels);
   _AL_FREE(painted);
   pixels = painted = NULL;
}

#define WEB_GFX_DRIVER(id, description, init, windowed) \
   {                                                    \
      id, empty_string, empty_string, description,      \
      init, web_exit,                                   \
      NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL,   \
      NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL,   \
      NULL, NULL, NULL, NULL, NULL,                     \
      0, 0, TRUE, 0, 0, 0, 0, windowed                  \
   }

GFX_DRIVER gfx_web = WEB_GFX_DRIVER(GFX_WEB, "Web canvas", web_init_windowed, TRUE);
GFX_DRIVER gfx_web_fullscreen =
   WEB_GFX_DRIVER(GFX_WEB_FULLSCREEN, "Web canvas, fullscreen", web_init_fullscreen, FALSE);
