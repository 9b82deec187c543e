// Grid files that are not what Velmora can open: each is refused with a
// message that names the file and what is wrong, and the grid stays as it
// was; a save that cannot be written says why.
#include "keeping.h"

using namespace keeping;

namespace {

// ---------------------------------------------------------------- bad files

// A small valid grid as JSON, for the bad files to start from.
QJsonObject goodJson() {
    sim::Grid g;
    g[1] = {"X", ui::rgb(255, 128, 0), true, "BIG", "", 3, 0, {}};
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

class BadFiles : public Keeping, public ::testing::WithParamInterface<BadFile> {};

TEST_P(BadFiles, AreRefusedByNameAndLeaveTheGridAsItWas) {
    compose();
    const sim::Grid before = f().Snapshot();
    const size_t steps = f().History().undoable();
    write("bad.ipuz", GetParam().make());
    open("bad.ipuz");
    expectGrid(before);
    EXPECT_EQ(f().History().undoable(), steps);
    const QString reason = QString::fromUtf8(GetParam().reason);
    ASSERT_EQ(boxes.calls().size(), 1u) << "refused without a question";
    EXPECT_TRUE(boxes.lastPrompt().startsWith("The grid in " + file("bad.ipuz") +
                                              " could not be opened, so the grid is as it was:\n"))
        << boxes.lastPrompt().toStdString();
    EXPECT_TRUE(boxes.lastPrompt().contains(reason)) << boxes.lastPrompt().toStdString();
    EXPECT_LT(boxes.lastPrompt().size(), 500) << "the file's text quoted whole";
    EXPECT_EQ(boxes.calls()[0].title, "Velmora");
    EXPECT_EQ(f().GridFile(), "");
}

INSTANTIATE_TEST_SUITE_P(Keeping, BadFiles, ::testing::ValuesIn(kBadFiles),
                         [](const auto& p) { return std::string(p.param.name); });

TEST_F(Keeping, FolderOrMissingFileIsRefusedAsUnreadable) {
    compose();
    const sim::Grid before = f().Snapshot();
    for (const QString& name : {QString("missing.ipuz"), QString(".")}) {
        boxes.clear();
        open(name);
        expectGrid(before);
        EXPECT_TRUE(boxes.lastPrompt().contains("it cannot be read (")) << boxes.lastPrompt().toStdString();
    }
}

TEST_F(Keeping, FailedSaveSaysWhyAndWhetherAFileWasThere) {
    compose();
    save("no such folder/grid.ipuz");
    ASSERT_EQ(boxes.calls().size(), 1u);
    EXPECT_TRUE(boxes.lastPrompt().startsWith("The grid could not be saved to " + file("no such folder/grid.ipuz") +
                                              ", and no file was made there:\n"))
        << boxes.lastPrompt().toStdString();
    EXPECT_EQ(f().GridFile(), "");

    // Numbers written out in full grow a file under the size limit past it:
    // saving it again would make a file that does not open.
    QByteArray big = bytes(with(goodJson(), "marks", "MARKS"));
    big.replace("\"MARKS\"", "[" + QByteArray(qsizetype(220000) * 4, 'x').replace("xxxx", "1e9,") + "1]");
    write("big.ipuz", big);
    boxes.answer(ui::Answer::Yes);
    open("big.ipuz");
    boxes.clear();
    save("big.ipuz");
    EXPECT_EQ(boxes.lastPrompt(), "The grid could not be saved to " + file("big.ipuz") +
                                      ", so that file is as it was:\nthe grid file would be larger than 1 MB, more "
                                      "than Velmora opens");
    QFile again(file("big.ipuz"));
    ASSERT_TRUE(again.open(QIODevice::ReadOnly));
    EXPECT_EQ(again.readAll(), big);
}

TEST_F(Keeping, CancelledDialogsDoNothing) {
    compose();
    const sim::Grid before = f().Snapshot();
    pick.clear();
    f().M_LagreRutenett_Click();
    f().M_AapneRutenett_Click();
    f().M_EksporterPdf_Click();
    f().M_SkrivUt_Click();
    expectGrid(before);
    EXPECT_TRUE(boxes.calls().empty());
    EXPECT_TRUE(QDir(QString::fromStdString(db.dir().string())).entryList({"*.ipuz", "*.pdf"}).isEmpty());
}

}  // namespace
