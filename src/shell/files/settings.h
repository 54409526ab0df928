// The optional settings file "setting.ini": nine whitespace-separated
// integers that replace the first nine tuning values. Start-up reads it once,
// before the window opens; the game never writes it.
#pragma once

// Reads up to nine integers from the file at path into the tuning values, in
// their order, stopping at the first item that is not an integer. A file that
// cannot be opened, or is no regular file, leaves the defaults. Returns how
// many values it read (0 without a file): whether the file chose the graphics
// mode, the 7th, decides how the display starts.
int read_settings(const char *path);

// Brings the tuning values into the ranges the game can run with. Values a
// valid settings file gives are left as they are.
void clamp_settings();
