#include "platform/provenance.h"

#include "platform/paths.h"
#include "platform/refdb.h"

#ifndef VERRANE_VERSION
#error "the build passes the program version as VERRANE_VERSION"
#endif

namespace verrane::platform {

std::string ProgramVersion() { return std::string("Verrane ") + VERRANE_VERSION; }

Provenance CurrentProvenance() {
    Provenance p{ProgramVersion(), "unknown", "unknown", "unknown"};
    try {
        const Database db = Database::Open(ReferenceDatabasePath());
        Recordset meta = db.OpenRecordset("meta");
        for (; !meta.EOF_(); meta.MoveNext()) {
            const std::string key = meta.Field("key").asText(), value = meta.Field("value").asText();
            if (key == "tornado_years") p.tornadoRecord = value;
            if (key == "tornado_files") p.tornadoFiles = value;
            if (key == "content_sha256") p.database = value;
        }
    } catch (const DatabaseError&) {
        // Reported as unknown: the provenance never stops an output.
    }
    return p;
}

std::string ProvenanceLine(const Provenance& p) {
    return p.program + "; tornado record " + p.tornadoRecord + "; reference data sha256 " + p.database;
}

}  // namespace verrane::platform
