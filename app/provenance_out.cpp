#include "app/provenance_out.h"

#include <filesystem>

#include "platform/paths.h"
#include "platform/provenance.h"

namespace verrane {

namespace {
// Read once per reference database: a batch run asks for it on every line.
const platform::Provenance& Current() {
    static std::filesystem::path readFrom;
    static platform::Provenance p;
    if (readFrom != platform::ReferenceDatabasePath() || p.program.empty()) {
        readFrom = platform::ReferenceDatabasePath();
        p = platform::CurrentProvenance();
    }
    return p;
}
}  // namespace

nlohmann::ordered_json ProvenanceJson() {
    const platform::Provenance& p = Current();
    nlohmann::ordered_json j;
    j["Program"] = p.program;
    j["TornadoRecord"] = p.tornadoRecord;
    j["Database"] = p.database;
    return j;
}

std::string ProvenanceCsvHeader() { return ",Program,TornadoRecord,Database"; }

std::string ProvenanceCsvFields() {
    // None of the three holds a comma, quote or line break.
    const platform::Provenance& p = Current();
    return "," + p.program + "," + p.tornadoRecord + "," + p.database;
}

}  // namespace verrane
