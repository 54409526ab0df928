// The high-score table's rules and its file image: places and ties, the
// eleventh dropped, names of every printable character, and every kind of
// damage the reader must refuse.
#include "core/high_scores.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

HIGH_SCORE game(const char *name, int32_t score, int32_t level = 1, int32_t date = 20261207) {
    HIGH_SCORE e{};
    std::snprintf(e.name, sizeof e.name, "%s", name);
    e.score = score;
    e.level = level;
    e.date = date;
    return e;
}

std::string names(const HIGH_SCORE_TABLE &t) {
    std::string s;
    for (int i = 0; i < t.count; i++)
        s += std::string(i ? " " : "") + t.entry[i].name;
    return s;
}

TEST(HighScores, EachGameTakesItsPlaceBelowEqualScoresAndTheEleventhDrops) {
    // Games entered in this order, each as "name:score"; then the table.
    const struct {
        std::vector<std::pair<const char *, int32_t>> games;
        std::vector<int> places; // where each went, -1 for not entered
        const char *table;
    } cases[] = {
        {{{"a", 10}, {"b", 30}, {"c", 20}}, {0, 0, 1}, "b c a"},
        {{{"a", 10}, {"b", 10}, {"c", 10}}, {0, 1, 2}, "a b c"},
        {{{"a", 10}, {"b", 20}, {"c", 10}, {"d", 20}}, {0, 0, 2, 1}, "b d a c"},
        {{{"none", 0}, {"a", 5}, {"less", -3}}, {-1, 0, -1}, "a"},
        {{{"1", 100},
          {"2", 90},
          {"3", 80},
          {"4", 70},
          {"5", 60},
          {"6", 50},
          {"7", 40},
          {"8", 30},
          {"9", 20},
          {"10", 10},
          {"low", 5},
          {"tie", 10},
          {"top", 1000},
          {"mid", 55}},
         {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, -1, -1, 0, 6},
         "top 1 2 3 4 5 mid 6 7 8"},
        {{{"max", INT32_MAX}, {"one", 1}, {"max2", INT32_MAX}}, {0, 1, 1}, "max max2 one"},
    };
    for (const auto &c : cases) {
        HIGH_SCORE_TABLE t{};
        for (std::size_t i = 0; i < c.games.size(); i++) {
            const auto &[name, score] = c.games[i];
            EXPECT_EQ(high_score_rank(t, score), c.places[i]) << name;
            EXPECT_EQ(insert_high_score(t, game(name, score)), c.places[i]) << name;
        }
        EXPECT_EQ(names(t), c.table);
        EXPECT_LE(t.count, HIGH_SCORE_COUNT);
    }
}

TEST(HighScores, AFileImageReadsBackAsTheSameTable) {
    HIGH_SCORE_TABLE t{};
    const char *odd[] = {"Ann",          "a b", "=#;[x]",       "%s%n%d", "\\\"'`",
                         "~!@$^&*()_+{", "x",   "123456789012", "Z  z",   "<>|?/,."};
    for (int i = 0; i < HIGH_SCORE_COUNT; i++)
        insert_high_score(t, game(odd[i], 1000 - 7 * i, 1 + i * 37, 19700101 + i * 10101));
    insert_high_score(t, game("tie", 1000 - 7 * 4, INT32_MAX, 99991231));
    const std::string image = encode_high_scores(t);
    EXPECT_EQ(image.rfind("Tarvellion high scores 1\n1000 1 1970-01-01 Ann\n", 0), 0u) << image;

    HIGH_SCORE_TABLE back;
    ASSERT_TRUE(decode_high_scores(image.data(), image.size(), back)) << image;
    ASSERT_EQ(back.count, HIGH_SCORE_COUNT);
    for (int i = 0; i < back.count; i++) {
        EXPECT_STREQ(back.entry[i].name, t.entry[i].name);
        EXPECT_EQ(back.entry[i].score, t.entry[i].score);
        EXPECT_EQ(back.entry[i].level, t.entry[i].level);
        EXPECT_EQ(back.entry[i].date, t.entry[i].date);
    }
    EXPECT_EQ(encode_high_scores(back), image);

    HIGH_SCORE_TABLE empty{};
    const std::string none = encode_high_scores(empty);
    EXPECT_EQ(none, "Tarvellion high scores 1\n");
    EXPECT_TRUE(decode_high_scores(none.data(), none.size(), back));
    EXPECT_EQ(back.count, 0);
}

TEST(HighScores, AnythingTheGameWouldNotWriteIsRefused) {
    const std::string head = "Tarvellion high scores 1\n";
    const std::string ten = [&] {
        std::string s;
        for (int i = 0; i < 10; i++)
            s += "5 1 2026-12-07 P\n";
        return s;
    }();
    const std::string damaged[] = {
        "",
        "Tarvellion high scores 1",
        "Tarvellion high scores 2\n",
        "tarvellion high scores 1\n",
        head + "5 1 2026-12-07 P",     // no last line break
        head + "5 1 2026-12-07 P\r\n", // a control character in the name
        head + "5 1 2026-12-07 \n",    // no name
        head + "5 1 2026-12-07 1234567890123\n",
        head + "5 1 2026-12-07  P\n", // a name beginning with a blank
        head + "5 1 2026-12-07 P \n",
        head + "5 1 2026-12-07 P\xe9\n",
        head + std::string("5 1 2026-12-07 P\0Q\n", 19), // a name the zero byte would cut
        head + "0 1 2026-12-07 P\n",                     // no points
        head + "-5 1 2026-12-07 P\n",
        head + "+5 1 2026-12-07 P\n",
        head + "05 1 2026-12-07 P\n",
        head + "2147483648 1 2026-12-07 P\n",
        head + "99999999999 1 2026-12-07 P\n",
        head + "5 0 2026-12-07 P\n", // no level
        head + "5 1 2026-13-07 P\n", // no such day
        head + "5 1 2026-02-29 P\n",
        head + "2026 1 1900-02-29 P\n",
        head + "5 1 1969-12-31 P\n",
        head + "5 1 2026-12-00 P\n",
        head + "5 1 2026-1-07 P\n",
        head + "5 1 2026/12/07 P\n",
        head + "5  1 2026-12-07 P\n",
        head + "5\t1 2026-12-07 P\n",
        head + "5 1 2026-12-07\n",
        head + "3 1 2026-12-07 P\n5 1 2026-12-07 Q\n", // out of order
        head + ten + "5 1 2026-12-07 P\n",             // eleven
        head + "\n",
    };
    for (const std::string &image : damaged) {
        HIGH_SCORE_TABLE t{};
        insert_high_score(t, game("kept?", 7));
        EXPECT_FALSE(decode_high_scores(image.data(), image.size(), t)) << image;
        EXPECT_EQ(t.count, 0) << image;
    }
    const std::string good[] = {head + ten, head + "2147483647 2147483647 2000-02-29 ~\n",
                                head + "9 1 9999-12-31 a  b\n5 2 1970-01-01 c\n"};
    for (const std::string &image : good) {
        HIGH_SCORE_TABLE t;
        EXPECT_TRUE(decode_high_scores(image.data(), image.size(), t)) << image;
        EXPECT_EQ(encode_high_scores(t), image);
    }
}

} // namespace
