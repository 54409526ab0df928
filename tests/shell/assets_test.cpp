// Loading the game's pictures, sounds and music: what loadfile() reads, in
// which order, what it does when a file is missing, and that every picture
// comes out right at every colour depth the settings allow.
#include "../data_file_samples.h"
#include "../headless.h"

#include "shell/output/assets.h"
#include "shell/output/window.h"

#include <dirent.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const char *const PICTURES[] = {
    "green0.dat", "green1.dat", "blue0.dat",   "blue1.dat",   "yellow0.dat", "yellow1.dat",
    "red0.dat",   "red1.dat",   "player0.dat", "player1.dat", "player2.dat", "player3.dat",
    "fire0.dat",  "fire1.dat",  "fire2.dat",   "train0.dat",  "train1.dat",  "train2.dat",
    "back0.dat",  "back1.dat",  "back2.dat",   "lost.dat",    "mouse.dat"};

// Runs loadfile() in a copy of the data directory without the named files,
// and with `replaced` written over its namesake, and returns the names of the
// files it opened, in order.
class Loader : public Headless {
  protected:
    std::vector<std::string> load_without(std::vector<std::string> missing,
                                          const samples::Damaged *replaced = nullptr) {
        dir = fs::path(::testing::TempDir()) / ("loader" + std::to_string(getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        for (const auto &entry : fs::directory_iterator(data_dir())) {
            const std::string name = entry.path().filename();
            if (std::find(missing.begin(), missing.end(), name) == missing.end())
                fs::copy_file(entry.path(), dir / name);
        }
        if (replaced) {
            std::ofstream out(dir / replaced->file, std::ios::binary | std::ios::trunc);
            out.write(reinterpret_cast<const char *>(replaced->bytes.data()),
                      static_cast<std::streamsize>(replaced->bytes.size()));
        }
        const int watch = inotify_init1(IN_NONBLOCK);
        EXPECT_GE(watch, 0);
        inotify_add_watch(watch, dir.c_str(), IN_OPEN);

        const fs::path here = fs::current_path();
        fs::current_path(dir);
        ::testing::internal::CaptureStdout();
        complete = loadfile();
        message = ::testing::internal::GetCapturedStdout();
        fs::current_path(here);
        loaded = true;

        std::vector<std::string> opened;
        alignas(inotify_event) char events[64 * 1024];
        ssize_t length;
        while ((length = read(watch, events, sizeof events)) > 0) {
            for (char *at = events; at < events + length;) {
                const auto *event = reinterpret_cast<inotify_event *>(at);
                if (event->len)
                    opened.push_back(event->name);
                at += sizeof(inotify_event) + event->len;
            }
        }
        close(watch);
        return opened;
    }

    void TearDown() override {
        if (loaded) {
            destory_all();
            destroy_bitmap(blost);
            blost = nullptr;
        }
        fs::remove_all(dir);
        Headless::TearDown();
    }

    fs::path dir;
    std::string message;
    bool complete = false;
    bool loaded = false;
};

TEST_F(Loader, ReadsEveryFileOnceInItsOrder) {
    const std::vector<std::string> expected = {
        "lost.dat",    "mouse.dat",  "eat.wav",     "attact.wav",  "tada.wav",    "town.dat",
        "default.cfg", "piano.pat",  "marimba.pat", "acbass.pat",  "kick.pat",    "snare.pat",
        "hihat.pat",   "green0.dat", "green1.dat",  "blue0.dat",   "blue1.dat",   "yellow0.dat",
        "yellow1.dat", "red0.dat",   "red1.dat",    "player0.dat", "player1.dat", "player2.dat",
        "player3.dat", "fire0.dat",  "fire1.dat",   "fire2.dat",   "train0.dat",  "train1.dat",
        "train2.dat",  "back0.dat",  "back1.dat",   "back2.dat"};
    EXPECT_EQ(load_without({}), expected);
    EXPECT_TRUE(complete);
    EXPECT_EQ(message, "");
    for (void *asset : {(void *)blost, (void *)bmouse, (void *)seat, (void *)attact, (void *)liveup,
                        (void *)backsound})
        EXPECT_NE(asset, nullptr);

    struct {
        const Sprite &sprite;
        int frames, w, h;
    } sprites[] = {{sgreen, 2, 32, 32}, {sblue, 2, 32, 32},   {syellow, 2, 32, 32},
                   {sred, 2, 32, 32},   {splayer, 4, 32, 32}, {sfire, 3, 32, 32},
                   {strain, 3, 32, 32}, {sback, 3, 640, 480}};
    for (const auto &s : sprites) {
        ASSERT_EQ(s.sprite.FrameCount(), s.frames);
        for (int i = 0; i < s.frames; i++) {
            BITMAP *frame = s.sprite.FrameBitmap(i);
            ASSERT_NE(frame, nullptr);
            EXPECT_EQ(frame->w, s.w);
            EXPECT_EQ(frame->h, s.h);
        }
    }

    // The screen palette is the pointer picture's.
    PALETTE own;
    BITMAP *pointer = load_bmp((dir / "mouse.dat").c_str(), own);
    ASSERT_NE(pointer, nullptr);
    destroy_bitmap(pointer);
    for (int i = 0; i < PAL_SIZE; i++)
        EXPECT_TRUE(pallete[i].r == own[i].r && pallete[i].g == own[i].g &&
                    pallete[i].b == own[i].b)
            << "palette entry " << i;

    // The menu buttons exist, at their places.
    clear_to_color(buffer, makecol(0, 0, 0));
    mouse_x = mouse_y = 0;
    for (Button *b : {&bresume, &bstart, &bend})
        b->Draw(buffer);
    for (int top : {170, 200, 230}) {
        EXPECT_EQ(pixel_rgb(buffer, 281, top + 1), (Rgb{192, 192, 192}));
        EXPECT_EQ(pixel_rgb(buffer, 279, top + 1), (Rgb{0, 0, 0}));
    }
}

TEST_F(Loader, StopsWithAMessageWhenAPictureIsMissing) {
    const std::vector<std::string> without_lost = load_without({"lost.dat"});
    EXPECT_EQ(message, "Can't open file lost.dat !!!");
    EXPECT_EQ(without_lost, std::vector<std::string>{});
    EXPECT_EQ(blost, nullptr);
    EXPECT_EQ(bmouse, nullptr);
    EXPECT_EQ(sback.FrameCount(), 0);
    TearDown();
    SetUp();

    const std::vector<std::string> without_mouse = load_without({"mouse.dat"});
    EXPECT_NE(message.find("mouse.dat"), std::string::npos) << message;
    EXPECT_EQ(without_mouse, std::vector<std::string>{"lost.dat"});
    EXPECT_NE(blost, nullptr);
    EXPECT_EQ(seat, nullptr);
    EXPECT_EQ(sgreen.FrameCount(), 0);
}

TEST_F(Loader, AMissingSoundIsNotReported) {
    load_without({"eat.wav", "town.dat", "red1.dat"});
    EXPECT_EQ(message, "");
    EXPECT_EQ(seat, nullptr);
    EXPECT_EQ(backsound, nullptr);
    EXPECT_NE(attact, nullptr);
    EXPECT_EQ(sred.FrameBitmap(1), nullptr);
    // A missing frame is passed over when drawn; nothing else is lost.
    clear_to_color(buffer, makecol(1, 2, 3));
    sred.AutoStep();
    sred.blt(buffer, 16, 16);
    EXPECT_EQ(pixel_rgb(buffer, 16, 16), (Rgb{1, 2, 3}));
    EXPECT_NE(sback.FrameBitmap(2), nullptr);
}

// A damaged picture stops the loading with the message naming it; a damaged
// sound is left out, and so is the music when it or a patch is damaged.
TEST_F(Loader, ADamagedFileIsReportedOrLeftOut) {
    for (const samples::Damaged &damaged : samples::damaged_files()) {
        SCOPED_TRACE(damaged.name);
        const std::string file = damaged.file;
        load_without({}, &damaged);
        const bool picture = fs::path(file).extension() == ".dat" && file != "town.dat";
        if (picture) {
            EXPECT_FALSE(complete);
            EXPECT_EQ(message, "Can't open file " + file + " !!!");
        } else {
            EXPECT_TRUE(complete);
            EXPECT_EQ(message, "");
            const std::pair<const char *, void *> assets[] = {{"eat.wav", seat},
                                                              {"attact.wav", attact},
                                                              {"tada.wav", liveup},
                                                              {"town.dat", backsound}};
            // The music is left out for a damaged patch or index as well.
            const std::string left_out = fs::path(file).extension() == ".wav" ? file : "town.dat";
            for (const auto &[name, asset] : assets)
                EXPECT_EQ(asset == nullptr, left_out == name) << name;
            EXPECT_NE(sback.FrameBitmap(2), nullptr);
        }
        TearDown();
        SetUp();
    }
}

// Every picture is drawn through a sprite onto a coloured field at each depth:
// the field must show exactly where the picture is transparent (index 0 of its
// 8-bit original) and the colours must be close to the picture's own.
class Depths : public Headless, public ::testing::WithParamInterface<int> {};

TEST_P(Depths, PicturesAreTransparentExactlyWhereMeantAndKeepTheirColours) {
    const int depth = GetParam();
    const fs::path here = fs::current_path();
    fs::current_path(data_dir());

    use_screen(640, 480, 8);
    PALETTE screen_palette;
    BITMAP *pointer = load_bmp("mouse.dat", screen_palette);
    ASSERT_NE(pointer, nullptr);
    destroy_bitmap(pointer);

    for (const char *name : PICTURES) {
        set_color_depth(8);
        PALETTE own;
        BITMAP *original = load_bmp(name, own);
        ASSERT_NE(original, nullptr) << name;
        ASSERT_EQ(bitmap_color_depth(original), 8) << name << " is not an indexed picture";

        use_screen(640, 480, depth);
        if (depth == 8)
            select_palette(screen_palette);
        const std::string stem(name, std::string(name).find_first_of("0123456789."));
        const bool framed = std::string(name).find_first_of("0123456789") != std::string::npos;
        Sprite sprite;
        BITMAP *loaded = nullptr;
        PALETTE ignored;
        if (framed) {
            sprite.Create(stem.c_str(), name[stem.size()] - '0' + 1, original->w, original->h);
            sprite.Step(name[stem.size()] - '0');
        } else {
            loaded = load_bmp(name, ignored);
        }
        const int field = makecol(7, 77, 177);
        BITMAP *target = create_bitmap(original->w, original->h);
        clear_to_color(target, field);
        if (framed)
            sprite.blt(target, original->w / 2, original->h / 2);
        else
            draw_sprite(target, loaded, 0, 0);

        int wrong_mask = 0, wrong_colour = 0;
        for (int y = 0; y < original->h; y++)
            for (int x = 0; x < original->w; x++) {
                const int index = getpixel(original, x, y);
                const int shown = getpixel(target, x, y);
                if (index == 0) {
                    wrong_mask += shown != field;
                    continue;
                }
                if (depth == 8) {
                    const RGB &want = own[index], &got = screen_palette[shown];
                    wrong_colour += abs(want.r - got.r) > 1 || abs(want.g - got.g) > 1 ||
                                    abs(want.b - got.b) > 1;
                } else {
                    const int tolerance = depth <= 16 ? 8 : 0;
                    wrong_colour +=
                        shown == field ||
                        abs(getr_depth(depth, shown) - own[index].r * 255 / 63) > tolerance + 4 ||
                        abs(getg_depth(depth, shown) - own[index].g * 255 / 63) > tolerance + 4 ||
                        abs(getb_depth(depth, shown) - own[index].b * 255 / 63) > tolerance + 4;
                }
            }
        EXPECT_EQ(wrong_mask, 0) << name << " at " << depth << " bits";
        EXPECT_EQ(wrong_colour, 0) << name << " at " << depth << " bits";
        destroy_bitmap(target);
        if (loaded)
            destroy_bitmap(loaded);
        sprite.Release();
        destroy_bitmap(original);
    }
    fs::current_path(here);
}

INSTANTIATE_TEST_SUITE_P(Assets, Depths, ::testing::Values(8, 15, 16, 24, 32));

} // namespace
