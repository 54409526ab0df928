// The world board under load on loopback (`make bench-board`): genuine games
// of 1 to 10 minutes, played by the autopilot from distinct seeds, sent by
// 16 clients at once; the board read by 16 clients; every answered game
// looked for after a restart and after a SIGKILL in mid-run; and what the
// core's check of an hour of play costs. Against SQLite, then against a
// PostgreSQL server started here in a temporary folder when one is installed.
//
// Usage: board_bench BOARD_PROGRAM [GAMES]
#include "autopilot_player.h"
#include "board/entry_check.h"
#include "board/sql.h"
#include "core/events.h"
#include "core/game_state.h"
#include "core/pass.h"
#include "core/player_control.h"
#include "core/random.h"
#include "core/replay.h"
#include "core/screens.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <httplib.h>
#include <mutex>
#include <netinet/in.h>
#include <pwd.h>
#include <stdexcept>
#include <string>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#define PG_BIN "/usr/lib/postgresql/15/bin/"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int CLIENTS = 16;
// Passes a second at the default DELAY of 30 ms with a pass's own time
// (BENCHMARKS.md, bench-window).
constexpr double PASSES_A_SECOND = 33.0;
constexpr uint32_t SHORTEST = 60 * PASSES_A_SECOND, LONGEST = 600 * PASSES_A_SECOND;
constexpr double READ_SECONDS = 5;
constexpr int RUNS = 3;

struct GAME {
    std::string body;
    uint32_t passes;
};

double seconds_since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Games begun by Start, as a player begins one, from seeds 1, 2, ...,
// played by the autopilot to their game over; those of 1 to 10 minutes kept.
std::vector<GAME> make_games(std::size_t count) {
    std::vector<GAME> games;
    for (uint32_t seed = 1; games.size() < count; seed++) {
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
        r.first_record = pack_record(start);
        std::snprintf(r.version, sizeof r.version, "%s", TARVELLION_VERSION);
        bool on = true;
        while (on && r.passes.size() <= LONGEST) {
            const INPUT_RECORD in = autopilot_record();
            on = play_pass(in);
            add_pass(r, in);
        }
        if (on || r.passes.size() < SHORTEST)
            continue;
        close_replay(r);
        const std::vector<unsigned char> bytes = encode_replay(r);
        games.push_back(
            {std::string(bytes.begin(), bytes.end()), static_cast<uint32_t>(r.passes.size())});
    }
    return games;
}

struct SERVER {
    pid_t pid = -1;
    int port = 0;
};

SERVER start_server(const std::string &program, const std::string &db) {
    int out[2];
    if (pipe(out) != 0)
        return {};
    SERVER server;
    server.pid = fork();
    if (server.pid == 0) {
        dup2(out[1], 1);
        close(out[0]);
        execl(program.c_str(), program.c_str(), "--db", db.c_str(), "--listen", "127.0.0.1:0",
              "--per-minute", "1000000", nullptr);
        _exit(127);
    }
    close(out[1]);
    FILE *log = fdopen(out[0], "r");
    char line[128] = "";
    if (std::fgets(line, sizeof line, log))
        std::sscanf(line, "listening on 127.0.0.1:%d", &server.port);
    // The request log goes on; drained here so the server never waits on it.
    std::thread([log] {
        char rest[256];
        while (std::fgets(rest, sizeof rest, log))
            continue;
        std::fclose(log);
    }).detach();
    if (server.port == 0)
        throw std::runtime_error("the board did not start on " + db);
    return server;
}

void stop_server(SERVER &server, int signal) {
    kill(server.pid, signal);
    waitpid(server.pid, nullptr, 0);
    server.pid = -1;
}

double processor_seconds(pid_t pid) {
    FILE *stat = std::fopen(("/proc/" + std::to_string(pid) + "/stat").c_str(), "r");
    unsigned long user = 0, system = 0;
    if (stat) {
        const int read = std::fscanf(stat,
                                     "%*d %*s %*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u "
                                     "%lu %lu",
                                     &user, &system);
        std::fclose(stat);
        if (read != 2)
            user = system = 0;
    }
    return static_cast<double>(user + system) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

double percentile(std::vector<double> values, double p) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t at = static_cast<std::size_t>(p * static_cast<double>(values.size()));
    return values[std::min(at, values.size() - 1)];
}

struct SENT {
    std::vector<int64_t> ids; // of each game answered 201, else 0
    std::vector<double> latencies;
    int answered = 0, refused = 0, failed = 0;
    double seconds = 0;
};

// The games sent by CLIENTS threads, each on a connection of its own as a
// player's game comes; `stop` ends the run early (the kill).
SENT send_games(int port, const std::vector<GAME> &games, std::atomic<bool> &stop,
                std::atomic<int> &answered) {
    SENT sent;
    sent.ids.assign(games.size(), 0);
    std::vector<double> latencies(games.size(), -1);
    std::vector<int> statuses(games.size(), 0);
    std::atomic<std::size_t> next{0};
    const Clock::time_point start = Clock::now();
    std::vector<std::thread> clients;
    for (int c = 0; c < CLIENTS; c++)
        clients.emplace_back([&] {
            for (std::size_t i; !stop && (i = next++) < games.size();) {
                const Clock::time_point asked = Clock::now();
                httplib::Client client("127.0.0.1", port);
                const auto result = client.Post(("/api/games?name=P" + std::to_string(i)).c_str(),
                                                games[i].body, "application/octet-stream");
                latencies[i] = seconds_since(asked);
                statuses[i] = result ? result->status : 0;
                long long id = 0;
                if (statuses[i] == 201 &&
                    std::sscanf(result->body.c_str(), "{\"id\": %lld", &id) == 1) {
                    sent.ids[i] = id;
                    answered++;
                }
            }
        });
    for (std::thread &client : clients)
        client.join();
    sent.seconds = seconds_since(start);
    for (std::size_t i = 0; i < games.size(); i++) {
        if (latencies[i] >= 0)
            sent.latencies.push_back(latencies[i]);
        (statuses[i] == 201 ? sent.answered : statuses[i] == 0 ? sent.failed : sent.refused)++;
    }
    return sent;
}

struct READS {
    int reads = 0, failed = 0;
    std::vector<double> latencies;
};

READS read_board_for(int port, double seconds) {
    READS all;
    std::mutex lock;
    const Clock::time_point start = Clock::now();
    std::vector<std::thread> clients;
    for (int c = 0; c < CLIENTS; c++)
        clients.emplace_back([&] {
            READS mine;
            while (seconds_since(start) < seconds) {
                const Clock::time_point asked = Clock::now();
                httplib::Client client("127.0.0.1", port);
                const auto result = client.Get("/api/board?limit=10");
                mine.latencies.push_back(seconds_since(asked));
                (result && result->status == 200 ? mine.reads : mine.failed)++;
            }
            std::lock_guard<std::mutex> hold(lock);
            all.reads += mine.reads;
            all.failed += mine.failed;
            all.latencies.insert(all.latencies.end(), mine.latencies.begin(), mine.latencies.end());
        });
    for (std::thread &client : clients)
        client.join();
    return all;
}

// Of the games answered 201, those whose replay the board gives back as sent.
int still_there(int port, const std::vector<GAME> &games, const SENT &sent) {
    int found = 0;
    for (std::size_t i = 0; i < games.size(); i++) {
        if (sent.ids[i] == 0)
            continue;
        httplib::Client client("127.0.0.1", port);
        const auto replay =
            client.Get(("/api/games/" + std::to_string(sent.ids[i]) + "/replay").c_str());
        found += replay && replay->status == 200 && replay->body == games[i].body;
    }
    return found;
}

int64_t entries_stored(const std::string &db) {
    std::string error;
    const std::unique_ptr<SqlConnection> sql = open_sql(db, error);
    SQL_ROWS rows;
    if (!sql || sql->run("SELECT COUNT(*) FROM entries", {}, &rows) != SQL_OK || rows.size() != 1)
        return -1;
    return std::strtoll(rows[0][0].c_str(), nullptr, 10);
}

// A SQLite store is a new file, made by the server as it would be for a new
// board; a PostgreSQL one loses its tables.
void empty_store(const std::string &db) {
    if (db.rfind("postgresql://", 0) != 0) {
        for (const char *suffix : {"", "-wal", "-shm", "-journal"})
            unlink((db + suffix).c_str());
        return;
    }
    std::string error;
    const std::unique_ptr<SqlConnection> sql = open_sql(db, error);
    if (sql) {
        sql->run("DROP TABLE IF EXISTS entries", {}, nullptr);
        sql->run("DROP TABLE IF EXISTS board_schema", {}, nullptr);
    }
}

// (a) to (c) against one store, emptied first and again for the kill's run.
void run_store(const char *name, const std::string &program, const std::string &db,
               const std::vector<GAME> &games) {
    std::printf("\n== %s ==\n", name);
    SERVER server;
    SENT sent;
    std::vector<double> stored, p99s, read;
    for (int run = 1; run <= RUNS; run++) {
        if (server.pid > 0)
            stop_server(server, SIGTERM);
        empty_store(db);
        server = start_server(program, db);
        std::atomic<bool> never{false};
        std::atomic<int> answered{0};
        const double cpu_before = processor_seconds(server.pid);
        sent = send_games(server.port, games, never, answered);
        const double cpu = processor_seconds(server.pid) - cpu_before;
        stored.push_back(sent.answered / sent.seconds);
        p99s.push_back(percentile(sent.latencies, 0.99) * 1000);
        std::printf("(a) run %d: %zu games from %d clients: %d answered 201, %d refused, %d "
                    "failed in %.2f s: %.0f verified and stored a second; latency median %.1f "
                    "ms, 99th percentile %.1f ms, most %.1f ms; the server's processor %.2f s "
                    "(%.2f ms a game)\n",
                    run, games.size(), CLIENTS, sent.answered, sent.refused, sent.failed,
                    sent.seconds, stored.back(), percentile(sent.latencies, 0.5) * 1000,
                    p99s.back(), percentile(sent.latencies, 1) * 1000, cpu,
                    cpu * 1000 / static_cast<double>(games.size()));

        const READS reads = read_board_for(server.port, READ_SECONDS);
        read.push_back(reads.reads / READ_SECONDS);
        std::printf("(b) run %d: GET /api/board?limit=10 from %d clients for %.0f s: %.0f a "
                    "second (%d failed); latency median %.2f ms, 99th percentile %.2f ms\n",
                    run, CLIENTS, READ_SECONDS, read.back(), reads.failed,
                    percentile(reads.latencies, 0.5) * 1000,
                    percentile(reads.latencies, 0.99) * 1000);
    }
    std::printf("medians of %d runs: %.0f games verified and stored a second, 99th percentile "
                "%.1f ms; %.0f board reads a second\n",
                RUNS, percentile(stored, 0.5), percentile(p99s, 0.5), percentile(read, 0.5));

    stop_server(server, SIGTERM);
    server = start_server(program, db);
    std::printf("(c) after a restart: %d of the %d answered games given back as sent; %lld "
                "entries stored\n",
                still_there(server.port, games, sent), sent.answered,
                static_cast<long long>(entries_stored(db)));
    stop_server(server, SIGTERM);

    empty_store(db);
    server = start_server(program, db);
    std::atomic<bool> killed{false}, finished{false};
    std::atomic<int> answered{0};
    const int quarter = static_cast<int>(games.size()) / 4;
    int answered_at_kill = 0;
    std::thread killer([&] {
        while (answered < quarter && !finished)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        answered_at_kill = answered;
        kill(server.pid, SIGKILL);
        killed = true;
    });
    // Clients go on sending until the kill is seen: some are mid-request, and
    // answers the server wrote before it died may still arrive.
    const SENT cut = send_games(server.port, games, killed, answered);
    finished = true;
    killer.join();
    waitpid(server.pid, nullptr, 0);
    server = start_server(program, db);
    std::printf("(c) SIGKILL after %d answers: %d answered 201 in all, %d of them given back "
                "as sent after the restart; %lld entries stored (%d sends failed)\n",
                answered_at_kill, cut.answered, still_there(server.port, games, cut),
                static_cast<long long>(entries_stored(db)), cut.failed);
    stop_server(server, SIGTERM);
}

// A loopback port no one is listening on now.
int free_port() {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    bind(s, reinterpret_cast<sockaddr *>(&address), size);
    getsockname(s, reinterpret_cast<sockaddr *>(&address), &size);
    close(s);
    return ntohs(address.sin_port);
}

// A PostgreSQL server of its own in a temporary folder, as the postgres user
// when run as root (it refuses root), with its default durability.
struct POSTGRES {
    std::string dir, as_user, address;
    bool start() {
        if (access(PG_BIN "initdb", X_OK) != 0)
            return false;
        char folder[] = "/tmp/board-bench-pg-XXXXXX";
        dir = mkdtemp(folder);
        if (geteuid() == 0) {
            const passwd *account = getpwnam("postgres");
            if (!account || chown(dir.c_str(), account->pw_uid, account->pw_gid) != 0)
                return false;
            as_user = "runuser -u postgres -- ";
        }
        const std::string port = std::to_string(free_port());
        address = "postgresql://postgres@127.0.0.1:" + port + "/postgres";
        return std::system(
                   (as_user + PG_BIN "initdb -A trust -U postgres -D " + dir + "/data >/dev/null")
                       .c_str()) == 0 &&
               std::system((as_user + PG_BIN "pg_ctl -w -D " + dir + "/data -l " + dir +
                            "/log -o '-k " + dir + " -p " + port +
                            " -c listen_addresses=127.0.0.1' start >/dev/null")
                               .c_str()) == 0;
    }
    ~POSTGRES() {
        if (dir.empty())
            return;
        std::system(
            (as_user + PG_BIN "pg_ctl -D " + dir + "/data -m fast stop >/dev/null").c_str());
        std::system(("rm -rf " + dir).c_str());
    }
};

// Against SQLite, then PostgreSQL when a server of its own starts.
void run_stores(const std::string &program, const std::vector<GAME> &games) {
    char folder[] = "/tmp/board-bench-XXXXXX";
    const std::string path = std::string(mkdtemp(folder)) + "/board.sqlite";
    run_store("SQLite", program, path, games);
    empty_store(path);
    rmdir(folder);

    POSTGRES postgres;
    if (postgres.start())
        run_store("PostgreSQL", program, postgres.address, games);
    else
        std::printf("\nno PostgreSQL server could be started: %s\n", PG_BIN);
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: board_bench BOARD_PROGRAM [GAMES]\n");
        return 2;
    }
    // Line by line, for a run watched as it goes.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const std::string program = argv[1];
    const std::size_t count = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 2000;

    double load[3] = {0, 0, 0};
    getloadavg(load, 3);
    std::printf("load average %.2f %.2f %.2f\n", load[0], load[1], load[2]);
    Clock::time_point start = Clock::now();
    const std::vector<GAME> games = make_games(count);
    uint64_t passes = 0;
    uint32_t shortest = LONGEST, longest = 0;
    std::size_t bytes = 0;
    for (const GAME &game : games) {
        passes += game.passes;
        shortest = std::min(shortest, game.passes);
        longest = std::max(longest, game.passes);
        bytes += game.body.size();
    }
    std::printf("%zu games made in %.1f s: %.1f to %.1f minutes, %.1f on average; %.0f bytes "
                "on average\n",
                games.size(), seconds_since(start), shortest / PASSES_A_SECOND / 60,
                longest / PASSES_A_SECOND / 60,
                static_cast<double>(passes) / static_cast<double>(games.size()) / PASSES_A_SECOND /
                    60,
                static_cast<double>(bytes) / static_cast<double>(games.size()));

    // (d) The check the server makes, here on one core with nothing else.
    start = Clock::now();
    int eligible = 0;
    for (const GAME &game : games)
        eligible += check_entry(reinterpret_cast<const unsigned char *>(game.body.data()),
                                game.body.size(), {})
                        .status == 201;
    const double checking = seconds_since(start);
    std::printf("(d) the core's check of all %zu (%d eligible): %.2f s, %.1f ns a pass: an hour "
                "of play (%.0f passes) %.1f ms of one core\n",
                games.size(), eligible, checking, checking * 1e9 / static_cast<double>(passes),
                3600 * PASSES_A_SECOND,
                checking * 1e3 / static_cast<double>(passes) * 3600 * PASSES_A_SECOND);
    if (eligible != static_cast<int>(games.size()))
        return 1;

    // A server that does not start ends the run, PostgreSQL's stopped.
    try {
        run_stores(program, games);
    } catch (const std::runtime_error &error) {
        std::fprintf(stderr, "board_bench: %s\n", error.what());
        return 1;
    }
    getloadavg(load, 3);
    std::printf("load average %.2f %.2f %.2f\n", load[0], load[1], load[2]);
    return 0;
}
