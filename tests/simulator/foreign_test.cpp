// A crossword of another program, opened and saved again: everything it
// held comes back, and its blocks are walls to Velmora's answers.
#include <QJsonArray>

#include "simulator.h"

namespace {

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
            s.append(blocked(r, c) ? QJsonValue("#") : QJsonValue(QString(QChar('A' + (r * 7 + c * 3) % 26))));
        }
        puzzle.append(p);
        solution.append(s);
    }
    QJsonArray first = puzzle[0].toArray();
    first[0] = QJsonObject{{"cell", 1}, {"style", "circled"}};
    first[5] = QJsonObject{{"cell", first[5]}, {"style", QJsonObject{{"color", "ffcc00"}, {"shapebg", "circle"}}}};
    puzzle[0] = first;
    return {{"version", "http://ipuz.org/v2"},
            {"kind", QJsonArray{"http://ipuz.org/crossword#1"}},
            {"dimensions", QJsonObject{{"width", 15}, {"height", 15}}},
            {"title", "Tuesday"},
            {"author", "A. Setter"},
            {"copyright", "2026"},
            {"styles", QJsonObject{{"circled", QJsonObject{{"shapebg", "circle"}}}}},
            {"block", "#"},
            {"empty", 0},
            {"showenumerations", false},
            {"puzzle", puzzle},
            {"solution", solution},
            {"clues", QJsonObject{{"Across", across}, {"Down", down}}}};
}

TEST_F(Sim, CrosswordOfAnotherProgramIsSavedAsItWasOpened) {
    const QJsonObject theirs = crossword();
    write("theirs.ipuz", QJsonDocument(theirs).toJson());
    open("theirs.ipuz");
    save("ours.ipuz");
    ASSERT_TRUE(boxes.calls().empty()) << boxes.lastPrompt().toStdString();
    const QJsonObject ours = json("ours.ipuz");
    EXPECT_EQ(ours.keys(), theirs.keys());
    for (const QString& key : theirs.keys())
        EXPECT_TRUE(ours[key] == theirs[key])
            << key.toStdString() << ": " << QJsonDocument(QJsonObject{{key, ours[key]}}).toJson().toStdString();

    // Square 49 (row 4, column 4) is a block: dark, and a wall to answers
    // across and down, even where they may write over letters.
    EXPECT_TRUE(doc().at(49).block);
    EXPECT_EQ(firstMisshown(), 0);
    EXPECT_FALSE(f().X(49).IsButtonFace());
    f().fyll_velmora1("ABCD", 4, 46, true);
    f().fyll_velmora2("ABCD", 4, 4, true);
    EXPECT_EQ(boxes.prompts(), QStringList({"Conflict across!", "Conflict vertically!"}));
    EXPECT_EQ(f().X(48).Caption() + f().X(34).Caption(), "BB");
    EXPECT_TRUE(doc().at(49).block);
    EXPECT_EQ(f().X(49).Caption(), "");
}

}  // namespace
