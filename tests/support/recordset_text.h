#pragma once
// One query's answer as text: the columns, then every record with the kind
// and text of each value; "refused" when the database refuses the query. Two
// databases answer alike exactly when these texts are equal.
#include <string>

#include "platform/refdb.h"

namespace verrane::test {

inline std::string RecordsetText(const platform::Database& db, const std::string& table, const platform::Query& q) {
    try {
        const platform::Recordset rs = db.OpenRecordset(table, q);
        std::string out;
        for (const auto& c : rs.columns()) out += c + "|";
        for (const auto& row : rs.AllRows()) {
            out += "\n";
            for (const auto& v : row) out += std::to_string(v.data().index()) + ":" + v.asText() + "|";
        }
        return out;
    } catch (const platform::DatabaseError&) {
        return "refused";
    }
}

}  // namespace verrane::test
