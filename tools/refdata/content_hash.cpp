// The identity of a built database: the SHA-256 of its content in a canonical
// form, so that it names the data whatever SQLite's page layout, and can be
// stored inside the file it identifies.
#include <sqlite3.h>

#include <QCryptographicHash>
#include <array>
#include <cstdio>
#include <string>

#include "refdata.h"

namespace refdata {

namespace {

void AddValue(QCryptographicHash& h, sqlite3_stmt* st, int col) {
    std::string v;
    switch (sqlite3_column_type(st, col)) {
        case SQLITE_NULL:
            v = "N";
            break;
        case SQLITE_INTEGER:
            v = "I" + std::to_string(sqlite3_column_int64(st, col));
            break;
        case SQLITE_FLOAT: {
            std::array<char, 40> buf{};
            std::snprintf(buf.data(), buf.size(), "R%.17g", sqlite3_column_double(st, col));
            v = buf.data();
            break;
        }
        default: {
            const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(st, col));
            v = "T" + std::string(t ? t : "", static_cast<size_t>(sqlite3_column_bytes(st, col)));
            break;
        }
    }
    v += '\x1f';
    h.addData(QByteArrayView(v.data(), static_cast<qsizetype>(v.size())));
}

}  // namespace

std::string content_sha256(sqlite3* db) {
    QCryptographicHash h(QCryptographicHash::Sha256);
    for (const char* table : {"states", "Counties", "tornado", "tornado_counties", "cntycoor", "meta"}) {
        std::string sql = std::string("SELECT * FROM ") + table;
        if (std::string(table) == "meta") sql += " WHERE key <> '" + std::string(kContentHashKey) + "'";
        sql += " ORDER BY rowid";
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
            sqlite3_finalize(st);
            throw Error(std::string("content hash: no table ") + table);
        }
        const std::string head = std::string("table ") + table + "\n";
        h.addData(QByteArrayView(head.data(), static_cast<qsizetype>(head.size())));
        const int n = sqlite3_column_count(st);
        while (sqlite3_step(st) == SQLITE_ROW) {
            for (int c = 0; c < n; ++c) AddValue(h, st, c);
            h.addData(QByteArrayView("\n", 1));
        }
        sqlite3_finalize(st);
    }
    return h.result().toHex().toStdString();
}

}  // namespace refdata
