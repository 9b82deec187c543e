// Keeping a grid, through the simulator window: saved as ipuz and opened
// again square for square, the keys and the right-click menu, the PDF and
// the print pages read back with pdftotext, and the command-line export.
#include <QAbstractButton>
#include <QContextMenuEvent>
#include <QMenu>
#include <QProcess>
#include <QRegularExpression>

#include "keeping.h"

using namespace keeping;

namespace {

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
        for (const QJsonValue v : sol[r].toArray()) s += v.isNull() ? "." : v.toString();
        return s;
    };
    EXPECT_EQ(row(0).toStdString(), "#LARGE.........");
    EXPECT_EQ(row(1).toStdString(), "S...#..........");
    EXPECT_EQ(row(2).toStdString(), "E..#RUG........");
    EXPECT_EQ(row(3).toStdString(), "A.#AA..........");
    EXPECT_EQ(o["puzzle"].toArray()[0].toArray()[0].toObject()["cell"].toString(), "#");
    // Answers are numbered where they start, in reading order: 2, 16, 35, 49.
    QStringList across, down;
    for (const QJsonValue c : o["clues"].toObject()["Across"].toArray())
        across << QString("%1 %2 %3").arg(c["number"].toInt()).arg(c["clue"].toString(), c["enumeration"].toString());
    for (const QJsonValue c : o["clues"].toObject()["Down"].toArray())
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
    solution[1] = QJsonArray{QJsonObject{{"value", "Ø"}},
                             QJsonValue(),
                             QJsonValue(),
                             QJsonValue(),
                             QJsonValue(),
                             QJsonValue(),
                             QJsonValue(),
                             QJsonValue(),
                             QJsonValue(),
                             QJsonValue(),
                             QJsonValue(),
                             QJsonValue(),
                             QJsonValue(),
                             QJsonValue(),
                             QJsonValue()};
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

TEST_F(Keeping, AFileAtTheSizeLimitOpensAgainOnceSaved) {
    compose();
    // Many short entries, which a file laid out line by line would spread
    // far past the limit.
    QJsonObject o = QJsonDocument::fromJson(sim::ipuz::Write(f().Snapshot())).object();
    o["com.example:marks"] = QJsonArray::fromVariantList(QVariantList(200000, 7));
    o["pad"] = "";
    const qsizetype size = QJsonDocument(o).toJson(QJsonDocument::Compact).size();
    o["pad"] = QString(sim::ipuz::kMaxFileSize - size, 'x');
    write("full.ipuz", QJsonDocument(o).toJson(QJsonDocument::Compact));
    ASSERT_EQ(QFileInfo(file("full.ipuz")).size(), sim::ipuz::kMaxFileSize);
    boxes.answer(ui::Answer::Yes);
    open("full.ipuz");
    save("again.ipuz");
    f().M_TomRutenett_Click();
    open("again.ipuz");
    EXPECT_TRUE(boxes.calls().size() == 1 && boxes.prompts()[0].startsWith("Do you really"))
        << boxes.lastPrompt().toStdString();
    EXPECT_EQ(json("again.ipuz")["pad"], o["pad"]);
}

// ---------------------------------------------------------------- keys

TEST_F(Keeping, CtrlKeysOpenTheirDialogs) {
    struct Case {
        Qt::Key key;
        QString caption;  // of the file dialog; "" for the print dialog
    };
    int printed = 0;
    ui::setPrintDialogHandler([&](QPrinter&) {
        ++printed;
        return false;
    });
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
        if (w.square && g[size_t(w.square)].ord1.isEmpty() && g[size_t(w.square)].ord2.isEmpty())
            letters[w.square] += w.text;
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
