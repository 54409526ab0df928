// The high-score file, "highscores.txt" in the player's directory, beside the
// save. Start-up reads it into high_scores (high_scores.h) and names it as
// the file to keep the table in; the game-over screen writes it after each
// new entry.
#pragma once

#include <string>

extern const char *const HIGH_SCORE_FILE_NAME;

// Reads the table from path. No file: an empty table. A file that is not a
// regular file, cannot be read or holds anything decode_high_scores refuses
// is set aside under a new name beside it (path + ".damaged", or
// ".damaged-2" and on when that is taken), never deleted, and the table
// starts empty. Returns false when a file was set aside.
bool read_high_scores(const std::string &path);

// From now on the table is kept in the file at path; until then (tests and
// tools) nothing is written and no game enters the table.
void keep_high_scores(const std::string &path);
bool high_scores_kept();

// Writes high_scores to the kept file atomically. Returns 0 or an errno value.
int write_high_scores();
