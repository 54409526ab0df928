// The SQLite connection (sql.h): a file on disk, its statements kept prepared.
#include "sql.h"

#include <map>
#include <sqlite3.h>

namespace {

class SqliteConnection : public SqlConnection {
  public:
    explicit SqliteConnection(sqlite3 *db) : db(db) {}
    ~SqliteConnection() override {
        for (auto &kept : statements)
            sqlite3_finalize(kept.second);
        sqlite3_close(db);
    }

    SqlResult run(const std::string &sql, const std::vector<SQL_VALUE> &values,
                  SQL_ROWS *rows) override {
        sqlite3_stmt *statement = prepared(sql);
        if (!statement)
            return SQL_FAILED;
        for (std::size_t i = 0; i < values.size(); i++) {
            const SQL_VALUE &v = values[i];
            const int at = static_cast<int>(i + 1);
            if (v.kind == SQL_VALUE::INTEGER)
                sqlite3_bind_int64(statement, at, v.integer);
            else if (v.kind == SQL_VALUE::TEXT)
                sqlite3_bind_text(statement, at, v.text.data(), static_cast<int>(v.text.size()),
                                  SQLITE_TRANSIENT);
            else
                sqlite3_bind_blob(statement, at, v.text.data(), static_cast<int>(v.text.size()),
                                  SQLITE_TRANSIENT);
        }
        int status;
        while ((status = sqlite3_step(statement)) == SQLITE_ROW) {
            if (!rows)
                continue;
            std::vector<std::string> row;
            for (int c = 0; c < sqlite3_column_count(statement); c++) {
                const void *bytes = sqlite3_column_blob(statement, c);
                const int size = sqlite3_column_bytes(statement, c);
                row.emplace_back(static_cast<const char *>(bytes), bytes ? size : 0);
            }
            rows->push_back(std::move(row));
        }
        const int extended = sqlite3_extended_errcode(db);
        error = sqlite3_errmsg(db);
        sqlite3_reset(statement);
        sqlite3_clear_bindings(statement);
        if (status == SQLITE_DONE)
            return SQL_OK;
        return extended == SQLITE_CONSTRAINT_UNIQUE ? SQL_DUPLICATE : SQL_FAILED;
    }

    std::string last_error() const override { return error; }
    const char *own_key_type() const override { return "INTEGER PRIMARY KEY"; }

  private:
    sqlite3 *db;
    std::map<std::string, sqlite3_stmt *> statements;
    std::string error;

    sqlite3_stmt *prepared(const std::string &sql) {
        auto kept = statements.find(sql);
        if (kept != statements.end())
            return kept->second;
        sqlite3_stmt *statement = nullptr;
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
            error = sqlite3_errmsg(db);
            return nullptr;
        }
        statements[sql] = statement;
        return statement;
    }
};

} // namespace

std::unique_ptr<SqlConnection> open_sqlite(const std::string &path, std::string &error) {
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK) {
        error = db ? sqlite3_errmsg(db) : "out of memory";
        sqlite3_close(db);
        return nullptr;
    }
    // A write that meets another program's waits a while rather than fails.
    sqlite3_busy_timeout(db, 5000);
    // Write-ahead logging: a commit appends to the log and flushes it once,
    // where the rollback journal makes a file of its own, flushes four times
    // and deletes it; a reader (the backup's among them) never waits for a
    // writer. Still synchronous FULL: an answered game survives a power cut.
    sqlite3_exec(db, "PRAGMA journal_mode = WAL", nullptr, nullptr, nullptr);
    return std::make_unique<SqliteConnection>(db);
}
