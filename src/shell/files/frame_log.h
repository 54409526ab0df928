// Optional timing of the main loop for the window benchmark. With the
// environment variable TARVELLION_FRAME_LOG naming a file, main() stamps the
// start and end of every pass on the monotonic clock; the stamps are kept in
// memory and written to that file when the program exits. Without it each
// stamp only tests a flag.
#pragma once

// Called first thing in main(): reads the variable and notes the time.
void frame_log_open();

// Called just before and just after run_pass(): the wait lies between one
// pass's second stamp and the next pass's first.
void frame_log_stamp();
