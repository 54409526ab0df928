// The input stage of every pass: keyboard commands, the menu buttons, and the
// player's movement and steering.
#pragma once

void do_key_work();
