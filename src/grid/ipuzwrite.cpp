// Writing ipuz: each square's cell as another program reads it (a block,
// a number, a style, a letter in "solution"), Velmora's own field only where
// that would not give the square back, and Velmora's clues among the file's
// own. Compact, so that a file read whole is written within the size read.
#include <QJsonDocument>
#include <QSaveFile>
#include <algorithm>
#include <vector>

#include "grid/ipuz.h"
#include "grid/ipuzcells.h"

namespace sim::ipuz {

using namespace cells;

namespace {

const QString kVersion = QStringLiteral("http://ipuz.org/v2");

QJsonObject clueOf(const QString& word, int16_t count) { return {{"clue", word}, {"count", count}}; }

QJsonObject ownField(const Square& s) {
    QJsonObject o;
    if (!s.caption.isEmpty()) o["caption"] = s.caption;
    if (s.back) o["color"] = s.back->name(QColor::HexRgb).toUpper();
    if (s.bold) o["bold"] = true;
    if (!s.ord1.isEmpty() || s.lengde1 != 0) o["across"] = clueOf(s.ord1, s.lengde1);
    if (!s.ord2.isEmpty() || s.lengde2 != 0) o["down"] = clueOf(s.ord2, s.lengde2);
    if (!s.writers.empty()) {
        QJsonArray w;
        for (const Answer& a : s.writers) w.append(QJsonArray{a.clue, a.across ? "across" : "down"});
        o["writers"] = w;
    }
    // The answers the user picked from a candidate list, which a fill keeps,
    // and the frame of an answer the last fill left empty.
    if (s.picked1 || s.picked2) {
        QJsonArray p;
        if (s.picked1) p.append("across");
        if (s.picked2) p.append("down");
        o["picked"] = p;
    }
    if (s.flagged) o["unfilled"] = true;
    if (s.block) o["block"] = true;
    return o;
}

// Whether reading the cell and letter as another program wrote them gives
// the square back whole.
bool plainEnough(const Geometry& geometry, const Square& s, int n, const QJsonObject& cell, const QJsonValue& letter,
                 const QJsonValue& block) {
    try {
        Square p = plainSquare(geometry, n, cell["cell"] == block, cell["style"].toObject(), letter, block);
        p.theirs = s.theirs;
        return p == s;
    } catch (const Refusal&) {
        return false;
    }
}

// Puts a clue into its list before the first of a higher number.
void insertClue(QJsonArray& list, const QJsonObject& clue) {
    const double number = clue["number"].toDouble();
    qsizetype at = list.size();
    for (qsizetype i = 0; i < list.size(); ++i)
        if (const QJsonValue other = clueNumber(list[i]); other.isDouble() && other.toDouble() > number) {
            at = i;
            break;
        }
    list.insert(at, clue);
}

}  // namespace

QByteArray Write(const Grid& g, const QJsonObject& kept) {
    const QJsonValue block = kept["block"].isString() ? kept["block"] : QJsonValue("#");
    const QJsonValue empty = kept.contains("empty") ? kept["empty"] : QJsonValue(0);

    // Numbers: another program's stay on their squares; the squares where
    // Velmora's answers start are numbered after them (and after those of
    // squares that became clue squares, whose clues go), in reading order.
    const Geometry& geometry = g.geometry();
    std::vector<QJsonValue> label(g.size());
    double next = 1;
    for (int n = 1; n <= g.count(); ++n) {
        const Square& s = g[size_t(n)];
        const QJsonValue theirs = s.theirs.value("cell");
        if (theirs.isDouble() && theirs.toDouble() < 1e9) next = std::max(next, theirs.toDouble() + 1);
        if (!isClue(s) && !s.block) label[size_t(n)] = theirs.isUndefined() ? QJsonValue() : theirs;
    }
    std::vector<bool> starts(g.size(), false);
    for (int n = 1; n <= g.count(); ++n)
        for (bool across : {true, false}) starts[size_t(opening(g, {int16_t(n), across}))] = true;
    for (int n = 1; n <= g.count(); ++n)
        if (starts[size_t(n)] && label[size_t(n)].isNull()) label[size_t(n)] = next++;
    std::set<QString> numbered;
    for (const auto& l : label)
        if (!l.isNull()) numbered.insert(labelKey(l));

    QJsonArray puzzle, solution, across, down;
    for (int row = 1; row <= geometry.rows; ++row) {
        QJsonArray prow, srow;
        for (int col = 1; col <= geometry.columns; ++col) {
            const int n = geometry.Number(row, col);
            const Square& s = g[size_t(n)];
            const bool wall = isClue(s) || s.block;
            const QJsonValue mark = wall ? block : !label[size_t(n)].isNull() ? label[size_t(n)] : empty;
            const QJsonValue letter = wall ? block : isLetter(s) ? QJsonValue(s.caption) : QJsonValue();
            QJsonObject cell = s.theirs;
            cell["cell"] = mark;
            if (!s.block && colourOf(cell.value("style").toObject().value("color").toString()) != s.back) {
                QJsonObject style = cell.value("style").toObject();
                if (s.back)
                    style["color"] = styleColour(*s.back);
                else
                    style.remove("color");
                cell["style"] = style;
                if (style.isEmpty()) cell.remove("style");
            }
            if (!plainEnough(geometry, s, n, cell, letter, block)) cell[kSquareField] = ownField(s);
            prow.append(cell.size() == 1 ? mark : QJsonValue(cell));
            srow.append(letter);
            for (bool ac : {true, false}) {
                const int t = opening(g, {int16_t(n), ac});
                if (!t) continue;
                QJsonObject clue{{"number", label[size_t(t)]}, {"clue", ac ? s.ord1 : s.ord2}};
                const int16_t count = ac ? s.lengde1 : s.lengde2;
                if (count > 0) clue["enumeration"] = QString::number(count);
                (ac ? across : down).append(clue);
            }
        }
        puzzle.append(prow);
        solution.append(srow);
    }

    // The file's own clues, but those whose numbered square is gone, and
    // Velmora's among them by number.
    QJsonObject clues = kept["clues"].toObject();
    for (auto it = clues.begin(); it != clues.end(); ++it) {
        if (!it->isArray()) continue;
        QJsonArray list;
        for (const auto& c : it->toArray())
            if (const QJsonValue number = clueNumber(c);
                !isLabel(number, block, empty) || numbered.count(labelKey(number)))
                list.append(c);
        *it = list;
    }
    for (const auto& [key, ours] : {std::pair{QString("Across"), across}, std::pair{QString("Down"), down}}) {
        // A list the file does not have is added only for clues of Velmora's.
        if (ours.isEmpty() && kept["clues"].isObject() && !clues.contains(key)) continue;
        QJsonArray list = clues.value(key).toArray();
        for (const auto& c : ours) insertClue(list, c.toObject());
        clues[key] = list;
    }

    QJsonObject o;
    for (auto it = kept.begin(); it != kept.end(); ++it)
        if (!kOwnFields.count(it.key())) o[it.key()] = it.value();
    o["version"] = kVersion;
    o["kind"] = QJsonArray{"http://ipuz.org/crossword#1"};
    o["dimensions"] = QJsonObject{{"width", geometry.columns}, {"height", geometry.rows}};
    o["puzzle"] = puzzle;
    o["solution"] = solution;
    o["clues"] = clues;
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

bool WriteFile(const QString& path, const Grid& g, const QJsonObject& kept, QString* error) {
    const QByteArray data = Write(g, kept);
    // What is written must open again.
    if (data.size() > kMaxFileSize) {
        if (error) *error = "the grid file would be larger than 1 MB, more than Velmora opens";
        return false;
    }
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size() || !f.commit()) {
        if (error) *error = f.errorString();
        return false;
    }
    return true;
}

}  // namespace sim::ipuz
