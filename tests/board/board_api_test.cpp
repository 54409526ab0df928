// The board's API on loopback, one suite for SQLite and for a PostgreSQL
// server started here in a temporary folder: genuine games made with the
// core enter with the score and level the game's --verify prints, forged
// ones are refused with their code and reason, and two servers on one
// PostgreSQL take games at once and list them all.
#include "core/events.h"
#include "core/game_state.h"
#include "core/pass.h"
#include "core/player_control.h"
#include "core/random.h"
#include "core/replay.h"
#include "core/screens.h"
#include "board/request.h"
#include "board_server.h"

#include <arpa/inet.h>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <httplib.h>
#include <iterator>
#include <netinet/in.h>
#include <pwd.h>
#include <string>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#define PG_BIN "/usr/lib/postgresql/15/bin/"

namespace {

// A game begun by Start from `seed`, played with a steady pattern until its
// game over. `arrange` may forge the state after the setup, as a cheat would.
std::string bytes_of(const REPLAY &r) {
    const std::vector<unsigned char> bytes = encode_replay(r);
    return std::string(bytes.begin(), bytes.end());
}

std::string a_game(uint32_t seed, const std::function<void(INPUT_RECORD &, int)> &keys = nullptr,
                   const std::function<void()> &arrange = nullptr) {
    reset_records();
    reset_tuning();
    clear_events();
    between_levels = BETWEEN_NONE;
    show_menu(true);
    next_game_seed = seed;
    INPUT_RECORD start{};
    start.start = true;
    play_pass(start);
    REPLAY r = latest_new_game_start();
    if (arrange) {
        start_replay(r);
        arrange();
        const ReplayBegan began = static_cast<ReplayBegan>(r.began);
        r = replay_of_now(false);
        r.began = began;
        play_pass(start);
    }
    r.first_record = pack_record(start);
    std::snprintf(r.version, sizeof r.version, "%s", TARVELLION_VERSION);
    for (int pass = 0; pass < 1000000; pass++) {
        INPUT_RECORD in{};
        in.left = pass % 400 < 120;
        in.up = pass % 150 < 40;
        if (keys)
            keys(in, pass);
        const bool on = play_pass(in);
        add_pass(r, in);
        if (!on)
            break;
    }
    close_replay(r);
    return bytes_of(r);
}

std::string edited(const std::string &body, const std::function<void(REPLAY &)> &edit) {
    REPLAY r;
    decode_replay(reinterpret_cast<const unsigned char *>(body.data()), body.size(), r);
    edit(r);
    return bytes_of(r);
}

// What the game's --verify prints of a replay: "level L, score S".
std::string verified(const std::string &body) {
    const std::string path = testing::TempDir() + "board-verify.replay";
    std::ofstream(path, std::ios::binary) << body;
    FILE *out = popen((GAME_PROGRAM " --replay " + path + " --verify 2>&1").c_str(), "r");
    char line[128] = "";
    EXPECT_NE(std::fgets(line, sizeof line, out), nullptr);
    pclose(out);
    std::remove(path.c_str());
    const std::string text = line;
    return text.substr(0, text.find(", state hash"));
}

// A SQLite file with the log beside it that a killed server leaves.
void remove_sqlite(const std::string &path) {
    for (const char *suffix : {"", "-wal", "-shm"})
        std::remove((path + suffix).c_str());
}

// A PostgreSQL server of its own in a temporary folder for the whole run, as
// the postgres user when the tests run as root (it refuses root).
class Postgres : public ::testing::Environment {
  public:
    static std::string address;
    void SetUp() override {
        char folder[] = "/tmp/board-postgres-XXXXXX";
        dir = mkdtemp(folder);
        if (geteuid() == 0) {
            const passwd *account = getpwnam("postgres");
            ASSERT_NE(account, nullptr) << "no postgres user: is postgresql installed?";
            ASSERT_EQ(chown(dir.c_str(), account->pw_uid, account->pw_gid), 0);
            as_user = "runuser -u postgres -- ";
        }
        const std::string port = std::to_string(free_port());
        ASSERT_EQ(std::system((as_user + PG_BIN "initdb -A trust -U postgres -D " + dir +
                               "/data >/dev/null")
                                  .c_str()),
                  0);
        ASSERT_EQ(std::system((as_user + PG_BIN "pg_ctl -w -D " + dir + "/data -l " + dir +
                               "/log -o '-k " + dir + " -p " + port +
                               " -c listen_addresses=127.0.0.1 -c fsync=off' start >/dev/null")
                                  .c_str()),
                  0);
        address = "postgresql://postgres@127.0.0.1:" + port + "/postgres";
    }
    void TearDown() override {
        std::system(
            (as_user + PG_BIN "pg_ctl -D " + dir + "/data -m fast stop >/dev/null").c_str());
        std::system(("rm -rf " + dir).c_str());
    }

  private:
    std::string dir, as_user;
};
std::string Postgres::address;

httplib::Result send(int port, const std::string &body, const std::string &query) {
    httplib::Client client("127.0.0.1", port);
    return client.Post(("/api/games?" + query).c_str(), body, "application/octet-stream");
}

std::string board_json(int port, const std::string &query) {
    httplib::Client client("127.0.0.1", port);
    const auto result = client.Get(("/api/board?" + query).c_str());
    return result ? result->body : "";
}

class BoardApi : public ::testing::TestWithParam<const char *> {
  protected:
    BOARD_SERVER board;
    std::string sqlite_file;

    void SetUp() override {
        if (std::string(GetParam()) == "sqlite") {
            char path[] = "/tmp/board-test-XXXXXX";
            close(mkstemp(path));
            unlink(path);
            sqlite_file = path;
        }
        board = start_board(database());
    }
    void TearDown() override {
        stop_board(board);
        if (!sqlite_file.empty())
            remove_sqlite(sqlite_file);
    }
    std::string database() const { return sqlite_file.empty() ? Postgres::address : sqlite_file; }
};

TEST_P(BoardApi, GenuineGamesEnterWithTheScoreTheGameVerifies) {
    const std::string games[] = {a_game(3), a_game(4),
                                 a_game(daily_seed(utc_day(std::time(nullptr))))};
    for (const std::string &game : games) {
        const bool daily = &game == &games[2];
        const auto result = send(board.port, game, daily ? "name=Ann&kind=daily" : "name=Bob");
        ASSERT_TRUE(result);
        ASSERT_EQ(result->status, 201) << result->body;
        int id, place, score, level;
        ASSERT_EQ(std::sscanf(result->body.c_str(),
                              "{\"id\": %d, \"place\": %d, \"score\": %d, \"level\": %d", &id,
                              &place, &score, &level),
                  4)
            << result->body;
        EXPECT_EQ("level " + std::to_string(level) + ", score " + std::to_string(score),
                  verified(game));
        const auto replay = httplib::Client("127.0.0.1", board.port)
                                .Get(("/api/games/" + std::to_string(id) + "/replay").c_str());
        ASSERT_TRUE(replay);
        EXPECT_EQ(replay->body, game) << "the replay given back is the one sent";
        const std::string listed = board_json(board.port, daily ? "kind=daily" : "limit=100");
        EXPECT_NE(listed.find("\"place\": " + std::to_string(place) + ", \"name\": \"" +
                              (daily ? "Ann" : "Bob") + "\", \"score\": " + std::to_string(score)),
                  std::string::npos)
            << listed;
    }
    EXPECT_EQ(board_json(board.port, "kind=daily").find("Bob"), std::string::npos);
    EXPECT_EQ(board_json(board.port, "kind=weekly").find("{\"error\""), 0u);
}

TEST_P(BoardApi, ForgedGamesAreRefusedWithTheirReason) {
    const std::string genuine = a_game(21);
    std::string random_bytes;
    for (int i = 0; i < 5000; i++)
        random_bytes += static_cast<char>(std::rand());
    std::ifstream golden(TARVELLION_GOLDEN_DIR "/game-over.replay", std::ios::binary);
    const std::string version_one{std::istreambuf_iterator<char>(golden), {}};
    const struct {
        const char *what;
        std::string body;
        const char *query;
        int status;
        const char *reason;
    } cases[] = {
        {"a score edited in the start", a_game(22, nullptr, [] { unit.score = 9000; }), "name=Eve",
         422, "its start is not the new game its seed makes"},
        {"a start that is not its seed's", edited(genuine, [](REPLAY &r) { r.seed++; }), "name=Eve",
         422, "its start is not the new game its seed makes"},
        {"a daily seed of another day", a_game(daily_seed(20240101)), "name=Eve&kind=daily", 422,
         "not the daily challenge"},
        {"changed settings", edited(genuine, [](REPLAY &r) { r.tuning[0] = 2; }), "name=Eve", 422,
         "played with changed settings"},
        {"a lives key", a_game(23, [](INPUT_RECORD &in, int pass) { in.more_lives = pass == 9; }),
         "name=Eve", 422, "the lives keys were used"},
        {"a slower speed", a_game(24, [](INPUT_RECORD &in, int pass) { in.slower = pass == 9; }),
         "name=Eve", 422, "the speed was set slower"},
        {"a Continue", edited(genuine, [](REPLAY &r) { r.began = BEGAN_CONTINUED; }), "name=Eve",
         422, "a continued game"},
        {"a checkpoint that does not hold",
         edited(genuine, [](REPLAY &r) { r.checkpoints[0].hash ^= 1; }), "name=Eve", 422,
         "it goes another way"},
        {"a game cut before its game over",
         edited(genuine,
                [](REPLAY &r) {
                    r.passes.resize(r.checkpoints[0].pass);
                    r.checkpoints.resize(1);
                }),
         "name=Eve", 422, "the game did not end in a game over"},
        {"a replay of format 1", version_one, "name=Eve", 422, "a replay of format version 1"},
        {"a cut body", genuine.substr(0, genuine.size() - 3), "name=Eve", 400, "a damaged"},
        {"a random body", random_bytes, "name=Eve", 400, "not a Tarvellion replay"},
        {"an oversized body", std::string(300 * 1024, 'T'), "name=Eve", 413, "larger than"},
        {"a name of control characters", genuine, "name=%01%02%1b", 422, "a name of other"},
        {"the same replay twice", genuine, "name=Eve", 201, ""},
        {"the same replay twice", genuine, "name=Eve", 409, "this game was sent before"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const auto result = send(board.port, c.body, c.query);
        ASSERT_TRUE(result);
        EXPECT_EQ(result->status, c.status) << result->body;
        if (c.status != 201) {
            EXPECT_EQ(result->body.find(std::string("{\"error\": \"") + c.reason), 0u)
                << result->body;
        }
    }
    // One address sends 30 games a minute at most, refused ones too.
    int status = 0;
    for (int sent = 0; sent < 30 && status != 429; sent++) {
        const auto result = send(board.port, genuine, "name=Eve");
        status = result ? result->status : 0;
    }
    EXPECT_EQ(status, 429);
}

INSTANTIATE_TEST_SUITE_P(Databases, BoardApi, ::testing::Values("sqlite", "postgresql"),
                         [](const auto &info) { return std::string(info.param); });

TEST(BoardOnPostgres, TwoServersTakeGamesAtOnceAndBothListThemAll) {
    BOARD_SERVER boards[2] = {start_board(Postgres::address), start_board(Postgres::address)};
    constexpr int GAMES = 12;
    std::vector<std::string> games;
    for (int i = 0; i < GAMES; i++)
        games.push_back(a_game(100 + i));
    std::vector<int> statuses(GAMES);
    std::vector<std::thread> senders;
    for (int i = 0; i < GAMES; i++)
        senders.emplace_back([&, i] {
            const auto result = send(boards[i % 2].port, games[i], "name=P" + std::to_string(i));
            statuses[i] = result ? result->status : 0;
        });
    for (std::thread &sender : senders)
        sender.join();
    for (int i = 0; i < GAMES; i++)
        EXPECT_EQ(statuses[i], 201) << "game " << i;
    for (BOARD_SERVER &board : boards) {
        const std::string listed = board_json(board.port, "limit=100");
        for (int i = 0; i < GAMES; i++)
            EXPECT_NE(listed.find("\"name\": \"P" + std::to_string(i) + "\""), std::string::npos)
                << listed;
        stop_board(board);
    }
}

// The browser build's page and the board on one address, as `make serve-web`
// runs them; a page elsewhere is let in by its origin; behind a proxy the
// limit counts the address the proxy saw.
TEST(BoardOnSqlite, ServesThePageAndAnswersForThePageAndTheProxy) {
    const std::string site = testing::TempDir() + "board-site/";
    std::system(("mkdir -p " + site).c_str());
    for (const char *file : {"index.html", "tarvellion.wasm", "manifest.webmanifest", "g.data"})
        std::ofstream(site + file) << file;
    const std::string db = testing::TempDir() + "board-site.sqlite";
    BOARD_SERVER board = start_board(db, {"--site", site, "--allow-origin", "https://a.example",
                                          "--behind-proxy", "--per-minute", "1"});
    httplib::Client client("127.0.0.1", board.port);
    const struct {
        const char *path, *type, *body;
    } files[] = {{"/", "text/html", "index.html"},
                 {"/tarvellion.wasm", "application/wasm", "tarvellion.wasm"},
                 {"/manifest.webmanifest", "application/manifest+json", "manifest.webmanifest"},
                 {"/g.data", "application/octet-stream", "g.data"}};
    for (const auto &file : files) {
        const auto got = client.Get(file.path);
        ASSERT_TRUE(got) << file.path;
        EXPECT_EQ(got->get_header_value("Content-Type"), file.type) << file.path;
        EXPECT_EQ(got->body, file.body);
    }
    const auto preflight = client.Options(
        "/api/games", {{"Origin", "https://a.example"}, {"Access-Control-Request-Method", "POST"}});
    ASSERT_TRUE(preflight);
    EXPECT_EQ(preflight->get_header_value("Access-Control-Allow-Origin"), "https://a.example");
    EXPECT_NE(preflight->get_header_value("Access-Control-Allow-Methods").find("POST"),
              std::string::npos);
    const char *senders[] = {"9.9.9.9, 10.0.0.1", "10.0.0.1", "10.0.0.2"};
    int statuses[3];
    for (int i = 0; i < 3; i++) {
        const auto sent = client.Post("/api/games?name=P", {{"X-Forwarded-For", senders[i]}},
                                      "not a replay", "application/octet-stream");
        statuses[i] = sent ? sent->status : 0;
    }
    EXPECT_EQ(statuses[0], 400);
    EXPECT_EQ(statuses[1], 429) << "the same address the proxy saw";
    EXPECT_EQ(statuses[2], 400) << "another address";
    stop_board(board);
    remove_sqlite(db);
    std::system(("rm -rf " + site).c_str());
}

} // namespace

int main(int argc, char **argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new Postgres);
    return RUN_ALL_TESTS();
}
