// Asset loading and release, called by start-up and shutdown (main.cpp). The
// sprites and buttons are defined here, in the order the game constructs them.
#include "assets.h"

#include "game_state.h"
#include "mute.h"

#include <initializer_list>

BITMAP *blost;
BITMAP *bmouse;
PALETTE pallete;
SAMPLE *seat;
SAMPLE *attact;
SAMPLE *liveup;
MIDI *backsound;

Sprite sgreen, sblue, syellow, sred, splayer, strain, sfire, sback;
Button bstart, bend, bresume;

void loadfile() {
    blost = load_bmp("lost.dat", pallete);
    if (!blost) {
        allegro_message("Can't open file lost.dat !!!");
        return;
    }
    bmouse = load_bmp("mouse.dat", pallete);
    if (!bmouse) {
        allegro_message("Can't open file mouse.dat !!!");
        return;
    }
    set_palette(pallete);

    seat = load_sample("eat.wav");
    attact = load_sample("attact.wav");
    liveup = load_sample("tada.wav");
    backsound = load_midi("town.dat");

    sgreen.Create("green", 2, 32, 32);
    sblue.Create("blue", 2, 32, 32);
    syellow.Create("yellow", 2, 32, 32);
    sred.Create("red", 2, 32, 32);
    splayer.Create("player", 4, 32, 32);
    sfire.Create("fire", 3, 32, 32);
    strain.Create("train", 3, 32, 32);
    sback.Create("back", 3, 640, 480);

    bstart.Create("Start", 280, 200, 24, 80);
    bend.Create("End", 280, 230, 24, 80);
    bresume.Create("Continue", 280, 170, 24, 80);
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

void play_effect(SAMPLE *sample) {
    if (sample && !sound_muted())
        play_sample(sample, 255, pan, pitch, 0);
}

void start_music() {
    if (sound_muted())
        music_held_back();
    else if (backsound)
        play_midi(backsound, 1);
}
