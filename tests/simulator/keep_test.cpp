// Keeping a grid, through the simulator window: saved as ipuz and opened
// again square for square, bad files refused with the grid untouched, the
// PDF and the print pages read back with pdftotext, and the command-line
// export.
#include <QComboBox>
#include <QContextMenuEvent>
#include <QMenu>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

#include "shared/M.h"
#include "simulator/F_Egenskaper.h"
#include "simulator/F_Ruter.h"
#include "simulator/gridprint.h"
#include "simulator/ipuz.h"
#include "support.h"
#include "ui/dialogs.h"

using namespace testing_support;

namespace {

QString describe(const sim::Square& s) {
    QString w;
    for (const sim::Answer& a : s.writers) w += QString(" %1%2").arg(a.clue).arg(a.across ? "a" : "d");
    return QString("[%1|%2|%3|%4/%5|%6/%7|%8]")
        .arg(s.caption, s.back ? s.back->name() : "face", s.bold ? "bold" : "")
        .arg(s.ord1)
        .arg(s.lengde1)
        .arg(s.ord2)
        .arg(s.lengde2)
        .arg(w);
}

// One word as pdftotext reads it, with the square of the grid it lies in
// (0 outside the grid).
struct Word {
    QString text;
    int square;
};

// The words of each page of a PDF, placed on the grid as the pages draw it.
std::vector<std::vector<Word>> pdfWords(const QString& pdf) {
    QProcess p;
    p.start("pdftotext", {"-bbox", pdf, "-"});
    EXPECT_TRUE(p.waitForFinished(30000));
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    std::vector<std::vector<Word>> pages;
    static const QRegularExpression re(
        R"re(<page width="([\d.]+)" height="([\d.]+)">|<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    QRectF grid;
    for (auto it = re.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (!m.captured(1).isEmpty()) {
            const double margin = sim::print::kMarginMm / 25.4 * 72;
            const double w = m.captured(1).toDouble(), h = m.captured(2).toDouble();
            grid = sim::print::GridRect(QRectF(margin, margin, w - 2 * margin, h - 2 * margin));
            pages.emplace_back();
            continue;
        }
        const QPointF c((m.captured(3).toDouble() + m.captured(5).toDouble()) / 2,
                        (m.captured(4).toDouble() + m.captured(6).toDouble()) / 2);
        const double side = grid.width() / 15;
        int n = 0;
        if (grid.contains(c)) n = int((c.y() - grid.top()) / side) * 15 + int((c.x() - grid.left()) / side) + 1;
        pages.back().push_back({m.captured(7), n});
    }
    return pages;
}

class Keeping : public ::testing::Test {
protected:
    void SetUp() override {
        // The remembered folder goes to a settings file of the tests' own.
        QStandardPaths::setTestModeEnabled(true);
        F_Ruter::setGridFolder(QString());
        for (int n = 1; n <= M::kSquares; ++n) M::InitialiseSquare(n);
        M::AktivRute = 999;
        ui::setFileDialogHandler([this](const ui::FileDialogCall& c) {
            dialogs.push_back(c);
            return pick;
        });
        ui::setPrintDialogHandler([this](QPrinter& printer) {
            if (printTo.isEmpty()) return false;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(printTo);
            return true;
        });
        f().Show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&f()));
    }
    void TearDown() override {
        ui::setFileDialogHandler(nullptr);
        ui::setPrintDialogHandler(nullptr);
        M::ResetAll();
        processEvents();
    }
    ::F_Ruter& f() { return M::F_Ruter(); }
    QString file(const QString& name) { return QDir::toNativeSeparators(QString::fromStdString((db.dir() / name.toStdString()).string())); }
    void write(const QString& name, const QByteArray& bytes) {
        QFile out(file(name));
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
    }
    void setSquare(int n, const QString& across, int k1, const QString& down, int k2) {
        modal.then([&, across, down, k1, k2](ui::Form&) {
            ::F_Egenskaper& d = M::F_Egenskaper();
            d.T_Ord1.setText(across);
            d.T_Ord2.setText(down);
            d.C_Ant1.combo()->setCurrentIndex(k1);
            emit d.C_Ant1.combo()->activated(k1);
            d.C_Ant2.combo()->setCurrentIndex(k2);
            emit d.C_Ant2.combo()->activated(k2);
            QTest::mouseClick(d.K_LukkVindu.button(), Qt::LeftButton);
        });
        QTest::mouseClick(f().X(n).button(), Qt::LeftButton);
    }
    // An evening's grid: square 1 asks for LARGE across and SEA down; RAT
    // down from 20 and RUG across from 34 share the R in square 35; ARE
    // across from 48 clashes with the A of RAT in square 50 and stops; square
    // 100 has a colour of its own, and square 101 was a clue square cleared
    // in clear mode, which leaves it bold.
    void compose() {
        setSquare(1, "big", 5, "ocean", 3);
        f().fyll_velmora1("LARGE", 5, 1, false);
        f().fyll_velmora2("SEA", 3, 1, false);
        setSquare(20, "", 0, "rodent", 3);
        f().fyll_velmora2("RAT", 3, 20, false);
        setSquare(34, "carpet", 3, "", 0);
        f().fyll_velmora1("RUG", 3, 34, false);
        setSquare(48, "exist", 3, "", 0);
        f().fyll_velmora1("ARE", 3, 48, false);
        f().X(100).setBackColor(ui::rgb(0, 160, 0));
        setSquare(101, "gone", 2, "", 0);
        f().c_clear.setValue(true);
        QTest::mouseClick(f().X(101).button(), Qt::LeftButton);
        f().c_clear.setValue(false);
        ASSERT_EQ(boxes.prompts(), QStringList{"Conflict across!"});
        boxes.clear();
        const sim::Grid g = f().Snapshot();
        ASSERT_EQ(g[35].writers.size(), 2u);
        ASSERT_EQ(g[49].caption, "A");
        ASSERT_EQ(g[51].caption, "");
        ASSERT_TRUE(g[101].bold && g[101].caption.isEmpty());
    }
    // Every square equal, each difference named.
    void expectGrid(const sim::Grid& want) {
        const sim::Grid got = f().Snapshot();
        for (int n = 1; n <= M::kSquares; ++n)
            EXPECT_TRUE(got[size_t(n)] == want[size_t(n)])
                << "square " << n << ": " << describe(got[size_t(n)]).toStdString() << " instead of "
                << describe(want[size_t(n)]).toStdString();
    }
    void save(const QString& name) {
        pick = file(name);
        f().M_LagreRutenett_Click();
    }
    void open(const QString& name) {
        pick = file(name);
        f().M_AapneRutenett_Click();
    }
    QJsonObject json(const QString& name) {
        QFile in(file(name));
        EXPECT_TRUE(in.open(QIODevice::ReadOnly));
        return QJsonDocument::fromJson(in.readAll()).object();
    }

    TempDb db;
    MsgBoxes boxes;
    ModalDriver modal;
    std::vector<ui::FileDialogCall> dialogs;
    QString pick;
    QString printTo;
};

TEST_F(Keeping, SavedGridOpensAgainSquareForSquareAsOneUndoableStep) {
    compose();
    const sim::Grid before = f().Snapshot();
    save("evening.ipuz");
    ASSERT_TRUE(boxes.calls().empty()) << boxes.lastPrompt().toStdString();
    ASSERT_TRUE(QFile::exists(file("evening.ipuz")));

    f().M_TomRutenett_Click();
    ASSERT_TRUE(f().Snapshot() == sim::Grid{});
    const size_t steps = f().History().undoable();
    open("evening.ipuz");
    EXPECT_TRUE(boxes.calls().empty()) << "an empty grid is replaced without a question";
    expectGrid(before);

    EXPECT_EQ(f().History().undoable(), steps + 1);
    f().Angre();
    EXPECT_TRUE(f().Snapshot() == sim::Grid{});
    f().Gjenta();
    expectGrid(before);

    // The open dialog started in the folder of the save.
    ASSERT_EQ(dialogs.size(), 2u);
    EXPECT_EQ(dialogs[0].kind, ui::FileDialogKind::Save);
    EXPECT_EQ(dialogs[1].kind, ui::FileDialogKind::Open);
    EXPECT_EQ(QDir(dialogs[1].folder), QDir(QString::fromStdString(db.dir().string())));
    EXPECT_EQ(QDir(F_Ruter::GridFolder()), QDir(QString::fromStdString(db.dir().string())));
}

TEST_F(Keeping, SavedFileIsIpuzThatOtherProgramsRead) {
    compose();
    save("evening.ipuz");
    const QJsonObject o = json("evening.ipuz");
    EXPECT_EQ(o["version"].toString(), "http://ipuz.org/v2");
    EXPECT_EQ(o["kind"].toArray().first().toString(), "http://ipuz.org/crossword#1");
    EXPECT_EQ(o["dimensions"].toObject(), (QJsonObject{{"width", 15}, {"height", 15}}));
    const QJsonArray sol = o["solution"].toArray();
    ASSERT_EQ(sol.size(), 15);
    // A row of the solution, "." for no letter.
    const auto row = [&](int r) {
        QString s;
        for (const QJsonValue& v : sol[r].toArray()) s += v.isNull() ? "." : v.toString();
        return s;
    };
    EXPECT_EQ(row(0).toStdString(), "#LARGE.........");
    EXPECT_EQ(row(1).toStdString(), "S...#..........");
    EXPECT_EQ(row(2).toStdString(), "E..#RUG........");
    EXPECT_EQ(row(3).toStdString(), "A.#AA..........");
    EXPECT_EQ(o["puzzle"].toArray()[0].toArray()[0].toObject()["cell"].toString(), "#");
    // Answers are numbered where they start, in reading order: 2, 16, 35, 49.
    QStringList across, down;
    for (const QJsonValue& c : o["clues"].toObject()["Across"].toArray())
        across << QString("%1 %2 %3").arg(c["number"].toInt()).arg(c["clue"].toString(), c["enumeration"].toString());
    for (const QJsonValue& c : o["clues"].toObject()["Down"].toArray())
        down << QString("%1 %2 %3").arg(c["number"].toInt()).arg(c["clue"].toString(), c["enumeration"].toString());
    EXPECT_EQ(across, QStringList({"1 BIG 5", "3 CARPET 3", "4 EXIST 3"}));
    EXPECT_EQ(down, QStringList({"2 OCEAN 3", "3 RODENT 3"}));
}

TEST_F(Keeping, OpeningOverAGridAsksFirstAndNoKeepsIt) {
    compose();
    const sim::Grid saved = f().Snapshot();
    save("a.ipuz");
    f().fyll_velmora1("LARGO", 5, 1, true);
    const sim::Grid changed = f().Snapshot();

    boxes.answer(ui::Answer::No);
    open("a.ipuz");
    ASSERT_EQ(boxes.calls().size(), 1u);
    EXPECT_EQ(boxes.lastPrompt(), "Do you really want to replace this grid with the one in " + file("a.ipuz") + "?");
    EXPECT_EQ(boxes.calls()[0].buttons, ui::Buttons::YesNo);
    expectGrid(changed);

    boxes.answer(ui::Answer::Yes);
    open("a.ipuz");
    expectGrid(saved);
}

TEST_F(Keeping, FieldsOfOtherProgramsSurviveOpenAndSave) {
    compose();
    QJsonObject o = QJsonDocument::fromJson(sim::ipuz::Write(f().Snapshot())).object();
    o["title"] = "Sunday";
    o["author"] = "Kari";
    o["com.example:notes"] = QJsonObject{{"rating", QJsonArray{4, 5}}};
    o["saved"] = QJsonArray{};  // a player's progress on the old grid: stale once saved again
    write("theirs.ipuz", QJsonDocument(o).toJson());
    f().M_TomRutenett_Click();
    open("theirs.ipuz");
    save("ours.ipuz");
    const QJsonObject again = json("ours.ipuz");
    EXPECT_EQ(again["title"].toString(), "Sunday");
    EXPECT_EQ(again["author"].toString(), "Kari");
    EXPECT_EQ(again["com.example:notes"].toObject()["rating"].toArray(), (QJsonArray{4, 5}));
    EXPECT_FALSE(again.contains("saved"));
}

TEST_F(Keeping, GridOfAnotherProgramOpensWithItsLettersAndBlocks) {
    QJsonArray puzzle, solution;
    for (int r = 0; r < 15; ++r) {
        QJsonArray p, s;
        for (int c = 0; c < 15; ++c) {
            p.append(r == 0 && c == 0 ? QJsonValue("#") : QJsonValue(0));
            s.append(r == 0 && c > 0 && c < 4 ? QJsonValue(QString("CAT")[c - 1]) : QJsonValue());
        }
        puzzle.append(p);
        solution.append(s);
    }
    solution[1] = QJsonArray{QJsonObject{{"value", "Ø"}}, QJsonValue(), QJsonValue(), QJsonValue(), QJsonValue(),
                             QJsonValue(), QJsonValue(), QJsonValue(), QJsonValue(), QJsonValue(),
                             QJsonValue(), QJsonValue(), QJsonValue(), QJsonValue(), QJsonValue()};
    write("other.ipuz", QJsonDocument(QJsonObject{{"version", "http://ipuz.org/v1"},
                                                  {"kind", QJsonArray{"http://ipuz.org/crossword#1"}},
                                                  {"dimensions", QJsonObject{{"width", 15}, {"height", 15}}},
                                                  {"puzzle", puzzle},
                                                  {"solution", solution}})
                            .toJson());
    open("other.ipuz");
    ASSERT_TRUE(boxes.calls().empty()) << boxes.lastPrompt().toStdString();
    EXPECT_EQ(f().X(2).Caption() + f().X(3).Caption() + f().X(4).Caption(), "CAT");
    EXPECT_EQ(f().X(16).Caption(), "Ø");
    EXPECT_FALSE(f().X(1).IsButtonFace());
    EXPECT_EQ(f().X(1).Caption(), "");
}

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
    {"truncated", [] { QByteArray b = bytes(goodJson()); return b.left(b.size() / 2); }, "it is not JSON ("},
    {"binary", [] { QByteArray b; for (int i = 0; i < 4096; ++i) b.append(char(i * 37 % 256)); return b; },
     "it is not JSON ("},
    {"plain_text", [] { return QByteArray("a grid, honestly\n"); }, "it is not JSON ("},
    {"empty", [] { return QByteArray(); }, "it is not JSON ("},
    {"huge", [] { return bytes(with(goodJson(), "notes", QString(1100 * 1024, 'a'))); }, "it is larger than 1 MB"},
    {"nested_deeper_than_ipuz_goes", [] { return nested(40); }, "it is nested too deeply"},
    {"nested_deeper_than_json_reads", [] { return nested(100000); }, "it is nested too deeply"},
    {"json_array", [] { return QByteArray("[1, 2, 3]"); }, "it is not an ipuz puzzle"},
    {"no_version", [] { QJsonObject o = goodJson(); o.remove("version"); return bytes(o); }, "it is not an ipuz puzzle"},
    {"version_not_ipuz", [] { return bytes(with(goodJson(), "version", "http://example.com/v2")); },
     "it is not an ipuz puzzle"},
    {"sudoku", [] { return bytes(with(goodJson(), "kind", QJsonArray{"http://ipuz.org/sudoku#1"})); },
     "it is an ipuz puzzle, but not a crossword"},
    {"kind_not_a_list", [] { return bytes(with(goodJson(), "kind", "http://ipuz.org/crossword#1")); },
     "its \"kind\" is not a list"},
    {"thirteen_by_thirteen",
     [] { return bytes(with(goodJson(), "dimensions", QJsonObject{{"width", 13}, {"height", 13}})); },
     "its grid is 13 by 13 squares, not 15 by 15"},
    {"width_as_text",
     [] { return bytes(with(goodJson(), "dimensions", QJsonObject{{"width", "15"}, {"height", 15}})); },
     "its \"dimensions\" are not a width and a height"},
    {"fourteen_rows",
     [] { QJsonObject o = goodJson(); QJsonArray p = o["puzzle"].toArray(); p.removeLast(); o["puzzle"] = p; return bytes(o); },
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
    {"caption_a_number", [] { return bytes(withOwn({{"caption", 7}})); }, "the caption is not text"},
    {"caption_a_word", [] { return bytes(withOwn({{"caption", "HOUSE"}})); },
     "the square at row 1, column 2 shows \"HOUSE\", which a square cannot show"},
    {"clue_mark_not_bold", [] { return bytes(withOwn({{"caption", "XY"}})); }, "which a square cannot show"},
    {"count_as_text", [] { return bytes(withOwn({{"across", QJsonObject{{"clue", "BIG"}, {"count", "3"}}}})); },
     "the across clue is not a clue word and a letter count from 0 to 14"},
    {"count_too_large", [] { return bytes(withOwn({{"down", QJsonObject{{"clue", "BIG"}, {"count", 40}}}})); },
     "the down clue is not a clue word and a letter count"},
    {"count_beyond_any_number",
     [] { QByteArray b = bytes(withOwn({{"across", QJsonObject{{"clue", "BIG"}, {"count", 12345}}}})); return b.replace("12345", "1e300"); },
     "the across clue is not a clue word and a letter count"},
    {"colour_a_name", [] { return bytes(withOwn({{"color", "orange"}})); }, "the colour is not #RRGGBB"},
    {"writer_off_the_grid", [] { return bytes(withOwn({{"caption", "H"}, {"writers", QJsonArray{QJsonArray{300, "across"}}}})); },
     "an answer that wrote it is not a clue square"},
    {"own_field_a_list",
     [] { return bytes(withCell("puzzle", 2, QJsonObject{{"cell", 0}, {"app.velmora:square", QJsonArray{1}}})); },
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
    EXPECT_EQ(boxes.calls()[0].title, "Velmora");
    EXPECT_EQ(f().GridFile(), "");
}

INSTANTIATE_TEST_SUITE_P(Keeping, BadFiles, ::testing::ValuesIn(kBadFiles),
                         [](const auto& info) { return std::string(info.param.name); });

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

TEST_F(Keeping, FailedSaveSaysWhy) {
    compose();
    save("no such folder/grid.ipuz");
    ASSERT_EQ(boxes.calls().size(), 1u);
    EXPECT_TRUE(boxes.lastPrompt().startsWith("The grid could not be saved to " + file("no such folder/grid.ipuz") +
                                              ", so that file is as it was:\n"))
        << boxes.lastPrompt().toStdString();
    EXPECT_EQ(f().GridFile(), "");
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

// ---------------------------------------------------------------- keys

TEST_F(Keeping, CtrlKeysOpenTheirDialogs) {
    struct Case {
        Qt::Key key;
        QString caption;  // of the file dialog; "" for the print dialog
    };
    int printed = 0;
    ui::setPrintDialogHandler([&](QPrinter&) { ++printed; return false; });
    for (const Case& c : {Case{Qt::Key_S, "Save grid as"}, Case{Qt::Key_O, "Open grid"},
                          Case{Qt::Key_E, "Export as PDF"}, Case{Qt::Key_P, ""}}) {
        dialogs.clear();
        QTest::keyClick(&f(), c.key, Qt::ControlModifier);
        processEvents();
        if (c.caption.isEmpty()) {
            EXPECT_EQ(printed, 1);
            EXPECT_TRUE(dialogs.empty());
        } else {
            ASSERT_EQ(dialogs.size(), 1u) << c.caption.toStdString();
            EXPECT_EQ(dialogs[0].caption, c.caption);
        }
    }
}

TEST_F(Keeping, RightClickMenuOffersTheFourEntries) {
    for (const QString& entry : QStringList{"Save grid as", "Open grid", "Export as PDF"}) {
        dialogs.clear();
        QAbstractButton* b = f().X(7).button();
        QContextMenuEvent e(QContextMenuEvent::Mouse, QPoint(5, 5), b->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(b, &e);
        QMenu* m = f().M_Rutenett;
        ASSERT_TRUE(m->isVisible());
        for (QAction* a : m->actions())
            if (a->text() == entry + "\u2026") QTest::mouseClick(m, Qt::LeftButton, {}, m->actionGeometry(a).center());
        processEvents();
        ASSERT_EQ(dialogs.size(), 1u) << entry.toStdString();
        EXPECT_EQ(dialogs[0].caption, entry);
    }
    EXPECT_EQ(f().M_SkrivUt->text(), "Print\u2026");
    EXPECT_EQ(f().M_SkrivUt->shortcut(), QKeySequence("Ctrl+P"));
}

// ---------------------------------------------------------------- paper

// The first page shows the clue words in their clue squares and no answer
// letter; the second shows every letter in its own square.
void expectPages(const QString& pdf, const sim::Grid& g) {
    const auto pages = pdfWords(pdf);
    ASSERT_EQ(pages.size(), 2u);
    QStringList clues;
    for (const Word& w : pages[0]) {
        if (w.square == 0) continue;
        const sim::Square& s = g[size_t(w.square)];
        EXPECT_TRUE(!s.ord1.isEmpty() || !s.ord2.isEmpty())
            << w.text.toStdString() << " printed in square " << w.square << ", which is no clue square";
        clues << QString("%1:%2").arg(w.square).arg(w.text);
    }
    EXPECT_EQ(clues, QStringList({"1:BIG", "1:OCEAN", "20:RODENT", "34:CARPET", "48:EXIST"}));

    std::map<int, QString> letters;
    for (const Word& w : pages[1])
        if (w.square && g[size_t(w.square)].ord1.isEmpty() && g[size_t(w.square)].ord2.isEmpty()) letters[w.square] += w.text;
    std::map<int, QString> want;
    for (int n = 1; n <= 225; ++n)
        if (!g[size_t(n)].caption.isEmpty() && !g[size_t(n)].isMark()) want[n] = g[size_t(n)].caption;
    EXPECT_EQ(letters, want);
}

TEST_F(Keeping, PdfHasThePuzzleThenTheSolution) {
    compose();
    pick = file("evening.pdf");
    f().M_EksporterPdf_Click();
    ASSERT_TRUE(boxes.calls().empty()) << boxes.lastPrompt().toStdString();
    expectPages(file("evening.pdf"), f().Snapshot());
}

TEST_F(Keeping, PrintGoesThroughThePrintDialog) {
    compose();
    printTo = file("printed.pdf");
    f().M_SkrivUt_Click();
    ASSERT_TRUE(boxes.calls().empty()) << boxes.lastPrompt().toStdString();
    expectPages(printTo, f().Snapshot());
}

TEST_F(Keeping, CommandLineWritesThePdfWithoutAWindow) {
    compose();
    save("evening.ipuz");
    write("bad.ipuz", "{\"version\": ");
    const QString velmora = QString(VELMORA_BINARY_DIR) + "/app/velmora";
    QProcess p;
    p.setProcessChannelMode(QProcess::SeparateChannels);
    p.start(velmora, {"--pdf", file("evening.ipuz"), file("batch.pdf")});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    expectPages(file("batch.pdf"), f().Snapshot());

    p.start(velmora, {"--pdf", file("bad.ipuz"), file("bad.pdf")});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_NE(p.exitCode(), 0);
    const QString err = QString::fromUtf8(p.readAllStandardError());
    EXPECT_TRUE(err.contains(file("bad.ipuz")) && err.contains("it is not JSON")) << err.toStdString();
    EXPECT_FALSE(QFile::exists(file("bad.pdf")));

    p.start(velmora, {"--pdf", file("evening.ipuz")});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_NE(p.exitCode(), 0);
    EXPECT_TRUE(QString::fromUtf8(p.readAllStandardError()).contains("Usage: velmora --pdf GRID.ipuz OUT.pdf"));
}

}  // namespace
