// Typing a name for the high-score table, and the game over that enters a
// score: the name asked for (answered through the library's keyboard hooks),
// the table and options.ini written, the table in the menu.
#include "scratch.h"

#include "core/high_scores.h"
#include "core/game_state.h"
#include "shell/flow/high_score_entry.h"
#include "shell/files/high_score_file.h"
#include "shell/files/options.h"
#include "ui/frame.h"
#include "ui/high_score_screens.h"
#include "ui/menu.h"

#include <cstdio>
#include <deque>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

namespace {

// The high-score screen as the main loop runs it, a step a pass.
void record_high_score() {
    if (begin_high_score_entry())
        while (high_score_entry_step() > 0) {
        }
}

constexpr int ENTER = KEY_ENTER << 8 | 13;
constexpr int ESC = KEY_ESC << 8 | 27;
constexpr int BACKSPACE = KEY_BACKSPACE << 8 | 8;

// Keys as readkey() gives them: \r Enter, \x1b Esc, \b Backspace.
std::vector<int> keys_of(const std::string &typed) {
    std::vector<int> keys;
    for (char c : typed)
        keys.push_back(c == '\r' ? ENTER : c == '\x1b' ? ESC : c == '\b' ? BACKSPACE : c);
    return keys;
}

TEST(NameEntry, KeysMakeTheNameTheOfferedOneStandsUntilEdited) {
    const struct {
        const char *offered;
        std::string typed;
        const char *name;
    } cases[] = {
        {"Ann", "Bob\r", "Bob"},
        {"Ann", "\r", "Ann"},
        {"Ann", "Bob\x1b", "Ann"},
        {"Ann", "\b\r", "An"},
        {"Ann", "\b\b\bx\r", "x"},
        {"Ann", "\b\b\b\b\b\r", "Ann"},
        {"Ann", "  Zed  \r", "Zed"},
        {"Ann", "   \r", "Ann"},
        {"Ann", "abcdefghijklmnop\r", "abcdefghijkl"},
        {"Ann", "%s\\\"=#\r", "%s\\\"=#"},
        {"Ann",
         "a\tb\x7f\xe9"
         "c\r",
         "abc"},
        {"Ann", "Bob\rCarl\r", "Bob"},
        {"", "\r", "Player"},
        {" bad", "\x1b", "Player"},
        {"123456789012", "\r", "123456789012"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.typed);
        NAME_ENTRY entry;
        begin_name_entry(entry, c.offered);
        for (int key : keys_of(c.typed))
            take_name_key(entry, key);
        EXPECT_TRUE(entry.settled);
        EXPECT_STREQ(entry.name, c.name);
    }
    NAME_ENTRY entry;
    begin_name_entry(entry, "Ann");
    take_name_key(entry, 'B');
    accept_offered_name(entry); // the gamepad's button
    EXPECT_STREQ(entry.name, "Ann");
}

// The player types once the game has asked twice about keys over the same
// screen: emptying the key buffer asks once, a wait for a key keeps asking.
std::deque<int> keyboard;
int questions = 0;

int key_ready() {
    return ++questions >= 2 && !keyboard.empty();
}

int key_read() {
    questions = 0;
    const int key = keyboard.front();
    keyboard.pop_front();
    return key;
}

std::string file_text(const char *name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class GameOverScore : public Headless {
  protected:
    void SetUp() override {
        Headless::SetUp();
        reset_options();
        high_scores = HIGH_SCORE_TABLE{};
        keep_high_scores("highscores.txt");
        unit.width = 640;
        unit.height = 480;
    }
    void TearDown() override {
        install_keyboard_hooks(nullptr, nullptr);
        keyboard.clear();
        keep_high_scores("");
        high_scores = HIGH_SCORE_TABLE{};
        reset_options();
        Headless::TearDown();
    }
    ScratchDir dir;
};

TEST_F(GameOverScore, ANameIsTypedAndTheTableWrittenWithIt) {
    const struct {
        int32_t score, level;
        std::string typed; // then a key for the table
        const char *name;  // "" when the score does not enter
    } cases[] = {
        {500, 3, "Bob\r", "Bob"}, {400, 2, "\r", "Bob"},          {0, 5, "", ""},
        {450, 9, "\x1b", "Bob"},  {450, 4, "E =\\%\r", "E =\\%"}, {-10, 1, "", ""},
    };
    const char *expected_table[] = {"Bob", "Bob", "E =\\%", "Bob"};
    install_keyboard_hooks(key_ready, key_read);
    std::snprintf(options.name, sizeof options.name, "Ann");
    for (const auto &c : cases) {
        SCOPED_TRACE(c.typed);
        unit.score = c.score;
        unit.level = c.level;
        const int count_before = high_scores.count;
        for (int key : keys_of(c.typed + (c.name[0] ? "x" : "")))
            keyboard.push_back(key);
        questions = 0;
        record_high_score();
        EXPECT_TRUE(keyboard.empty()) << "keys left unread";
        keyboard.clear();
        if (!c.name[0]) {
            EXPECT_EQ(high_scores.count, count_before);
            continue;
        }
        EXPECT_STREQ(options.name, c.name) << "the name is offered next time";
    }
    ASSERT_EQ(high_scores.count, 4);
    for (int i = 0; i < 4; i++)
        EXPECT_STREQ(high_scores.entry[i].name, expected_table[i]);
    EXPECT_EQ(high_scores.entry[2].level, 4) << "the later of two equal scores ranks lower";
    EXPECT_EQ(file_text("highscores.txt"), encode_high_scores(high_scores));
    EXPECT_NE(file_text("options.ini").find("name = E =\\%\n"), std::string::npos);
}

TEST_F(GameOverScore, WithoutAKeyboardTheOfferedNameIsTaken) {
    std::snprintf(options.name, sizeof options.name, "Ann");
    unit.score = 70;
    unit.level = 0; // a save can hold anything; the table holds only levels from 1
    record_high_score();
    ASSERT_EQ(high_scores.count, 1);
    EXPECT_STREQ(high_scores.entry[0].name, "Ann");
    EXPECT_EQ(high_scores.entry[0].level, 1);
    EXPECT_TRUE(is_high_score_date(high_scores.entry[0].date));

    keep_high_scores(""); // tests and tools: no table kept, nothing asked
    unit.score = 90;
    record_high_score();
    EXPECT_EQ(high_scores.count, 1);
}

TEST_F(GameOverScore, TheMenuShowsTheTableBelowItsButtons) {
    load_assets();
    auto frame = [](bool menu) {
        show_menu(menu);
        follow_menu();
        clear_to_color(buffer, makecol(0, 128, 0));
        put_bmp();
        BITMAP *copy = create_bitmap(buffer->w, buffer->h);
        blit(buffer, copy, 0, 0, 0, 0, buffer->w, buffer->h);
        return copy;
    };
    // Pixels that differ between two frames, inside the table's rows and
    // outside them.
    auto differing = [](BITMAP *a, BITMAP *b, bool inside) {
        int count = 0;
        for (int y = 0; y < a->h; y++)
            for (int x = 0; x < a->w; x++)
                if ((y >= 320 && y < 470) == inside)
                    count += getpixel(a, x, y) != getpixel(b, x, y);
        return count;
    };
    BITMAP *hidden = frame(false);
    BITMAP *empty = frame(true);
    EXPECT_EQ(differing(hidden, empty, true), 0) << "an empty table is not shown";

    HIGH_SCORE e{};
    std::snprintf(e.name, sizeof e.name, "Ann");
    e.score = 5;
    e.level = 1;
    e.date = 20261207;
    insert_high_score(high_scores, e);
    BITMAP *one = frame(true);
    EXPECT_GT(differing(empty, one, true), 1000) << "the table's backdrop, heading and row";
    EXPECT_EQ(differing(empty, one, false), 0) << "drawn over nothing but its own place";
    BITMAP *without_menu = frame(false);
    EXPECT_EQ(differing(hidden, without_menu, true), 0) << "only while the menu is shown";
    for (BITMAP *b : {hidden, empty, one, without_menu})
        destroy_bitmap(b);
}

} // namespace
