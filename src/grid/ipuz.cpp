// Reading ipuz. Everything read from a file is checked before a grid is
// built from it: a refused file gives a reason and no grid, so the grid on
// screen is never half replaced.
#include "grid/ipuz.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <set>

#include "grid/ipuzcells.h"
#include "store/shown.h"

namespace sim::ipuz {

namespace {

using namespace cells;

const QString kCrossword = QStringLiteral("http://ipuz.org/crossword");
// Deeper than this no ipuz file goes, whatever its extensions.
constexpr int kMaxDepth = 32;
constexpr int kMaxClueLength = 200;

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
        for (const auto& e : v.toArray()) d = std::max(d, depth(e, limit - 1));
    else if (v.isObject())
        for (const auto& e : v.toObject()) d = std::max(d, depth(e, limit - 1));
    else
        return 0;
    return d + 1;
}

}  // namespace

// ---------------------------------------------------------------- cells

namespace cells {

QString where(const Geometry& geometry, int n) {
    return QString("the square at row %1, column %2").arg(geometry.RowOf(n)).arg(geometry.ColumnOf(n));
}

QString quoted(const QString& text) { return QString::fromStdString(store::Shown(text.toStdString())); }

bool isLabel(const QJsonValue& v, const QJsonValue& block, const QJsonValue& empty) {
    if (v == block || v == empty) return false;
    return (v.isDouble() && v.toDouble() > 0) || (v.isString() && !v.toString().isEmpty());
}

QString labelKey(const QJsonValue& v) { return v.isDouble() ? QString::number(v.toDouble(), 'g', 17) : v.toString(); }

QJsonValue clueNumber(const QJsonValue& clue) {
    return clue.isArray() ? clue.toArray().first() : clue.isObject() ? clue.toObject()["number"] : QJsonValue();
}

std::optional<QColor> colourOf(const QString& hex) {
    static const QRegularExpression re("^#?[0-9A-Fa-f]{6}$");
    if (!re.match(hex).hasMatch()) return std::nullopt;
    return QColor::fromString(hex.startsWith('#') ? hex : "#" + hex);
}

QString styleColour(const QColor& c) { return c.name(QColor::HexRgb).mid(1).toUpper(); }

Square plainSquare(const Geometry& geometry, int n, bool isBlock, const QJsonObject& style, QJsonValue solution,
                   const QJsonValue& block) {
    Square s;
    if (isBlock) {
        s.block = true;
        s.back = kBlockColour;
        return s;
    }
    if (const QJsonValue c = style["color"]; c.isString()) s.back = colourOf(c.toString());
    if (solution.isObject()) solution = solution.toObject()["value"];
    if (solution.isNull() || solution.isUndefined() || solution == block) return s;
    if (!solution.isString())
        throw Refusal{QString("its \"solution\" holds something other than a letter at %1").arg(where(geometry, n))};
    if (!Showable(solution.toString(), false))
        throw Refusal{QString("%1 holds \"%2\", which a square cannot show")
                          .arg(where(geometry, n), quoted(solution.toString()))};
    s.caption = solution.toString();
    return s;
}

int opening(const Grid& g, const Answer& a) {
    const Square& s = g[size_t(a.clue)];
    if ((a.across ? s.ord1 : s.ord2).isEmpty()) return 0;
    const int t = Target(g, a, 1);
    const int count = std::max<int>(1, a.across ? s.lengde1 : s.lengde2);
    return WallRefuses(g, a, t, 1, count) || isClue(g[size_t(t)]) ? 0 : t;
}

}  // namespace cells

bool Showable(const QString& caption, bool bold) {
    if (caption.isEmpty()) return true;
    if (bold && (caption == "X" || caption == "Y" || caption == "XY")) return true;
    return caption.toUcs4().size() == 1 && printable(caption);
}

// ---------------------------------------------------------------- reading

namespace {

QJsonArray rowsOf(const QJsonValue& v, const QString& name, const Geometry& geometry) {
    const QString wrong =
        QString("its \"%1\" is not %2 rows of %3 squares").arg(name).arg(geometry.rows).arg(geometry.columns);
    if (!v.isArray() || v.toArray().size() != geometry.rows) throw Refusal{wrong};
    for (const auto& row : v.toArray())
        if (!row.isArray() || row.toArray().size() != geometry.columns) throw Refusal{wrong};
    return v.toArray();
}

QJsonValue at(const QJsonArray& rows, const Geometry& geometry, int n) {
    return rows[geometry.RowOf(n) - 1].toArray()[geometry.ColumnOf(n) - 1];
}

// A square from Velmora's own field, checked field by field.
Square fromOwnField(const QJsonValue& v, const Geometry& geometry, int n) {
    const auto wrong = [&](const QString& what) {
        return Refusal{QString("%1 is not as Velmora writes it (%2)").arg(where(geometry, n), what)};
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
        if (!o[key].isObject() || !c["clue"].isString() || !isInteger(c["count"], 0, geometry.longest()))
            throw wrong(QString("the %1 clue is not a clue word and a letter count from 0 to %2")
                            .arg(key)
                            .arg(geometry.longest()));
        const QString word = c["clue"].toString();
        if (word.size() > kMaxClueLength || !printable(word))
            throw wrong(QString("the %1 clue word holds characters a clue cannot have").arg(key));
        (across ? s.ord1 : s.ord2) = word;
        (across ? s.lengde1 : s.lengde2) = int16_t(c["count"].toInt());
    }
    if (o.contains("writers")) {
        const QJsonArray w = o["writers"].toArray();
        // No more than every answer of the grid.
        if (!o["writers"].isArray() || w.size() > 2 * qsizetype(geometry.size()))
            throw wrong("the answers that wrote it are not a list");
        for (const auto& e : w) {
            const QJsonArray a = e.toArray();
            if (!e.isArray() || a.size() != 2 || !isInteger(a[0], 0, geometry.size()) ||
                (a[1] != QJsonValue("across") && a[1] != QJsonValue("down")))
                throw wrong("an answer that wrote it is not a clue square and across or down");
            s.writers.push_back({int16_t(a[0].toInt()), a[1] == QJsonValue("across")});
        }
    }
    if (o.contains("picked")) {
        const QJsonArray p = o["picked"].toArray();
        if (!o["picked"].isArray() || p.size() > 2) throw wrong("the picked answers are not a list");
        for (const auto& e : p) {
            if (e != QJsonValue("across") && e != QJsonValue("down"))
                throw wrong("a picked answer is not across or down");
            (e == QJsonValue("across") ? s.picked1 : s.picked2) = true;
        }
    }
    if (o.contains("unfilled")) {
        if (!o["unfilled"].isBool()) throw wrong("unfilled is not true or false");
        s.flagged = o["unfilled"].toBool();
    }
    if (o.contains("block")) {
        if (!o["block"].isBool() || (o["block"].toBool() && !s.caption.isEmpty()))
            throw wrong("block is not true or false, or the block holds a letter");
        s.block = o["block"].toBool();
        if (s.block) s.back = kBlockColour;
    }
    if (!Showable(s.caption, s.bold))
        throw Refusal{
            QString("%1 shows \"%2\", which a square cannot show").arg(where(geometry, n), quoted(s.caption))};
    return s;
}

// The grid, and in `clues` the clues of the file that Velmora did not make.
Grid build(const QJsonObject& top, QJsonObject& clues, const Geometry& geometry) {
    const QJsonValue version = top["version"];
    if (!version.isString() || !version.toString().startsWith("http://ipuz.org/v"))
        throw Refusal{"it is not an ipuz puzzle (it has no ipuz \"version\")"};
    bool crossword = false;
    if (!top["kind"].isArray()) throw Refusal{"its \"kind\" is not a list of puzzle kinds"};
    for (const auto& k : top["kind"].toArray()) crossword |= k.isString() && k.toString().startsWith(kCrossword);
    if (!crossword) throw Refusal{"it is an ipuz puzzle, but not a crossword"};

    const QJsonValue dims = top["dimensions"];
    const QJsonObject d = dims.toObject();
    if (!dims.isObject() || !isInteger(d["width"], 0, 1 << 30) || !isInteger(d["height"], 0, 1 << 30))
        throw Refusal{"its \"dimensions\" are not a width and a height"};
    if (d["width"].toInt() != geometry.columns || d["height"].toInt() != geometry.rows)
        throw Refusal{QString("its grid is %1 by %2 squares, not %3 by %4")
                          .arg(d["width"].toInt())
                          .arg(d["height"].toInt())
                          .arg(geometry.columns)
                          .arg(geometry.rows)};

    const QJsonValue block = top.contains("block") ? top["block"] : QJsonValue("#");
    if (!block.isString()) throw Refusal{"its \"block\" is not text"};
    const QJsonArray puzzle = rowsOf(top["puzzle"], "puzzle", geometry);
    const bool hasSolution = top.contains("solution") && !top["solution"].isNull();
    const QJsonArray solution = hasSolution ? rowsOf(top["solution"], "solution", geometry) : QJsonArray();

    const QJsonValue empty = top.contains("empty") ? top["empty"] : QJsonValue(0);
    Grid g(geometry);
    for (int n = 1; n <= g.count(); ++n) {
        const QJsonValue cell = at(puzzle, geometry, n);
        QJsonObject theirs = cell.toObject();
        const QJsonValue mark = cell.isObject() ? theirs.value("cell") : cell;
        if (!mark.isDouble() && !mark.isString() && !mark.isNull() && !mark.isUndefined())
            throw Refusal{QString("its \"puzzle\" holds something other than a square at %1").arg(where(geometry, n))};
        const QJsonValue own = theirs.take(kSquareField);
        Square& s = g[size_t(n)];
        s = own.isUndefined() ? plainSquare(geometry, n, mark == block, theirs.value("style").toObject(),
                                            hasSolution ? at(solution, geometry, n) : QJsonValue(), block)
                              : fromOwnField(own, geometry, n);
        // The rest of the cell is the other program's: its number, its
        // style but for the colour the square shows, anything else.
        theirs.remove("cell");
        if (isLabel(mark, block, empty)) theirs["cell"] = mark;
        QJsonObject style = theirs.value("style").toObject();
        if (!s.block && s.back && style.value("color") == styleColour(*s.back)) {
            style.remove("color");
            if (style.isEmpty())
                theirs.remove("style");
            else
                theirs["style"] = style;
        }
        s.theirs = theirs;
    }

    // The clues Velmora made of its own answers are made anew when the grid
    // is saved; the numbers of their squares with them, unless another
    // clue refers to one.
    clues = top["clues"].toObject();
    std::set<QString> referred;
    for (int n = 1; n <= g.count(); ++n)
        for (bool across : {true, false}) {
            const int t = opening(g, {int16_t(n), across});
            if (!t) continue;
            const QString word = across ? g[size_t(n)].ord1 : g[size_t(n)].ord2;
            const QString key = across ? "Across" : "Down";
            QJsonArray list = clues.value(key).toArray();
            for (qsizetype i = 0; i < list.size(); ++i)
                if (list[i].isObject() && list[i].toObject()["clue"] == word &&
                    labelKey(clueNumber(list[i])) == labelKey(g[size_t(t)].theirs.value("cell"))) {
                    list.removeAt(i);
                    clues[key] = list;
                    break;
                }
        }
    for (const auto& list : clues)
        for (const auto& clue : list.toArray()) referred.insert(labelKey(clueNumber(clue)));
    for (int n = 1; n <= g.count(); ++n)
        for (bool across : {true, false})
            if (const int t = opening(g, {int16_t(n), across});
                t && !referred.count(labelKey(g[size_t(t)].theirs.value("cell"))))
                g[size_t(t)].theirs.remove("cell");
    return g;
}

}  // namespace

Loaded Read(const QByteArray& json, const Geometry& geometry) {
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
        QJsonObject clues;
        out.grid = build(top, clues, geometry);
        for (auto it = top.begin(); it != top.end(); ++it)
            if (!kOwnFields.count(it.key())) out.kept[it.key()] = it.value();
        if (top["clues"].isObject()) out.kept["clues"] = clues;
    } catch (const Refusal& r) {
        out.grid.reset();
        out.kept = {};
        out.error = r.why;
    }
    return out;
}

Loaded ReadFile(const QString& path, const Geometry& geometry) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {std::nullopt, {}, QString("it cannot be read (%1)").arg(f.errorString())};
    // Read one byte beyond the limit, so that a file that grows or a device
    // without a size is caught too.
    const QByteArray data = f.read(kMaxFileSize + 1);
    if (data.size() > kMaxFileSize) return {std::nullopt, {}, "it is larger than 1 MB"};
    if (f.error() != QFileDevice::NoError)
        return {std::nullopt, {}, QString("it cannot be read (%1)").arg(f.errorString())};
    return Read(data, geometry);
}

}  // namespace sim::ipuz
