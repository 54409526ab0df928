// Writes the save file the window benchmark plays: a first level on a field of
// the given size, twelve fruit well away from the player, who stands in the
// middle with a million lives, so that no level or game-over screen can come
// while the benchmark watches. With "won" every fruit is already collected
// (Continue brings the level-cleared screens), with "lost" no life is left
// (Continue brings the game-over screen).
// Usage: bench_save WIDTH HEIGHT FILE [won|lost]
#include "shell/files/save_file.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char **argv) {
    const char *screen = argc == 5 ? argv[4] : "";
    if ((argc != 4 && argc != 5) ||
        (*screen && std::strcmp(screen, "won") != 0 && std::strcmp(screen, "lost") != 0)) {
        std::fprintf(stderr, "usage: %s WIDTH HEIGHT FILE [won|lost]\n", argv[0]);
        return 2;
    }
    const int32_t w = std::atoi(argv[1]);
    const int32_t h = std::atoi(argv[2]);
    SavedGame game;
    std::memset(&game, 0, sizeof game);
    game.unit.level = 1;
    game.unit.fruitmax = 12;
    game.unit.width = w;
    game.unit.height = h;
    std::strcpy(game.unit.name, "Tarvellion");
    game.player = {1000000, 0, 0, 5, 8000, FW_UP, {w / 2 - 16, h / 2 - 16}};
    // Where a new level puts the trains.
    game.train[0] = {FW_RIGHT, {16, 16}, 1, 5};
    game.train[1] = {FW_LEFT, {w - 16, h - 16}, 1, 5};
    game.train[2] = {FW_UP, {16, h - 16}, 1, 5};
    game.train[3] = {FW_DOWN, {w - 16, 16}, 1, 5};
    // Two rows of six, a quarter of the field above and below the player.
    for (int i = 0; i < 12; i++) {
        const int32_t x = 64 + (w - 128) * (i % 6) / 5;
        const int32_t y = i < 6 ? h / 4 : 3 * h / 4;
        game.fruit[i] = {{x, y}, 100, i % 4 + 1, std::strcmp(screen, "won") == 0 ? 0 : -1};
    }
    if (std::strcmp(screen, "lost") == 0)
        game.player.live = 0;
    if (!save_is_playable(game)) {
        std::fprintf(stderr, "a %d x %d field cannot be played\n", w, h);
        return 1;
    }
    unsigned char bytes[SAVE_FILE_SIZE];
    encode_save(game, bytes);
    FILE *file = std::fopen(argv[3], "wb");
    if (!file || std::fwrite(bytes, 1, sizeof bytes, file) != sizeof bytes ||
        std::fclose(file) != 0) {
        std::perror(argv[3]);
        return 1;
    }
    return 0;
}
