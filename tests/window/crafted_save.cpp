// Crafted save files for the window tests.
#include "crafted_save.h"

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

} // namespace window_test
