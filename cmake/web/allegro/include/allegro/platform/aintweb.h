/* What the browser's drivers (src/web/) share among themselves and nothing
 * else uses. Included by each driver after aintern.h. */
#ifndef AINTWEB_H
#define AINTWEB_H

/* The scancode for a DOM KeyboardEvent.code ("ArrowLeft", "KeyA"), or 0
 * for a key the library has no name for. wkeymap.c. */
AL_FUNC(int, _web_scancode, (AL_CONST char *code));

/* The page's focus comes and goes: every key is let go on leaving. wkey.c. */
AL_FUNC(void, _web_release_all_keys, (void));

#endif
