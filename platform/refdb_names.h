#pragma once
// Table and field names as the reference database reads them, for the file
// and for the tables held in memory alike.
#include <string>
#include <string_view>

namespace verrane::platform::refdb {

// Names are matched without regard to (ASCII) case.
std::string LowerName(std::string_view name);
// Only letters, digits and underscores: throws DatabaseError for anything else.
void CheckName(const std::string& name);

}  // namespace verrane::platform::refdb
