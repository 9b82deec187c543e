// CSV copies of the six tables (RFC 4180): backup, restore, and the files
// that mdb-export writes from an old Jet word database.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/wordlists.h"

namespace sources {

// An unquoted empty field is "no value" (NULL); a quoted empty field is the
// empty text.
using CsvField = std::optional<std::string>;
using CsvRow = std::vector<CsvField>;
struct CsvRecord {
    long line;  // where the record starts, from 1
    CsvRow fields;
};
// Throws store::ImportError naming `name` and the line of a fault.
std::vector<CsvRecord> ParseCsv(std::string_view text, const std::string& name);
std::string CsvLine(const CsvRow& row);

// Writes DIR/<table>.csv for each table (DIR is created if missing).
void ExportCsv(store::Connection& c, const std::string& dir);
// Reads DIR/<table>.csv for each table; every file must be there, its
// header naming at least the table's required columns.
std::vector<store::TableRows> ReadCsvTables(const std::string& dir);

}  // namespace sources
