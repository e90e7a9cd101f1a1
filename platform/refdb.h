#pragma once
// Read-only access to the reference tables (states, Counties, tornado,
// cntycoor) in the shipped SQLite file. Tables and fields are found by name
// without regard to case. Filters are equality tests combined with AND, or
// one field compared with a list of values (the OR chains of FIPS codes);
// every value is a bound parameter, so names such as "Prince George's" need
// no quoting. Records come in table order unless a sort field is given.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <variant>
#include <vector>

namespace verrane::platform {

class ReferenceSnapshot;

struct DatabaseError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct Query {
    std::vector<std::pair<std::string, std::string>> equals;  // field = value AND ...
    std::string anyOfField;                                   // field = v1 OR field = v2 ...
    std::vector<std::string> anyOfValues;
    std::string sortField;  // ascending; empty = table order

    static Query Where(std::vector<std::pair<std::string, std::string>> eq) {
        Query q;
        q.equals = std::move(eq);
        return q;
    }
    static Query AnyOf(std::string field, std::vector<std::string> values, std::string sort = {}) {
        Query q;
        q.anyOfField = std::move(field);
        q.anyOfValues = std::move(values);
        q.sortField = std::move(sort);
        return q;
    }
};

class FieldValue {
public:
    using Data = std::variant<std::monostate, int64_t, double, std::string>;
    FieldValue() = default;
    explicit FieldValue(Data d) : data_(std::move(d)) {}
    bool isNull() const { return std::holds_alternative<std::monostate>(data_); }
    // Numeric value; text is converted as the program converts typed text.
    // Throws DatabaseError when null or not a number.
    double asDouble() const {
        if (auto d = std::get_if<double>(&data_)) return *d;
        if (auto i = std::get_if<int64_t>(&data_)) return static_cast<double>(*i);
        return TextAsDouble();
    }
    std::string asText() const;  // null gives ""
    bool asBool() const;         // null and 0 give false
    const Data& data() const { return data_; }

private:
    double TextAsDouble() const;
    Data data_;
};

// The rows of one table or query result, shared by the record sets made from
// it: the fields of every row one after the other.
struct RecordTable {
    RecordTable(std::string name, std::vector<std::string> columns, std::vector<FieldValue> cells);
    RecordTable(std::string name, std::vector<std::string> columns, const std::vector<std::vector<FieldValue>>& rows);
    std::string name;
    std::vector<std::string> columns;
    std::vector<FieldValue> cells;  // row r, column c at r * width() + c
    size_t width() const { return columns.size(); }
    size_t rowCount() const { return columns.empty() ? 0 : cells.size() / columns.size(); }
    const FieldValue* row(size_t r) const { return cells.data() + r * columns.size(); }
    int FieldIndex(std::string_view name) const;  // without regard to case; -1 when missing

private:
    std::vector<std::pair<std::string, int>> index_;  // lower-case name -> column, sorted
};

class Recordset {
public:
    Recordset(std::string table, std::vector<std::string> columns, const std::vector<std::vector<FieldValue>>& rows);
    // Every row of the table, in its order.
    explicit Recordset(std::shared_ptr<const RecordTable> table);
    // The rows at these positions of the table, in this order.
    Recordset(std::shared_ptr<const RecordTable> table, std::vector<uint32_t> rows);
    bool EOF_() const { return pos_ >= size(); }
    bool eof() const { return EOF_(); }
    void MoveFirst() {
        pos_ = 0;
        visited_ = size() == 0 ? 0 : 1;
    }
    void MoveNext() {
        if (pos_ < size()) ++pos_;
        if (pos_ < size() && pos_ + 1 > visited_) visited_ = pos_ + 1;
    }
    void MoveLast() {
        if (size() != 0) {
            pos_ = size() - 1;
            visited_ = size();
        }
    }
    // Records visited so far (above 0 right after opening when there are records).
    size_t RecordCount() const { return visited_; }
    size_t size() const { return all_ ? table_->rowCount() : rows_.size(); }
    // The field of the current record. Throws DatabaseError for an unknown field
    // or when there is no current record.
    const FieldValue& Field(std::string_view name) const;
    bool HasField(std::string_view name) const;
    int FieldIndex(std::string_view name) const;  // -1 when missing
    const FieldValue& FieldAt(int column) const {
        if (pos_ >= size() || column < 0 || static_cast<size_t>(column) >= table_->width()) NoField(column);
        return row(pos_)[column];
    }
    const std::vector<std::string>& columns() const { return table_->columns; }
    // The current record's position in its table.
    size_t Position() const { return all_ ? pos_ : rows_[pos_]; }
    // Every record from the first, whatever the current one.
    std::vector<std::vector<FieldValue>> AllRows() const;
    const std::shared_ptr<const RecordTable>& table() const { return table_; }

private:
    const FieldValue* row(size_t i) const { return table_->row(all_ ? i : rows_[i]); }
    [[noreturn]] void NoField(int column) const;
    std::shared_ptr<const RecordTable> table_;
    std::vector<uint32_t> rows_;
    bool all_ = true;
    size_t pos_ = 0, visited_ = 0;
};

class Database {
public:
    // Opens the file read-only. Throws DatabaseError naming the file.
    static Database Open(const std::filesystem::path& file);
    // The tables of a snapshot held by the caller, served from memory whether
    // or not the snapshot is installed.
    static Database Open(std::shared_ptr<const ReferenceSnapshot> snapshot);
    Database(Database&&) noexcept;
    Database& operator=(Database&&) noexcept;
    ~Database();
    Recordset OpenRecordset(const std::string& table, const Query& query = {}) const;
    // The tables of the file, in the order they were made.
    std::vector<std::string> TableNames() const;
    const std::filesystem::path& path() const { return path_; }

private:
    Database() = default;
    struct Impl;
    std::unique_ptr<Impl> impl_;
    std::filesystem::path path_;
};

}  // namespace verrane::platform
