/* Which key of the library each key of a browser's keyboard is: the DOM's
 * KeyboardEvent.code names the key's place on the keyboard, whatever its
 * layout, as the library's scancodes do. Called by the keyboard driver
 * (wkey.c); plain C on the library's key numbers alone, so the host's tests
 * check the table too. */
#include "allegro.h"

#include <string.h>

static const struct {
   const char *code;
   int scancode;
} named_keys[] = {
   { "Escape", KEY_ESC },           { "Tab", KEY_TAB },
   { "Enter", KEY_ENTER },          { "Space", KEY_SPACE },
   { "Backspace", KEY_BACKSPACE },  { "Backquote", KEY_TILDE },
   { "Minus", KEY_MINUS },          { "Equal", KEY_EQUALS },
   { "BracketLeft", KEY_OPENBRACE }, { "BracketRight", KEY_CLOSEBRACE },
   { "Semicolon", KEY_COLON },      { "Quote", KEY_QUOTE },
   { "Backslash", KEY_BACKSLASH },  { "IntlBackslash", KEY_BACKSLASH2 },
   { "Comma", KEY_COMMA },          { "Period", KEY_STOP },
   { "Slash", KEY_SLASH },          { "IntlYen", KEY_YEN },
   { "IntlRo", KEY_ABNT_C1 },       { "KanaMode", KEY_KANA },
   { "Convert", KEY_CONVERT },      { "NonConvert", KEY_NOCONVERT },
   { "Insert", KEY_INSERT },        { "Delete", KEY_DEL },
   { "Home", KEY_HOME },            { "End", KEY_END },
   { "PageUp", KEY_PGUP },          { "PageDown", KEY_PGDN },
   { "ArrowLeft", KEY_LEFT },       { "ArrowRight", KEY_RIGHT },
   { "ArrowUp", KEY_UP },           { "ArrowDown", KEY_DOWN },
   { "NumpadDivide", KEY_SLASH_PAD }, { "NumpadMultiply", KEY_ASTERISK },
   { "NumpadSubtract", KEY_MINUS_PAD }, { "NumpadAdd", KEY_PLUS_PAD },
   { "NumpadDecimal", KEY_DEL_PAD }, { "NumpadEnter", KEY_ENTER_PAD },
   { "NumpadEqual", KEY_EQUALS_PAD }, { "PrintScreen", KEY_PRTSCR },
   { "Pause", KEY_PAUSE },          { "ShiftLeft", KEY_LSHIFT },
   { "ShiftRight", KEY_RSHIFT },    { "ControlLeft", KEY_LCONTROL },
   { "ControlRight", KEY_RCONTROL }, { "AltLeft", KEY_ALT },
   { "AltRight", KEY_ALTGR },       { "MetaLeft", KEY_LWIN },
   { "MetaRight", KEY_RWIN },       { "ContextMenu", KEY_MENU },
   { "ScrollLock", KEY_SCRLOCK },   { "NumLock", KEY_NUMLOCK },
   { "CapsLock", KEY_CAPSLOCK },
};

/* "Prefix" followed by one character from first to last: the scancode of
 * base plus its place, or 0. */
static int in_run(const char *code, const char *prefix, char first, char last, int base)
{
   const size_t n = strlen(prefix);
   if (strncmp(code, prefix, n) != 0 || code[n] < first || code[n] > last || code[n + 1])
      return 0;
   return base + (code[n] - first);
}

int _web_scancode(const char *code)
{
   size_t i;
   int scancode;
   if ((scancode = in_run(code, "Key", 'A', 'Z', KEY_A)) ||
       (scancode = in_run(code, "Digit", '0', '9', KEY_0)) ||
       (scancode = in_run(code, "Numpad", '0', '9', KEY_0_PAD)) ||
       (scancode = in_run(code, "F", '1', '9', KEY_F1)))
      return scancode;
   if (!strcmp(code, "F10") || !strcmp(code, "F11") || !strcmp(code, "F12"))
      return KEY_F10 + (code[2] - '0');
   for (i = 0; i < sizeof named_keys / sizeof named_keys[0]; i++)
      if (!strcmp(code, named_keys[i].code))
         return named_keys[i].scancode;
   return 0;
}
