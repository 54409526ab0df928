/* The platform the library is built for: the browser, through Emscripten.
 * The library's own build generates this file; the web build has none, so
 * the project keeps it here and build-allegro.sh copies it into the source.
 * Read by internal/alconfig.h. */
#define ALLEGRO_WEB

/* These are always defined now. */
#define ALLEGRO_NO_ASM
#define ALLEGRO_USE_C
