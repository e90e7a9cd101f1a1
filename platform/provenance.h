#pragma once
// Which program and which reference data made a result: printed with every
// output a reviewer may be handed (reports, JSON, CSV, the About box).
#include <string>

namespace verrane::platform {

struct Provenance {
    std::string program;        // "Verrane 1.0"
    std::string tornadoRecord;  // the record's years, "1950-2023"
    std::string tornadoFiles;   // the record files the data was built from
    std::string database;       // the importer's SHA-256 of the database content
};

// The running program and the reference database of DataDir(). A database
// that cannot be read, or predates the importer's identity, gives "unknown"
// for what it cannot tell.
Provenance CurrentProvenance();
// One line: "Verrane 1.0; tornado record 1950-2023; reference data sha256 ...".
std::string ProvenanceLine(const Provenance& p);
// The program's name and version alone.
std::string ProgramVersion();

}  // namespace verrane::platform
