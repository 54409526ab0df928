// The headless game for the fuzz targets and the soak; see game_harness.h.
#include "game_harness.h"

#include "shell/output/assets.h"
#include "core/game_state.h"
#include "shell/flow/waits.h"
#include "shell/output/window.h"

#include <allegro.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

GFX_DRIVER fake_driver; // only w and h are read, by SCREEN_W and SCREEN_H

constexpr int PLAYER_MARGIN = 48; // the player's centre keeps this far from the edges
constexpr int FRUIT_MARGIN = 48;  // and so does every fruit's
constexpr int TRAIN_INSET = 16;   // trains and shots run this far in from the edges

bool exists(const std::string &path) {
    struct stat info;
    return lstat(path.c_str(), &info) == 0;
}

// Files that belong to a player's run in the data directory, not to the game.
bool is_players_file(const char *name) {
    return std::strncmp(name, "save.dat", 8) == 0 || std::strcmp(name, "setting.ini") == 0;
}

int link_data_files(const std::string &dir) {
    DIR *data = opendir(TARVELLION_DATA_DIR);
    if (!data)
        return 0;
    int found = 0;
    while (const dirent *entry = readdir(data)) {
        if (entry->d_name[0] == '.' || is_players_file(entry->d_name))
            continue;
        const std::string from = std::string(TARVELLION_DATA_DIR) + "/" + entry->d_name;
        if (symlink(from.c_str(), (dir + "/" + entry->d_name).c_str()) == 0)
            found++;
    }
    closedir(data);
    return found;
}

void write_placeholder_picture(const std::string &path) {
    BITMAP *picture = create_bitmap(32, 32);
    if (!picture)
        fail("no memory for a placeholder picture");
    clear_to_color(picture, makecol(255, 0, 255));
    if (save_bmp(path.c_str(), picture, default_palette) != 0)
        fail("can't write " + path);
    destroy_bitmap(picture);
}

std::vector<std::string> temp_dirs; // removed when the process ends

// The directories hold only files and links, no subdirectories.
void remove_temp_dirs() {
    for (const std::string &dir : temp_dirs) {
        if (DIR *d = opendir(dir.c_str())) {
            while (const dirent *entry = readdir(d))
                if (entry->d_name[0] != '.')
                    unlink((dir + "/" + entry->d_name).c_str());
            closedir(d);
        }
        rmdir(dir.c_str());
    }
}

bool within(int32_t value, int64_t low, int64_t high) {
    return value >= low && value <= high;
}

// A figure's centre within [low, size - high_inset], widened by one step on
// both sides: the rules test the band before the step.
bool in_band(const POS &p, int64_t low, int64_t inset, int64_t step) {
    return within(p.x, low - step, unit.width - inset + step) &&
           within(p.y, low - step, unit.height - inset + step);
}

std::string describe(const char *what, int i, const POS &p) {
    char text[128];
    std::snprintf(text, sizeof text, "%s %d at (%d, %d) on a %d x %d field", what, i, p.x, p.y,
                  unit.width, unit.height);
    return text;
}

} // namespace

void start_library() {
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0)
        fail("can't install the library without a display");
}

void use_screen(int width, int height, int depth) {
    if (screen && screen->w == width && screen->h == height && bitmap_color_depth(screen) == depth)
        return;
    if (screen)
        destroy_bitmap(screen);
    if (buffer)
        destroy_bitmap(buffer);
    set_color_depth(depth);
    screen = create_bitmap(width, height);
    buffer = create_bitmap(width, height);
    if (!screen || !buffer)
        fail("no memory for the screen");
    fake_driver.w = width;
    fake_driver.h = height;
    gfx_driver = &fake_driver;
}

std::string make_temp_dir() {
    const char *base = std::getenv("TMPDIR");
    struct stat info;
    if (stat("/dev/shm", &info) == 0 && S_ISDIR(info.st_mode) && access("/dev/shm", W_OK) == 0)
        base = "/dev/shm";
    std::string pattern = std::string(base ? base : "/tmp") + "/tarvellion-XXXXXX";
    if (!mkdtemp(pattern.data()))
        fail("can't make a temporary directory: " + std::string(std::strerror(errno)));
    if (temp_dirs.empty())
        std::atexit(remove_temp_dirs);
    temp_dirs.push_back(pattern);
    return pattern;
}

void in_directory(const std::string &dir, const std::function<void()> &work) {
    char here[4096];
    if (!getcwd(here, sizeof here) || chdir(dir.c_str()) != 0)
        fail("can't change to " + dir);
    work();
    if (chdir(here) != 0)
        fail("can't change back to " + std::string(here));
}

int load_assets_in(const std::string &dir) {
    const int found = link_data_files(dir);
    for (const char *picture : {"lost.dat", "mouse.dat"})
        if (!exists(dir + "/" + picture))
            write_placeholder_picture(dir + "/" + picture);
    in_directory(dir, loadfile);
    if (!blost || !bmouse)
        fail("the game-over and pointer pictures did not load");
    // Without a system driver the library has no timer, and play_midi()
    // crashes installing one; the music is the one asset left out.
    destroy_midi(backsound);
    backsound = nullptr;
    return found;
}

namespace {

double leaping_clock() {
    static double now = 0;
    now += 1000;
    return now;
}

void no_sleep(double) {}

} // namespace

void leap_through_waits() {
    wait_clock = leaping_clock;
    wait_sleep = no_sleep;
}

std::string broken_invariant() {
    if (unit.fruitmax == 0)
        return {};
    if (!within(unit.fruitmax, 1, FRUIT_TABLE_SIZE))
        return "fruitmax " + std::to_string(unit.fruitmax);
    for (int i = 0; i < unit.fruitmax; i++) {
        const _fruit &f = fruit[i];
        if (f.live != 0 && f.live != -1)
            return "fruit " + std::to_string(i) + " live " + std::to_string(f.live);
        if (!in_band(f.pos, FRUIT_MARGIN, FRUIT_MARGIN, 0))
            return describe("fruit", i, f.pos);
    }
    for (int i = 0; i < TRAIN_COUNT; i++) {
        const _TRAIN &t = train[i];
        const _fire &shot = fire[i];
        if (!in_band(t.pos, TRAIN_INSET, TRAIN_INSET, t.speed))
            return describe("train", i, t.pos);
        if (shot.live != 0 && shot.live != -1)
            return "shot " + std::to_string(i) + " live " + std::to_string(shot.live);
        if (shot.live &&
            !in_band(shot.pos, TRAIN_INSET, TRAIN_INSET, std::max(t.speed, shot.speed)))
            return describe("shot", i, shot.pos);
    }
    // On the smallest fields a new level puts the player (at the middle less
    // half a figure) nearer the edge than the margin.
    const int64_t low =
        std::min<int64_t>(PLAYER_MARGIN, std::min(unit.width, unit.height) / 2 - 16);
    if (!in_band(player.pos, low, PLAYER_MARGIN, player.speedmax))
        return describe("player", 0, player.pos);
    if (!within(player.speed2, 0, player.speedmax))
        return "player speed " + std::to_string(player.speed2);
    return {};
}

void fail(const std::string &message) {
    std::fprintf(stderr, "FAILED: %s\n", message.c_str());
    std::abort();
}
