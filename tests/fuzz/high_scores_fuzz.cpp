// Fuzz target for "highscores.txt". Whatever the file holds, the reader must
// either take a table the game itself would have written - ten entries at
// most, best first, every field in its range, and the file exactly the image
// of that table - and leave the file where it is, or set the file aside
// unchanged under its ".damaged" name and begin an empty table. A game must
// then enter the table read, and what is written must read back the same.
#include "game_harness.h"

#include "core/high_scores.h"
#include "shell/files/high_score_file.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

std::string path;
std::string aside;

void write_file(const uint8_t *data, size_t size) {
    FILE *file = std::fopen(path.c_str(), "wb");
    if (!file || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0)
        fail("can't write " + path);
}

bool read_file(const std::string &name, std::string &text) {
    FILE *file = std::fopen(name.c_str(), "rb");
    if (!file)
        return false;
    text.clear();
    char chunk[4096];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        text.append(chunk, n);
    std::fclose(file);
    return true;
}

std::string broken_table(const HIGH_SCORE_TABLE &t) {
    if (t.count < 0 || t.count > HIGH_SCORE_COUNT)
        return "count " + std::to_string(t.count);
    for (int i = 0; i < t.count; i++) {
        const HIGH_SCORE &e = t.entry[i];
        const std::string at = "entry " + std::to_string(i);
        if (!is_high_score_name(e.name))
            return at + " name";
        if (e.score < 1 || e.level < 1 || !is_high_score_date(e.date))
            return at + " fields";
        if (i > 0 && e.score > t.entry[i - 1].score)
            return at + " out of order";
    }
    return {};
}

bool same_tables(const HIGH_SCORE_TABLE &a, const HIGH_SCORE_TABLE &b) {
    if (a.count != b.count)
        return false;
    for (int i = 0; i < a.count; i++)
        if (std::strcmp(a.entry[i].name, b.entry[i].name) != 0 ||
            a.entry[i].score != b.entry[i].score || a.entry[i].level != b.entry[i].level ||
            a.entry[i].date != b.entry[i].date)
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    path = make_temp_dir() + "/" + HIGH_SCORE_FILE_NAME;
    aside = path + ".damaged";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string given(reinterpret_cast<const char *>(data), size);
    unlink(aside.c_str());
    write_file(data, size);

    const bool taken = read_high_scores(path);
    std::string text;
    if (taken) {
        const std::string broken = broken_table(high_scores);
        if (!broken.empty())
            fail("a table was taken with its " + broken);
        if (encode_high_scores(high_scores) != given)
            fail("a table was taken from a file that is not its image");
        if (!read_file(path, text) || text != given)
            fail("the file taken did not stay as it was");
    } else {
        if (high_scores.count != 0)
            fail("a table was kept from a file set aside");
        if (read_file(path, text))
            fail("the damaged file is still in the table's place");
        if (!read_file(aside, text) || text != given)
            fail("the damaged file was not set aside unchanged");
    }

    // A finished game enters the table read, and the file written reads back.
    HIGH_SCORE game{};
    std::snprintf(game.name, sizeof game.name, "%s", "Fuzz");
    game.score = size ? data[0] * 1000 + 1 : 1;
    game.level = 3;
    game.date = 20261207;
    const HIGH_SCORE_TABLE before = high_scores;
    const int place = insert_high_score(high_scores, game);
    if (place != high_score_rank(before, game.score))
        fail("the game entered at another place than its rank");
    keep_high_scores(path);
    if (write_high_scores() != 0)
        fail("can't write the table");
    const HIGH_SCORE_TABLE written = high_scores;
    if (!read_high_scores(path) || !same_tables(written, high_scores))
        fail("the table written does not read back the same");
    return 0;
}
