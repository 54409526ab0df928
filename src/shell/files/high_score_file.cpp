// Reading and writing "highscores.txt"; start-up (main.cpp) reads it, the
// high-score screen (high_score_entry.cpp) writes it.
#include "high_score_file.h"

#include "../../platform/platform.h"
#include "../../core/high_scores.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

const char *const HIGH_SCORE_FILE_NAME = "highscores.txt";

namespace {

// Far more than ten entries ever take; a longer file is not the game's.
constexpr std::size_t MAX_FILE_SIZE = 4096;
constexpr int SET_ASIDE_TRIES = 100;

std::string kept_path;

bool exists(const std::string &path) {
    std::error_code error;
    return std::filesystem::symlink_status(path, error).type() !=
           std::filesystem::file_type::not_found;
}

// Whole file, or false when it is not a regular file, cannot be read or is
// longer than a table can be.
bool read_whole(const std::string &path, std::string &text) {
    FILE *file = open_regular_file(path);
    if (!file)
        return false;
    char bytes[MAX_FILE_SIZE + 1];
    const std::size_t got = std::fread(bytes, 1, sizeof bytes, file);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed || got > MAX_FILE_SIZE)
        return false;
    text.assign(bytes, got);
    return true;
}

// The player may want to look at what was there, so it is renamed, not
// removed; the first free name is taken, the last one tried is replaced.
void set_aside(const std::string &path) {
    std::string aside = path + ".damaged";
    for (int n = 2; n <= SET_ASIDE_TRIES && exists(aside); n++)
        aside = path + ".damaged-" + std::to_string(n);
    std::error_code error;
    std::filesystem::rename(path, aside, error);
}

} // namespace

bool read_high_scores(const std::string &path) {
    high_scores = HIGH_SCORE_TABLE{};
    if (!exists(path))
        return true; // no game has entered the table yet
    std::string text;
    if (read_whole(path, text) && decode_high_scores(text.data(), text.size(), high_scores))
        return true;
    set_aside(path);
    return false;
}

void keep_high_scores(const std::string &path) {
    kept_path = path;
}

bool high_scores_kept() {
    return !kept_path.empty();
}

int write_high_scores() {
    if (kept_path.empty())
        return EINVAL;
    const std::string text = encode_high_scores(high_scores);
    return replace_file(kept_path, text.data(), text.size());
}
