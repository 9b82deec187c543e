// The simulator window as a composing aid: every change to the grid is one
// step that Ctrl+Z takes back and Ctrl+Y (or Ctrl+Shift+Z) does again, for
// the life of the process, also from a text field with nothing of its own
// to undo or redo; a right click on the grid clears the whole grid
// or one square; and while "Clear square" is ticked the pointer over the
// grid shows that a click clears.
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
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

// A text field takes Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z for itself even with
// nothing to undo or redo (after a save or the square dialog the focus
// lands in the clue-word field); then the keys are left to the window,
// whose shortcuts act on the grid.
class FieldUndo : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        auto* field = qobject_cast<QLineEdit*>(o);
        if (e->type() != QEvent::ShortcutOverride || !field) return false;
        const QKeyCombination k = static_cast<QKeyEvent*>(e)->keyCombination();
        const bool undo = k == (Qt::CTRL | Qt::Key_Z);
        const bool redo = k == (Qt::CTRL | Qt::Key_Y) || k == (Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
        if ((undo && !field->isUndoAvailable()) || (redo && !field->isRedoAvailable())) {
            e->ignore();
            return true;
        }
        return false;
    }
};

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
    M_NyttKryss = M_Rutenett->addAction("New puzzle\u2026");
    QObject::connect(M_NyttKryss, &QAction::triggered, this, [this] { ui::run([this] { M_NyttKryss_Click(); }); });

    for (int n = 1; n <= M::Rutenett.size(); ++n) {
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
    auto* fieldUndo = new FieldUndo(this);
    for (QLineEdit* field : findChildren<QLineEdit*>()) field->installEventFilter(fieldUndo);

    QObject::connect(c_clear.box(), &QCheckBox::toggled, this, [this](bool on) { showClearCursor(on); });
    showClearCursor(c_clear.Value());
}

void F_Ruter::showClearCursor(bool on) {
    for (int n = 1; n <= M::Rutenett.size(); ++n) {
        if (on)
            X(n).button()->setCursor(clearCursor());
        else
            X(n).button()->unsetCursor();
    }
}

// ---------------------------------------------------------------- undo and redo

void F_Ruter::Angre() { M::Rutenett.Undo(); }

void F_Ruter::Gjenta() { M::Rutenett.Redo(); }

// ---------------------------------------------------------------- clearing

void F_Ruter::X_MouseUp(int n, const QPoint& globalPos) {
    menuSquare_ = n;
    fitEntryFor(n);
    M_Rutenett->popup(globalPos);
}

void F_Ruter::M_TomRutenett_Click() {
    M::Rutenett.ClearAll();
    // A cleared grid is no longer the file's: its title no longer heads the PDF.
    gridFile_.clear();
    kept_ = QJsonObject();
    for (int n = 1; n <= M::Rutenett.size(); ++n) {
        X(n).setFontName("MS Sans Serif");
        X(n).setFontSize(10);
    }
}

// The square under the pointer is cleared as a click with "Clear square"
// ticked clears it, but the candidate lists stay, marked anew.
void F_Ruter::M_TomRute_Click() {
    if (M::Rutenett.contains(menuSquare_)) M::Rutenett.ClearSquare(menuSquare_);
}
