// The board's storage (store.h): the schema's versions and the statements.
#include "store.h"

#include <cstdlib>

namespace {

// Each version of the schema, as the steps from the one before. `KEY` is the
// entry's key, numbered by the database.
const std::vector<std::vector<const char *>> MIGRATIONS = {
    {"CREATE TABLE entries (id KEY, name TEXT NOT NULL, score INTEGER NOT NULL, "
     "level INTEGER NOT NULL, passes BIGINT NOT NULL, seed BIGINT NOT NULL, "
     "daily INTEGER NOT NULL, day INTEGER NOT NULL, sent BIGINT NOT NULL, "
     "body_hash TEXT NOT NULL UNIQUE, replay BYTEA NOT NULL)",
     "CREATE INDEX entries_by_board ON entries (daily, day, score)"},
    // The all-time board read from its top, not sorted from every row (and
    // every row holds its replay).
    {"CREATE INDEX entries_by_score ON entries (score DESC, id)"},
};
const int64_t LATEST_SCHEMA = static_cast<int64_t>(MIGRATIONS.size());

// The statements of the all-time board [0] and of a day's daily challenge
// [1], one of each so that each has the plan of its own index; the daily
// ones take the day as $1. An entry's place counts those ranked above it.
const char *const PLACE[] = {
    "SELECT COUNT(*) FROM entries WHERE score > $1 OR (score = $1 AND id < $2)",
    "SELECT COUNT(*) FROM entries WHERE daily = 1 AND day = $1 AND "
    "(score > $2 OR (score = $2 AND id < $3))"};
const char *const TOP[] = {
    "SELECT id, name, score, level, day FROM entries ORDER BY score DESC, id ASC LIMIT $1",
    "SELECT id, name, score, level, day FROM entries WHERE daily = 1 AND day = $1 "
    "ORDER BY score DESC, id ASC LIMIT $2"};

// The values of a board's statement: the day first on a daily board.
std::vector<SQL_VALUE> on_board(bool daily, uint32_t day, std::vector<SQL_VALUE> values) {
    if (daily)
        values.insert(values.begin(), sql_integer(day));
    return values;
}

int64_t number(const std::string &text) {
    return std::strtoll(text.c_str(), nullptr, 10);
}

bool run(SqlConnection &db, const std::string &sql, const std::vector<SQL_VALUE> &values,
         SQL_ROWS *rows = nullptr) {
    return db.run(sql, values, rows) == SQL_OK;
}

} // namespace

std::string prepare_store(SqlConnection &db) {
    SQL_ROWS rows;
    if (!run(db, "CREATE TABLE IF NOT EXISTS board_schema (version INTEGER NOT NULL)", {}) ||
        !run(db, "BEGIN", {}))
        return db.last_error();
    if (!run(db, "SELECT version FROM board_schema", {}, &rows)) {
        const std::string error = db.last_error();
        run(db, "ROLLBACK", {});
        return error;
    }
    const int64_t version = rows.empty() ? 0 : number(rows[0][0]);
    bool ok = version <= LATEST_SCHEMA;
    for (int64_t v = version; ok && v < LATEST_SCHEMA; v++)
        for (const char *step : MIGRATIONS[v]) {
            std::string sql = step;
            const std::size_t key = sql.find(" KEY,");
            if (key != std::string::npos)
                sql.replace(key + 1, 3, db.own_key_type());
            ok = ok && run(db, sql, {});
        }
    if (ok && version < LATEST_SCHEMA)
        ok = rows.empty()
                 ? run(db, "INSERT INTO board_schema (version) VALUES ($1)",
                       {sql_integer(LATEST_SCHEMA)})
                 : run(db, "UPDATE board_schema SET version = $1", {sql_integer(LATEST_SCHEMA)});
    const std::string error =
        version > LATEST_SCHEMA
            ? "the database is of a newer board (schema version " + std::to_string(version) + ")"
            : db.last_error();
    if (!ok || !run(db, "COMMIT", {})) {
        run(db, "ROLLBACK", {});
        return error;
    }
    return "";
}

StoreResult store_entry(SqlConnection &db, const NEW_ENTRY &e, int64_t &id, int &place) {
    SQL_ROWS rows;
    const SqlResult added = db.run(
        "INSERT INTO entries (name, score, level, passes, seed, daily, day, sent, body_hash, "
        "replay) VALUES ($1, $2, $3, $4, $5, $6, $7, $8, $9, $10) RETURNING id",
        {sql_text(e.name), sql_integer(e.score), sql_integer(e.level), sql_integer(e.passes),
         sql_integer(e.seed), sql_integer(e.daily ? 1 : 0), sql_integer(e.day), sql_integer(e.sent),
         sql_text(e.hash), sql_bytes(e.replay)},
        &rows);
    if (added != SQL_OK || rows.size() != 1)
        return added == SQL_DUPLICATE ? SENT_BEFORE : STORE_FAILED;
    id = number(rows[0][0]);
    rows.clear();
    if (!run(db, PLACE[e.daily], on_board(e.daily, e.day, {sql_integer(e.score), sql_integer(id)}),
             &rows) ||
        rows.size() != 1)
        return STORE_FAILED;
    place = static_cast<int>(number(rows[0][0])) + 1;
    return STORED;
}

bool read_board(SqlConnection &db, bool daily, uint32_t day, int limit,
                std::vector<BOARD_ENTRY> &entries) {
    SQL_ROWS rows;
    if (!run(db, TOP[daily], on_board(daily, day, {sql_integer(limit)}), &rows))
        return false;
    entries.clear();
    for (const auto &row : rows)
        entries.push_back({static_cast<int>(entries.size()) + 1, number(row[0]), row[1],
                           static_cast<int32_t>(number(row[2])),
                           static_cast<int32_t>(number(row[3])),
                           static_cast<uint32_t>(number(row[4]))});
    return true;
}

bool read_replay(SqlConnection &db, int64_t id, std::string &replay) {
    SQL_ROWS rows;
    if (!run(db, "SELECT replay FROM entries WHERE id = $1", {sql_integer(id)}, &rows) ||
        rows.size() != 1)
        return false;
    replay = rows[0][0];
    return true;
}
