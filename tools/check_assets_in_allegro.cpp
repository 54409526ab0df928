// check_assets_in_allegro DATADIR: loads every data file the way the game does, with
// Allegro and no display, and fails if a picture has the wrong size or if its
// transparent pixels (palette index 0 in the file) and only those do not come out as the
// mask colour at each colour depth the game offers; also if a sound or the music does
// not load. Run by the assets_load_in_allegro test.
#include "bmp_reader.h"

#include <allegro.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Expected {
    std::string file;
    int width;
    int height;
};

std::vector<Expected> expected_pictures() {
    std::vector<Expected> pictures;
    auto frames = [&pictures](const std::string &name, int count, int w, int h) {
        for (int i = 0; i < count; ++i) {
            pictures.push_back({name + std::to_string(i) + ".dat", w, h});
        }
    };
    frames("green", 2, 32, 32);
    frames("blue", 2, 32, 32);
    frames("yellow", 2, 32, 32);
    frames("red", 2, 32, 32);
    frames("player", 4, 32, 32);
    frames("fire", 3, 32, 32);
    frames("train", 3, 32, 32);
    frames("back", 3, 640, 480);
    pictures.push_back({"lost.dat", 320, 200});
    pictures.push_back({"mouse.dat", 16, 20});
    return pictures;
}

int failures = 0;

void fail(const std::string &what) {
    std::printf("FAIL %s\n", what.c_str());
    ++failures;
}

void check_picture(const std::string &directory, const Expected &expected, int depth) {
    const std::string path = directory + "/" + expected.file;
    const std::string where = expected.file + " at " + std::to_string(depth) + " bpp";
    PALETTE palette;
    BITMAP *bitmap = load_bmp(path.c_str(), palette);
    if (bitmap == nullptr) {
        fail(where + ": load_bmp returned NULL");
        return;
    }
    const IndexedPicture file = read_indexed_bmp(path);
    if (bitmap->w != expected.width || bitmap->h != expected.height) {
        fail(where + ": size " + std::to_string(bitmap->w) + "x" + std::to_string(bitmap->h));
    } else {
        const int mask = bitmap_mask_color(bitmap);
        int wrong = 0;
        for (int y = 0; y < bitmap->h; ++y) {
            for (int x = 0; x < bitmap->w; ++x) {
                const bool transparent_in_file = file.image.at(x, y) == 0;
                const bool masked = getpixel(bitmap, x, y) == mask;
                wrong += transparent_in_file != masked;
            }
        }
        if (wrong != 0) {
            fail(where + ": " + std::to_string(wrong) + " pixels disagree with the mask");
        }
    }
    destroy_bitmap(bitmap);
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        std::printf("usage: check_assets_in_allegro DATADIR\n");
        return 2;
    }
    const std::string directory = argv[1];
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) {
        std::printf("FAIL cannot start Allegro without a display\n");
        return 1;
    }
    const std::vector<Expected> pictures = expected_pictures();
    int checked = 0;
    for (int depth : {8, 15, 16, 24, 32}) {
        set_color_depth(depth);
        for (const Expected &picture : pictures) {
            check_picture(directory, picture, depth);
            ++checked;
        }
    }
    for (const char *name : {"eat.wav", "attact.wav", "tada.wav"}) {
        SAMPLE *sample = load_sample((directory + "/" + name).c_str());
        if (sample == nullptr) {
            fail(std::string(name) + ": load_sample returned NULL");
        } else {
            if (sample->bits != 16 || sample->stereo || sample->len == 0) {
                fail(std::string(name) + ": not a non-empty 16-bit mono sample");
            }
            destroy_sample(sample);
        }
        ++checked;
    }
    MIDI *music = load_midi((directory + "/town.dat").c_str());
    if (music == nullptr) {
        fail("town.dat: load_midi returned NULL");
    } else {
        destroy_midi(music);
    }
    ++checked;
    std::printf("%d checked, %d failed\n", checked, failures);
    return failures == 0 ? 0 : 1;
}
