/* The browser's graphics driver: the screen is a memory bitmap whose drawn
 * rows are noted as the library writes them, as the X11 driver notes its
 * dirty lines. Once the program has drawn and given the page control back
 * (between two of its passes, so a whole frame), the rows written are
 * converted for the canvas and, when any differs from what the canvas
 * shows, handed to it; the page's CSS scales the canvas in one step. A
 * still screen costs a comparison per pass and nothing per animation frame.
 * Windowed and fullscreen modes are the same canvas; the page scales it and
 * fills the screen with it. Installed by set_gfx_mode(). */
#include "allegro.h"
#include "allegro/internal/aintern.h"

#include <emscripten.h>
#include <limits.h>

static uint32_t *pixels = NULL;  /* the screen, as the library draws it */
static uint32_t *painted = NULL; /* the same, as the canvas shows it */
static int drawn_first, drawn_last; /* rows written since the last look */
static int look_queued = FALSE;

/* A 2D context read back often lives in the processor's memory: WebKit's
 * software compositing under X (and the canvas a frame of script pixels
 * anyway) costs least that way. An opaque canvas spares blending. Both
 * options count only in the first getContext() call. */
EM_JS(void, web_open_canvas, (int w, int h), {
   var canvas = Module['canvas'];
   canvas.width = w;
   canvas.height = h;
   Module.webCanvasContext = canvas.getContext('2d', {alpha: false, willReadFrequently: true});
   Module.webFrame = null;
   if (Module.onCanvasResized)
      Module.onCanvasResized(w, h);
});

/* After the task that drew: the pass is over by then. */
EM_JS(void, web_queue_look, (void), {
   queueMicrotask(function() {
      if (!Module.webStopped)
         _web_look_at_screen();
   });
});

/* Rows first to last of the frame at rgba, w x h, onto the canvas. The
 * ImageData over the program's memory is made again only when that memory
 * grew (and so moved). */
EM_JS(void, web_put_rows, (const void *rgba, int w, int h, int first, int last), {
   var frame = Module.webFrame;
   if (!frame || frame.data.buffer !== HEAPU8.buffer || frame.data.byteOffset !== rgba) {
      frame = new ImageData(new Uint8ClampedArray(HEAPU8.buffer, rgba, w * h * 4), w, h);
      Module.webFrame = frame;
   }
   Module.webCanvasContext.putImageData(frame, 0, 0, 0, first, w, last - first + 1);
});

static uintptr_t web_write_line(BITMAP *bmp, int line)
{
   const int row = line + bmp->y_ofs;
   if (row < drawn_first)
      drawn_first = row;
   if (row > drawn_last)
      drawn_last = row;
   if (!look_queued) {
      look_queued = TRUE;
      web_queue_look();
   }
   return (uintptr_t)bmp->line[line];
}

/* The library's 32-bit pixels are laid out as the canvas takes them, R, G,
 * B bytes (web_open sets the shifts so), with the fourth byte made opaque.
 * The game draws its whole frame every pass, menu and pause too: only rows
 * that really changed go to the canvas. */
EMSCRIPTEN_KEEPALIVE void web_look_at_screen(void)
{
   const int w = gfx_driver ? gfx_driver->w : 0;
   int changed_first = -1, changed_last = -1;
   int y, x;
   look_queued = FALSE;
   if (!pixels)
      return;
   for (y = MAX(drawn_first, 0); y <= MIN(drawn_last, gfx_driver->h - 1); y++) {
      const uint32_t *from = pixels + y * w;
      uint32_t *to = painted + y * w;
      int row_changed = FALSE;
      for (x = 0; x < w; x++) {
         const uint32_t p = from[x];
         const uint32_t rgba = 0xFF000000u | p;
         if (to[x] != rgba) {
            to[x] = rgba;
            row_changed = TRUE;
         }
      }
      if (row_changed) {
         if (changed_first < 0)
            changed_first = y;
         changed_last = y;
      }
   }
   drawn_first = INT_MAX;
   drawn_last = -1;
   if (changed_first >= 0)
      web_put_rows(painted, w, gfx_driver->h, changed_first, changed_last);
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
   /* The canvas's byte order, whatever a library default might be. */
   _rgb_r_shift_32 = 0;
   _rgb_g_shift_32 = 8;
   _rgb_b_shift_32 = 16;
   _rgb_a_shift_32 = 24;
   memset(pixels, 0, w * h * 4);
   memset(painted, 0, w * h * 4); /* transparent: the first paint differs */
   b = _make_bitmap(w, h, (uintptr_t)pixels, driver, color_depth, w * 4);
   if (!b) {
      _AL_FREE(pixels);
      _AL_FREE(painted);
      pixels = painted = NULL;
      return NULL;
   }
   b->write_bank = web_write_line;
   driver->w = w;
   driver->h = h;
   web_open_canvas(w, h);
   drawn_first = 0;
   drawn_last = h - 1;
   web_look_at_screen();
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
