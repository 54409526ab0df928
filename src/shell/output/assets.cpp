// Asset loading and release, called by start-up and shutdown (main.cpp).
#include "assets.h"

#include "../files/data_files.h"

#include <initializer_list>

bool loadfile() {
    use_checked_pictures();
    if (load_picture("lost.dat", pallete, blost) != PictureLoad::LOADED) {
        report_unusable_picture("lost.dat");
        return false;
    }
    if (load_picture("mouse.dat", pallete, bmouse) != PictureLoad::LOADED) {
        report_unusable_picture("mouse.dat");
        return false;
    }
    set_palette(pallete);

    seat = load_sound("eat.wav");
    attact = load_sound("attact.wav");
    liveup = load_sound("tada.wav");
    backsound = load_music("town.dat");
    // The library loads the instruments only when the music starts, and then
    // trusts every patch file; without a sound patch set there is no music.
    if (backsound && !patch_set_is_usable("default.cfg")) {
        destroy_midi(backsound);
        backsound = nullptr;
    }

    struct {
        Sprite &sprite;
        const char *file;
        int32_t count, w, h;
    } const sprites[] = {{sgreen, "green", 2, 32, 32},   {sblue, "blue", 2, 32, 32},
                         {syellow, "yellow", 2, 32, 32}, {sred, "red", 2, 32, 32},
                         {splayer, "player", 4, 32, 32}, {sfire, "fire", 3, 32, 32},
                         {strain, "train", 3, 32, 32},   {sback, "back", 3, 640, 480}};
    for (const auto &s : sprites)
        if (!s.sprite.Create(s.file, s.count, s.w, s.h))
            return false;

    bstart.Create("Start", 280, 200, 24, 80);
    bend.Create("End", 280, 230, 24, 80);
    bresume.Create("Continue", 280, 170, 24, 80);
    boptions.Create("Options", 280, 260, 24, 80);
    bdaily.Create("Daily", 280, 290, 24, 80);
    return true;
}

void destory_all() {
    // The library's release calls take null for an asset that never loaded.
    destroy_sample(seat);
    destroy_sample(attact);
    destroy_sample(liveup);
    destroy_bitmap(bmouse);
    destroy_midi(backsound);
    seat = attact = liveup = nullptr;
    bmouse = nullptr;
    backsound = nullptr;
    for (Sprite *sprite : {&sgreen, &sblue, &syellow, &sred, &splayer, &strain, &sfire, &sback})
        sprite->Release();
}
