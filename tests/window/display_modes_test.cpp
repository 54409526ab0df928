// The display as a player meets it in a real window: the field doubled on a
// 1920 x 1080 desktop, pixel for pixel, with its buttons where they show;
// Alt+Enter and F11 during play, to fullscreen and back, the game going on
// and the choice kept for the next run; the rules standing still while
// another window has the focus; the game-over picture readable after its
// sparkle.
#include "crafted_save.h"
#include "menu_screen.h"
#include "real_window.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <thread>

using namespace window_test;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int FIELD_W = 640, FIELD_H = 480;
constexpr int PLAYER_START_X = 304, PLAYER_START_Y = 224;
constexpr int DELAY_MS = 30; // the default pass delay: no pass is shorter
constexpr Rgb BLACK{0, 0, 0};

void pause_ms(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

double seconds_since(Clock::time_point t) {
    return std::chrono::duration<double>(Clock::now() - t).count();
}

std::string text_of(const GameRun &run, const std::string &name) {
    const Bytes bytes = run.file(name).value_or(Bytes{});
    return std::string(bytes.begin(), bytes.end());
}

// The trains' pictures, animated even in the menu, reach into this corner
// of the field from their start at (0, 0) before any game.
bool in_trains_corner(int x, int y) {
    return x < 16 && y < 16;
}

// The field at this view: everything around it black, its pixels in whole
// blocks of the scale, and a picture in it.
bool field_shown_at(const ScreenImage &shot, const FieldView &view) {
    const int right = view.left + FIELD_W * view.scale, bottom = view.top + FIELD_H * view.scale;
    if (right > shot.width() || bottom > shot.height())
        return false;
    for (int y = 0; y < shot.height(); y += 3)
        for (int x = 0; x < shot.width(); x += 3) {
            const bool inside = x >= view.left && x < right && y >= view.top && y < bottom;
            if (!inside && shot.at(x, y) != BLACK)
                return false;
        }
    int black = 0, total = 0;
    for (int fy = 20; fy < FIELD_H; fy += 7)
        for (int fx = 20; fx < FIELD_W; fx += 7, total++) {
            const int x = view.left + fx * view.scale, y = view.top + fy * view.scale;
            for (int j = 1; j < view.scale * view.scale; j++)
                if (shot.at(x + j % view.scale, y + j / view.scale) != shot.at(x, y))
                    return false;
            black += shot.at(x, y) == BLACK;
        }
    return black < total / 2;
}

// The menu with the pointer picture (a black-edged white arrow) drawn with
// its tip at this field pixel.
std::function<bool(const ScreenImage &)> menu_with_pointer_at(const FieldView &view, int x, int y) {
    return [=](const ScreenImage &shot) {
        auto at = [&](int dx, int dy) {
            return shot.at(view.left + (x + dx) * view.scale, view.top + (y + dy) * view.scale);
        };
        return menu_shown_in(view)(shot) && at(0, 0) == BLACK && at(0, 3) == BLACK &&
               at(1, 3) == Rgb{255, 255, 255} && at(2, 4) == Rgb{255, 255, 255};
    };
}

// The label the game shows while the focus is away: a dark box in the
// middle of the field.
bool pause_label_shown(const ScreenImage &shot) {
    return count_in(shot, {270, 230, 300, 234}, BLACK) == 31 * 5;
}

// The game-over picture as the game draws it at 32 bits: lost.dat over the
// field's green, its mask colour letting the green through.
std::vector<Rgb> game_over_panel(int &w, int &h) {
    static const bool library_up = install_allegro(SYSTEM_NONE, &errno, atexit) == 0;
    EXPECT_TRUE(library_up);
    set_color_depth(32);
    BITMAP *picture = load_bmp(TARVELLION_WINDOW_DATA_DIR "/lost.dat", nullptr);
    if (!picture)
        throw std::runtime_error("lost.dat cannot be read");
    BITMAP *panel = create_bitmap(picture->w, picture->h);
    clear_to_color(panel, makecol(0, 128, 0));
    draw_sprite(panel, picture, 0, 0);
    w = panel->w;
    h = panel->h;
    std::vector<Rgb> pixels;
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            const int c = getpixel(panel, x, y);
            pixels.push_back({getr32(c), getg32(c), getb32(c)});
        }
    destroy_bitmap(panel);
    destroy_bitmap(picture);
    return pixels;
}

TEST(ScaledWindow, OnAFullHdDesktopIsTheFrameDoubledPixelForPixelWithItsButtonsInPlace) {
    // The pointer rests at the same field pixel in both runs: its picture is
    // part of the menu's frame.
    constexpr int POINTER_X = 600, POINTER_Y = 400;
    ScreenImage unscaled;
    {
        SCOPED_TRACE("1024 x 768: scale 1");
        GameRun run;
        run.wait_for_window();
        EXPECT_EQ(run.window_size(), std::make_pair(FIELD_W, FIELD_H));
        unscaled =
            run.point_until(POINTER_X, POINTER_Y, menu_with_pointer_at({}, POINTER_X, POINTER_Y),
                            "the pointer in the start menu");
    }
    SCOPED_TRACE("1920 x 1080: scale 2");
    GameOptions options;
    options.screen_width = 1920;
    options.screen_height = 1080;
    GameRun run(options);
    run.wait_for_window();
    EXPECT_EQ(run.window_size(), std::make_pair(2 * FIELD_W, 2 * FIELD_H));
    const FieldView doubled{2, 0, 0};
    const ScreenImage scaled = run.point_until(2 * POINTER_X, 2 * POINTER_Y,
                                               menu_with_pointer_at(doubled, POINTER_X, POINTER_Y),
                                               "the pointer in the start menu");
    int wrong = 0;
    Box where{FIELD_W, FIELD_H, -1, -1};
    for (int y = 0; y < FIELD_H; y++)
        for (int x = 0; x < FIELD_W; x++)
            for (int j = 0; j < 4 && !in_trains_corner(x, y); j++)
                if (scaled.at(2 * x + j % 2, 2 * y + j / 2) != unscaled.at(x, y)) {
                    wrong++;
                    where = {std::min(where.left, x), std::min(where.top, y),
                             std::max(where.right, x), std::max(where.bottom, y)};
                }
    EXPECT_EQ(wrong, 0) << "pixels of the doubled frame unlike the frame at scale 1, within field "
                        << where.left << ", " << where.top << " .. " << where.right << ", "
                        << where.bottom;
    if (wrong) {
        unscaled.save_png(run.directory() + "/scale-1.png");
        scaled.save_png(run.directory() + "/scale-2.png");
    }

    start_game(run, doubled);
    const ExitStatus status = end_game(run, doubled);
    EXPECT_TRUE(status.exited && status.code == 0) << to_string(status);
    EXPECT_EQ(decoded(run.file("save.dat").value_or(Bytes{})).unit.level, 1);
}

// 1280 x 1024 has no room for a doubled window, but fullscreen doubles the
// field and centres it between black bands.
TEST(Fullscreen, AltEnterAndF11SwitchDuringPlayAndTheGameGoesOn) {
    const FieldView fullscreen{2, 0, 32};
    GameOptions options;
    options.screen_width = 1280;
    options.screen_height = 1024;
    options.save = save_bytes(started_game());
    GameRun run(options);
    run.wait_for_window();
    EXPECT_EQ(run.window_size(), std::make_pair(FIELD_W, FIELD_H));
    continue_game(run);

    run.hold_key("alt+Return");
    run.watch_whole_screen(true);
    run.wait_for_screen([&](const ScreenImage &s) { return field_shown_at(s, fullscreen); },
                        "the field doubled in the middle of the screen");
    EXPECT_NE(text_of(run, "options.ini").find("fullscreen = 1"), std::string::npos);
    run.hold_key("Down", 300);
    pause_ms(700);

    run.hold_key("F11");
    run.watch_whole_screen(false);
    run.wait_for_screen([](const ScreenImage &s) { return s.width() == FIELD_W && menu_hidden(s); },
                        "the game back in its window");
    run.hold_key("Right", 300);
    pause_ms(700);
    const ExitStatus status = end_game(run);
    ASSERT_TRUE(status.exited && status.code == 0) << to_string(status);

    const SavedGame game = decoded(run.file("save.dat").value_or(Bytes{}));
    EXPECT_EQ(game.unit.level, 1);
    EXPECT_EQ(game.unit.fruitmax, 12);
    EXPECT_EQ(game.unit.end, 1);
    EXPECT_EQ(game.unit.pause, 0);
    EXPECT_EQ(game.unit.width, FIELD_W);
    EXPECT_EQ(game.unit.height, FIELD_H);
    // Steered in fullscreen and again in the window: neither switch paused.
    EXPECT_GT(game.player.pos.y, PLAYER_START_Y);
    EXPECT_GT(game.player.pos.x, PLAYER_START_X);
    EXPECT_EQ(game.player.fw, FW_RIGHT);
    ASSERT_GT(game.unit.timer, 0);
    expect_trains_moved(started_game().train, game.train, game.unit.timer);
    EXPECT_NE(text_of(run, "options.ini").find("fullscreen = 0"), std::string::npos);
}

TEST(Fullscreen, KeptChoiceStartsTheNextRunThereWithItsButtonsInPlace) {
    const FieldView fullscreen{2, 0, 32};
    GameOptions options;
    options.screen_width = 1280;
    options.screen_height = 1024;
    const std::string kept = "fullscreen = 1\n";
    options.files = {{"options.ini", Bytes(kept.begin(), kept.end())}};
    GameRun run(options);
    run.watch_whole_screen(true);
    run.wait_for_window();
    run.wait_for_screen([&](const ScreenImage &s) { return field_shown_at(s, fullscreen); },
                        "the field doubled in the middle of the screen");
    start_game(run, fullscreen);
    const ExitStatus status = end_game(run, fullscreen);
    EXPECT_TRUE(status.exited && status.code == 0) << to_string(status);
    EXPECT_EQ(decoded(run.file("save.dat").value_or(Bytes{})).unit.level, 1);
}

TEST(FocusLoss, RulesStandStillUntilTheFocusComesBack) {
    constexpr double AWAY_S = 3;
    GameOptions options;
    options.save = save_bytes(started_game());
    GameRun run(options);
    run.wait_for_window();
    run.wait_for_screen(menu_shown, "the start menu");
    const std::string other = run.open_other_window();
    run.focus_game();
    // The rules can run only between the click on Continue and the Esc.
    const auto playing = Clock::now();
    press_button(run, CONTINUE_BOX);
    run.wait_for_screen(menu_hidden, "the continued game");
    pause_ms(500);

    run.focus_window(other);
    const auto away = Clock::now();
    run.wait_for_screen(pause_label_shown, "the pause label");
    pause_ms(static_cast<int>(1000 * AWAY_S));
    const double away_s = seconds_since(away);
    run.focus_game();
    run.wait_for_screen([](const ScreenImage &s) { return !pause_label_shown(s); },
                        "the game going on");
    pause_ms(500);
    run.hold_key("Escape");
    const double played_s = seconds_since(playing) - away_s;
    const ExitStatus status = end_game(run);
    ASSERT_TRUE(status.exited && status.code == 0) << to_string(status);

    // Every pass of the rules takes at least the delay: the passes counted
    // fit into the time the window had the focus, not the time it had not.
    const SavedGame game = decoded(run.file("save.dat").value_or(Bytes{}));
    EXPECT_GT(game.unit.timer, 0);
    EXPECT_LE(game.unit.timer, played_s * 1000 / DELAY_MS + 2)
        << "the rules ran for " << game.unit.timer * DELAY_MS / 1000.0 << " s of the " << played_s
        << " s the window had the focus";
    EXPECT_EQ(game.unit.pause, 0);
    expect_trains_moved(started_game().train, game.train, game.unit.timer);
}

TEST(GameOverPanel, MostOfItStillShowsAfterItsSparkle) {
    int w = 0, h = 0;
    const std::vector<Rgb> panel = game_over_panel(w, h);
    const int left = FIELD_W / 2 - w / 2, top = FIELD_H / 2 - h / 2;
    auto share_as_drawn = [&](const ScreenImage &shot) {
        int same = 0;
        for (int y = 0; y < h; y++)
            for (int x = 0; x < w; x++)
                same += shot.at(left + x, top + y) == panel[y * w + x];
        return static_cast<double>(same) / (w * h);
    };
    SavedGame lost = started_game();
    lost.player.live = 0;
    GameOptions options;
    options.save = save_bytes(lost);
    GameRun run(options);
    run.wait_for_window();
    run.wait_for_screen(menu_shown, "the start menu");
    press_button(run, CONTINUE_BOX);
    run.wait_for_screen([&](const ScreenImage &s) { return share_as_drawn(s) > 0.9; },
                        "the game-over picture");
    // Its own wait of 2 s, then the wait for a key, with every dot still there.
    pause_ms(static_cast<int>(2500 * slowdown()));
    const double share = share_as_drawn(run.screenshot());
    EXPECT_GE(share, 2.0 / 3) << "of the game-over picture unchanged";
    EXPECT_LT(share, 1.0) << "no sparkle at all";
}

} // namespace
