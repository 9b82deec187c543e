// The CSV reader: quotes, NULLs and faults in the text.
#include "sources/csv.h"
#include "rows.h"
#include "support.h"

TEST(Csv, ParsesQuotesNullsAndFaults) {
    auto recs = sources::ParseCsv("Ord,Notat\r\n\"A,B\",\r\n\"say \"\"hi\"\"\",\"\"\n\"two\nlines\",X", "t.csv");
    ASSERT_EQ(recs.size(), 4u);
    EXPECT_EQ(*recs[1].fields[0], "A,B");
    EXPECT_FALSE(recs[1].fields[1].has_value());  // unquoted empty: no value
    EXPECT_EQ(*recs[2].fields[0], "say \"hi\"");
    EXPECT_EQ(*recs[2].fields[1], "");
    EXPECT_EQ(*recs[3].fields[0], "two\nlines");
    EXPECT_EQ(recs[3].line, 4);
    EXPECT_THROW(sources::ParseCsv("Ord\n\"cut sho", "t.csv"), store::ImportError);
    EXPECT_THROW(sources::ParseCsv("Ord\n\"a\"b\n", "t.csv"), store::ImportError);
    EXPECT_THROW(sources::ParseCsv("Ord\na\"b\n", "t.csv"), store::ImportError);
}
