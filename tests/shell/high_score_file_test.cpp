// The high-score file: its round trip, and a damaged or hostile one set
// aside under a new name, never deleted, with a new table begun.
#include "../headless.h"
#include "../ui/scratch.h"

#include "core/high_scores.h"
#include "shell/files/high_score_file.h"

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

namespace fs = std::filesystem;

std::string file_text(const std::string &name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void write_text(const std::string &name, const std::string &text) {
    std::ofstream(name, std::ios::binary) << text;
}

class HighScoreFile : public Headless {
  protected:
    void TearDown() override {
        keep_high_scores("");
        high_scores = HIGH_SCORE_TABLE{};
        Headless::TearDown();
    }
    ScratchDir dir;
};

TEST_F(HighScoreFile, WhatIsWrittenIsReadBack) {
    EXPECT_TRUE(read_high_scores("highscores.txt")) << "no file yet";
    EXPECT_EQ(high_scores.count, 0);
    EXPECT_FALSE(fs::exists("highscores.txt"));
    EXPECT_NE(write_high_scores(), 0) << "no file kept yet";

    keep_high_scores("highscores.txt");
    for (int i = 0; i < 12; i++) {
        HIGH_SCORE e{};
        std::snprintf(e.name, sizeof e.name, "P%d #=%%", i);
        e.score = 100 * (i % 5 + 1);
        e.level = i + 1;
        e.date = 20261201 + i;
        insert_high_score(high_scores, e);
    }
    ASSERT_EQ(write_high_scores(), 0);
    const std::string written = file_text("highscores.txt");
    const HIGH_SCORE_TABLE before = high_scores;

    EXPECT_TRUE(read_high_scores("highscores.txt"));
    ASSERT_EQ(high_scores.count, HIGH_SCORE_COUNT);
    for (int i = 0; i < HIGH_SCORE_COUNT; i++) {
        EXPECT_STREQ(high_scores.entry[i].name, before.entry[i].name);
        EXPECT_EQ(high_scores.entry[i].score, before.entry[i].score);
        EXPECT_EQ(high_scores.entry[i].level, before.entry[i].level);
        EXPECT_EQ(high_scores.entry[i].date, before.entry[i].date);
    }
    EXPECT_EQ(encode_high_scores(high_scores), written);
}

TEST_F(HighScoreFile, ADamagedOrHostileFileIsSetAsideAndANewTableBegun) {
    const std::string good = "Tarvellion high scores 1\n50 2 2026-12-07 Ann\n";
    const struct {
        const char *name;
        void (*make)(const std::string &path);
    } cases[] = {
        {"garbage",
         [](const std::string &p) {
             write_text(p, "\x7f"
                           "ELF\x02\x01");
         }},
        {"a field out of range",
         [](const std::string &p) {
             write_text(p, "Tarvellion high scores 1\n5 1 2026-02-30 A\n");
         }},
        {"cut short",
         [](const std::string &p) { write_text(p, "Tarvellion high scores 1\n5 1 20"); }},
        {"too long", [](const std::string &p) { write_text(p, std::string(100000, '1')); }},
        {"a directory", [](const std::string &p) { fs::create_directory(p); }},
        {"a FIFO", [](const std::string &p) { ASSERT_EQ(mkfifo(p.c_str(), 0600), 0); }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all("highscores.txt");
        for (const char *aside : {"highscores.txt.damaged", "highscores.txt.damaged-2"})
            fs::remove_all(aside);
        c.make("highscores.txt");
        const auto type = fs::symlink_status("highscores.txt").type();
        const std::string content =
            fs::is_regular_file("highscores.txt") ? file_text("highscores.txt") : "";
        write_text("highscores.txt.damaged", "set aside before");

        high_scores.count = 3;
        EXPECT_FALSE(read_high_scores("highscores.txt"));
        EXPECT_EQ(high_scores.count, 0);
        EXPECT_FALSE(fs::exists(fs::symlink_status("highscores.txt")));
        EXPECT_EQ(file_text("highscores.txt.damaged"), "set aside before");
        ASSERT_EQ(fs::symlink_status("highscores.txt.damaged-2").type(), type);
        if (type == fs::file_type::regular) {
            EXPECT_EQ(file_text("highscores.txt.damaged-2"), content);
        }

        keep_high_scores("highscores.txt");
        HIGH_SCORE e{};
        std::snprintf(e.name, sizeof e.name, "Ann");
        e.score = 50;
        e.level = 2;
        e.date = 20261207;
        insert_high_score(high_scores, e);
        ASSERT_EQ(write_high_scores(), 0);
        EXPECT_EQ(file_text("highscores.txt"), good) << "the new table takes its place";
    }
}

} // namespace
