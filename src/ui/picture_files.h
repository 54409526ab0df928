// How the ui's pictures come from files: the ui reads no file itself. The
// shell hands in its checked loader (data_files.h) before it loads anything;
// until then every picture counts as missing.
#pragma once

#include <allegro.h>

enum class PictureLoad { LOADED, MISSING, DAMAGED };

struct PICTURE_FILES {
    // Loads a BMP picture and its palette into `picture` (null unless LOADED).
    PictureLoad (*load)(const char *name, RGB *palette, BITMAP *&picture);
    // The start-up message for a picture the game cannot do without.
    void (*report_unusable)(const char *name);
};

extern PICTURE_FILES picture_files;

inline PictureLoad load_picture(const char *name, RGB *palette, BITMAP *&picture) {
    picture = nullptr;
    return picture_files.load ? picture_files.load(name, palette, picture) : PictureLoad::MISSING;
}

inline void report_unusable_picture(const char *name) {
    if (picture_files.report_unusable)
        picture_files.report_unusable(name);
}
