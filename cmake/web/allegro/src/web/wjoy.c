/* The browser's joystick driver: the first pad of the Gamepad API, laid out
 * as the library's Linux driver lays out a standard pad (the left stick,
 * the right stick, the two triggers, the d-pad as a fourth stick; A, B, X,
 * Y, the shoulders, Back, Start, the logo and the stick clicks as eleven
 * buttons), so a program reads it as on the desktop. No pad plugged in
 * reads as one at rest. Installed by install_joystick(). */
#include "allegro.h"
#include "allegro/internal/aintern.h"

#include <emscripten.h>

#define STANDARD_BUTTONS 17

/* The standard mapping's buttons, in the Linux driver's order. */
static const int button_order[] = { 0, 1, 2, 3, 4, 5, 8, 9, 16, 10, 11 };
#define BUTTONS ((int)(sizeof button_order / sizeof button_order[0]))

static const char *button_names[BUTTONS] = {
   "A", "B", "X", "Y", "LB", "RB", "Back", "Start", "Logo", "LS", "RS"
};

/* Fills four axes (-1 to 1) and the standard buttons' values (0 to 1) of
 * the first pad; false when there is none. */
EM_JS(int, web_read_pad, (float *axes, float *buttons), {
   if (!navigator.getGamepads)
      return 0;
   var pads = navigator.getGamepads();
   var pad = null;
   for (var i = 0; i < pads.length && !pad; i++)
      if (pads[i] && pads[i].connected !== false)
         pad = pads[i];
   if (!pad)
      return 0;
   for (var a = 0; a < 4; a++)
      HEAPF32[(axes >> 2) + a] = pad.axes[a] || 0;
   for (var b = 0; b < 17; b++) {
      var button = pad.buttons[b];
      HEAPF32[(buttons >> 2) + b] = button ? (button.pressed ? Math.max(button.value, 1) : button.value) : 0;
   }
   return 1;
});

EM_JS(int, web_pads_supported, (void), { return navigator.getGamepads ? 1 : 0; });

static void set_axis(JOYSTICK_AXIS_INFO *axis, float value, const char *name)
{
   axis->pos = (int)(value * 128);
   axis->d1 = axis->pos < -64;
   axis->d2 = axis->pos > 64;
   axis->name = name;
}

static void set_stick(int s, int flags, const char *name, float x, float y)
{
   JOYSTICK_STICK_INFO *stick = &joy[0].stick[s];
   stick->flags = flags;
   stick->num_axis = 2;
   stick->name = name;
   set_axis(&stick->axis[0], x, "X");
   set_axis(&stick->axis[1], y, "Y");
}

static int web_joy_poll(void)
{
   float axes[4] = { 0 };
   float buttons[STANDARD_BUTTONS] = { 0 };
   const int signed_stick = JOYFLAG_DIGITAL | JOYFLAG_ANALOGUE | JOYFLAG_SIGNED;
   int b;
   web_read_pad(axes, buttons);
   set_stick(0, signed_stick, "Left stick", axes[0], axes[1]);
   set_stick(1, signed_stick, "Right stick", axes[2], axes[3]);
   set_stick(2, JOYFLAG_ANALOGUE | JOYFLAG_UNSIGNED, "Triggers", buttons[6], buttons[7]);
   set_stick(3, JOYFLAG_DIGITAL | JOYFLAG_SIGNED, "D-pad", buttons[15] - buttons[14],
             buttons[13] - buttons[12]);
   for (b = 0; b < BUTTONS; b++) {
      joy[0].button[b].b = buttons[button_order[b]] > 0.5f;
      joy[0].button[b].name = button_names[b];
   }
   return 0;
}

static int web_joy_init(void)
{
   if (!web_pads_supported())
      return -1;
   num_joysticks = 1;
   joy[0].flags = JOYFLAG_DIGITAL | JOYFLAG_ANALOGUE;
   joy[0].num_sticks = 4;
   joy[0].num_buttons = BUTTONS;
   return web_joy_poll();
}

static void web_joy_exit(void)
{
}

JOYSTICK_DRIVER joystick_web = {
   JOYSTICK_WEB,
   empty_string,
   empty_string,
   "Web gamepad",
   web_joy_init,
   web_joy_exit,
   web_joy_poll,
   NULL, /* save_data */
   NULL, /* load_data */
   NULL, /* calibrate_name */
   NULL  /* calibrate */
};
