// Grid files: what Velmora writes is ipuz that other programs read and
// gives back the very grid saved; a grid of another program opens with its
// letters and blocks; a file Velmora cannot open is refused with what is
// wrong, and no grid.
#include <gtest/gtest.h>

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <functional>

#include "evening.h"
#include "grid/ipuz.h"

namespace {

// A small valid grid as JSON, for the bad files to start from.
QJsonObject goodJson() {
    sim::Grid g;
    g[1] = {"X", sim::kClueColour, true, "BIG", "", 3, 0, {}};
    g[2] = {"H", std::nullopt, false, "", "", 0, 0, {{1, true}}};
    return QJsonDocument::fromJson(sim::ipuz::Write(g)).object();
}
QByteArray bytes(const QJsonObject& o) { return QJsonDocument(o).toJson(); }
QJsonObject with(QJsonObject o, const QString& key, const QJsonValue& v) {
    o[key] = v;
    return o;
}
// The same with square n's value in "puzzle" (or "solution") replaced.
QJsonObject withCell(const QString& field, int n, const QJsonValue& v) {
    QJsonObject o = goodJson();
    QJsonArray rows = o[field].toArray();
    QJsonArray row = rows[(n - 1) / 15].toArray();
    row[(n - 1) % 15] = v;
    rows[(n - 1) / 15] = row;
    o[field] = rows;
    return o;
}
QJsonObject withOwn(const QJsonObject& own) {
    return withCell("puzzle", 2, QJsonObject{{"cell", 0}, {"app.velmora:square", own}});
}
QByteArray nested(int depth) {
    QByteArray b = bytes(goodJson());
    b.chop(2);  // the closing brace
    return b + ", \"deep\": " + QByteArray(depth, '[') + QByteArray(depth, ']') + "}";
}

struct BadFile {
    const char* name;
    std::function<QByteArray()> make;
    const char* reason;
};

const BadFile kBadFiles[] = {
    {"truncated",
     [] {
         QByteArray b = bytes(goodJson());
         return b.left(b.size() / 2);
     },
     "it is not JSON ("},
    {"binary",
     [] {
         QByteArray b;
         for (int i = 0; i < 4096; ++i) b.append(char(i * 37 % 256));
         return b;
     },
     "it is not JSON ("},
    {"plain_text", [] { return QByteArray("a grid, honestly\n"); }, "it is not JSON ("},
    {"empty", [] { return QByteArray(); }, "it is not JSON ("},
    {"huge", [] { return bytes(with(goodJson(), "notes", QString(qsizetype(1100) * 1024, 'a'))); },
     "it is larger than 1 MB"},
    {"nested_deeper_than_ipuz_goes", [] { return nested(40); }, "it is nested too deeply"},
    {"nested_deeper_than_json_reads", [] { return nested(100000); }, "it is nested too deeply"},
    {"json_array", [] { return QByteArray("[1, 2, 3]"); }, "it is not an ipuz puzzle"},
    {"no_version",
     [] {
         QJsonObject o = goodJson();
         o.remove("version");
         return bytes(o);
     },
     "it is not an ipuz puzzle"},
    {"version_not_ipuz", [] { return bytes(with(goodJson(), "version", "http://example.com/v2")); },
     "it is not an ipuz puzzle"},
    {"sudoku", [] { return bytes(with(goodJson(), "kind", QJsonArray{"http://ipuz.org/sudoku#1"})); },
     "it is an ipuz puzzle, but not a crossword"},
    {"kind_not_a_list", [] { return bytes(with(goodJson(), "kind", "http://ipuz.org/crossword#1")); },
     "its \"kind\" is not a list"},
    {"thirteen_by_thirteen",
     [] {
         return bytes(with(goodJson(), "dimensions", QJsonObject{{"width", 13}, {"height", 13}}));
     },
     "its grid is 13 by 13 squares, not 15 by 15"},
    {"width_as_text",
     [] {
         return bytes(with(goodJson(), "dimensions", QJsonObject{{"width", "15"}, {"height", 15}}));
     },
     "its \"dimensions\" are not a width and a height"},
    {"fourteen_rows",
     [] {
         QJsonObject o = goodJson();
         QJsonArray p = o["puzzle"].toArray();
         p.removeLast();
         o["puzzle"] = p;
         return bytes(o);
     },
     "its \"puzzle\" is not 15 rows of 15 squares"},
    {"solution_a_string", [] { return bytes(with(goodJson(), "solution", "LARGE")); },
     "its \"solution\" is not 15 rows of 15 squares"},
    {"square_true", [] { return bytes(withCell("puzzle", 20, true)); },
     "its \"puzzle\" holds something other than a square at the square at row 2, column 5"},
    {"solution_number", [] { return bytes(withCell("solution", 20, 7)); },
     "its \"solution\" holds something other than a letter at the square at row 2, column 5"},
    {"two_letters_in_a_square", [] { return bytes(withCell("solution", 20, "AB")); },
     "the square at row 2, column 5 holds \"AB\", which a square cannot show"},
    {"control_character", [] { return bytes(withCell("solution", 20, "\x07")); }, "which a square cannot show"},
    {"escape_codes_in_a_long_text",
     [] { return bytes(withCell("solution", 20, "\x1b]0;owned\x07" + QString(500000, 'A'))); },
     R"(holds "\x1B]0;owned\x07AAAA)"},
    {"caption_a_number",
     [] {
         return bytes(withOwn({{"caption", 7}}));
     },
     "the caption is not text"},
    {"caption_a_word",
     [] {
         return bytes(withOwn({{"caption", "HOUSE"}}));
     },
     "the square at row 1, column 2 shows \"HOUSE\", which a square cannot show"},
    {"clue_mark_not_bold",
     [] {
         return bytes(withOwn({{"caption", "XY"}}));
     },
     "which a square cannot show"},
    {"count_as_text",
     [] {
         return bytes(withOwn({{"across", QJsonObject{{"clue", "BIG"}, {"count", "3"}}}}));
     },
     "the across clue is not a clue word and a letter count from 0 to 14"},
    {"count_too_large",
     [] {
         return bytes(withOwn({{"down", QJsonObject{{"clue", "BIG"}, {"count", 40}}}}));
     },
     "the down clue is not a clue word and a letter count"},
    {"count_beyond_any_number",
     [] {
         QByteArray b = bytes(withOwn({{"across", QJsonObject{{"clue", "BIG"}, {"count", 12345}}}}));
         return b.replace("12345", "1e300");
     },
     "the across clue is not a clue word and a letter count"},
    {"colour_a_name",
     [] {
         return bytes(withOwn({{"color", "orange"}}));
     },
     "the colour is not #RRGGBB"},
    {"writer_off_the_grid",
     [] {
         return bytes(withOwn({{"caption", "H"}, {"writers", QJsonArray{QJsonArray{300, "across"}}}}));
     },
     "an answer that wrote it is not a clue square"},
    {"own_field_a_list",
     [] {
         return bytes(withCell("puzzle", 2, QJsonObject{{"cell", 0}, {"app.velmora:square", QJsonArray{1}}}));
     },
     "its data is not an object"},
};

class BadFiles : public ::testing::TestWithParam<BadFile> {};

TEST_P(BadFiles, AreRefusedWithWhatIsWrong) {
    const sim::ipuz::Loaded loaded = sim::ipuz::Read(GetParam().make());
    EXPECT_FALSE(loaded.grid.has_value());
    EXPECT_TRUE(loaded.error.contains(QString::fromUtf8(GetParam().reason))) << loaded.error.toStdString();
    EXPECT_LT(loaded.error.size(), 400) << "the file's text quoted whole";
}

INSTANTIATE_TEST_SUITE_P(Ipuz, BadFiles, ::testing::ValuesIn(kBadFiles),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(Ipuz, AFolderOrAMissingFileCannotBeRead) {
    QTemporaryDir dir;
    for (const QString& path : {dir.filePath("missing.ipuz"), dir.path()})
        EXPECT_TRUE(sim::ipuz::ReadFile(path).error.contains("it cannot be read (")) << path.toStdString();
    QString error;
    EXPECT_FALSE(sim::ipuz::WriteFile(dir.filePath("no such folder/grid.ipuz"), sim::Grid{}, {}, &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(Ipuz, ASavedGridReadsBackSquareForSquare) {
    sim::Document d;
    evening::Compose(d);
    d.setPicked(34, true, true);
    sim::Square framed = d.at(20);
    framed.flagged = true;
    d.setSquare(20, framed);
    const sim::ipuz::Loaded back = sim::ipuz::Read(sim::ipuz::Write(d.squares()));
    ASSERT_TRUE(back.grid.has_value()) << back.error.toStdString();
    for (int n = 1; n <= d.size(); ++n) EXPECT_TRUE((*back.grid)[size_t(n)] == d.at(n)) << "square " << n;
}

TEST(Ipuz, TheFileHasTheLettersBlocksAndNumberedCluesOtherProgramsRead) {
    sim::Document d;
    evening::Compose(d);
    const QJsonObject o = QJsonDocument::fromJson(sim::ipuz::Write(d.squares())).object();
    EXPECT_EQ(o["version"].toString(), "http://ipuz.org/v2");
    EXPECT_EQ(o["kind"].toArray().first().toString(), "http://ipuz.org/crossword#1");
    EXPECT_EQ(o["dimensions"].toObject(), (QJsonObject{{"width", 15}, {"height", 15}}));
    const QJsonArray sol = o["solution"].toArray();
    ASSERT_EQ(sol.size(), 15);
    QStringList rows;
    for (int r = 0; r < 4; ++r) {
        QString s;
        for (const QJsonValue v : sol[r].toArray()) s += v.isNull() ? "." : v.toString();
        rows << s;
    }
    EXPECT_EQ(rows, QStringList({"#LARGE.........", "S...#..........", "E..#RUG........", "A.#AA.........."}));
    EXPECT_EQ(o["puzzle"].toArray()[0].toArray()[0].toObject()["cell"].toString(), "#");
    // Answers are numbered where they start, in reading order.
    QStringList clues;
    for (const char* way : {"Across", "Down"})
        for (const QJsonValue c : o["clues"].toObject()[way].toArray())
            clues
                << QString("%1 %2 %3").arg(c["number"].toInt()).arg(c["clue"].toString(), c["enumeration"].toString());
    EXPECT_EQ(clues, QStringList({"1 BIG 5", "3 CARPET 3", "4 EXIST 3", "2 OCEAN 3", "3 RODENT 3"}));
}

TEST(Ipuz, AGridOfAnotherProgramOpensWithItsLettersAndBlocksAndFieldsKept) {
    QJsonArray puzzle, solution;
    for (int r = 0; r < 15; ++r) {
        QJsonArray p, s;
        for (int c = 0; c < 15; ++c) {
            p.append(r == 0 && c == 0 ? QJsonValue("#") : QJsonValue(0));
            s.append(r == 0 && c > 0 && c < 4 ? QJsonValue(QString("CAT")[c - 1])
                     : r == 1 && c == 0       ? QJsonValue(QJsonObject{{"value", "Ø"}})
                                              : QJsonValue());
        }
        puzzle.append(p);
        solution.append(s);
    }
    const QJsonObject theirs{{"version", "http://ipuz.org/v1"},
                             {"kind", QJsonArray{"http://ipuz.org/crossword#1"}},
                             {"dimensions", QJsonObject{{"width", 15}, {"height", 15}}},
                             {"puzzle", puzzle},
                             {"solution", solution},
                             {"title", "Sunday"},
                             {"com.example:notes", QJsonObject{{"rating", QJsonArray{4, 5}}}},
                             {"saved", QJsonArray{}}};
    const sim::ipuz::Loaded loaded = sim::ipuz::Read(QJsonDocument(theirs).toJson());
    ASSERT_TRUE(loaded.grid.has_value()) << loaded.error.toStdString();
    const sim::Grid& g = *loaded.grid;
    EXPECT_EQ(g[2].caption + g[3].caption + g[4].caption + g[16].caption, "CATØ");
    EXPECT_TRUE(g[1].block && g[1].back == sim::kBlockColour);
    EXPECT_EQ(g[1].caption, "");
    // Their fields go along when the grid is written again; a player's
    // progress on the old grid does not.
    const QJsonObject again = QJsonDocument::fromJson(sim::ipuz::Write(g, loaded.kept)).object();
    EXPECT_EQ(again["title"].toString(), "Sunday");
    EXPECT_EQ(again["com.example:notes"].toObject()["rating"].toArray(), (QJsonArray{4, 5}));
    EXPECT_FALSE(again.contains("saved"));
}

}  // namespace
