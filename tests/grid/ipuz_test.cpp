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
QByteArray with(const QString& key, const QJsonValue& v) {
    QJsonObject o = goodJson();
    o[key] = v;
    return bytes(o);
}
// o with square n's value in "puzzle" (or "solution") replaced.
QJsonObject withCell(QJsonObject o, const QString& field, int n, const QJsonValue& v) {
    QJsonArray rows = o[field].toArray();
    QJsonArray row = rows[(n - 1) / 15].toArray();
    row[(n - 1) % 15] = v;
    rows[(n - 1) / 15] = row;
    o[field] = rows;
    return o;
}
QByteArray cell(const QString& field, int n, const QJsonValue& v) { return bytes(withCell(goodJson(), field, n, v)); }
QByteArray own(const QJsonValue& v) { return cell("puzzle", 2, QJsonObject{{"cell", 0}, {"app.velmora:square", v}}); }
QByteArray nested(int depth) {
    QByteArray b = bytes(goodJson());
    b.chop(2);  // the closing brace
    return b + ", \"deep\": " + QByteArray(depth, '[') + QByteArray(depth, ']') + "}";
}
// The rows of a file's "solution", "." for an empty square.
QStringList solution(const QJsonObject& o) {
    QStringList rows;
    for (const QJsonValue row : o["solution"].toArray()) {
        QString s;
        for (const QJsonValue v : row.toArray()) s += v.isNull() ? "." : v.toString();
        rows << s;
    }
    return rows;
}
QJsonObject dims(const QJsonValue& width, const QJsonValue& height) { return {{"width", width}, {"height", height}}; }
QJsonObject clue(const QJsonValue& count) { return {{"clue", "BIG"}, {"count", count}}; }

TEST(Ipuz, BadFilesAreRefusedWithWhatIsWrong) {
    QByteArray binary;
    for (int i = 0; i < 4096; ++i) binary.append(char(i * 37 % 256));
    const std::pair<QByteArray, const char*> cases[] = {
        {bytes(goodJson()).left(200), "it is not JSON ("},
        {binary, "it is not JSON ("},
        {"a grid, honestly\n", "it is not JSON ("},
        {"", "it is not JSON ("},
        {with("notes", QString(qsizetype(1100) * 1024, 'a')), "it is larger than 1 MB"},
        {nested(40), "it is nested too deeply"},
        {nested(100000), "it is nested too deeply"},
        {"[1, 2, 3]", "it is not an ipuz puzzle"},
        {with("version", QJsonValue::Undefined), "it is not an ipuz puzzle"},
        {with("version", "http://example.com/v2"), "it is not an ipuz puzzle"},
        {with("kind", QJsonArray{"http://ipuz.org/sudoku#1"}), "it is an ipuz puzzle, but not a crossword"},
        {with("kind", "http://ipuz.org/crossword#1"), "its \"kind\" is not a list"},
        {with("dimensions", dims(13, 13)), "its grid is 13 by 13 squares, not 15 by 15"},
        {with("dimensions", dims("15", 15)), "its \"dimensions\" are not a width and a height"},
        {with("puzzle", QJsonArray{goodJson()["puzzle"][0]}), "its \"puzzle\" is not 15 rows of 15 squares"},
        {with("solution", "LARGE"), "its \"solution\" is not 15 rows of 15 squares"},
        {cell("puzzle", 20, true),
         "its \"puzzle\" holds something other than a square at the square at row 2, column 5"},
        {cell("solution", 20, 7),
         "its \"solution\" holds something other than a letter at the square at row 2, column 5"},
        {cell("solution", 20, "AB"), "the square at row 2, column 5 holds \"AB\", which a square cannot show"},
        {cell("solution", 20, "\x07"), "which a square cannot show"},
        {cell("solution", 20, "\x1b]0;owned\x07" + QString(500000, 'A')), R"(holds "\x1B]0;owned\x07AAAA)"},
        {own(QJsonObject{{"caption", 7}}), "the caption is not text"},
        {own(QJsonObject{{"caption", "HOUSE"}}),
         "the square at row 1, column 2 shows \"HOUSE\", which a square cannot show"},
        {own(QJsonObject{{"caption", "XY"}}), "which a square cannot show"},  // a clue mark not bold
        {own(QJsonObject{{"across", clue("3")}}), "the across clue is not a clue word and a letter count from 0 to 14"},
        {own(QJsonObject{{"down", clue(15)}}), "the down clue is not a clue word and a letter count"},
        {own(QJsonObject{{"across", clue(12345)}}).replace("12345", "1e300"), "the across clue is not a clue word"},
        {own(QJsonObject{{"color", "orange"}}), "the colour is not #RRGGBB"},
        {own(QJsonObject{{"caption", "H"}, {"writers", QJsonArray{QJsonArray{226, "across"}}}}),
         "an answer that wrote it is not a clue square"},
        {own(QJsonArray{1}), "its data is not an object"},
    };
    for (const auto& [file, reason] : cases) {
        // Refused, and the file's text never quoted whole.
        const sim::ipuz::Loaded loaded = sim::ipuz::Read(file);
        EXPECT_TRUE(!loaded.grid && loaded.error.contains(QString::fromUtf8(reason)) && loaded.error.size() < 400)
            << reason << ": " << loaded.error.toStdString();
    }
}

// A saved grid reads back square for square, and its file has the letters,
// blocks and numbered clues that other programs read.
TEST(Ipuz, ASavedGridReadsBackSquareForSquareAndOtherProgramsReadIt) {
    const sim::Grid g = evening::Kept();
    const QByteArray file = sim::ipuz::Write(g);
    const sim::ipuz::Loaded back = sim::ipuz::Read(file);
    ASSERT_TRUE(back.grid.has_value()) << back.error.toStdString();
    for (int n = 1; n <= g.count(); ++n) EXPECT_TRUE((*back.grid)[size_t(n)] == g[size_t(n)]) << "square " << n;
    const QJsonObject o = QJsonDocument::fromJson(file).object();
    EXPECT_EQ(o["version"].toString() + " " + o["kind"].toArray().first().toString(),
              "http://ipuz.org/v2 http://ipuz.org/crossword#1");
    EXPECT_EQ(solution(o).mid(0, 4),
              QStringList({"#LARGE.........", "S...#..........", "E..#RUG........", "A.#AA.........."}));
    EXPECT_EQ(o["puzzle"].toArray()[0].toArray()[0].toObject()["cell"].toString(), "#");
    // Answers are numbered where they start, in reading order.
    QStringList clues;
    for (const char* way : {"Across", "Down"})
        for (const QJsonValue c : o["clues"].toObject()[way].toArray())
            clues
                << QString("%1 %2 %3").arg(c["number"].toInt()).arg(c["clue"].toString(), c["enumeration"].toString());
    EXPECT_EQ(clues, QStringList({"1 BIG 5", "3 CARPET 3", "4 EXIST 3", "2 OCEAN 3", "3 RODENT 3"}));
}

// 7 rows by 11 columns: an answer along the last row and one down the last
// column meet in the last square. The file is 11 wide and 7 high, and opens
// only as a grid of that size.
TEST(Ipuz, AGridOfAnotherSizeReadsBackAtThatSizeOnly) {
    const sim::Geometry size{7, 11};
    sim::Document d(size);
    evening::Clue(d, 67, "ROW", 10, "", 0);
    evening::Clue(d, 11, "", 0, "COLUMN", 6);
    ASSERT_TRUE(d.Write("ABCDEFGHIJ", 10, 67, false, true) && d.Write("KLMNOJ", 6, 11, false, false));
    const QByteArray file = sim::ipuz::Write(d.squares());
    const QJsonObject o = QJsonDocument::fromJson(file).object();
    EXPECT_EQ(o["dimensions"].toObject(), (QJsonObject{{"width", 11}, {"height", 7}}));
    EXPECT_EQ(solution(o), QStringList({"..........#", "..........K", "..........L", "..........M", "..........N",
                                        "..........O", "#ABCDEFGHIJ"}));
    const sim::ipuz::Loaded back = sim::ipuz::Read(file, size);
    EXPECT_TRUE(back.grid == d.squares()) << back.error.toStdString();
    EXPECT_EQ(sim::ipuz::Read(file).error, "its grid is 11 by 7 squares, not 15 by 15");
    EXPECT_EQ(sim::ipuz::Read(file, {11, 7}).error, "its grid is 11 by 7 squares, not 7 by 11");
}

// A 15 by 15 crossword as puzzle programs write it: blocks, numbers where
// answers start, letters, clues of both shapes, styles and fields of its own.
QJsonObject crossword() {
    const auto blocked = [](int r, int c) {
        return r >= 0 && r < 15 && c >= 0 && c < 15 && ((r % 4 == 3 && c % 4 == 3) || (r == 7 && c == 7));
    };
    QJsonArray puzzle, solution, across, down;
    int number = 0;
    for (int r = 0; r < 15; ++r) {
        QJsonArray p, s;
        for (int c = 0; c < 15; ++c) {
            const bool a = !blocked(r, c) && (c == 0 || blocked(r, c - 1)) && c < 14 && !blocked(r, c + 1);
            const bool d = !blocked(r, c) && (r == 0 || blocked(r - 1, c)) && r < 14 && !blocked(r + 1, c);
            if (a || d) ++number;
            if (a) across.append(QJsonArray{number, QString("Across %1").arg(number)});
            if (d) down.append(QJsonObject{{"number", number}, {"clue", QString("Down %1").arg(number)}});
            p.append(blocked(r, c) ? QJsonValue("#") : QJsonValue(a || d ? number : 0));
            const QString letter =
                r == 1 && c == 0 ? QString::fromUtf8("Ø") : QString(QChar('A' + (r * 7 + c * 3) % 26));
            s.append(blocked(r, c) ? QJsonValue("#") : QJsonValue(letter));
        }
        puzzle.append(p);
        solution.append(s);
    }
    const QJsonObject o{{"version", "http://ipuz.org/v2"},
                        {"kind", QJsonArray{"http://ipuz.org/crossword#1"}},
                        {"dimensions", QJsonObject{{"width", 15}, {"height", 15}}},
                        {"com.example:notes", QJsonObject{{"rating", QJsonArray{4, 5}}}},
                        {"styles", QJsonObject{{"circled", QJsonObject{{"shapebg", "circle"}}}}},
                        {"block", "#"},
                        {"empty", 0},
                        {"puzzle", puzzle},
                        {"solution", solution},
                        {"clues", QJsonObject{{"Across", across}, {"Down", down}}}};
    const QJsonObject circled = withCell(o, "puzzle", 1, QJsonObject{{"cell", 1}, {"style", "circled"}});
    const QJsonObject yellow{{"color", "ffcc00"}, {"shapebg", "circle"}};
    return withCell(circled, "puzzle", 6, QJsonObject{{"cell", puzzle[0][5]}, {"style", yellow}});
}

TEST(Ipuz, ACrosswordOfAnotherProgramOpensWithItsLettersAndBlocksAndIsWrittenAsItWas) {
    const QJsonObject theirs = crossword();
    // A letter as a value object, and a player's progress, stale once the grid changes.
    QJsonObject read = withCell(theirs, "solution", 16, QJsonObject{{"value", QString::fromUtf8("Ø")}});
    read["saved"] = QJsonArray{};
    const sim::ipuz::Loaded loaded = sim::ipuz::Read(QJsonDocument(read).toJson());
    ASSERT_TRUE(loaded.grid.has_value()) << loaded.error.toStdString();
    const sim::Grid& g = *loaded.grid;
    EXPECT_EQ(g[1].caption + g[2].caption + g[16].caption, QString::fromUtf8("ADØ"));
    EXPECT_TRUE(g[49].block && g[49].back == sim::kBlockColour && g[49].caption.isEmpty());
    EXPECT_EQ(g[6].back, QColor(0xff, 0xcc, 0x00));
    const QJsonObject again = QJsonDocument::fromJson(sim::ipuz::Write(g, loaded.kept)).object();
    EXPECT_EQ(QJsonDocument(again).toJson().toStdString(), QJsonDocument(theirs).toJson().toStdString());
}

// What is written opens again: a file at the size limit is written within
// it; a grid whose file would grow past it is not written, and a file
// already there stays as it was; a file that cannot be read or made is not.
TEST(Ipuz, WhatIsWrittenStaysWithinTheSizeThatOpensAndAFileNotThereIsNotRead) {
    QTemporaryDir dir;
    QJsonObject o = goodJson();
    o["com.example:marks"] = QJsonArray::fromVariantList(QVariantList(200000, 7));
    o["pad"] = "";
    o["pad"] = QString(sim::ipuz::kMaxFileSize - QJsonDocument(o).toJson(QJsonDocument::Compact).size(), 'x');
    const QByteArray full = QJsonDocument(o).toJson(QJsonDocument::Compact);
    ASSERT_EQ(full.size(), sim::ipuz::kMaxFileSize);
    const sim::ipuz::Loaded loaded = sim::ipuz::Read(full);
    ASSERT_TRUE(loaded.grid.has_value()) << loaded.error.toStdString();
    EXPECT_LE(sim::ipuz::Write(*loaded.grid, loaded.kept).size(), sim::ipuz::kMaxFileSize);

    // Numbers written out in full grow a file under the limit past it.
    o["com.example:marks"] = "MARKS";
    o["pad"] = "";
    QByteArray text = QJsonDocument(o).toJson(QJsonDocument::Compact);
    text.replace("\"MARKS\"", "[" + QByteArray(qsizetype(220000) * 4, 'x').replace("xxxx", "1e9,") + "1]");
    const sim::ipuz::Loaded big = sim::ipuz::Read(text);
    ASSERT_TRUE(big.grid.has_value()) << big.error.toStdString();
    const QString path = dir.filePath("big.ipuz");
    QString error;
    ASSERT_TRUE(sim::ipuz::WriteFile(path, sim::Grid{}, {}, &error));
    EXPECT_FALSE(sim::ipuz::WriteFile(path, *big.grid, big.kept, &error));
    EXPECT_EQ(error, "the grid file would be larger than 1 MB, more than Velmora opens");
    EXPECT_EQ(sim::ipuz::ReadFile(path).grid, sim::Grid{});
    // A folder or a missing file cannot be read; a file in no folder not written.
    for (const QString& unread : {dir.filePath("missing.ipuz"), dir.path()})
        EXPECT_TRUE(sim::ipuz::ReadFile(unread).error.contains("it cannot be read (")) << unread.toStdString();
    error.clear();
    EXPECT_TRUE(!sim::ipuz::WriteFile(dir.filePath("no such folder/grid.ipuz"), sim::Grid{}, {}, &error) &&
                !error.isEmpty());
}

}  // namespace
