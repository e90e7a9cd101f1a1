#include "platform/refdb.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>

#include "platform/number.h"
#include "platform/refdb_snapshot.h"

namespace verrane::platform {

namespace {

std::string Lower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
    return out;
}

// Identifiers come from the program, never from the user; still, only plain
// names are put into the statement.
std::string Identifier(const std::string& name) {
    if (name.empty() ||
        !std::all_of(name.begin(), name.end(), [](unsigned char c) { return std::isalnum(c) || c == '_'; }))
        throw DatabaseError("\"" + name + "\" is not a valid table or field name.");
    return "\"" + name + "\"";
}

}  // namespace

double FieldValue::asDouble() const {
    if (auto i = std::get_if<int64_t>(&data_)) return static_cast<double>(*i);
    if (auto d = std::get_if<double>(&data_)) return *d;
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
        const std::string l = Lower(*s);
        if (l == "true" || l == "yes") return true;
        if (l == "false" || l == "no" || l.empty()) return false;
    }
    return asDouble() != 0.0;
}

RecordTable::RecordTable(std::string n, std::vector<std::string> c, std::vector<std::vector<FieldValue>> r)
    : name(std::move(n)), columns(std::move(c)), rows(std::move(r)) {
    for (size_t i = 0; i < columns.size(); ++i) index.emplace(Lower(columns[i]), static_cast<int>(i));
}

int RecordTable::FieldIndex(std::string_view field) const {
    auto it = index.find(Lower(field));
    return it == index.end() ? -1 : it->second;
}

Recordset::Recordset(std::string table, std::vector<std::string> columns, std::vector<std::vector<FieldValue>> rows)
    : Recordset(std::make_shared<const RecordTable>(std::move(table), std::move(columns), std::move(rows))) {}

Recordset::Recordset(std::shared_ptr<const RecordTable> table) : table_(std::move(table)) { MoveFirst(); }

Recordset::Recordset(std::shared_ptr<const RecordTable> table, std::vector<uint32_t> rows)
    : table_(std::move(table)), rows_(std::move(rows)), all_(false) {
    MoveFirst();
}

int Recordset::FieldIndex(std::string_view name) const { return table_->FieldIndex(name); }

bool Recordset::HasField(std::string_view name) const { return FieldIndex(name) >= 0; }

const FieldValue& Recordset::FieldAt(int column) const {
    if (pos_ >= size()) throw DatabaseError("No current record in table " + table_->name + ".");
    return row(pos_).at(static_cast<size_t>(column));
}

const FieldValue& Recordset::Field(std::string_view name) const {
    const int c = FieldIndex(name);
    if (c < 0) throw DatabaseError("The table " + table_->name + " has no field " + std::string(name) + ".");
    return FieldAt(c);
}

std::vector<std::vector<FieldValue>> Recordset::AllRows() const {
    std::vector<std::vector<FieldValue>> out;
    out.reserve(size());
    for (size_t i = 0; i < size(); ++i) out.push_back(row(i));
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
    for (int i = 0; i < n; ++i) cols.emplace_back(sqlite3_column_name(st, i));
    std::vector<std::vector<FieldValue>> rows;
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        std::vector<FieldValue> row;
        row.reserve(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i) {
            switch (sqlite3_column_type(st, i)) {
                case SQLITE_INTEGER:
                    row.emplace_back(FieldValue::Data(static_cast<int64_t>(sqlite3_column_int64(st, i))));
                    break;
                case SQLITE_FLOAT:
                    row.emplace_back(FieldValue::Data(sqlite3_column_double(st, i)));
                    break;
                case SQLITE_NULL:
                    row.emplace_back();
                    break;
                default: {
                    const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
                    row.emplace_back(FieldValue::Data(std::string(t ? t : "")));
                }
            }
        }
        rows.push_back(std::move(row));
    }
    const std::string err = rc == SQLITE_DONE ? "" : sqlite3_errmsg(impl_->db);
    sqlite3_finalize(st);
    if (!err.empty()) throw DatabaseError("Reading table " + table + " of " + path_.string() + " failed: " + err + ".");
    return Recordset(table, std::move(cols), std::move(rows));
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
