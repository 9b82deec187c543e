// The layout of every window against the rules a user sees: each control
// lies wholly inside its window, no two controls cover each other (a frame
// and what it holds aside).
#include <QDebug>
#include <QFrame>
#include <QLabel>
#include <algorithm>

#include "fixture.h"
#include "intro/F_Hjelp.h"
#include "intro/F_Intro.h"
#include "simulator/F_Egenskaper.h"
#include "simulator/F_Ruter.h"

namespace {

using WindowCase = std::pair<const char*, ui::Form& (*)()>;  // a name, and how the window opens

const WindowCase kWindows[] = {
    {"Main", []() -> ui::Form& { return M::Velmora(); }},
    {"Results", []() -> ui::Form& { return M::Resultat(); }},
    {"Simulator", []() -> ui::Form& { return M::F_Ruter(); }},
    {"Properties", []() -> ui::Form& { return M::F_Egenskaper(); }},
    {"Intro", []() -> ui::Form& { return M::F_Intro(); }},
    {"About", []() -> ui::Form& { return M::F_Hjelp(); }},
};

class Layout : public MainWindowTest, public ::testing::WithParamInterface<WindowCase> {};

// A plain frame (a box drawn behind other controls), or a control that
// fills the whole window (the results list, the about picture), may hold
// other controls and reach past the window's edge.
bool isBackdrop(const QWidget* w) {
    auto* f = qobject_cast<const QFrame*>(w);
    if (f && f->metaObject() == &QFrame::staticMetaObject) return true;
    return w->geometry().contains(w->parentWidget()->rect());
}

// What the user sees of a control: a label's text (its box may reach past
// it), inside the one-pixel border neighbours may share.
QRect seen(const QWidget* w) {
    QRect r = w->geometry();
    if (auto* l = qobject_cast<const QLabel*>(w); l && l->pixmap().isNull()) {
        const QSize text = l->sizeHint();
        if (l->alignment() & Qt::AlignRight)
            r.setLeft(std::max(r.left(), r.right() - text.width()));
        else
            r.setWidth(std::min(r.width(), text.width()));
    }
    return r.adjusted(1, 1, -1, -1);
}

std::string where(const QWidget* w) {
    QString s;
    QDebug(&s) << w->metaObject()->className() << w->geometry() << "in" << w->parentWidget()->size();
    return s.toStdString();
}

}  // namespace

TEST_P(Layout, ControlsLieInsideTheirWindowAndNeverCoverEachOther) {
    ui::Form& f = GetParam().second();
    std::vector<const QWidget*> controls;  // backdrops aside
    for (const QWidget* c : f.client()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (c->isVisibleTo(f.client()) && !c->geometry().isEmpty() && !isBackdrop(c)) controls.push_back(c);
    ASSERT_FALSE(controls.empty());
    for (size_t i = 0; i < controls.size(); ++i) {
        EXPECT_TRUE(f.client()->rect().contains(seen(controls[i]))) << where(controls[i]);
        for (size_t j = i + 1; j < controls.size(); ++j)
            EXPECT_FALSE(seen(controls[i]).intersects(seen(controls[j])))
                << where(controls[i]) << " and " << where(controls[j]);
    }
}

INSTANTIATE_TEST_SUITE_P(Windows, Layout, ::testing::ValuesIn(kWindows),
                         [](const auto& p) { return std::string(p.param.first); });
