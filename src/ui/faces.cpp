#include "ui/faces.h"

#include <qdrawutil.h>
#include <QApplication>
#include <QPainter>
#include <QStyleOptionToolButton>
#include <QStylePainter>

namespace ui::faces {

void FaceButton::setGraphical(bool on) {
    graphical_ = on;
    update();
}

void FaceButton::paintEvent(QPaintEvent* e) {
    if (!graphical_) {
        QToolButton::paintEvent(e);
        return;
    }
    QStylePainter p(this);
    QStyleOptionToolButton opt;
    initStyleOption(&opt);
    p.fillRect(rect(), opt.palette.color(QPalette::Button));
    // A one-pixel edge in the desktop's shades keeps neighbouring squares
    // apart and shows the press; the face inside stays the colour itself.
    const QPalette edge = QApplication::palette();
    qDrawShadePanel(&p, rect(), edge, isDown() || isChecked(), 1);
    p.drawControl(QStyle::CE_ToolButtonLabel, opt);
}

void CheckBoxDelegate::paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QStyledItemDelegate::paint(p, option, index);
    QStyleOptionViewItem opt(option);
    initStyleOption(&opt, index);
    if (!(opt.features & QStyleOptionViewItem::HasCheckIndicator)) return;
    const QWidget* w = opt.widget;
    const QStyle* st = w ? w->style() : QApplication::style();
    const QRect box = st->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opt, w);
    // Over a selected entry's highlight the box takes the highlighted text's colour.
    const bool onHighlight =
        (opt.state & QStyle::State_Selected) && st->styleHint(QStyle::SH_ItemView_ShowDecorationSelected, &opt, w);
    const QColor ink = opt.palette.color(onHighlight ? QPalette::HighlightedText : QPalette::Text);
    const QColor ground = opt.palette.color(onHighlight ? QPalette::Highlight : QPalette::Base);

    p->save();
    p->fillRect(box, ground);
    p->setPen(QPen(ink, 1));
    p->setBrush(Qt::NoBrush);
    p->drawRect(box.adjusted(0, 0, -1, -1));
    if (opt.checkState == Qt::Checked) {
        p->setRenderHint(QPainter::Antialiasing);
        p->setPen(QPen(ink, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        const QRectF r = QRectF(box).adjusted(3, 3, -3, -3);
        const QPointF mark[3] = {
            {r.left(), r.center().y()}, {r.left() + r.width() * 0.4, r.bottom()}, {r.right(), r.top()}};
        p->drawPolyline(mark, 3);
    }
    p->restore();
}

}  // namespace ui::faces
