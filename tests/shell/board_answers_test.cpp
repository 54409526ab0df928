// Reading the world board's answers: what a board sends is read whole, and
// whatever else comes - another server's page, a hostile or broken board -
// is refused or made harmless, never trusted.
#include "shell/world/board_answers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(BoardAnswers, ListingsAreReadWholeAndAnythingElseIsRefused) {
    std::vector<WORLD_ENTRY> entries;
    ASSERT_TRUE(read_board_listing(
        R"({"entries": [{"place": 1, "name": "Ann \"A\"", "score": 4200, "level": 3,)"
        R"( "date": "2026-12-08", "id": 17}, {"place": 2, "name": "b\u0007\u00e9)"
        R"(cdefghijklmnopqrstuvwxyz", "score": 0, "level": 1, "date": "x", "id": 9}]})",
        entries));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, "Ann \"A\"");
    EXPECT_EQ(entries[0].score, 4200);
    EXPECT_EQ(entries[0].level, 3);
    EXPECT_EQ(entries[0].id, 17);
    EXPECT_EQ(entries[1].name, "b??cdefghijklmno") << "printable, cut to a board's 16";
    EXPECT_TRUE(read_board_listing(R"({"entries": []})", entries));
    EXPECT_TRUE(entries.empty());

    const std::string refused[] = {
        "<html>Not found</html>",
        R"({"entries": [{"place": 1, "name": "A", "score": 1.5, "level": 1, "id": 2}]})",
        R"({"entries": [{"place": 1, "name": "A", "score": -1, "level": 1, "id": 2}]})",
        R"({"entries": [{"place": 1, "name": 7, "score": 1, "level": 1, "id": 2}]})",
        R"({"entries": [{"place": 1, "name": "A", "score": 1, "level": 1, "id": 2})",
        R"({"entries": "none"})",
        R"({"entries": []} trailing)",
        std::string(100000, '[') + std::string(100000, ']'),
        R"({"entries": [{"place": 1, "name": "A, "score": 1}]})",
    };
    for (const std::string &text : refused)
        EXPECT_FALSE(read_board_listing(text, entries)) << text.substr(0, 80);
}

TEST(BoardAnswers, AGameTakenAndARefusalsReason) {
    GAME_TAKEN taken{};
    ASSERT_TRUE(read_game_taken(
        R"({"id": 5, "place": 2, "score": 310, "level": 2, "board": "daily"})", taken));
    EXPECT_EQ(taken.id, 5);
    EXPECT_EQ(taken.place, 2);
    EXPECT_EQ(taken.score, 310);
    EXPECT_FALSE(read_game_taken(R"({"error": "this game was sent before"})", taken));
    EXPECT_EQ(read_refusal(R"({"error": "the lives keys were used\n"})"),
              "the lives keys were used ");
    EXPECT_EQ(read_refusal("Bad Gateway"), "");
}
