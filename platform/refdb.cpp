#include "platform/refdb.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>

#include "platform/number.h"
#include "platform/refdb_names.h"
#include "platform/refdb_snapshot.h"

namespace verrane::platform {

namespace refdb {

std::string LowerName(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
    return out;
}

void CheckName(const std::string& name) {
    if (name.empty() ||
        !std::all_of(name.begin(), name.end(), [](unsigned char c) { return std::isalnum(c) || c == '_'; }))
        throw DatabaseError("\"" + name + "\" is not a valid table or field name.");
}

}  // namespace refdb

namespace {

using refdb::LowerName;

// Identifiers come from the program, never from the user; still, only plain
// names are put into the statement. In brackets, not double quotes: a double-
// quoted name that is no column would be read as a text, so a filter on a
// misspelt field would quietly match nothing instead of failing.
std::string Identifier(const std::string& name) {
    refdb::CheckName(name);
    return "[" + name + "]";
}

}  // namespace

double FieldValue::TextAsDouble() const {
    if (auto s = std::get_if<std::string>(&data_)) {
        if (auto v = ParseNumber(*s)) return *v;
        throw DatabaseError("The value \"" + *s + "\" is not a number.");
    }
    throw DatabaseError("A field holds no value where a number is required.");
}

std::string FieldValue::asText() const {
    if (auto i = std::get_if<int64_t>(&data_)) return std::to_string(*i);
    if (auto d = std::get_if<double>(&data_)) return GeneralText(*d);
    if (auto s = std::get_if<std::string>(&data_)) return *s;
    return {};
}

bool FieldValue::asBool() const {
    if (isNull()) return false;
    if (auto s = std::get_if<std::string>(&data_)) {
        const std::string l = LowerName(*s);
        if (l == "true" || l == "yes") return true;
        if (l == "false" || l == "no" || l.empty()) return false;
    }
    return asDouble() != 0.0;
}

RecordTable::RecordTable(std::string n, std::vector<std::string> c, std::vector<FieldValue> v)
    : name(std::move(n)), columns(std::move(c)), cells(std::move(v)) {
    for (size_t i = 0; i < columns.size(); ++i) index_.emplace_back(LowerName(columns[i]), static_cast<int>(i));
    // Byte order, as FieldIndex compares.
    // The first of equal names wins, as a lookup by name in the file does.
    std::stable_sort(index_.begin(), index_.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
}

RecordTable::RecordTable(std::string n, std::vector<std::string> c, const std::vector<std::vector<FieldValue>>& rows)
    : RecordTable(std::move(n), std::move(c), std::vector<FieldValue>{}) {
    for (const auto& r : rows) {
        if (r.size() != columns.size())
            throw DatabaseError("A row of table " + name + " has the wrong number of fields.");
        cells.insert(cells.end(), r.begin(), r.end());
    }
}

int RecordTable::FieldIndex(std::string_view field) const {
    // The names are kept in lower case; the one asked for is lowered as it is compared.
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    auto less = [&](const std::pair<std::string, int>& entry, std::string_view key) {
        const size_t n = std::min(entry.first.size(), key.size());
        for (size_t i = 0; i < n; ++i) {
            const auto a = static_cast<unsigned char>(entry.first[i]), b = static_cast<unsigned char>(lower(key[i]));
            if (a != b) return a < b;
        }
        return entry.first.size() < key.size();
    };
    auto it = std::lower_bound(index_.begin(), index_.end(), field, less);
    if (it == index_.end() || it->first.size() != field.size()) return -1;
    for (size_t i = 0; i < field.size(); ++i)
        if (it->first[i] != lower(field[i])) return -1;
    return it->second;
}

Recordset::Recordset(std::string table, std::vector<std::string> columns,
                     const std::vector<std::vector<FieldValue>>& rows)
    : Recordset(std::make_shared<const RecordTable>(std::move(table), std::move(columns), rows)) {}

Recordset::Recordset(std::shared_ptr<const RecordTable> table) : table_(std::move(table)) { MoveFirst(); }

Recordset::Recordset(std::shared_ptr<const RecordTable> table, std::vector<uint32_t> rows)
    : table_(std::move(table)), rows_(std::move(rows)), all_(false) {
    MoveFirst();
}

int Recordset::FieldIndex(std::string_view name) const { return table_->FieldIndex(name); }

bool Recordset::HasField(std::string_view name) const { return FieldIndex(name) >= 0; }

void Recordset::NoField(int column) const {
    if (pos_ >= size()) throw DatabaseError("No current record in table " + table_->name + ".");
    throw DatabaseError("The table " + table_->name + " has no field number " + std::to_string(column) + ".");
}

const FieldValue& Recordset::Field(std::string_view name) const {
    const int c = FieldIndex(name);
    if (c < 0) throw DatabaseError("The table " + table_->name + " has no field " + std::string(name) + ".");
    return FieldAt(c);
}

std::vector<std::vector<FieldValue>> Recordset::AllRows() const {
    std::vector<std::vector<FieldValue>> out;
    out.reserve(size());
    for (size_t i = 0; i < size(); ++i) out.emplace_back(row(i), row(i) + table_->width());
    return out;
}

struct Database::Impl {
    sqlite3* db = nullptr;
    std::shared_ptr<const ReferenceSnapshot> memory;  // served instead of the file while installed
    ~Impl() {
        if (db) sqlite3_close(db);
    }
};

Database::Database(Database&&) noexcept = default;
Database& Database::operator=(Database&&) noexcept = default;
Database::~Database() = default;

Database Database::Open(const std::filesystem::path& file) {
    // The library's memory statistics take one lock shared by every
    // connection; the program never reads them, and threads reading tables
    // at once would queue on it. (Only possible before the library starts.)
    static const bool noMemoryStatistics = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0) == SQLITE_OK;
    (void)noMemoryStatistics;
    Database d;
    d.path_ = file;
    d.impl_ = std::make_unique<Impl>();
    if ((d.impl_->memory = InstalledSnapshot(file))) return d;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec))
        throw DatabaseError("The reference database " + file.string() + " was not found.");
    if (sqlite3_open_v2(file.string().c_str(), &d.impl_->db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        std::string msg = d.impl_->db ? sqlite3_errmsg(d.impl_->db) : "out of memory";
        throw DatabaseError("The reference database " + file.string() + " cannot be opened: " + msg + ".");
    }
    return d;
}

Database Database::Open(std::shared_ptr<const ReferenceSnapshot> snapshot) {
    Database d;
    d.path_ = snapshot->path();
    d.impl_ = std::make_unique<Impl>();
    d.impl_->memory = std::move(snapshot);
    return d;
}

Recordset Database::OpenRecordset(const std::string& table, const Query& q) const {
    if (impl_->memory) return impl_->memory->Select(table, q);
    std::string sql = "SELECT * FROM " + Identifier(table);
    std::vector<std::string> params;
    std::string where;
    for (const auto& [field, value] : q.equals) {
        where += (where.empty() ? "" : " AND ") + Identifier(field) + " = ?";
        params.push_back(value);
    }
    if (!q.anyOfField.empty()) {
        std::string any;
        for (const auto& v : q.anyOfValues) {
            any += (any.empty() ? "" : ",") + std::string("?");
            params.push_back(v);
        }
        if (any.empty()) any = "NULL";
        where += (where.empty() ? "" : " AND ") + Identifier(q.anyOfField) + " IN (" + any + ")";
    }
    if (!where.empty()) sql += " WHERE " + where;
    sql += q.sortField.empty() ? " ORDER BY rowid" : " ORDER BY " + Identifier(q.sortField) + ", rowid";

    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(impl_->db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
        throw DatabaseError("Reading table " + table + " of " + path_.string() +
                            " failed: " + sqlite3_errmsg(impl_->db) + ".");
    }
    for (size_t i = 0; i < params.size(); ++i)
        sqlite3_bind_text(st, static_cast<int>(i + 1), params[i].c_str(), static_cast<int>(params[i].size()),
                          SQLITE_TRANSIENT);
    const int n = sqlite3_column_count(st);
    std::vector<std::string> cols;
    cols.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) cols.emplace_back(sqlite3_column_name(st, i));
    std::vector<FieldValue> cells;
    // A whole table is read in one piece (the snapshot of a batch run); size it first.
    if (where.empty()) {
        sqlite3_stmt* count = nullptr;
        const std::string countSql = "SELECT count(*) FROM " + Identifier(table);
        if (sqlite3_prepare_v2(impl_->db, countSql.c_str(), -1, &count, nullptr) == SQLITE_OK &&
            sqlite3_step(count) == SQLITE_ROW)
            cells.reserve(static_cast<size_t>(sqlite3_column_int64(count, 0)) * static_cast<size_t>(n));
        sqlite3_finalize(count);
    }
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        for (int i = 0; i < n; ++i) {
            switch (sqlite3_column_type(st, i)) {
                case SQLITE_INTEGER:
                    cells.emplace_back(FieldValue::Data(static_cast<int64_t>(sqlite3_column_int64(st, i))));
                    break;
                case SQLITE_FLOAT:
                    cells.emplace_back(FieldValue::Data(sqlite3_column_double(st, i)));
                    break;
                case SQLITE_NULL:
                    cells.emplace_back();
                    break;
                default: {
                    const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
                    cells.emplace_back(FieldValue::Data(std::string(t ? t : "")));
                }
            }
        }
    }
    const std::string err = rc == SQLITE_DONE ? "" : sqlite3_errmsg(impl_->db);
    sqlite3_finalize(st);
    if (!err.empty()) throw DatabaseError("Reading table " + table + " of " + path_.string() + " failed: " + err + ".");
    return Recordset(std::make_shared<const RecordTable>(table, std::move(cols), std::move(cells)));
}

std::vector<std::string> Database::TableNames() const {
    if (impl_->memory) return impl_->memory->TableNames();
    const char* sql = "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%' ORDER BY rowid";
    sqlite3_stmt* st = nullptr;
    std::vector<std::string> names;
    int rc = sqlite3_prepare_v2(impl_->db, sql, -1, &st, nullptr);
    if (rc == SQLITE_OK) {
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
            const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
            names.emplace_back(t ? t : "");
        }
    }
    const std::string err = rc == SQLITE_DONE ? "" : sqlite3_errmsg(impl_->db);
    sqlite3_finalize(st);
    if (!err.empty()) throw DatabaseError("Reading the tables of " + path_.string() + " failed: " + err + ".");
    return names;
}

}  // namespace verrane::platform
