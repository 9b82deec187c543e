// Marks drawn over what the simulator shows. Fit marks on the candidate
// lists: an entry that does not fit the letters already in the grid is
// drawn dimmed, and each list's tooltip shows the answer's squares as a
// pattern and how many entries fit; the lists keep their order and their
// clicks. Open-answer marks on the grid: the clue square of an answer with
// a letter count and no clue word shows the count and an arrow toward the
// answer, over the square's own face, which stays as it is.
#include <QListView>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QStyledItemDelegate>

#include <algorithm>

#include "grid/fill.h"
#include "shared/M.h"
#include "simulator/F_Ruter.h"

namespace {

// Yellow faded halfway into the lists' dark blue.
const QColor kDimmed = ui::rgb(120, 120, 110);

// Draws through the view's own delegate, dimming the entries that do not
// fit; check boxes and sizes stay the delegate's business.
class DimDelegate : public QStyledItemDelegate {
public:
    DimDelegate(QAbstractItemView* view, const std::vector<char>* fits)
        : QStyledItemDelegate(view), inner_(view->itemDelegate()), fits_(fits) {}

    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem o(option);
        const int row = index.row();
        if (row >= 0 && size_t(row) < fits_->size() && !(*fits_)[size_t(row)]) {
            o.palette.setColor(QPalette::Text, kDimmed);
            o.palette.setColor(QPalette::Highlight, kDimmed);
        }
        if (inner_)
            inner_->paint(p, o, index);
        else
            QStyledItemDelegate::paint(p, o, index);
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return inner_ ? inner_->sizeHint(option, index) : QStyledItemDelegate::sizeHint(option, index);
    }
    bool editorEvent(QEvent* e, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override {
        return inner_ ? inner_->editorEvent(e, model, option, index)
                      : QStyledItemDelegate::editorEvent(e, model, option, index);
    }

private:
    QPointer<QAbstractItemDelegate> inner_;
    const std::vector<char>* fits_;
};

// The open answers of one square drawn over it: on a plain square its face
// turns the clue squares' orange with each count in bold and a small arrow
// at the side the answer leaves from; over a caption (a clue mark or a
// letter) only the arrows and small counts in the corners, so the caption
// stays readable. Clicks go through to the square.
class OpenMarkView : public QWidget {
public:
    explicit OpenMarkView(QWidget* square) : QWidget(square) { setAttribute(Qt::WA_TransparentForMouseEvents); }
    int across = 0, down = 0;  // the counts; 0 for no open answer that way
    bool overCaption = false;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF r = rect();
        const double w = r.width(), h = r.height(), a = std::max(4.0, w * 0.22);
        if (!overCaption) p.fillRect(r, sim::kClueColour);
        const bool both = across && down;
        QFont f = font();
        f.setBold(true);
        f.setPixelSize(std::max(6, int(h * (overCaption ? 0.3 : both ? 0.36 : 0.5))));
        p.setFont(f);
        p.setPen(Qt::black);
        // Each count beside its arrow: across at the right edge, down at
        // the bottom; with both, the counts one above the other at the left.
        if (across) {
            arrow(p, QPointF(r.right(), both ? h / 4 : h / 2), true, a);
            const QRectF text = overCaption ? QRectF(w * 0.6, 0, w * 0.4, h * 0.4)
                                : both      ? QRectF(0, 0, w / 2, h / 2)
                                            : QRectF(0, 0, w - a, h);
            p.drawText(text, Qt::AlignCenter, QString::number(across));
        }
        if (down) {
            arrow(p, QPointF(w / 2, r.bottom()), false, a);
            const QRectF text = overCaption ? QRectF(0, h * 0.6, w * 0.4, h * 0.4)
                                : both      ? QRectF(0, h / 2, w / 2, h / 2)
                                            : QRectF(0, 0, w, h - a);
            p.drawText(text, Qt::AlignCenter, QString::number(down));
        }
    }

private:
    // A small filled arrow with its tip at `tip`, pointing right or down.
    static void arrow(QPainter& p, QPointF tip, bool right, double size) {
        QPainterPath path;
        path.moveTo(tip);
        path.lineTo(tip + (right ? QPointF(-size, -size / 2) : QPointF(-size / 2, -size)));
        path.lineTo(tip + (right ? QPointF(-size, size / 2) : QPointF(size / 2, -size)));
        path.closeSubpath();
        p.fillPath(path, Qt::black);
    }
};

}  // namespace

QString F_Ruter::OpenMark(int n) const {
    const auto* v = static_cast<const OpenMarkView*>(openMarks_.at(size_t(n)));
    if (!v || v->isHidden()) return {};
    QStringList parts;
    if (v->across) parts << QString::number(v->across) + "\u2192";
    if (v->down) parts << QString::number(v->down) + "\u2193";
    return parts.join(' ');
}

void F_Ruter::showOpenMarks() {
    const sim::Document& doc = M::Rutenett;
    std::vector<std::array<int, 2>> open(size_t(doc.size()) + 1, {0, 0});
    for (const sim::Slot& s : sim::Slots(doc.squares()))
        if (s.open()) open[size_t(s.answer.clue)][s.answer.across ? 0 : 1] = s.length;
    for (int n = 1; n <= doc.size(); ++n) {
        QWidget*& w = openMarks_.at(size_t(n));
        const auto [across, down] = open[size_t(n)];
        if (!across && !down) {
            if (w) w->hide();
            continue;
        }
        if (!w) w = new OpenMarkView(X(n).button());
        auto* v = static_cast<OpenMarkView*>(w);
        const bool overCaption = !doc.at(n).caption.isEmpty();
        if (v->isHidden() || v->across != across || v->down != down || v->overCaption != overCaption) {
            v->across = across;
            v->down = down;
            v->overCaption = overCaption;
            v->update();
        }
        v->setGeometry(X(n).button()->rect());
        v->show();
        v->lower();  // under the red frame of an answer the fill left empty
    }
}

void F_Ruter::setUpMarks() {
    for (Candidates& c : candidates_) c.list->view()->setItemDelegate(new DimDelegate(c.list->view(), &c.fits));
}

void F_Ruter::MarkCandidates() {
    const sim::Document& doc = M::Rutenett;
    const int s = doc.ValgtRute;
    const bool clue = doc.contains(s);
    const sim::Grid& grid = doc.squares();
    for (Candidates& c : candidates_) {
        const int n = c.list->ListCount();
        c.fits.assign(size_t(n), 0);
        QString tip;
        if (n > 0) {
            const sim::Answer answer{int16_t(clue ? s : 0), c.across};
            int fitting = 0, longest = 0;
            for (int i = 0; i < n; ++i) {
                const QString entry = c.list->List(i);
                c.fits[size_t(i)] = sim::Fits(grid, answer, entry);
                fitting += c.fits[size_t(i)];
                longest = std::max(longest, ui::charLength(entry));
            }
            // The answer's length as given for the square, else as long as
            // the longest entry.
            const int given = !clue ? 0 : c.across ? doc.RuteLengde1(s) : doc.RuteLengde2(s);
            const QString pattern = sim::Pattern(grid, answer, given > 0 ? given : longest);
            tip = QString("%1 of %2 fit").arg(fitting).arg(n);
            if (!pattern.isEmpty()) tip = pattern + ": " + tip;
        }
        c.list->view()->setToolTip(tip);
        c.list->view()->viewport()->update();
    }
}

bool F_Ruter::Fits(const ui::ListBox& list, int i) const {
    for (const Candidates& c : candidates_)
        if (c.list == &list) return i >= 0 && size_t(i) < c.fits.size() && c.fits[size_t(i)];
    return false;
}
