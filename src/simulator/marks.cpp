// Fit marks on the simulator's candidate lists: an entry that does not fit
// the letters already in the grid is drawn dimmed, and each list's tooltip
// shows the answer's squares as a pattern and how many entries fit. The
// lists keep their order and their clicks; only the drawing changes.
#include <QListView>
#include <QPointer>
#include <QStyledItemDelegate>

#include <algorithm>

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

}  // namespace

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
