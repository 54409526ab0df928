// Recording games and reading replays; called by the main loop, the
// high-score screen, the attract mode and --replay.
#include "replay_file.h"

#include "player_files.h"
#include "../../core/high_scores.h"
#include "../../core/input_record.h"
#include "../../platform/platform.h"

#include <cstdio>
#include <string>
#include <vector>

const char *const LAST_GAME_REPLAY = "last-game.replay";

namespace {

// An hour of play is well under 100 KB; a replay far larger is no game's.
constexpr std::size_t MAX_REPLAY_FILE = 64 << 20;

bool recording_on = false;
bool recording = false;
REPLAY game;

std::string entry_path(int place) {
    return player_path(("highscore-" + std::to_string(place + 1) + ".replay").c_str());
}

int write_replay(const std::string &path) {
    const std::vector<unsigned char> bytes = encode_replay(game);
    return replace_file(path, bytes.data(), bytes.size());
}

} // namespace

void record_games(bool on) {
    recording_on = on;
}

void begin_recording(bool continued) {
    finish_recording();
    if (!recording_on)
        return;
    // A new game is recorded from its setup, the pass that began it its first
    // record, so that its start is the one its seed makes.
    if (continued) {
        game = replay_of_now(true);
    } else {
        game = latest_new_game_start();
        game.first_record = pack_record(input);
    }
    std::snprintf(game.version, sizeof game.version, "%s", TARVELLION_VERSION);
    recording = true;
}

void record_pass() {
    if (!recording)
        return;
    add_pass(game, input);
}

void record_game_over() {
    if (!recording)
        return;
    // The pass's record is never read: the game ended in its rules.
    add_pass(game, INPUT_RECORD{});
    finish_recording();
}

const REPLAY &last_game() {
    return game;
}

void finish_recording() {
    if (!recording)
        return;
    recording = false;
    close_replay(game);
    // A replay that cannot be written is lost quietly: the game goes on.
    write_replay(player_path(LAST_GAME_REPLAY));
}

void keep_replay_for_entry(int place) {
    if (!recording_on || place < 0 || place >= HIGH_SCORE_COUNT)
        return;
    std::remove(entry_path(HIGH_SCORE_COUNT - 1).c_str());
    for (int i = HIGH_SCORE_COUNT - 2; i >= place; i--)
        std::rename(entry_path(i).c_str(), entry_path(i + 1).c_str());
    write_replay(entry_path(place));
}

std::string read_replay(const std::string &path, REPLAY &replay) {
    FILE *file = open_regular_file(path);
    if (!file)
        return "no replay file there";
    std::vector<unsigned char> bytes;
    unsigned char chunk[1 << 16];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0 && bytes.size() <= MAX_REPLAY_FILE)
        bytes.insert(bytes.end(), chunk, chunk + got);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed)
        return "the file cannot be read";
    if (bytes.size() > MAX_REPLAY_FILE)
        return "far too large for a replay";
    return decode_replay(bytes.data(), bytes.size(), replay);
}

bool load_replay(const std::string &path, REPLAY &replay) {
    const std::string wrong = read_replay(path, replay);
    if (!wrong.empty())
        tell_player(("tarvellion: " + path + ": " + wrong + "\n").c_str(), true);
    return wrong.empty();
}
