// The values a statement binds, and the choice of connection (sql.h).
#include "sql.h"

SQL_VALUE sql_integer(int64_t value) {
    return {SQL_VALUE::INTEGER, value, ""};
}

SQL_VALUE sql_text(const std::string &text) {
    return {SQL_VALUE::TEXT, 0, text};
}

SQL_VALUE sql_bytes(const std::string &bytes) {
    return {SQL_VALUE::BYTES, 0, bytes};
}

std::unique_ptr<SqlConnection> open_sql(const std::string &address, std::string &error) {
    if (address.rfind("postgresql://", 0) == 0 || address.rfind("postgres://", 0) == 0)
        return open_postgres(address, error);
    return open_sqlite(address, error);
}
