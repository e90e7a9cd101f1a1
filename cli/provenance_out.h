#pragma once
// The provenance columns and object as every command prints them
// (app/provenance_out.h), under the command line's names.
#include "app/provenance_out.h"

namespace verrane::cli {

using verrane::ProvenanceCsvFields;
using verrane::ProvenanceCsvHeader;
using verrane::ProvenanceJson;

}  // namespace verrane::cli
