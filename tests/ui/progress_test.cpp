// The progress window of long work: none for work that ends in a moment,
// the real window with its Cancel for work that runs on, the work told to
// stop, and an error of the work handed back to the caller.
#include <QApplication>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "support.h"
#include "ui/progress.h"

namespace {

QProgressDialog* shownProgress() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* p = qobject_cast<QProgressDialog*>(w); p && p->isVisible()) return p;
    return nullptr;
}

}  // namespace

TEST(Progress, QuickWorkShowsNoWindowLongWorkStopsAtCancelAndAnErrorReachesTheCaller) {
    bool seen = false;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] { seen |= shownProgress() != nullptr; });
    probe.start(5);
    EXPECT_TRUE(ui::RunWithProgress(
        "Quick", [](ui::Task&) {}, 300));
    EXPECT_FALSE(seen);

    // Work that runs until it is told to stop: Cancel in the window stops it.
    QString label;
    QTimer press;
    QObject::connect(&press, &QTimer::timeout, [&] {
        if (QProgressDialog* p = shownProgress()) {
            label = p->labelText();
            for (QPushButton* b : p->findChildren<QPushButton*>()) QTest::mouseClick(b, Qt::LeftButton);
        }
    });
    press.start(30);
    bool stopped = false;
    const bool finished = ui::RunWithProgress(
        "Long work",
        [&](ui::Task& t) {
            t.setText("step 1");
            while (!t.cancelled()) std::this_thread::sleep_for(std::chrono::milliseconds(2));
            stopped = true;
        },
        20);
    EXPECT_TRUE(!finished && stopped && label.startsWith("Long work") && !shownProgress());
    // An error of the work reaches the caller.
    EXPECT_THROW(ui::RunWithProgress("Failing", [](ui::Task&) { throw std::runtime_error("broken"); }),
                 std::runtime_error);
}
