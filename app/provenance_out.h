#pragma once
// The provenance (platform/provenance.h) as the command line and the
// screening window write it: a JSON object, and trailing CSV columns so every
// CSV line says which program and data made it while the file stays plain CSV.
#include <nlohmann/json.hpp>
#include <string>

namespace verrane {

// {"Program": ..., "TornadoRecord": ..., "Database": ...}
nlohmann::ordered_json ProvenanceJson();
// ",Program,TornadoRecord,Database" to append to a header line.
std::string ProvenanceCsvHeader();
// The three fields, each preceded by a comma, to append to a CSV line.
std::string ProvenanceCsvFields();

}  // namespace verrane
