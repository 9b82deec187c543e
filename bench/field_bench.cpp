// How the main window's text fields hold up at their limit: a megabyte
// pasted into a field that already holds 100,000 characters (cut to fit),
// then keystrokes and repaints with the field full, each timed through the
// real widgets on the offscreen platform, on velmora.mdb of the current
// folder.
//
//   cd FOLDER && build/bench/velmora_fieldbench
#include <unistd.h>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>
#include <cstdio>

#include "lookup/Velmora.h"
#include "shared/M.h"

namespace {

// Runs `step`, lets the window repaint, and returns the milliseconds taken.
template <class F>
qint64 timed(QLineEdit* e, F step) {
    QElapsedTimer t;
    t.start();
    step();
    e->repaint();
    QApplication::processEvents();
    return t.elapsed();
}

}  // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ui::setUpApplication();
    int cuts = 0;
    ui::setMsgBoxHandler([&](const ui::MsgBoxCall&) {
        ++cuts;
        return ui::Answer::OK;
    });
    Velmora& v = M::Velmora();
    v.Show();
    QApplication::processEvents();
    std::printf("%-10s %10s %10s %10s %10s\n", "field", "paste ms", "key ms", "backsp ms", "home ms");
    for (int round = 0; round < 3; ++round) {
        for (auto [name, f] : {std::pair{"T_Ord", &v.T_Ord}, std::pair{"T_Synonym", &v.T_Synonym}}) {
            QLineEdit* e = f->edit();
            f->setText(QString(100000, 'A'));
            QApplication::clipboard()->setText(QString(1 << 20, 'B'));
            f->SetFocus();
            e->end(false);
            const qint64 paste = timed(e, [&] { QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier); });
            const qint64 back = timed(e, [&] { QTest::keyClick(e, Qt::Key_Backspace); });
            const qint64 key = timed(e, [&] { QTest::keyClick(e, Qt::Key_C); });
            const qint64 home = timed(e, [&] { QTest::keyClick(e, Qt::Key_Home); });
            std::printf("%-10s %10lld %10lld %10lld %10lld   (%lld characters held)\n", name, paste, key, back, home,
                        qint64(f->Text().size()));
            f->setText("");
        }
    }
    std::printf("pastes cut with a message: %d\n", cuts);
    std::fflush(stdout);
    // The windows need no tearing down.
    ::_exit(0);
}
