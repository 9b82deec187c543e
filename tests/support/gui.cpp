#include "gui.h"

#include <QCoreApplication>
#include <QEvent>
#include <QListView>
#include <QStyle>
#include <QStyleOptionViewItem>

namespace testing_support {

MsgBoxes::MsgBoxes() {
    ui::setMsgBoxHandler([this](const ui::MsgBoxCall& c) {
        calls_.push_back(c);
        if (during) during(c);
        if (!script_.empty()) {
            auto a = script_.front();
            script_.pop_front();
            return a;
        }
        return c.buttons == ui::Buttons::YesNo ? ui::Answer::No : ui::Answer::OK;
    });
}

QStringList MsgBoxes::prompts() const {
    QStringList l;
    for (auto& c : calls_) l << c.prompt;
    return l;
}

void processEvents() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

QRect checkBoxRect(const ui::ListBox& list, int i) {
    QListView* v = list.view();
    const QModelIndex index = v->model()->index(i, 0);
    QStyleOptionViewItem opt;
    opt.initFrom(v);
    opt.widget = v;
    opt.rect = v->visualRect(index);
    opt.font = v->font();
    opt.features = QStyleOptionViewItem::HasDisplay | QStyleOptionViewItem::HasCheckIndicator;
    opt.text = index.data().toString();
    return v->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opt, v);
}

}  // namespace testing_support
