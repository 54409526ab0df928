/* Configuration of the library for the browser (Emscripten's C library,
 * WebAssembly: 32-bit, little endian, one thread). Picked by
 * internal/alconfig.h when alplatf.h defines ALLEGRO_WEB. */
#ifndef ALWEBCFG_H
#define ALWEBCFG_H

#ifndef SCAN_DEPEND
   #include <fcntl.h>
   #include <unistd.h>
#endif

/* The program keeps its own main(): Emscripten calls it as it is. */
#undef END_OF_MAIN
#define END_OF_MAIN()

#define ALLEGRO_HAVE_DIRENT_H   1
#define ALLEGRO_HAVE_INTTYPES_H 1
#define ALLEGRO_HAVE_STDINT_H   1
#define ALLEGRO_HAVE_SYS_TIME_H 1
#define ALLEGRO_HAVE_SYS_STAT_H 1

#define ALLEGRO_PLATFORM_STR  "Web"
#define ALLEGRO_USE_CONSTRUCTOR
#define ALLEGRO_LITTLE_ENDIAN

#ifndef ALLEGRO_NO_ASM
   #define ALLEGRO_NO_ASM
#endif

#define ALLEGRO_EXTRA_HEADER     "allegro/platform/alweb.h"

#endif
