// tarvellion-board: the world high-score board's server. Every game sent is
// played again here by the game's own core (entry_check.h) before it enters;
// the entries live in SQLite or PostgreSQL (store.h). The JSON API over HTTP
// is cpp-httplib's; the game and its page are the clients.
#include "entry_check.h"
#include "request.h"
#include "store.h"
#include "../core/random.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <deque>
#include <httplib.h>
#include <map>
#include <mutex>
#include <openssl/evp.h>
#include <string>

namespace {

const char *const USAGE =
    "Usage: tarvellion-board [--db FILE|postgresql://...] [--listen HOST:PORT]\n"
    "                        [--allow-origin ORIGIN] [--per-minute N] [--site DIR]\n"
    "                        [--behind-proxy]\n"
    "The world high-score board: games sent as replays are played again and\n"
    "ranked by the score of that play.\n"
    "  --db            the SQLite file (made when missing; board.sqlite), or a\n"
    "                  PostgreSQL address\n"
    "  --listen        where to answer (127.0.0.1:8081)\n"
    "  --allow-origin  a web page's origin allowed to use the board from a browser\n"
    "  --per-minute    games taken from one address a minute at most (30)\n"
    "  --site          a folder whose files are served at / beside the API (the\n"
    "                  browser build's page)\n"
    "  --behind-proxy  the sender's address is the last of X-Forwarded-For, as\n"
    "                  the reverse proxy in front sets it\n";

struct OPTIONS {
    std::string db = "board.sqlite";
    std::string host = "127.0.0.1";
    int port = 8081;
    std::string allow_origin;
    int per_minute = 30;
    std::string site;
    bool behind_proxy = false;
};

struct BOARD {
    std::unique_ptr<SqlConnection> db;
    std::mutex db_lock;
    std::mutex game_lock; // the core's one game
    std::mutex senders_lock;
    std::map<std::string, std::deque<int64_t>> recent_sends; // address -> times
    OPTIONS options;
};

int64_t now_seconds() {
    return static_cast<int64_t>(std::time(nullptr));
}

std::string json_text(const std::string &text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c > 0x7E) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

void answer(httplib::Response &response, int status, const std::string &json) {
    response.status = status;
    response.set_content(json + "\n", "application/json");
}

void refuse(httplib::Response &response, int status, const std::string &reason) {
    answer(response, status, "{\"error\": " + json_text(reason) + "}");
}

std::string sha256_hex(const std::string &bytes) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    EVP_Digest(bytes.data(), bytes.size(), digest, &size, EVP_sha256(), nullptr);
    std::string hex;
    char two[3];
    for (unsigned int i = 0; i < size; i++) {
        std::snprintf(two, sizeof two, "%02x", digest[i]);
        hex += two;
    }
    return hex;
}

// Behind a proxy every connection comes from the proxy; the address it saw
// is the last one it added to X-Forwarded-For (those before it are the
// sender's own word).
std::string sender(const BOARD &board, const httplib::Request &request) {
    const std::size_t forwarded = request.get_header_value_count("X-Forwarded-For");
    if (!board.options.behind_proxy || forwarded == 0)
        return request.remote_addr;
    const std::string list = request.get_header_value("X-Forwarded-For", forwarded - 1);
    const std::size_t comma = list.rfind(',');
    std::string last = comma == std::string::npos ? list : list.substr(comma + 1);
    last.erase(0, last.find_first_not_of(' '));
    return last.substr(0, last.find(' '));
}

// Counts a game from the address; false when it has sent its minute's share.
bool may_send(BOARD &board, const std::string &address, int64_t now) {
    // Past this many senders, those quiet for a minute are forgotten.
    constexpr std::size_t FORGET_FROM = 10000;
    std::lock_guard<std::mutex> hold(board.senders_lock);
    if (board.recent_sends.size() > FORGET_FROM)
        for (auto it = board.recent_sends.begin(); it != board.recent_sends.end();)
            it = it->second.back() <= now - 60 ? board.recent_sends.erase(it) : std::next(it);
    std::deque<int64_t> &times = board.recent_sends[address];
    while (!times.empty() && times.front() <= now - 60)
        times.pop_front();
    if (static_cast<int>(times.size()) >= board.options.per_minute)
        return false;
    times.push_back(now);
    return true;
}

void take_game(BOARD &board, const httplib::Request &request, httplib::Response &response) {
    const int64_t now = now_seconds();
    if (!may_send(board, sender(board, request), now))
        return refuse(response, 429, "too many games from this address: wait a minute");
    if (request.body.size() > MAX_ENTRY_BYTES)
        return refuse(response, 413, "larger than any game's replay");
    const std::string name = request.get_param_value("name");
    const std::string wrong_name = check_name(name);
    if (!wrong_name.empty())
        return refuse(response, 422, wrong_name);
    const std::string kind = request.get_param_value("kind");
    if (!kind.empty() && kind != "all" && kind != "daily")
        return refuse(response, 422, "kind is all or daily");
    std::vector<uint32_t> days;
    if (kind == "daily")
        days = daily_days(now);

    ENTRY_VERDICT verdict;
    {
        std::lock_guard<std::mutex> hold(board.game_lock);
        verdict = check_entry(reinterpret_cast<const unsigned char *>(request.body.data()),
                              request.body.size(), days);
    }
    if (verdict.status != 201)
        return refuse(response, verdict.status, verdict.reason);

    const NEW_ENTRY entry{name,
                          verdict.score,
                          verdict.level,
                          verdict.passes,
                          verdict.seed,
                          !days.empty(),
                          days.empty() ? utc_day(now) : verdict.day,
                          now,
                          sha256_hex(request.body),
                          request.body};
    int64_t id = 0;
    int place = 0;
    StoreResult stored;
    {
        std::lock_guard<std::mutex> hold(board.db_lock);
        stored = store_entry(*board.db, entry, id, place);
        if (stored == STORE_FAILED)
            std::printf("database: %s\n", board.db->last_error().c_str());
    }
    if (stored == SENT_BEFORE)
        return refuse(response, 409, "this game was sent before");
    if (stored == STORE_FAILED)
        return refuse(response, 500, "the board cannot store games now");
    answer(response, 201,
           "{\"id\": " + std::to_string(id) + ", \"place\": " + std::to_string(place) +
               ", \"score\": " + std::to_string(verdict.score) +
               ", \"level\": " + std::to_string(verdict.level) + ", \"board\": \"" +
               (days.empty() ? "all" : "daily") + "\"}");
}

void show_board(BOARD &board, const httplib::Request &request, httplib::Response &response) {
    BOARD_QUERY query;
    const std::string wrong =
        parse_board_query(request.get_param_value("kind"), request.get_param_value("date"),
                          request.get_param_value("limit"), now_seconds(), query);
    if (!wrong.empty())
        return refuse(response, 400, wrong);
    std::vector<BOARD_ENTRY> entries;
    bool read;
    {
        std::lock_guard<std::mutex> hold(board.db_lock);
        read = read_board(*board.db, query.daily, query.day, query.limit, entries);
    }
    if (!read)
        return refuse(response, 500, "the board cannot be read now");
    std::string json = "{\"entries\": [";
    for (const BOARD_ENTRY &e : entries)
        json += std::string(e.place > 1 ? ", " : "") + "{\"place\": " + std::to_string(e.place) +
                ", \"name\": " + json_text(e.name) + ", \"score\": " + std::to_string(e.score) +
                ", \"level\": " + std::to_string(e.level) + ", \"date\": \"" + day_text(e.day) +
                "\", \"id\": " + std::to_string(e.id) + "}";
    answer(response, 200, json + "]}");
}

void give_replay(BOARD &board, const httplib::Request &request, httplib::Response &response) {
    const std::string digits = request.matches[1];
    std::string replay;
    bool found = digits.size() <= 18;
    if (found) {
        std::lock_guard<std::mutex> hold(board.db_lock);
        found = read_replay(*board.db, std::stoll(digits), replay);
    }
    if (!found)
        return refuse(response, 404, "no such entry");
    response.set_content(replay, "application/octet-stream");
}

// "--name value" pairs and the flag --behind-proxy; false when one is
// unknown or has no value.
bool read_options(int argc, char **argv, OPTIONS &options) {
    for (int i = 1; i < argc; i++) {
        const std::string option = argv[i];
        if (option == "--behind-proxy") {
            options.behind_proxy = true;
            continue;
        }
        if (++i >= argc)
            return false;
        const std::string value = argv[i];
        if (option == "--db") {
            options.db = value;
        } else if (option == "--listen") {
            const std::size_t colon = value.rfind(':');
            if (colon == std::string::npos)
                return false;
            options.host = value.substr(0, colon);
            options.port = std::atoi(value.c_str() + colon + 1);
            if (options.port < 0 || options.port > 65535)
                return false;
        } else if (option == "--allow-origin") {
            options.allow_origin = value;
        } else if (option == "--per-minute") {
            options.per_minute = std::atoi(value.c_str());
            if (options.per_minute < 1)
                return false;
        } else if (option == "--site") {
            options.site = value;
        } else {
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char **argv) {
    BOARD board;
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::fputs(USAGE, stdout);
        return 0;
    }
    if (!read_options(argc, argv, board.options)) {
        std::fputs(USAGE, stderr);
        return 2;
    }
    std::string error;
    board.db = open_sql(board.options.db, error);
    if (board.db)
        error = prepare_store(*board.db);
    if (!error.empty()) {
        std::fprintf(stderr, "tarvellion-board: %s: %s\n", board.options.db.c_str(), error.c_str());
        return 1;
    }

    httplib::Server server;
    server.set_payload_max_length(MAX_ENTRY_BYTES);
    if (!board.options.site.empty()) {
        if (!server.set_mount_point("/", board.options.site)) {
            std::fprintf(stderr, "tarvellion-board: %s: no such folder\n",
                         board.options.site.c_str());
            return 1;
        }
        // The library knows .wasm and the page's other types; these two it
        // would send as text.
        server.set_file_extension_and_mimetype_mapping("webmanifest", "application/manifest+json");
        server.set_file_extension_and_mimetype_mapping("data", "application/octet-stream");
    }
    const std::string origin = board.options.allow_origin;
    if (!origin.empty())
        server.set_default_headers({{"Access-Control-Allow-Origin", origin}, {"Vary", "Origin"}});
    server.Options(R"(/api/.*)", [&](const httplib::Request &, httplib::Response &response) {
        if (!origin.empty()) {
            response.set_header("Access-Control-Allow-Methods", "GET, POST, OPTIONS");
            response.set_header("Access-Control-Allow-Headers", "Content-Type");
            response.set_header("Access-Control-Max-Age", "86400");
        }
        response.status = 204;
    });
    server.Post("/api/games", [&](const httplib::Request &request, httplib::Response &response) {
        take_game(board, request, response);
    });
    server.Get("/api/board", [&](const httplib::Request &request, httplib::Response &response) {
        show_board(board, request, response);
    });
    server.Get(R"(/api/games/(\d+)/replay)",
               [&](const httplib::Request &request, httplib::Response &response) {
                   give_replay(board, request, response);
               });
    server.set_error_handler([](const httplib::Request &, httplib::Response &response) {
        if (!response.body.empty())
            return;
        if (response.status == 413)
            refuse(response, 413, "larger than any game's replay");
        else if (response.status == 404)
            refuse(response, 404, "no such thing here");
    });
    std::mutex log_lock;
    server.set_logger([&](const httplib::Request &request, const httplib::Response &response) {
        std::lock_guard<std::mutex> hold(log_lock);
        std::printf("%s %s %s %d %zu\n", sender(board, request).c_str(), request.method.c_str(),
                    request.path.c_str(), response.status, request.body.size());
        std::fflush(stdout);
    });
    // The library listens with a backlog of 5: a sixth player connecting at once
    // would wait a second for the retry. Listening again raises it.
    socket_t listening = INVALID_SOCKET;
    server.set_socket_options([&listening](socket_t sock) {
        httplib::default_socket_options(sock);
        listening = sock;
    });
    int port = board.options.port;
    if (port == 0)
        port = server.bind_to_any_port(board.options.host);
    else if (!server.bind_to_port(board.options.host, port))
        port = -1;
    if (port >= 0 && ::listen(listening, SOMAXCONN) != 0)
        port = -1;
    if (port < 0) {
        std::fprintf(stderr, "tarvellion-board: cannot listen on %s:%d\n",
                     board.options.host.c_str(), board.options.port);
        return 1;
    }
    std::printf("listening on %s:%d\n", board.options.host.c_str(), port);
    std::fflush(stdout);
    return server.listen_after_bind() ? 0 : 1;
}
