// Edge cases of the CSV reader, data-driven: the last field and the last
// line with and without their line end, empty and quoted fields at either
// end of a line, broken quotes, and lines written then read back.
#include "readers.h"
#include "sources/csv.h"

using namespace sources_test;

namespace {

const std::optional<std::string> kNull;

std::vector<sources::CsvRow> parsed(std::string_view text) {
    std::vector<sources::CsvRow> rows;
    for (const sources::CsvRecord& r : sources::ParseCsv(text, "t.csv")) rows.push_back(r.fields);
    return rows;
}

}  // namespace

TEST(CsvEdges, EveryFieldOfEveryLineIsReadAndALineWrittenReadsBack) {
    for (const auto& [text, rows] : std::vector<std::pair<const char*, std::vector<sources::CsvRow>>>{
             {"a,b", {{"a", "b"}}},
             {"a,b\n", {{"a", "b"}}},
             {"a,b\r\n", {{"a", "b"}}},
             {"h\nx", {{"h"}, {"x"}}},
             {"h\r\nx\r\ny", {{"h"}, {"x"}, {"y"}}},
             {"a,", {{"a", kNull}}},
             {",b", {{kNull, "b"}}},
             {"\"a\",\"b\"", {{"a", "b"}}},
             {"\"\"", {{""}}},
             {"\"x\"\"\"", {{"x\""}}},
             {"\"a\nb\",c", {{"a\nb", "c"}}},
             {"\"A,B\",\r\n\"say \"\"hi\"\"\",\"\"", {{"A,B", kNull}, {"say \"hi\"", ""}}},
             {"z,\"Å\"\nø", {{"z", "Å"}, {"ø"}}}})
        EXPECT_EQ(parsed(text), rows) << text;
    // A line written is read back with its quotes and nulls.
    const sources::CsvRow row{"say \"hi\"", kNull, "", "a,b", "two\nlines"};
    EXPECT_EQ(parsed(sources::CsvLine(row) + sources::CsvLine(row)), std::vector({row, row}));
}

TEST(CsvEdges, BrokenQuotesAreFaultsNamingTheLine) {
    for (const char* text : {"Ord\n\"cut sho", "Ord\n\"a\"b\n", "Ord\na\"b\n"})
        EXPECT_TRUE(fault([&] { parsed(text); }).starts_with("t.csv, line 2")) << text;
    EXPECT_EQ(sources::ParseCsv("Ord\n\"two\nlines\",X\nY", "t.csv").back().line, 4);
}
