// How two controls draw themselves where the style's own drawing hides what
// the windows mean: a graphical button shows its colour flat over its whole
// face (the style shades it pale), and the check boxes of a list are drawn
// in the list's text colour (the style outlines them dark on dark lists).
#pragma once

#include <QStyledItemDelegate>
#include <QToolButton>

namespace ui::faces {

class FaceButton : public QToolButton {
public:
    explicit FaceButton(QWidget* parent) : QToolButton(parent) {}
    // On: the face is painted flat in the palette's button colour.
    void setGraphical(bool on);
    bool graphical() const { return graphical_; }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    bool graphical_ = false;
};

class CheckBoxDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

}  // namespace ui::faces
