#include "platform/refdb_snapshot.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "platform/refdb_names.h"

namespace verrane::platform {

namespace {

using refdb::CheckName;
using refdb::LowerName;

// A bound text compared with a number in a numeric column: the column's
// affinity makes it a number when all of it reads as one (blanks around
// allowed), and then the two compare as numbers; otherwise they never match.
bool TextEqualsNumber(const std::string& text, double number) {
    const char* begin = text.c_str();
    while (std::isspace(static_cast<unsigned char>(*begin))) ++begin;
    if (*begin == '\0') return false;
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(begin, &end);
    if (end == begin || errno == ERANGE) return false;
    while (std::isspace(static_cast<unsigned char>(*end))) ++end;
    if (*end != '\0' || !std::isfinite(v)) return false;
    // Hexadecimal and "inf"/"nan" are no numbers to the file.
    for (const char* c = begin; c != end; ++c)
        if (std::isalpha(static_cast<unsigned char>(*c)) && *c != 'e' && *c != 'E') return false;
    return v == number;
}

bool Equals(const FieldValue& stored, const std::string& value) {
    const auto& d = stored.data();
    if (auto s = std::get_if<std::string>(&d)) return *s == value;
    if (auto i = std::get_if<int64_t>(&d)) return TextEqualsNumber(value, static_cast<double>(*i));
    if (auto x = std::get_if<double>(&d)) return TextEqualsNumber(value, *x);
    return false;  // null equals nothing
}

// The file's ascending order: nulls, then numbers, then text byte by byte.
int Rank(const FieldValue& v) {
    const auto& d = v.data();
    if (std::holds_alternative<std::monostate>(d)) return 0;
    if (std::holds_alternative<std::string>(d)) return 2;
    return 1;
}

bool Before(const FieldValue& a, const FieldValue& b) {
    const int ra = Rank(a), rb = Rank(b);
    if (ra != rb) return ra < rb;
    if (ra == 1) {
        const auto& da = a.data();
        const auto& db = b.data();
        auto ia = std::get_if<int64_t>(&da), ib = std::get_if<int64_t>(&db);
        if (ia && ib) return *ia < *ib;
        return a.asDouble() < b.asDouble();
    }
    if (ra == 2) {
        const auto& sa = std::get<std::string>(a.data());
        const auto& sb = std::get<std::string>(b.data());
        const int c = std::memcmp(sa.data(), sb.data(), std::min(sa.size(), sb.size()));
        return c != 0 ? c < 0 : sa.size() < sb.size();
    }
    return false;
}

struct Installed {
    std::string given;           // as the snapshot was loaded
    std::filesystem::path path;  // normalised
    std::shared_ptr<const ReferenceSnapshot> snapshot;
};
std::vector<Installed>& Registry() {
    static std::vector<Installed> installed;
    return installed;
}

}  // namespace

std::shared_ptr<const ReferenceSnapshot> ReferenceSnapshot::Load(const std::filesystem::path& file,
                                                                 const std::vector<std::string>& only,
                                                                 const std::vector<std::string>& indexed) {
    auto snapshot = std::shared_ptr<ReferenceSnapshot>(new ReferenceSnapshot);
    snapshot->path_ = file;
    const Database db = Database::Open(file);
    const auto named = [](const std::vector<std::string>& names, const std::string& name) {
        return std::any_of(names.begin(), names.end(),
                           [&name](const std::string& n) { return LowerName(n) == LowerName(name); });
    };
    const auto wanted = [&](const std::string& name) { return only.empty() || named(only, name); };
    for (const std::string& name : db.TableNames()) {
        if (!wanted(name)) continue;
        Table t;
        t.data = db.OpenRecordset(name).table();
        const RecordTable& data = *t.data;
        const size_t columns = data.width();
        t.index.resize(columns);
        t.indexed.assign(columns, true);
        if (!indexed.empty())
            for (size_t c = 0; c < columns; ++c) t.indexed[c] = named(indexed, data.columns[c]);
        // Only a column of texts has an index.
        for (size_t c = 0; c < columns; ++c)
            for (size_t r = 0; r < data.rowCount() && t.indexed[c]; ++r)
                if (!std::holds_alternative<std::string>(data.row(r)[c].data())) t.indexed[c] = false;
        for (size_t c = 0; c < columns; ++c) {
            if (!t.indexed[c]) continue;
            for (uint32_t r = 0; r < data.rowCount(); ++r)
                t.index[c][std::get<std::string>(data.row(r)[c].data())].push_back(r);
        }
        snapshot->names_.push_back(name);
        snapshot->tables_.emplace(LowerName(name), std::move(t));
    }
    return snapshot;
}

std::vector<std::string> ReferenceSnapshot::TableNames() const { return names_; }

const ReferenceSnapshot::Table& ReferenceSnapshot::Find(const std::string& table) const {
    CheckName(table);
    auto it = tables_.find(LowerName(table));
    if (it == tables_.end())
        throw DatabaseError("Reading table " + table + " of " + path_.string() + " failed: no such table: " + table +
                            ".");
    return it->second;
}

int ReferenceSnapshot::Column(const Table& t, const std::string& field) const {
    CheckName(field);
    const int c = t.data->FieldIndex(field);
    if (c < 0)
        throw DatabaseError("Reading table " + t.data->name + " of " + path_.string() +
                            " failed: no such column: " + field + ".");
    return c;
}

Recordset ReferenceSnapshot::Select(const std::string& table, const Query& q) const {
    if (log_) log_->emplace_back(table, q);
    const Table& t = Find(table);
    const RecordTable& data = *t.data;

    struct Test {
        int column;
        std::vector<const std::string*> values;  // any of them
    };
    std::vector<Test> tests;
    for (const auto& [field, value] : q.equals) tests.push_back({Column(t, field), {&value}});
    if (!q.anyOfField.empty()) {
        Test any{Column(t, q.anyOfField), {}};
        for (const auto& v : q.anyOfValues) any.values.push_back(&v);
        tests.push_back(std::move(any));
    }
    const int sortColumn = q.sortField.empty() ? -1 : Column(t, q.sortField);
    if (tests.empty() && sortColumn < 0) return Recordset(t.data);

    // Candidates from the narrowest index, then the remaining tests row by row.
    std::vector<uint32_t> picked;
    const Test* start = nullptr;
    size_t narrowest = 0;
    for (const Test& test : tests) {
        if (!t.indexed[static_cast<size_t>(test.column)]) continue;
        size_t n = 0;
        for (const std::string* v : test.values) {
            auto it = t.index[static_cast<size_t>(test.column)].find(*v);
            if (it != t.index[static_cast<size_t>(test.column)].end()) n += it->second.size();
        }
        if (!start || n < narrowest) start = &test, narrowest = n;
    }
    if (start) {
        const auto& index = t.index[static_cast<size_t>(start->column)];
        for (const std::string* v : start->values)
            if (auto it = index.find(*v); it != index.end())
                picked.insert(picked.end(), it->second.begin(), it->second.end());
        std::sort(picked.begin(), picked.end());
        picked.erase(std::unique(picked.begin(), picked.end()), picked.end());
    } else {
        picked.resize(data.rowCount());
        for (uint32_t r = 0; r < picked.size(); ++r) picked[r] = r;
    }
    std::erase_if(picked, [&](uint32_t r) {
        for (const Test& test : tests) {
            if (&test == start) continue;
            const FieldValue& v = data.row(r)[test.column];
            if (std::none_of(test.values.begin(), test.values.end(),
                             [&](const std::string* value) { return Equals(v, *value); }))
                return true;
        }
        return false;
    });
    if (sortColumn >= 0)
        std::stable_sort(picked.begin(), picked.end(), [&](uint32_t a, uint32_t b) {
            return Before(data.row(a)[sortColumn], data.row(b)[sortColumn]);
        });
    return Recordset(t.data, std::move(picked));
}

ScopedReferenceSnapshot::ScopedReferenceSnapshot(std::shared_ptr<const ReferenceSnapshot> snapshot)
    : snapshot_(std::move(snapshot)) {
    Registry().push_back({snapshot_->path().native(), snapshot_->path().lexically_normal(), snapshot_});
}

ScopedReferenceSnapshot::ScopedReferenceSnapshot(const std::filesystem::path& file)
    : ScopedReferenceSnapshot(ReferenceSnapshot::Load(file)) {}

ScopedReferenceSnapshot::~ScopedReferenceSnapshot() {
    auto& r = Registry();
    for (auto it = r.rbegin(); it != r.rend(); ++it) {
        if (it->snapshot == snapshot_) {
            r.erase(std::next(it).base());
            break;
        }
    }
}

std::shared_ptr<const ReferenceSnapshot> InstalledSnapshot(const std::filesystem::path& file) {
    const auto& r = Registry();
    if (r.empty()) return nullptr;
    // The screens name the file the same way every time: try that first.
    for (auto it = r.rbegin(); it != r.rend(); ++it)
        if (it->given == file.native()) return it->snapshot;
    const auto normal = file.lexically_normal();
    for (auto it = r.rbegin(); it != r.rend(); ++it)
        if (it->path == normal) return it->snapshot;
    return nullptr;
}

}  // namespace verrane::platform
