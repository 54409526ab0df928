// make_assets OUTDIR: writes every picture, sound and piece of music the game loads,
// the patch set that plays the music and the desktop icons into OUTDIR, byte for byte
// the same on every run. `make assets` runs it into data/; the assets_match_generator test checks
// that data/ is what it writes.
#include "actor_art.h"
#include "bmp_writer.h"
#include "fruit_art.h"
#include "icon_art.h"
#include "palette.h"
#include "patch_set.h"
#include "png_writer.h"
#include "screen_art.h"
#include "sound_effects.h"
#include "town_tune.h"
#include "wav_writer.h"

#include <exception>
#include <iostream>
#include <string>

namespace {

void write_all(const std::string &directory) {
    const auto &colours = game_palette().colours;
    auto picture = [&](const std::string &name, const IndexedImage &image) {
        write_indexed_bmp(directory + "/" + name, image, colours);
    };
    const struct {
        const char *name;
        Fruit fruit;
    } fruit[] = {{"green", Fruit::green_apple},
                 {"blue", Fruit::blue_grapes},
                 {"yellow", Fruit::yellow_lemon},
                 {"red", Fruit::red_cherries}};
    for (const auto &kind : fruit) {
        for (int frame = 0; frame < 2; ++frame) {
            picture(kind.name + std::to_string(frame) + ".dat", draw_fruit(kind.fruit, frame));
        }
    }
    for (int facing = 0; facing < 4; ++facing) {
        picture("player" + std::to_string(facing) + ".dat", draw_player(facing));
    }
    for (int frame = 0; frame < 3; ++frame) {
        picture("fire" + std::to_string(frame) + ".dat", draw_shot(frame));
        picture("train" + std::to_string(frame) + ".dat", draw_train(frame));
    }
    const Ground grounds[] = {Ground::meadow, Ground::sand, Ground::stone_tiles};
    for (int level = 0; level < 3; ++level) {
        picture("back" + std::to_string(level) + ".dat", draw_background(grounds[level]));
    }
    picture("lost.dat", draw_game_over());
    picture("mouse.dat", draw_mouse_pointer());
    for (int size : icon_sizes) {
        write_indexed_png(directory + "/tarvellion-" + std::to_string(size) + ".png",
                          draw_icon(size), colours);
    }

    write_mono_wav(directory + "/eat.wav", make_pickup_blip(), effect_sample_rate);
    write_mono_wav(directory + "/attact.wav", make_hit_crash(), effect_sample_rate);
    write_mono_wav(directory + "/tada.wav", make_extra_life_fanfare(), effect_sample_rate);
    write_town_tune(directory + "/town.dat");
    write_patch_set(directory);
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        std::cerr << "usage: make_assets OUTDIR\n";
        return 2;
    }
    try {
        write_all(argv[1]);
    } catch (const std::exception &error) {
        std::cerr << "make_assets: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
