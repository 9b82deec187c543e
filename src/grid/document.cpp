// The grid being composed: its changes, each recorded as an undoable step,
// and the writing of an answer letter by letter.
#include "grid/document.h"

#include <algorithm>
#include <stdexcept>

namespace sim {

Document::Document(const Geometry& geometry)
    : g_(geometry), retning_(g_.size(), std::array<int16_t, 2>{2, 8}), editStart_(geometry) {}

void Document::reset() { *this = Document(geometry()); }

void Document::Restore(const Grid& g) {
    setSquares(g);
    history_.clear();
}

void Document::put(int n, Square sq) {
    // Only a letter shown in a plain square has writers.
    if (sq.caption.isEmpty() || sq.bold) sq.writers.clear();
    // A block of another program's grid stays one only while it shows as one.
    if (sq.block && (!sq.caption.isEmpty() || sq.bold || sq.back != kBlockColour)) sq.block = false;
    Square& cur = g_.at(size_t(n));
    if (cur == sq) return;
    Edit edit(*this);
    cur = std::move(sq);
    if (squareChanged) squareChanged(n);
}

void Document::setSquare(int n, const Square& sq) { put(n, sq); }

void Document::setSquares(const Grid& g) {
    if (g.geometry() != geometry()) throw std::invalid_argument("a grid of another size than the document's");
    Edit edit(*this);
    for (int n = 1; n <= size(); ++n) put(n, g[size_t(n)]);
}

void Document::setRuteOrd(int n, bool across, const QString& word) {
    Square sq = at(n);
    (across ? sq.ord1 : sq.ord2) = word;
    put(n, sq);
}

void Document::setRuteLengde(int n, bool across, int16_t count) {
    Square sq = at(n);
    (across ? sq.lengde1 : sq.lengde2) = count;
    put(n, sq);
}

void Document::InitialiseSquare(int n) {
    retning_.at(size_t(n)) = {2, 8};
    Square sq = at(n);
    sq.ord1 = sq.ord2 = "";
    sq.lengde1 = sq.lengde2 = 0;
    put(n, sq);
}

void Document::setCaption(int n, const QString& caption) {
    Square sq = at(n);
    sq.caption = caption;
    sq.writers.clear();
    put(n, sq);
}

void Document::setBackColor(int n, const std::optional<QColor>& back) {
    Square sq = at(n);
    sq.back = back;
    put(n, sq);
}

void Document::MarkClueSquare(int n) {
    Square sq = at(n);
    const bool across = !sq.ord1.isEmpty();
    const bool down = !sq.ord2.isEmpty();
    sq.writers.clear();
    if (across || down) {
        sq.caption = across && down ? "XY" : across ? "X" : "Y";
        sq.back = kClueColour;
        sq.bold = true;
    } else if (!sq.block) {  // a block looked at stays one
        sq.caption = "";
        sq.back = std::nullopt;
        sq.bold = false;
    }
    put(n, sq);
}

void Document::ClearSquare(int n) {
    Square sq;
    sq.bold = at(n).bold;
    sq.theirs = at(n).theirs;  // another program's number stays
    put(n, sq);
}

void Document::ClearAll() {
    Edit edit(*this);
    for (int n = 1; n <= size(); ++n) {
        retning_[size_t(n)] = {2, 8};
        put(n, Square{});
    }
}

void Document::setPicked(int n, bool across, bool on) {
    if (!contains(n)) return;
    Square sq = at(n);
    (across ? sq.picked1 : sq.picked2) = on;
    put(n, sq);
}

bool Document::Write(const QString& word, int count, int clue, bool overwrite, bool across) {
    if (count <= 0) return true;
    Edit edit(*this);
    const int direction = !contains(clue) ? (across ? 2 : 8) : across ? RuteRetning1(clue) : RuteRetning2(clue);
    const Answer answer{int16_t(clue), across};
    const Answer path{int16_t(clue), direction != 8};
    const QStringList letters = Letters(word);
    for (int k = 1; k <= count; ++k) {
        const QString letter = k <= letters.size() ? letters[k - 1] : QString();
        const int target = Target(g_, path, k);
        bool conflict = WallRefuses(g_, answer, target, k, count);
        if (!conflict && !overwrite) {
            const QString& caption = at(target).caption;
            conflict = !caption.isEmpty() && letter != caption;
        }
        if (conflict) return false;
        // The square remembers every answer that wrote the letter it shows.
        Square sq = at(target);
        const bool same = !letter.isEmpty() && sq.caption == letter;
        if (!same) {
            sq.writers = letter.isEmpty() ? std::vector<Answer>{} : std::vector<Answer>{answer};
        } else if (sq.writers.empty() || sq.bold) {
            // The letter was there before any answer we know of wrote it
            // (a clue mark passed, or set by other means): it stays binding.
            sq.writers = {Answer{0, true}, answer};
        } else if (std::find(sq.writers.begin(), sq.writers.end(), answer) == sq.writers.end()) {
            sq.writers.push_back(answer);
        }
        sq.bold = false;
        sq.caption = letter;
        put(target, sq);
    }
    return true;
}

void Document::beginEdit() {
    if (editDepth_++ == 0) editStart_ = g_;
}

void Document::endEdit() {
    if (--editDepth_ > 0) return;
    history_.record(Diff(editStart_, g_));
    if (stepped) stepped();
}

void Document::apply(const Step& s, bool forward) {
    // The squares' edits join this one, which records nothing.
    ++editDepth_;
    for (const Change& c : s) put(c.square, forward ? c.after : c.before);
    --editDepth_;
    if (stepped) stepped();
}

bool Document::Undo() {
    if (editing()) return false;
    const Step* s = history_.undo();
    if (s) apply(*s, false);
    return s;
}

bool Document::Redo() {
    if (editing()) return false;
    const Step* s = history_.redo();
    if (s) apply(*s, true);
    return s;
}

}  // namespace sim
