// The simulator window as a composing aid: every change to the grid is one
// step that Ctrl+Z takes back and Ctrl+Y (or Ctrl+Shift+Z) does again, for
// the life of the process; a right click on the grid clears the whole grid
// or one square; and while "Clear square" is ticked the pointer over the
// grid shows that a click clears.
#include <QCheckBox>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QShortcut>

#include "shared/M.h"
#include "simulator/F_Ruter.h"

namespace {

// An eraser, tip at the bottom left, where the click lands.
const QCursor& clearCursor() {
    static const QCursor cursor = [] {
        QPixmap pm(32, 32);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.translate(9, 23);
        p.rotate(-45);
        p.setPen(QPen(Qt::black, 1.5));
        p.setBrush(QColor(255, 160, 190));
        p.drawRoundedRect(QRectF(0, -6, 10, 12), 2, 2);
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(10, -6, 16, 12), 2, 2);
        p.end();
        return QCursor(pm, 2, 29);
    }();
    return cursor;
}

}  // namespace

void F_Ruter::setUpComposing() {
    M_Rutenett = new QMenu(this);
    M_TomRutenett = M_Rutenett->addAction("Clear grid");
    M_TomRute = M_Rutenett->addAction("Clear square");
    QObject::connect(M_TomRutenett, &QAction::triggered, this, [this] { ui::run([this] { M_TomRutenett_Click(); }); });
    QObject::connect(M_TomRute, &QAction::triggered, this, [this] { ui::run([this] { M_TomRute_Click(); }); });
    M_FyllRutenett = M_Rutenett->addAction("Fill grid");
    M_FyllRutenett->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    M_FyllRutenett->setShortcutContext(Qt::WidgetShortcut);  // the window's own Ctrl+F below does the work
    M_FyllRutenett->setShortcutVisibleInContextMenu(true);
    QObject::connect(M_FyllRutenett, &QAction::triggered, this,
                     [this] { ui::run([this] { M_FyllRutenett_Click(); }); });

    for (int n = 1; n <= M::kSquares; ++n) {
        QAbstractButton* b = X(n).button();
        b->setContextMenuPolicy(Qt::CustomContextMenu);
        QObject::connect(b, &QWidget::customContextMenuRequested, this, [this, n, b](const QPoint& at) {
            const QPoint global = b->mapToGlobal(at);
            ui::run([this, n, global] { X_MouseUp(n, global); });
        });
    }

    // Shortcuts rather than actions: in a text field Ctrl+Z stays the
    // field's own undo.
    const auto key = [this](const QKeySequence& seq, void (F_Ruter::*handler)()) {
        auto* s = new QShortcut(seq, this);
        s->setContext(Qt::WindowShortcut);
        QObject::connect(s, &QShortcut::activated, this,
                         [this, handler] { ui::run([this, handler] { (this->*handler)(); }); });
    };
    key(QKeySequence(Qt::CTRL | Qt::Key_Z), &F_Ruter::Angre);
    key(QKeySequence(Qt::CTRL | Qt::Key_Y), &F_Ruter::Gjenta);
    key(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), &F_Ruter::Gjenta);
    key(QKeySequence(Qt::CTRL | Qt::Key_F), &F_Ruter::M_FyllRutenett_Click);

    QObject::connect(c_clear.box(), &QCheckBox::toggled, this, [this](bool on) { showClearCursor(on); });
    showClearCursor(c_clear.Value());
}

void F_Ruter::showClearCursor(bool on) {
    for (int n = 1; n <= M::kSquares; ++n) {
        if (on)
            X(n).button()->setCursor(clearCursor());
        else
            X(n).button()->unsetCursor();
    }
}

// ---------------------------------------------------------------- snapshots

sim::Grid F_Ruter::Snapshot() const {
    sim::Grid g;
    for (int n = 1; n <= M::kSquares; ++n) {
        sim::Square& sq = g[size_t(n)];
        const ui::Button& b = X(n);
        sq.caption = b.Caption();
        sq.back = b.BackColor();
        sq.bold = b.Bold();
        sq.ord1 = M::RuteOrd1[n];
        sq.ord2 = M::RuteOrd2[n];
        sq.lengde1 = M::RuteLengde1[n];
        sq.lengde2 = M::RuteLengde2[n];
        const Written& w = written_[size_t(n)];
        if (!sq.caption.isEmpty() && !sq.bold && w.letter == sq.caption) sq.writers = w.by;
        sq.picked1 = picked_[size_t(n)][0];
        sq.picked2 = picked_[size_t(n)][1];
        sq.flagged = Framed(n);
        sq.block = IsBlock(n);
        sq.theirs = theirs_[size_t(n)];
    }
    return g;
}

bool F_Ruter::IsBlock(int n) const {
    const ui::Button& b = X(n);
    return blocks_.at(size_t(n)) && b.Caption().isEmpty() && !b.Bold() && b.BackColor() == sim::kBlockColour;
}

void F_Ruter::putSquare(int n, const sim::Square& sq) {
    ui::Button& b = X(n);
    if (b.Caption() != sq.caption) b.setCaption(sq.caption);
    if (b.BackColor() != sq.back) b.setBackColor(sq.back);
    if (b.Bold() != sq.bold) b.setBold(sq.bold);
    M::RuteOrd1[n] = sq.ord1;
    M::RuteOrd2[n] = sq.ord2;
    M::RuteLengde1[n] = sq.lengde1;
    M::RuteLengde2[n] = sq.lengde2;
    written_[size_t(n)] = {sq.caption, sq.writers};
    picked_[size_t(n)] = {sq.picked1, sq.picked2};
    setFramed(n, sq.flagged);
    blocks_[size_t(n)] = sq.block;
    theirs_[size_t(n)] = sq.theirs;
}

void F_Ruter::setSnapshot(const sim::Grid& g) {
    Edit edit(*this);
    for (int n = 1; n <= M::kSquares; ++n) putSquare(n, g[size_t(n)]);
}

void F_Ruter::beginEdit() {
    if (editDepth_++ == 0) editStart_ = Snapshot();
}

void F_Ruter::endEdit() {
    if (--editDepth_ > 0) return;
    history_.record(sim::Diff(editStart_, Snapshot()));
    MarkCandidates();
}

// ---------------------------------------------------------------- undo and redo

void F_Ruter::apply(const sim::Step& step, bool forward) {
    for (const sim::Change& c : step) putSquare(c.square, forward ? c.after : c.before);
    MarkCandidates();
}

void F_Ruter::Angre() {
    if (editDepth_ > 0) return;  // not while a change is under way
    if (const sim::Step* s = history_.undo()) apply(*s, false);
}

void F_Ruter::Gjenta() {
    if (editDepth_ > 0) return;
    if (const sim::Step* s = history_.redo()) apply(*s, true);
}

// ---------------------------------------------------------------- clearing

void F_Ruter::clearSquare(int n) {
    X(n).setCaption("");
    X(n).setBackColor(std::nullopt);
    M::ClearSquare(n);
    written_[size_t(n)] = {};
    picked_[size_t(n)] = {};
    setFramed(n, false);
    blocks_[size_t(n)] = false;  // another program's number stays
}

void F_Ruter::X_MouseUp(int n, const QPoint& globalPos) {
    menuSquare_ = n;
    M_Rutenett->popup(globalPos);
}

void F_Ruter::M_TomRutenett_Click() {
    Edit edit(*this);
    for (int n = 1; n <= M::kSquares; ++n) {
        ui::Button& b = X(n);
        b.setCaption("");
        b.setBackColor(std::nullopt);
        b.setBold(false);
        b.setFontName("MS Sans Serif");
        b.setFontSize(10);
        M::InitialiseSquare(n);
        written_[size_t(n)] = {};
        picked_[size_t(n)] = {};
        setFramed(n, false);
        blocks_[size_t(n)] = false;
        theirs_[size_t(n)] = {};
    }
}

// The square under the pointer is cleared as a click with "Clear square"
// ticked clears it, but the candidate lists stay, marked anew.
void F_Ruter::M_TomRute_Click() {
    if (menuSquare_ < 1 || menuSquare_ > M::kSquares) return;
    Edit edit(*this);
    clearSquare(menuSquare_);
}
