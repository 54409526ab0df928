// Crafted save files for the window tests.
#include "crafted_save.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>

namespace window_test {

SavedGame started_game() {
    SavedGame game;
    std::memset(&game, 0, sizeof game);
    game.unit.level = 1;
    game.unit.fruitmax = 12;
    game.unit.width = 640;
    game.unit.height = 480;
    game.unit.end = 1;
    std::strcpy(game.unit.name, "Tarvellion");
    game.player = {3, 0, 0, 5, 8000, FW_UP, {304, 224}};
    game.train[0] = {FW_RIGHT, {16, 16}, 1, 5};
    game.train[1] = {FW_LEFT, {624, 464}, 1, 5};
    game.train[2] = {FW_UP, {16, 464}, 1, 5};
    game.train[3] = {FW_DOWN, {624, 16}, 1, 5};
    for (int i = 0; i < 12; i++)
        game.fruit[i] = {{100 + 30 * i, 100}, 10, 1 + i % 4, -1};
    return game;
}

SavedGame quiet_game() {
    SavedGame g;
    std::memset(&g, 0, sizeof g);
    g.unit.level = 1;
    g.unit.fruitmax = 2;
    g.unit.width = 640;
    g.unit.height = 480;
    g.unit.timer = 100;
    std::strcpy(g.unit.name, "Tarvellion");
    g.player.live = 3;
    g.player.speedmax = 5;
    g.player.maxjy = 8000;
    g.player.fw = FW_DOWN;
    g.player.pos = {320, 240};
    const _TRAIN trains[TRAIN_COUNT] = {{FW_RIGHT, {16, 16}, 0, 5},
                                        {FW_LEFT, {624, 464}, 0, 5},
                                        {FW_UP, {16, 464}, 0, 5},
                                        {FW_DOWN, {624, 16}, 0, 5}};
    std::memcpy(g.train, trains, sizeof trains);
    g.fruit[0] = {{100, 100}, 10, 1, -1};
    g.fruit[1] = {{540, 380}, 10, 2, -1};
    return g;
}

Bytes save_bytes(const SavedGame &game) {
    Bytes bytes(SAVE_FILE_SIZE);
    encode_save(game, bytes.data());
    return bytes;
}

SavedGame decoded(const Bytes &bytes) {
    if (bytes.size() != SAVE_FILE_SIZE)
        throw std::runtime_error("a save file of " + std::to_string(bytes.size()) + " bytes");
    SavedGame game;
    decode_save(bytes.data(), game);
    return game;
}

POS moved(POS p, int32_t fw, int32_t by) {
    switch (fw) {
    case FW_UP:
        p.y -= by;
        break;
    case FW_RIGHT:
        p.x += by;
        break;
    case FW_DOWN:
        p.y += by;
        break;
    case FW_LEFT:
        p.x -= by;
        break;
    }
    return p;
}

void expect_trains_moved(const _TRAIN (&from)[TRAIN_COUNT], const _TRAIN (&to)[TRAIN_COUNT],
                         int32_t passes) {
    for (int i = 0; i < TRAIN_COUNT; i++) {
        SCOPED_TRACE("train " + std::to_string(i));
        const POS expected = moved(from[i].pos, from[i].fw, passes * from[i].speed);
        EXPECT_EQ(to[i].fw, from[i].fw);
        EXPECT_EQ(to[i].pos.x, expected.x);
        EXPECT_EQ(to[i].pos.y, expected.y);
    }
}

} // namespace window_test
