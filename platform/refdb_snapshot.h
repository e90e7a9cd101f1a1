#pragma once
// The reference tables held in memory for a batch run. A snapshot reads every
// table of the file once; while a ScopedReferenceSnapshot installs it, every
// Database::Open of that file serves its queries from memory, so the screens
// run unchanged and get the same records in the same order as from the file:
// table order, or ascending on the sort field with table order among equals.
// Equality filters on text fields use hash indices built at load.
//
// The interactive program never installs one: it opens the file for each
// operation and caches nothing.
#include <filesystem>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/refdb.h"

namespace verrane::platform {

class ReferenceSnapshot {
public:
    // Reads every table of the file, or only the tables named in `only`
    // (any case; the others are then unknown to the snapshot). Throws
    // DatabaseError.
    // Text columns are indexed for the questions that name them: every one,
    // or only those named in `indexed` (the others are then searched row by
    // row, with the same answers).
    static std::shared_ptr<const ReferenceSnapshot> Load(const std::filesystem::path& file,
                                                         const std::vector<std::string>& only = {},
                                                         const std::vector<std::string>& indexed = {});

    // What Database::OpenRecordset returns for the file. Throws DatabaseError
    // for an unknown table or field, as the file does.
    Recordset Select(const std::string& table, const Query& query) const;
    std::vector<std::string> TableNames() const;
    const std::filesystem::path& path() const { return path_; }

    // Every query served is appended here while set (to replay them).
    void LogQueriesTo(std::vector<std::pair<std::string, Query>>* log) const { log_ = log; }

private:
    struct Table {
        std::shared_ptr<const RecordTable> data;
        // Per column: value -> row positions in table order. Only for the
        // columns whose every value is text, where equality is plain byte
        // equality as in the file.
        std::vector<std::unordered_map<std::string, std::vector<uint32_t>>> index;
        std::vector<bool> indexed;
    };
    const Table& Find(const std::string& table) const;
    int Column(const Table& t, const std::string& field) const;

    std::filesystem::path path_;
    std::unordered_map<std::string, Table> tables_;  // lower-case name
    std::vector<std::string> names_;                 // as the file spells them
    mutable std::vector<std::pair<std::string, Query>>* log_ = nullptr;
};

// Serves the snapshot for its file from construction to destruction.
// Installations nest; the innermost one for a file wins.
class ScopedReferenceSnapshot {
public:
    explicit ScopedReferenceSnapshot(std::shared_ptr<const ReferenceSnapshot> snapshot);
    // Loads the file and installs it.
    explicit ScopedReferenceSnapshot(const std::filesystem::path& file);
    ~ScopedReferenceSnapshot();
    ScopedReferenceSnapshot(const ScopedReferenceSnapshot&) = delete;
    ScopedReferenceSnapshot& operator=(const ScopedReferenceSnapshot&) = delete;
    const ReferenceSnapshot& snapshot() const { return *snapshot_; }

private:
    std::shared_ptr<const ReferenceSnapshot> snapshot_;
};

// The snapshot installed for this file, or null.
std::shared_ptr<const ReferenceSnapshot> InstalledSnapshot(const std::filesystem::path& file);

}  // namespace verrane::platform
