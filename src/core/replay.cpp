// Replays: the start, the passes and the checkpoints, and their file image;
// used by the shell's recorder and player and by the tools that play the
// game without a window.
#include "replay.h"

#include "events.h"
#include "game_state.h"
#include "level_setup.h"
#include "player_control.h"
#include "random.h"
#include "save_codec.h"
#include "screens.h"

#include <cstring>

namespace {

const char MAGIC[4] = {'T', 'V', 'R', 'P'};
constexpr std::size_t HEADER_SIZE = 4 + 4 + 16 + 7 * 4 + 2 * 4 + 1 + 1 + SAVE_FILE_SIZE;

int *const TUNED[7] = {
    &def_train_speed, &DELAY, &def_train_speed2, &def_player_speed, &def_fruit_count, &SW, &SH};

// The actions the rules read, a bit each, in this order.
bool INPUT_RECORD::*const ACTIONS[] = {
    &INPUT_RECORD::left,        &INPUT_RECORD::right,  &INPUT_RECORD::up,
    &INPUT_RECORD::down,        &INPUT_RECORD::menu,   &INPUT_RECORD::pause,
    &INPUT_RECORD::faster,      &INPUT_RECORD::slower, &INPUT_RECORD::more_lives,
    &INPUT_RECORD::fewer_lives, &INPUT_RECORD::start,  &INPUT_RECORD::end,
    &INPUT_RECORD::resume,      &INPUT_RECORD::away};
constexpr int ACTION_COUNT = sizeof ACTIONS / sizeof ACTIONS[0];

class Writer {
  public:
    std::vector<unsigned char> bytes;
    void u8(uint32_t v) { bytes.push_back(static_cast<unsigned char>(v)); }
    void u16(uint32_t v) {
        u8(v);
        u8(v >> 8);
    }
    void u32(uint32_t v) {
        u16(v);
        u16(v >> 16);
    }
    void varint(uint32_t v) {
        for (; v >= 0x80; v >>= 7)
            u8(v | 0x80);
        u8(v);
    }
    void raw(const void *from, std::size_t n) {
        const auto *p = static_cast<const unsigned char *>(from);
        bytes.insert(bytes.end(), p, p + n);
    }
};

// Reads within the image only; a read past its end fails and stays failed.
class Reader {
  public:
    Reader(const unsigned char *at, std::size_t size) : at(at), end(at + size) {}
    bool ok = true;
    std::size_t left() const { return static_cast<std::size_t>(end - at); }
    uint32_t u8() {
        if (at >= end) {
            ok = false;
            return 0;
        }
        return *at++;
    }
    uint32_t u16() {
        const uint32_t low = u8();
        return low | u8() << 8;
    }
    uint32_t u32() {
        const uint32_t low = u16();
        return low | u16() << 16;
    }
    uint32_t varint() {
        uint32_t v = 0;
        for (int shift = 0; shift < 35; shift += 7) {
            const uint32_t b = u8();
            if (shift == 28 && b > 0x0F)
                ok = false;
            v |= (b & 0x7F) << shift;
            if (!(b & 0x80)) {
                // The encoder never writes a number longer than it needs.
                if (shift > 0 && b == 0)
                    ok = false;
                return v;
            }
        }
        ok = false;
        return 0;
    }
    void raw(void *into, std::size_t n) {
        if (left() < n) {
            ok = false;
            return;
        }
        std::memcpy(into, at, n);
        at += n;
    }

  private:
    const unsigned char *at;
    const unsigned char *end;
};

// Within what the settings file may give (the field as the start has it).
bool tuning_is_playable(const int32_t (&t)[7], const SavedGame &game) {
    constexpr int32_t MAX_SPEED = 1000, MAX_DELAY = 1000;
    auto within = [](int32_t v, int32_t low, int32_t high) { return v >= low && v <= high; };
    return within(t[0], 0, MAX_SPEED) && within(t[1], 0, MAX_DELAY) && within(t[2], 0, MAX_SPEED) &&
           within(t[3], 0, MAX_SPEED) && within(t[4], 0, FRUIT_TABLE_SIZE) &&
           t[5] == game.unit.width && t[6] == game.unit.height;
}

uint32_t fnv(uint32_t hash, const void *bytes, std::size_t n) {
    const auto *p = static_cast<const unsigned char *>(bytes);
    for (std::size_t i = 0; i < n; i++)
        hash = (hash ^ p[i]) * 16777619u;
    return hash;
}

REPLAY new_game_start{};

} // namespace

REPLAY replay_of_now(bool continued) {
    REPLAY r{};
    for (int i = 0; i < 7; i++)
        r.tuning[i] = *TUNED[i];
    r.seed = game_seed;
    r.random_state = game_random_state();
    r.flags = (showmouse ? 1 : 0) | (focus_paused ? 2 : 0);
    r.began = continued ? BEGAN_CONTINUED : BEGAN_NEW_GAME;
    encode_save(records_now(), r.start);
    return r;
}

bool starts_from_seed(const REPLAY &r) {
    return r.began == BEGAN_BY_START || r.began == BEGAN_AFTER_GAME_OVER;
}

void keep_new_game_start(ReplayBegan began) {
    new_game_start = replay_of_now(false);
    new_game_start.began = began;
}

const REPLAY &latest_new_game_start() {
    return new_game_start;
}

REPLAY replay_of_seed(uint32_t seed, ReplayBegan began, uint8_t flags) {
    showmouse = flags & 1;
    focus_paused = (flags & 2) != 0;
    between_levels = BETWEEN_NONE;
    next_game_seed = seed;
    // As the pass does: Start sets the game up in the input stage, a game
    // over's end on the high-score screen's last pass (pass.cpp).
    game_initdata();
    if (began == BEGAN_AFTER_GAME_OVER)
        check_extra_life();
    REPLAY r = replay_of_now(false);
    r.began = began;
    clear_events();
    return r;
}

void start_replay(const REPLAY &r) {
    for (int i = 0; i < 7; i++)
        *TUNED[i] = r.tuning[i];
    SavedGame game;
    decode_save(r.start, game);
    restore_records(game);
    game_seed = r.seed;
    set_game_random_state(r.random_state);
    showmouse = r.flags & 1;
    focus_paused = (r.flags & 2) != 0;
    between_levels = BETWEEN_NONE;
    if (starts_from_seed(r)) {
        // The rest of the pass that began the game, as pass.cpp plays it.
        input = unpack_record(r.first_record);
        if (r.began == BEGAN_AFTER_GAME_OVER) {
            count_pass();
            take_commands();
            if (input.start)
                game_initdata();
        }
        take_buttons_and_move();
    }
    clear_events();
}

void add_pass(REPLAY &r, const INPUT_RECORD &record) {
    r.passes.push_back(pack_record(record));
    if (r.passes.size() % REPLAY_CHECKPOINT_EVERY == 0)
        r.checkpoints.push_back({static_cast<uint32_t>(r.passes.size()), state_hash()});
}

void close_replay(REPLAY &r) {
    if (r.checkpoints.empty() || r.checkpoints.back().pass != r.passes.size())
        r.checkpoints.push_back({static_cast<uint32_t>(r.passes.size()), state_hash()});
}

uint16_t pack_record(const INPUT_RECORD &record) {
    uint16_t bits = 0;
    for (int i = 0; i < ACTION_COUNT; i++)
        if (record.*ACTIONS[i])
            bits |= static_cast<uint16_t>(1u << i);
    return bits;
}

INPUT_RECORD unpack_record(uint16_t bits) {
    INPUT_RECORD record{};
    for (int i = 0; i < ACTION_COUNT; i++)
        record.*ACTIONS[i] = (bits >> i) & 1;
    return record;
}

uint32_t state_hash() {
    unsigned char image[SAVE_FILE_SIZE];
    encode_save(records_now(), image);
    uint32_t hash = fnv(2166136261u, image, sizeof image);
    const int32_t more[] = {static_cast<int32_t>(game_random_state()), DELAY, showmouse ? 1 : 0,
                            focus_paused ? 1 : 0, between_levels};
    return fnv(hash, more, sizeof more);
}

std::vector<unsigned char> encode_replay(const REPLAY &r) {
    Writer w;
    w.raw(MAGIC, sizeof MAGIC);
    w.u32(r.format);
    w.raw(r.version, sizeof r.version);
    for (int32_t t : r.tuning)
        w.u32(static_cast<uint32_t>(t));
    w.u32(r.seed);
    w.u32(r.random_state);
    w.u8(r.flags);
    w.u8(r.began);
    w.raw(r.start, sizeof r.start);
    if (starts_from_seed(r))
        w.u16(r.first_record);
    std::size_t runs = 0;
    for (std::size_t i = 0; i < r.passes.size(); i++)
        runs += i == 0 || r.passes[i] != r.passes[i - 1];
    w.varint(static_cast<uint32_t>(runs));
    for (std::size_t i = 0; i < r.passes.size();) {
        std::size_t j = i;
        while (j < r.passes.size() && r.passes[j] == r.passes[i])
            j++;
        w.varint(static_cast<uint32_t>(j - i));
        w.u16(r.passes[i]);
        i = j;
    }
    w.varint(static_cast<uint32_t>(r.checkpoints.size()));
    for (const REPLAY_CHECKPOINT &c : r.checkpoints) {
        w.varint(c.pass);
        w.u32(c.hash);
    }
    return w.bytes;
}

std::string decode_replay(const unsigned char *bytes, std::size_t size, REPLAY &r) {
    // A day of play at the fastest pace; anything longer is no game's.
    constexpr uint32_t MAX_PASSES = 20000000;
    r = REPLAY{};
    if (size < sizeof MAGIC || std::memcmp(bytes, MAGIC, sizeof MAGIC) != 0)
        return "not a Tarvellion replay";
    Reader in(bytes + sizeof MAGIC, size - sizeof MAGIC);
    const uint32_t format = in.u32();
    if (in.ok && (format < REPLAY_OLDEST_FORMAT || format > REPLAY_FORMAT))
        return "a replay of format version " + std::to_string(format) +
               "; this Tarvellion plays versions " + std::to_string(REPLAY_OLDEST_FORMAT) + " to " +
               std::to_string(REPLAY_FORMAT);
    if (size < HEADER_SIZE)
        return "a damaged replay (cut short)";
    in.raw(r.version, sizeof r.version);
    for (int32_t &t : r.tuning)
        t = static_cast<int32_t>(in.u32());
    r.seed = in.u32();
    r.random_state = in.u32();
    r.flags = static_cast<uint8_t>(in.u8());
    r.began = static_cast<uint8_t>(in.u8());
    in.raw(r.start, sizeof r.start);
    r.format = format;
    const uint8_t latest_began = format == 1 ? BEGAN_CONTINUED : BEGAN_AFTER_GAME_OVER;
    if (r.version[sizeof r.version - 1] != '\0' || r.flags > 3 || r.began > latest_began)
        return "a damaged replay (its header)";
    if (starts_from_seed(r)) {
        r.first_record = static_cast<uint16_t>(in.u16());
        if (r.first_record >> ACTION_COUNT)
            return "a damaged replay (its header)";
    }
    const uint32_t runs = in.varint();
    // Each run takes at least three bytes: no count can outgrow the file.
    if (!in.ok || runs > in.left() / 3)
        return "a damaged replay (its passes)";
    for (uint32_t i = 0; i < runs && in.ok; i++) {
        const uint32_t length = in.varint();
        const uint16_t record = static_cast<uint16_t>(in.u16());
        // The encoder writes each run as long as it goes.
        const bool joins_last = !r.passes.empty() && r.passes.back() == record;
        if (length == 0 || length > MAX_PASSES - r.passes.size() || record >> ACTION_COUNT ||
            joins_last)
            return "a damaged replay (its passes)";
        r.passes.insert(r.passes.end(), length, record);
    }
    const uint32_t count = in.varint();
    if (!in.ok || count > in.left() / 5)
        return "a damaged replay (its checkpoints)";
    for (uint32_t i = 0; i < count && in.ok; i++) {
        const uint32_t pass = in.varint();
        const uint32_t hash = in.u32();
        const bool in_order = r.checkpoints.empty() || pass > r.checkpoints.back().pass;
        if (pass > r.passes.size() || !in_order)
            return "a damaged replay (its checkpoints)";
        r.checkpoints.push_back({pass, hash});
    }
    if (!in.ok || in.left() != 0)
        return "a damaged replay (its length)";
    SavedGame game;
    decode_save(r.start, game);
    if (!save_is_playable(game) || !tuning_is_playable(r.tuning, game))
        return "a damaged replay (its start)";
    return "";
}
