// The PostgreSQL connection (sql.h): one session, its statements prepared
// once under names of their own; bytes travel as binary, the rest as text.
#include "sql.h"

#include <cstring>
#include <libpq-fe.h>
#include <map>

namespace {

constexpr Oid BYTEA_TYPE = 17;
const char *const UNIQUE_VIOLATION = "23505";

class PostgresConnection : public SqlConnection {
  public:
    explicit PostgresConnection(PGconn *connection) : connection(connection) {}
    ~PostgresConnection() override { PQfinish(connection); }

    SqlResult run(const std::string &sql, const std::vector<SQL_VALUE> &values,
                  SQL_ROWS *rows) override {
        const std::string *name = prepared(sql, values.size());
        if (!name)
            return SQL_FAILED;
        std::vector<std::string> texts(values.size());
        std::vector<const char *> pointers(values.size());
        std::vector<int> lengths(values.size()), formats(values.size());
        for (std::size_t i = 0; i < values.size(); i++) {
            const SQL_VALUE &v = values[i];
            texts[i] = v.kind == SQL_VALUE::INTEGER ? std::to_string(v.integer) : v.text;
            pointers[i] = texts[i].data();
            lengths[i] = static_cast<int>(texts[i].size());
            formats[i] = v.kind == SQL_VALUE::BYTES ? 1 : 0;
        }
        PGresult *result =
            PQexecPrepared(connection, name->c_str(), static_cast<int>(values.size()),
                           pointers.data(), lengths.data(), formats.data(), 0);
        const ExecStatusType status = PQresultStatus(result);
        SqlResult outcome = SQL_OK;
        if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
            error = PQresultErrorMessage(result);
            const char *state = PQresultErrorField(result, PG_DIAG_SQLSTATE);
            outcome =
                state && std::strcmp(state, UNIQUE_VIOLATION) == 0 ? SQL_DUPLICATE : SQL_FAILED;
        } else if (rows) {
            for (int r = 0; r < PQntuples(result); r++) {
                std::vector<std::string> row;
                for (int c = 0; c < PQnfields(result); c++)
                    row.push_back(value(result, r, c));
                rows->push_back(std::move(row));
            }
        }
        PQclear(result);
        return outcome;
    }

    std::string last_error() const override { return error; }
    const char *own_key_type() const override { return "BIGSERIAL PRIMARY KEY"; }

  private:
    PGconn *connection;
    std::map<std::string, std::string> statements; // SQL -> its prepared name
    std::string error;

    const std::string *prepared(const std::string &sql, std::size_t count) {
        auto kept = statements.find(sql);
        if (kept != statements.end())
            return &kept->second;
        const std::string name = "s" + std::to_string(statements.size());
        PGresult *result =
            PQprepare(connection, name.c_str(), sql.c_str(), static_cast<int>(count), nullptr);
        const bool made = PQresultStatus(result) == PGRES_COMMAND_OK;
        if (!made)
            error = PQresultErrorMessage(result);
        PQclear(result);
        return made ? &(statements[sql] = name) : nullptr;
    }

    // Text as sent; bytea comes as text in its escaped form.
    static std::string value(PGresult *result, int row, int column) {
        const char *text = PQgetvalue(result, row, column);
        if (PQftype(result, column) != BYTEA_TYPE)
            return std::string(text, static_cast<std::size_t>(PQgetlength(result, row, column)));
        std::size_t size = 0;
        unsigned char *bytes =
            PQunescapeBytea(reinterpret_cast<const unsigned char *>(text), &size);
        std::string out(reinterpret_cast<const char *>(bytes), bytes ? size : 0);
        PQfreemem(bytes);
        return out;
    }
};

} // namespace

std::unique_ptr<SqlConnection> open_postgres(const std::string &address, std::string &error) {
    PGconn *connection = PQconnectdb(address.c_str());
    if (PQstatus(connection) != CONNECTION_OK) {
        error = PQerrorMessage(connection);
        PQfinish(connection);
        return nullptr;
    }
    // The server's notices ("already exists, skipping") are no news to the log.
    PQsetNoticeProcessor(
        connection, [](void *, const char *) {}, nullptr);
    return std::make_unique<PostgresConnection>(connection);
}
