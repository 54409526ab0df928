// One pass of the main loop, in its fixed order of stages. main() runs it
// until unit.end is set; tests and tools drive it directly.
#pragma once

// Presents the last frame, animates, runs the rules unless paused, composes
// the next frame and handles the input - everything but the frame wait.
void run_pass();
