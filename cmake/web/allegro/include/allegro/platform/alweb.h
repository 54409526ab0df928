/* The browser's drivers, as the program may name them: one of each kind,
 * all in src/web/. Included through ALLEGRO_EXTRA_HEADER by allegro.h. */
#ifndef ALWEB_H
#define ALWEB_H

#ifndef ALLEGRO_WEB
   #error bad include
#endif

#define SYSTEM_WEB              AL_ID('W','E','B',' ')
AL_VAR(SYSTEM_DRIVER, system_web);

#define TIMER_WEB               AL_ID('W','E','B','T')
AL_VAR(TIMER_DRIVER, timer_web);

#define KEYBOARD_WEB            AL_ID('W','E','B','K')
AL_VAR(KEYBOARD_DRIVER, keyboard_web);

#define MOUSE_WEB               AL_ID('W','E','B','M')
AL_VAR(MOUSE_DRIVER, mouse_web);

/* The same canvas either way: whether the page fills the screen is the
 * browser's business (the Fullscreen API), not the program's mode. */
#define GFX_WEB                 AL_ID('W','E','B','G')
#define GFX_WEB_FULLSCREEN      AL_ID('W','E','B','F')
AL_VAR(GFX_DRIVER, gfx_web);
AL_VAR(GFX_DRIVER, gfx_web_fullscreen);

#define DIGI_WEB                AL_ID('W','E','B','S')
AL_VAR(DIGI_DRIVER, digi_web);

#define JOYSTICK_WEB            AL_ID('W','E','B','J')
AL_VAR(JOYSTICK_DRIVER, joystick_web);

#endif
