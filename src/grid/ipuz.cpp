// Reading and writing ipuz. Everything read from a file is checked before a
// grid is built from it: a refused file gives a reason and no grid, so the
// grid on screen is never half replaced.
#include "grid/ipuz.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QSaveFile>
#include <algorithm>
#include <cmath>
#include <set>

namespace sim::ipuz {

namespace {

const QString kVersion = QStringLiteral("http://ipuz.org/v2");
const QString kCrossword = QStringLiteral("http://ipuz.org/crossword");
// Velmora's own field of a square: everything the square holds.
const QString kSquareField = QStringLiteral("app.velmora:square");
// The fields Velmora writes, or that describe a grid and would be stale
// after it changed; every other field of a file read is written again.
const std::set<QString> kOwnFields{"version", "kind",  "dimensions", "puzzle", "solution", "clues", "block",
                                   "empty",   "saved", "checksum",   "answer", "answers",  "zones"};
// Deeper than this no ipuz file goes, whatever its extensions.
constexpr int kMaxDepth = 32;
constexpr int kMaxClueLength = 200;
constexpr int kMaxWriters = 2 * kSquares;

// A reason to refuse the file.
struct Refusal {
    QString why;
};

QString where(int n) {
    return QString("the square at row %1, column %2").arg((n - 1) / kColumns + 1).arg((n - 1) % kColumns + 1);
}

bool isClue(const Square& s) { return !s.ord1.isEmpty() || !s.ord2.isEmpty() || s.isMark(); }
bool isLetter(const Square& s) { return !s.caption.isEmpty() && !s.isMark(); }

bool isInteger(const QJsonValue& v, int lo, int hi) {
    if (!v.isDouble()) return false;
    // The range first: a number beyond any integer (1e999) is no count.
    const double d = v.toDouble();
    return d >= lo && d <= hi && d == std::floor(d);
}

bool printable(const QString& s) {
    for (char32_t c : s.toUcs4())
        if (!QChar::isPrint(c) || QChar::isSurrogate(c)) return false;
    return true;
}

int depth(const QJsonValue& v, int limit) {
    if (limit < 0) return 0;
    int d = 0;
    if (v.isArray())
        for (const QJsonValue& e : v.toArray()) d = std::max(d, depth(e, limit - 1));
    else if (v.isObject())
        for (const QJsonValue& e : v.toObject()) d = std::max(d, depth(e, limit - 1));
    else
        return 0;
    return d + 1;
}

// ---------------------------------------------------------------- writing

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
    return o;
}

}  // namespace

bool Showable(const QString& caption, bool bold) {
    if (caption.isEmpty()) return true;
    if (bold && (caption == "X" || caption == "Y" || caption == "XY")) return true;
    return caption.toUcs4().size() == 1 && printable(caption);
}

QByteArray Write(const Grid& g, const QJsonObject& kept) {
    // Answers start next to their clue square; the squares they start in are
    // numbered in reading order, as other puzzle programs number them.
    std::array<int, kSquares + 1> label{};
    for (int n = 1; n <= kSquares; ++n) {
        const Square& s = g[size_t(n)];
        for (bool across : {true, false}) {
            if ((across ? s.ord1 : s.ord2).isEmpty()) continue;
            const Answer a{int16_t(n), across};
            const int t = Target(a, 1);
            const int count = std::max<int>(1, across ? s.lengde1 : s.lengde2);
            if (!EdgeRefuses(a, t, 1, count) && !isClue(g[size_t(t)])) label[size_t(t)] = -1;
        }
    }
    for (int n = 1, next = 1; n <= kSquares; ++n)
        if (label[size_t(n)]) label[size_t(n)] = next++;

    QJsonArray puzzle, solution, across, down;
    for (int row = 0; row < kColumns; ++row) {
        QJsonArray prow, srow;
        for (int col = 1; col <= kColumns; ++col) {
            const int n = row * kColumns + col;
            const Square& s = g[size_t(n)];
            const QJsonValue cell = isClue(s) ? QJsonValue("#") : QJsonValue(label[size_t(n)]);
            const QJsonObject own = ownField(s);
            if (own.isEmpty()) {
                prow.append(cell);
            } else {
                QJsonObject o{{"cell", cell}, {kSquareField, own}};
                if (s.back) o["style"] = QJsonObject{{"color", s.back->name(QColor::HexRgb).mid(1).toUpper()}};
                prow.append(o);
            }
            srow.append(isClue(s) ? QJsonValue("#") : isLetter(s) ? QJsonValue(s.caption) : QJsonValue());
            for (bool ac : {true, false}) {
                const QString& word = ac ? s.ord1 : s.ord2;
                const int t = Target({int16_t(n), ac}, 1);
                if (word.isEmpty() || t < 1 || t > kSquares || label[size_t(t)] <= 0) continue;
                QJsonObject clue{{"number", label[size_t(t)]}, {"clue", word}};
                const int16_t count = ac ? s.lengde1 : s.lengde2;
                if (count > 0) clue["enumeration"] = QString::number(count);
                (ac ? across : down).append(clue);
            }
        }
        puzzle.append(prow);
        solution.append(srow);
    }

    QJsonObject o;
    for (auto it = kept.begin(); it != kept.end(); ++it)
        if (!kOwnFields.count(it.key())) o[it.key()] = it.value();
    o["version"] = kVersion;
    o["kind"] = QJsonArray{"http://ipuz.org/crossword#1"};
    o["dimensions"] = QJsonObject{{"width", kColumns}, {"height", kSquares / kColumns}};
    o["puzzle"] = puzzle;
    o["solution"] = solution;
    o["clues"] = QJsonObject{{"Across", across}, {"Down", down}};
    return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

// ---------------------------------------------------------------- reading

namespace {

QJsonArray grid15(const QJsonValue& v, const QString& name) {
    const QString wrong = QString("its \"%1\" is not 15 rows of 15 squares").arg(name);
    if (!v.isArray() || v.toArray().size() != kColumns) throw Refusal{wrong};
    for (const QJsonValue& row : v.toArray())
        if (!row.isArray() || row.toArray().size() != kColumns) throw Refusal{wrong};
    return v.toArray();
}

QJsonValue at(const QJsonArray& rows, int n) { return rows[(n - 1) / kColumns].toArray()[(n - 1) % kColumns]; }

std::optional<QColor> colourOf(const QString& hex) {
    static const QRegularExpression re("^#?[0-9A-Fa-f]{6}$");
    if (!re.match(hex).hasMatch()) return std::nullopt;
    return QColor::fromString(hex.startsWith('#') ? hex : "#" + hex);
}

// A square from Velmora's own field, checked field by field.
Square fromOwnField(const QJsonValue& v, int n) {
    const auto wrong = [n](const QString& what) {
        return Refusal{QString("%1 is not as Velmora writes it (%2)").arg(where(n), what)};
    };
    if (!v.isObject()) throw wrong("its data is not an object");
    const QJsonObject o = v.toObject();
    Square s;
    if (o.contains("caption")) {
        if (!o["caption"].isString()) throw wrong("the caption is not text");
        s.caption = o["caption"].toString();
    }
    if (o.contains("color")) {
        const std::optional<QColor> c = o["color"].isString() ? colourOf(o["color"].toString()) : std::nullopt;
        if (!c || !o["color"].toString().startsWith('#')) throw wrong("the colour is not #RRGGBB");
        s.back = c;
    }
    if (o.contains("bold")) {
        if (!o["bold"].isBool()) throw wrong("bold is not true or false");
        s.bold = o["bold"].toBool();
    }
    for (bool across : {true, false}) {
        const QString key = across ? "across" : "down";
        if (!o.contains(key)) continue;
        const QJsonObject c = o[key].toObject();
        if (!o[key].isObject() || !c["clue"].isString() || !isInteger(c["count"], 0, kColumns - 1))
            throw wrong(QString("the %1 clue is not a clue word and a letter count from 0 to 14").arg(key));
        const QString word = c["clue"].toString();
        if (word.size() > kMaxClueLength || !printable(word))
            throw wrong(QString("the %1 clue word holds characters a clue cannot have").arg(key));
        (across ? s.ord1 : s.ord2) = word;
        (across ? s.lengde1 : s.lengde2) = int16_t(c["count"].toInt());
    }
    if (o.contains("writers")) {
        const QJsonArray w = o["writers"].toArray();
        if (!o["writers"].isArray() || w.size() > kMaxWriters) throw wrong("the answers that wrote it are not a list");
        for (const QJsonValue& e : w) {
            const QJsonArray a = e.toArray();
            if (!e.isArray() || a.size() != 2 || !isInteger(a[0], 0, kSquares) ||
                (a[1] != QJsonValue("across") && a[1] != QJsonValue("down")))
                throw wrong("an answer that wrote it is not a clue square and across or down");
            s.writers.push_back({int16_t(a[0].toInt()), a[1] == QJsonValue("across")});
        }
    }
    if (o.contains("picked")) {
        const QJsonArray p = o["picked"].toArray();
        if (!o["picked"].isArray() || p.size() > 2) throw wrong("the picked answers are not a list");
        for (const QJsonValue& e : p) {
            if (e != QJsonValue("across") && e != QJsonValue("down"))
                throw wrong("a picked answer is not across or down");
            (e == QJsonValue("across") ? s.picked1 : s.picked2) = true;
        }
    }
    if (o.contains("unfilled")) {
        if (!o["unfilled"].isBool()) throw wrong("unfilled is not true or false");
        s.flagged = o["unfilled"].toBool();
    }
    if (!Showable(s.caption, s.bold))
        throw Refusal{QString("%1 shows \"%2\", which a square cannot show").arg(where(n), s.caption)};
    return s;
}

Grid build(const QJsonObject& top) {
    const QJsonValue version = top["version"];
    if (!version.isString() || !version.toString().startsWith("http://ipuz.org/v"))
        throw Refusal{"it is not an ipuz puzzle (it has no ipuz \"version\")"};
    bool crossword = false;
    if (!top["kind"].isArray()) throw Refusal{"its \"kind\" is not a list of puzzle kinds"};
    for (const QJsonValue& k : top["kind"].toArray()) crossword |= k.isString() && k.toString().startsWith(kCrossword);
    if (!crossword) throw Refusal{"it is an ipuz puzzle, but not a crossword"};

    const QJsonValue dims = top["dimensions"];
    const QJsonObject d = dims.toObject();
    if (!dims.isObject() || !isInteger(d["width"], 0, 1 << 30) || !isInteger(d["height"], 0, 1 << 30))
        throw Refusal{"its \"dimensions\" are not a width and a height"};
    if (d["width"].toInt() != kColumns || d["height"].toInt() != kSquares / kColumns)
        throw Refusal{
            QString("its grid is %1 by %2 squares, not 15 by 15").arg(d["width"].toInt()).arg(d["height"].toInt())};

    const QJsonValue block = top.contains("block") ? top["block"] : QJsonValue("#");
    if (!block.isString()) throw Refusal{"its \"block\" is not text"};
    const QJsonArray puzzle = grid15(top["puzzle"], "puzzle");
    const bool hasSolution = top.contains("solution") && !top["solution"].isNull();
    const QJsonArray solution = hasSolution ? grid15(top["solution"], "solution") : QJsonArray();

    Grid g;
    for (int n = 1; n <= kSquares; ++n) {
        const QJsonValue cell = at(puzzle, n);
        QJsonValue mark = cell;
        QJsonObject style;
        if (cell.isObject()) {
            const QJsonObject o = cell.toObject();
            if (o.contains(kSquareField)) {
                g[size_t(n)] = fromOwnField(o[kSquareField], n);
                continue;
            }
            mark = o["cell"];
            style = o["style"].toObject();
        }
        if (!mark.isDouble() && !mark.isString() && !mark.isNull() && !mark.isUndefined())
            throw Refusal{QString("its \"puzzle\" holds something other than a square at %1").arg(where(n))};

        // A square of another program: its letter, its colour, and blocks
        // shown dark, for they carry no clue words.
        Square& s = g[size_t(n)];
        if (const QJsonValue c = style["color"]; c.isString()) s.back = colourOf(c.toString());
        if (mark == block) {
            s.back = QColor(64, 64, 64);
            continue;
        }
        if (!hasSolution) continue;
        QJsonValue v = at(solution, n);
        if (v.isObject()) v = v.toObject()["value"];
        if (v.isNull() || v.isUndefined() || v == block) continue;
        if (!v.isString())
            throw Refusal{QString("its \"solution\" holds something other than a letter at %1").arg(where(n))};
        if (!Showable(v.toString(), false))
            throw Refusal{QString("%1 holds \"%2\", which a square cannot show").arg(where(n), v.toString())};
        s.caption = v.toString();
    }
    return g;
}

}  // namespace

Loaded Read(const QByteArray& json) {
    Loaded out;
    try {
        if (json.size() > kMaxFileSize) throw Refusal{"it is larger than 1 MB"};
        QJsonParseError pe;
        const QJsonDocument doc = QJsonDocument::fromJson(json, &pe);
        if (pe.error == QJsonParseError::DeepNesting) throw Refusal{"it is nested too deeply"};
        if (pe.error != QJsonParseError::NoError)
            throw Refusal{QString("it is not JSON (%1 at byte %2)").arg(pe.errorString()).arg(pe.offset)};
        if (!doc.isObject()) throw Refusal{"it is not an ipuz puzzle (it is not a JSON object)"};
        const QJsonObject top = doc.object();
        if (depth(top, kMaxDepth + 1) > kMaxDepth) throw Refusal{"it is nested too deeply"};
        out.grid = build(top);
        for (auto it = top.begin(); it != top.end(); ++it)
            if (!kOwnFields.count(it.key())) out.kept[it.key()] = it.value();
    } catch (const Refusal& r) {
        out.grid.reset();
        out.kept = {};
        out.error = r.why;
    }
    return out;
}

Loaded ReadFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {std::nullopt, {}, QString("it cannot be read (%1)").arg(f.errorString())};
    // Read one byte beyond the limit, so that a file that grows or a device
    // without a size is caught too.
    const QByteArray data = f.read(kMaxFileSize + 1);
    if (data.size() > kMaxFileSize) return {std::nullopt, {}, "it is larger than 1 MB"};
    if (f.error() != QFileDevice::NoError)
        return {std::nullopt, {}, QString("it cannot be read (%1)").arg(f.errorString())};
    return Read(data);
}

bool WriteFile(const QString& path, const Grid& g, const QJsonObject& kept, QString* error) {
    QSaveFile f(path);
    const QByteArray data = Write(g, kept);
    if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size() || !f.commit()) {
        if (error) *error = f.errorString();
        return false;
    }
    return true;
}

}  // namespace sim::ipuz
