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
    double asDouble() const;
    std::string asText() const;  // null gives ""
    bool asBool() const;         // null and 0 give false
    const Data& data() const { return data_; }

private:
    Data data_;
};

class Recordset {
public:
    Recordset(std::string table, std::vector<std::string> columns, std::vector<std::vector<FieldValue>> rows);
    bool EOF_() const { return pos_ >= rows_.size(); }
    bool eof() const { return EOF_(); }
    void MoveFirst() {
        pos_ = 0;
        visited_ = rows_.empty() ? 0 : 1;
    }
    void MoveNext() {
        if (pos_ < rows_.size()) ++pos_;
        if (pos_ < rows_.size() && pos_ + 1 > visited_) visited_ = pos_ + 1;
    }
    void MoveLast() {
        if (!rows_.empty()) {
            pos_ = rows_.size() - 1;
            visited_ = rows_.size();
        }
    }
    // Records visited so far (above 0 right after opening when there are records).
    size_t RecordCount() const { return visited_; }
    size_t size() const { return rows_.size(); }
    // The field of the current record. Throws DatabaseError for an unknown field
    // or when there is no current record.
    const FieldValue& Field(std::string_view name) const;
    bool HasField(std::string_view name) const;
    int FieldIndex(std::string_view name) const;  // -1 when missing
    const FieldValue& FieldAt(int column) const;

private:
    std::string table_;
    std::vector<std::string> columns_;
    std::unordered_map<std::string, int> index_;  // lower-case name -> column
    std::vector<std::vector<FieldValue>> rows_;
    size_t pos_ = 0, visited_ = 0;
};

class Database {
public:
    // Opens the file read-only. Throws DatabaseError naming the file.
    static Database Open(const std::filesystem::path& file);
    Database(Database&&) noexcept;
    Database& operator=(Database&&) noexcept;
    ~Database();
    Recordset OpenRecordset(const std::string& table, const Query& query = {}) const;
    const std::filesystem::path& path() const { return path_; }

private:
    Database() = default;
    struct Impl;
    std::unique_ptr<Impl> impl_;
    std::filesystem::path path_;
};

}  // namespace verrane::platform
