// One database connection, SQLite or PostgreSQL, behind one small interface:
// the same SQL text for both (parameters written $1, $2, ... in the order
// they first appear), prepared once and run with bound values, never built
// from a request. The board's storage (store.cpp) is written on it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct SQL_VALUE {
    enum Kind { INTEGER, TEXT, BYTES } kind;
    int64_t integer;
    std::string text; // the text or the bytes
};

SQL_VALUE sql_integer(int64_t value);
SQL_VALUE sql_text(const std::string &text);
SQL_VALUE sql_bytes(const std::string &bytes);

// Every value of a row as text (a number in decimal), bytes as they are.
using SQL_ROWS = std::vector<std::vector<std::string>>;

enum SqlResult { SQL_OK, SQL_DUPLICATE, SQL_FAILED };

class SqlConnection {
  public:
    virtual ~SqlConnection() = default;
    // Runs one statement; `rows`, when given, receives what it returns.
    virtual SqlResult run(const std::string &sql, const std::vector<SQL_VALUE> &values,
                          SQL_ROWS *rows) = 0;
    // What went wrong last, for the log.
    virtual std::string last_error() const = 0;
    // The column type of a key the database numbers itself.
    virtual const char *own_key_type() const = 0;
};

// A postgresql:// address, else a SQLite file (made when missing). Returns
// null and says why in `error`.
std::unique_ptr<SqlConnection> open_sql(const std::string &address, std::string &error);

// The two it chooses between: sql_sqlite.cpp and sql_postgres.cpp.
std::unique_ptr<SqlConnection> open_sqlite(const std::string &path, std::string &error);
std::unique_ptr<SqlConnection> open_postgres(const std::string &address, std::string &error);
