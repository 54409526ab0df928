// The save file: its byte layout, the round trip through Continue, what an
// unusable file does, and how a save fails or meets a symlink without losing
// the previous file.
#include "../headless.h"
#include "../ui/scratch.h"

#include "platform/platform.h"
#include "core/level_setup.h"
#include "core/player_control.h"
#include "shell/flow/main_loop.h"
#include "shell/files/save_file.h"
#include "core/game_state.h"
#include "core/random.h"
#include "ui/menu.h"

#include <algorithm>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

Bytes read_file(const char *name) {
    std::ifstream in(name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void write_file(const char *name, const Bytes &bytes) {
    std::ofstream out(name, std::ios::binary);
    out.write(reinterpret_cast<const char *>(bytes.data()), bytes.size());
}

int32_t le32(const Bytes &b, std::size_t at) {
    return static_cast<int32_t>(b[at] | b[at + 1] << 8 | b[at + 2] << 16 |
                                static_cast<uint32_t>(b[at + 3]) << 24);
}

void put_le32(Bytes &b, std::size_t at, int32_t value) {
    for (int i = 0; i < 4; i++)
        b[at + i] = static_cast<unsigned char>(static_cast<uint32_t>(value) >> (8 * i));
}

std::vector<std::string> directory() {
    std::vector<std::string> names;
    for (const auto &entry : std::filesystem::directory_iterator("."))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// The records hold nothing but 32-bit integers and the name: no padding.
static_assert(sizeof(SavedGame) == 2484);
bool same(const SavedGame &a, const SavedGame &b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

class SaveFile : public Headless {
  protected:
    void SetUp() override {
        Headless::SetUp();
        load_assets();
        show_menu(true);
        follow_menu();
    }

    // A game in every field, each value its own, all of them playable.
    void fill_records() {
        unit = {7, 0x12345678, 40, 1, 600, 800, 1, 99999, 77, {}};
        std::strcpy(unit.name, "Tarvellion");
        for (int i = 11; i < NAME_SIZE; i++)
            unit.name[i] = static_cast<char>(i * 7);
        player = {5, 9, 4, 6, 28000, 3, {-17, 400}};
        for (int i = 0; i < TRAIN_COUNT; i++) {
            train[i] = {i, {16 + i, 464 - i}, 1 + i, 5 + i};
            fire[i] = {3 - i, 10 + i, -(i % 2), {100 + i, -200 - i}};
        }
        for (int i = 0; i < FRUIT_TABLE_SIZE; i++)
            fruit[i] = {{48 + i, 400 - 3 * i}, -100 + 11 * i, i % 6, -(i % 3 == 0)};
    }

    Bytes good_image() {
        fill_records();
        Bytes bytes(SAVE_FILE_SIZE);
        encode_save(records_now(), bytes.data());
        return bytes;
    }

    ScratchDir dir;
};

TEST_F(SaveFile, HoldsEveryFieldLittleEndianAtItsOffsetAndLoadsItBack) {
    write_file(SAVE_FILE_NAME, Bytes(3000, 0xEE));
    fill_records();
    EXPECT_TRUE(game_save());
    EXPECT_EQ(directory(), std::vector<std::string>{SAVE_FILE_NAME});
    const Bytes b = read_file(SAVE_FILE_NAME);
    ASSERT_EQ(b.size(), 2484u);

    auto fields_at = [&](std::size_t at, std::initializer_list<int32_t> values) {
        for (int32_t v : values) {
            EXPECT_EQ(le32(b, at), v) << "offset " << at;
            at += 4;
        }
    };
    const GAME_UNIT &u = unit;
    const _PLAYER &p = player;
    fields_at(0,
              {u.level, u.score, u.fruitmax, u.pause, u.height, u.width, u.end, u.timer, u.apples});
    fields_at(292, {p.live, p.speed, p.speed2, p.speedmax, p.maxjy, p.fw, p.pos.x, p.pos.y});
    for (int i = 0; i < TRAIN_COUNT; i++) {
        const _TRAIN &t = train[i];
        const _fire &f = fire[i];
        fields_at(324 + 40 * i, {t.fw, t.pos.x, t.pos.y, t.speed, t.speed2});
        fields_at(344 + 40 * i, {f.fw, f.speed, f.live, f.pos.x, f.pos.y});
    }
    for (int i = 0; i < FRUIT_TABLE_SIZE; i++) {
        const _fruit &f = fruit[i];
        fields_at(484 + 20 * i, {f.pos.x, f.pos.y, f.score, f.level, f.live});
    }
    EXPECT_EQ(std::memcmp(&b[36], unit.name, NAME_SIZE), 0);

    // Read back, every field returns; only end and pause come back as 0.
    SavedGame expected = records_now();
    expected.unit.end = expected.unit.pause = 0;
    reset_records();
    game_load();
    EXPECT_TRUE(same(records_now(), expected));
}

TEST_F(SaveFile, ContinueReadsTheFileOnlyWhileNoGameExists) {
    write_file(SAVE_FILE_NAME, good_image());
    reset_records();
    click_at(300, 180);
    key_work();
    EXPECT_EQ(unit.level, 7);
    EXPECT_EQ(unit.score, 0x12345678);
    EXPECT_EQ(unit.pause, 0);
    EXPECT_FALSE(showmouse);

    unit.level = 9;
    show_menu(true);
    follow_menu();
    click_at(300, 180);
    key_work();
    EXPECT_EQ(unit.level, 9);
    EXPECT_EQ(unit.pause, 0);
    EXPECT_FALSE(showmouse);
}

TEST_F(SaveFile, EndFromTheStartMenuOfAFreshRunWritesNothing) {
    click_at(300, 240);
    key_work();
    ASSERT_EQ(unit.end, 1);
    EXPECT_TRUE(game_save());
    EXPECT_TRUE(directory().empty());
    const Bytes before(100, 0x5A);
    write_file(SAVE_FILE_NAME, before);
    EXPECT_TRUE(game_save());
    EXPECT_EQ(read_file(SAVE_FILE_NAME), before);
}

TEST_F(SaveFile, AnUnusableFileStartsANewGameAndIsLeftAsItIs) {
    constexpr int MISSING = -1, DIRECTORY = -2, FIFO = -3;
    const struct {
        int size;           // of the file, or MISSING, DIRECTORY or FIFO
        std::size_t offset; // where value replaces 4 bytes of a good save, if not 0
        int32_t value;
        bool playable;
    } cases[] = {
        {MISSING, 0, 0, false},     {DIRECTORY, 0, 0, false},    {FIFO, 0, 0, false},
        {0, 0, 0, false},           {2483, 0, 0, false},         {2485, 0, 0, false},
        {2484, 8, 0, false},        {2484, 8, 101, false},       {2484, 8, 1, true},
        {2484, 8, 100, true},       {2484, 20, 95, false},       {2484, 20, 4097, false},
        {2484, 20, 96, true},       {2484, 16, 95, false},       {2484, 16, 4096, true},
        {2484, 312, -1, false},     {2484, 312, 4, false},       {2484, 312, 0, true},
        {2484, 404, 4, false},      {2484, 464, -1, false},      {2484, 296, -1, false},
        {2484, 300, 1001, false},   {2484, 304, 1001, false},    {2484, 304, 1000, true},
        {2484, 376, 1001, false},   {2484, 340, -1, false},      {2484, 348, 1001, false},
        {2484, 316, 100001, false}, {2484, 320, -100001, false}, {2484, 316, -100000, true},
        {2484, 452, 100001, false}, {2484, 396, -100001, false}, {2484, 2464, 100001, false},
        {2484, 2468, 100000, true}, {2484, 292, -1000, true},    {2484, 292, 1000000, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "size " << c.size << ", " << c.value << " at " << c.offset);
        std::filesystem::remove_all(SAVE_FILE_NAME);
        Bytes image = good_image();
        if (c.offset)
            put_le32(image, c.offset, c.value);
        if (c.size == DIRECTORY)
            std::filesystem::create_directory(SAVE_FILE_NAME);
        if (c.size == FIFO) {
            ASSERT_EQ(mkfifo(SAVE_FILE_NAME, 0644), 0);
        }
        if (c.size >= 0) {
            image.resize(c.size);
            write_file(SAVE_FILE_NAME, image);
        }

        SavedGame expected;
        if (c.playable) {
            decode_save(image.data(), expected);
            expected.unit.end = expected.unit.pause = 0;
        } else {
            reset_records();
            next_game_seed = 99;
            game_initdata();
            expected = records_now();
        }
        reset_records();
        next_game_seed = 99;
        game_load();
        EXPECT_TRUE(same(records_now(), expected));
        if (c.size == DIRECTORY)
            EXPECT_TRUE(std::filesystem::is_directory(SAVE_FILE_NAME));
        else if (c.size == FIFO)
            EXPECT_TRUE(std::filesystem::is_fifo(SAVE_FILE_NAME));
        else if (c.size == MISSING)
            EXPECT_FALSE(std::filesystem::exists(SAVE_FILE_NAME));
        else
            EXPECT_EQ(read_file(SAVE_FILE_NAME), image);
    }
}

long writes_nothing(int, const void *, std::size_t) {
    return 0;
}

// Root ignores permission bits, so the save is made to fail in ways that hold
// for root too: a file size limit below the save's size makes writing the new
// file fail, a disk that takes no bytes would make it spin, and a save.dat
// that is a directory makes the rename fail.
TEST_F(SaveFile, AFailedSaveIsReportedAndKeepsThePreviousFile) {
    enum Failure { SIZE_LIMIT, NO_PROGRESS, DIRECTORY };
    for (Failure failure : {SIZE_LIMIT, NO_PROGRESS, DIRECTORY}) {
        SCOPED_TRACE(failure);
        std::filesystem::remove_all(SAVE_FILE_NAME);
        const Bytes previous(SAVE_FILE_SIZE, 0xAB);
        const char *kept = failure == DIRECTORY ? "save.dat/inside" : SAVE_FILE_NAME;
        if (failure == DIRECTORY)
            std::filesystem::create_directory(SAVE_FILE_NAME);
        write_file(kept, previous);
        fill_records();

        rlimit unlimited;
        ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &unlimited), 0);
        rlimit small = unlimited;
        small.rlim_cur = failure == SIZE_LIMIT ? 1000 : unlimited.rlim_cur;
        const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
        const WriteCall plain = write_call;
        if (failure == NO_PROGRESS)
            write_call = writes_nothing;
        ::testing::internal::CaptureStdout();
        EXPECT_FALSE(game_save());
        const std::string message = ::testing::internal::GetCapturedStdout();
        write_call = plain;
        setrlimit(RLIMIT_FSIZE, &unlimited);
        std::signal(SIGXFSZ, old_handler);

        EXPECT_NE(message.find(SAVE_FILE_NAME), std::string::npos) << message;
        EXPECT_EQ(directory(), std::vector<std::string>{SAVE_FILE_NAME});
        EXPECT_EQ(read_file(kept), previous);
    }
}

// A FIFO would block whoever opens it for reading until a writer comes.
TEST_F(SaveFile, AFifoNamedSaveDatIsNoSaveAndEndReplacesIt) {
    ASSERT_EQ(mkfifo(SAVE_FILE_NAME, 0644), 0);
    alarm(10); // a blocked open ends the test program rather than hanging it
    next_game_seed = 99;
    game_load();
    alarm(0);
    EXPECT_EQ(unit.level, 1) << "Continue starts a new game";
    fill_records();
    EXPECT_TRUE(game_save());
    struct stat info;
    ASSERT_EQ(lstat(SAVE_FILE_NAME, &info), 0);
    EXPECT_TRUE(S_ISREG(info.st_mode));
    EXPECT_EQ(read_file(SAVE_FILE_NAME).size(), SAVE_FILE_SIZE);
}

TEST_F(SaveFile, EachLevelStartIsSavedAndAFailureThereGoesUnsaid) {
    save_at_each_level_start(true);
    next_game_seed = 5;
    game_initdata();
    act_on_events(); // as the main loop does after the rules
    const SavedGame first = records_now();
    SavedGame loaded;
    decode_save(read_file(SAVE_FILE_NAME).data(), loaded);
    EXPECT_EQ(loaded.unit.level, 1);
    EXPECT_EQ(loaded.unit.end, 1);
    EXPECT_EQ(loaded.unit.pause, 0);
    EXPECT_EQ(std::memcmp(&loaded.fruit, &first.fruit, sizeof first.fruit), 0);

    std::filesystem::remove(SAVE_FILE_NAME);
    std::filesystem::create_directory(SAVE_FILE_NAME);
    ::testing::internal::CaptureStdout();
    game_next();
    act_on_events();
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    save_at_each_level_start(false);
    EXPECT_EQ(unit.level, 2);
    EXPECT_EQ(directory(), std::vector<std::string>{SAVE_FILE_NAME});
}

TEST_F(SaveFile, ASymlinkedSaveIsReplacedNotWrittenThrough) {
    const Bytes target(50, 0x33);
    write_file("target.dat", target);
    std::filesystem::create_symlink("target.dat", SAVE_FILE_NAME);
    fill_records();
    EXPECT_TRUE(game_save());
    struct stat info;
    ASSERT_EQ(lstat(SAVE_FILE_NAME, &info), 0);
    EXPECT_TRUE(S_ISREG(info.st_mode));
    EXPECT_EQ(read_file(SAVE_FILE_NAME).size(), SAVE_FILE_SIZE);
    EXPECT_EQ(read_file("target.dat"), target);
    EXPECT_EQ(directory(), (std::vector<std::string>{SAVE_FILE_NAME, "target.dat"}));
}

// Another user may plant a symlink at the name of the next save's temporary
// file; the save must not write through it.
TEST_F(SaveFile, ASymlinkAtTheTemporaryNameIsNotWrittenThrough) {
    const Bytes target(50, 0x33), previous(SAVE_FILE_SIZE, 0xAB);
    write_file("target.dat", target);
    write_file(SAVE_FILE_NAME, previous);
    const std::string temporary = std::string(SAVE_FILE_NAME) + ".tmp" + std::to_string(getpid());
    std::filesystem::create_symlink("target.dat", temporary);
    fill_records();
    ::testing::internal::CaptureStdout();
    const bool saved = game_save();
    const std::string message = ::testing::internal::GetCapturedStdout();

    EXPECT_EQ(read_file("target.dat"), target);
    struct stat info;
    ASSERT_EQ(lstat(SAVE_FILE_NAME, &info), 0);
    EXPECT_TRUE(S_ISREG(info.st_mode));
    const Bytes now = read_file(SAVE_FILE_NAME);
    if (saved)
        EXPECT_EQ(now, good_image());
    else
        EXPECT_EQ(now, previous) << "a failed save lost the previous file";
    EXPECT_EQ(message.empty(), saved) << message;
}

} // namespace
