// Edge cases of the readers of outside text, data-driven: the last field
// and the last line of a CSV file with and without their line end, empty
// and quoted fields at either end of a line, broken quotes; and a thesaurus
// whose last line ends without a newline in every place an entry can end.
#include "rows.h"
#include "sources/csv.h"
#include "sources/thesaurus.h"
#include "support.h"

using namespace sources_test;

namespace {

struct CsvCase {
    const char* text;
    std::vector<sources::CsvRow> rows;
};

class CsvEdges : public ::testing::TestWithParam<CsvCase> {};

const std::optional<std::string> kNull;

}  // namespace

TEST_P(CsvEdges, EveryFieldOfEveryLineIsRead) {
    const CsvCase& c = GetParam();
    std::vector<sources::CsvRow> got;
    for (const sources::CsvRecord& r : sources::ParseCsv(c.text, "t.csv")) got.push_back(r.fields);
    EXPECT_EQ(got, c.rows) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Sources, CsvEdges,
    ::testing::Values(CsvCase{"a,b", {{"a", "b"}}}, CsvCase{"a,b\n", {{"a", "b"}}}, CsvCase{"a,b\r\n", {{"a", "b"}}},
                      CsvCase{"h\nx", {{"h"}, {"x"}}}, CsvCase{"h\r\nx\r\ny", {{"h"}, {"x"}, {"y"}}},
                      CsvCase{"a,", {{"a", kNull}}}, CsvCase{",b", {{kNull, "b"}}},
                      CsvCase{"\"a\",\"b\"", {{"a", "b"}}}, CsvCase{"\"\"", {{""}}}, CsvCase{"\"x\"\"\"", {{"x\""}}},
                      CsvCase{"\"a\nb\",c", {{"a\nb", "c"}}},
                      CsvCase{"\"A,B\",\r\n\"say \"\"hi\"\"\",\"\"", {{"A,B", kNull}, {"say \"hi\"", ""}}},
                      CsvCase{"z,\"Å\"\nø", {{"z", "Å"}, {"ø"}}}));

TEST(CsvEdges, BrokenQuotesAreFaultsNamingTheLine) {
    for (const char* text : {"Ord\n\"cut sho", "Ord\n\"a\"b\n", "Ord\na\"b\n"})
        EXPECT_EQ(sources_test::fault([&] { sources::ParseCsv(text, "t.csv"); }).rfind("t.csv, line 2", 0), 0u) << text;
    EXPECT_EQ(sources::ParseCsv("Ord\n\"two\nlines\",X\nY", "t.csv").back().line, 4);
}

TEST(CsvEdges, ALineWrittenIsReadBackWithItsQuotesAndNulls) {
    const sources::CsvRow row{"say \"hi\"", kNull, "", "a,b", "two\nlines"};
    const auto recs = sources::ParseCsv(sources::CsvLine(row) + sources::CsvLine(row), "t.csv");
    ASSERT_EQ(recs.size(), 2u);
    EXPECT_EQ(recs[0].fields, row);
    EXPECT_EQ(recs[1].fields, row);
}

namespace {

struct ThesaurusEnd {
    const char* name;
    const char* text;
    Rows pairs;  // Ord, Synonym of the last entry
};

class ThesaurusEnds : public ::testing::TestWithParam<ThesaurusEnd> {};

}  // namespace

TEST_P(ThesaurusEnds, TheLastLineCountsWithOrWithoutItsNewline) {
    const ThesaurusEnd& e = GetParam();
    for (const std::string end : {"", "\n", "\r\n"}) {
        store::WordListBuilder b;
        sources::ReadThesaurusText(std::string(e.text) + end, "t.dat", b);
        Written db(b);
        EXPECT_EQ(db("SELECT Ord, Synonym FROM T_OrdSynonym WHERE Ord = 'LAST' ORDER BY Synonym"), e.pairs)
            << e.name << " ending " << end.size();
        EXPECT_EQ(db("SELECT count(*) FROM T_Ord WHERE Ord = 'LAST'"), Rows({{"1"}})) << e.name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sources, ThesaurusEnds,
    ::testing::Values(
        ThesaurusEnd{"OneSynonym", "UTF-8\nfirst|1\n(n)|one\nlast|1\n(n)|end", {{"LAST", "END"}}},
        ThesaurusEnd{"LastOfSeveral", "UTF-8\nlast|1\n(n)|a|b|end", {{"LAST", "A"}, {"LAST", "B"}, {"LAST", "END"}}},
        ThesaurusEnd{"SecondMeaning", "UTF-8\nlast|2\n(n)|a\n(v)|end", {{"LAST", "A"}, {"LAST", "END"}}},
        ThesaurusEnd{"NoMeanings", "UTF-8\nlast|0", {}}),
    [](const auto& p) { return std::string(p.param.name); });
