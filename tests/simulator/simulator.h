// What the simulator window's tests share: the window shown over a word
// database of the test's own, its dialogs answered by the test, and the
// ways a user reaches it (square clicks, the square dialog, list entries,
// keys, the right-click menu).
#pragma once

#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QListView>
#include <QMenu>
#include <QPrinter>
#include <QStandardPaths>
#include <QTest>
#include <QWindow>

#include "evening.h"
#include "gui.h"
#include "shared/M.h"
#include "simulator/F_Egenskaper.h"
#include "simulator/F_Ruter.h"
#include "ui/dialogs.h"
#include "ui/progress.h"

using namespace testing_support;

class Sim : public ::testing::Test {
protected:
    void SetUp() override {
        // The remembered folder goes to a settings file of the tests' own.
        QStandardPaths::setTestModeEnabled(true);
        F_Ruter::setGridFolder(QString());
        doc().AktivRute = 999;
        ui::setFileDialogHandler([this](const ui::FileDialogCall& c) {
            dialogs.push_back(c);
            return pick;
        });
        ui::setPrintDialogHandler([this](QPrinter& printer) {
            ++printDialogs;
            if (printTo.isEmpty()) return false;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(printTo);
            return true;
        });
        f().Show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&f()));
    }
    void TearDown() override {
        ui::setFileDialogHandler(nullptr);
        ui::setPrintDialogHandler(nullptr);
        ui::setProgressHandler(nullptr);
        M::ResetAll();
        processEvents();
    }
    static ::F_Ruter& f() { return M::F_Ruter(); }
    static sim::Document& doc() { return M::Rutenett; }
    // What square n shows, and squares from..to (every step-th), "." for empty.
    static QString at(int n) { return f().X(n).Caption(); }
    static QString run(int from, int to, int step = 1) {
        QString s;
        for (int n = from; n <= to; n += step) s += at(n).isEmpty() ? QString(".") : at(n);
        return s;
    }
    // Every square shows what the document holds; the first that does not, else 0.
    static int firstMisshown() {
        for (int n = 1; n <= doc().size(); ++n) {
            const sim::Square& s = doc().at(n);
            const ui::Button& b = f().X(n);
            if (b.Caption() != s.caption || b.BackColor() != s.back || b.Bold() != s.bold || f().Framed(n) != s.flagged)
                return n;
        }
        return 0;
    }
    static std::vector<int> framed() {
        std::vector<int> v;
        for (int n = 1; n <= doc().size(); ++n)
            if (f().Framed(n)) v.push_back(n);
        return v;
    }
    static void clickSquare(int n) { QTest::mouseClick(f().X(n).button(), Qt::LeftButton); }
    static void clickEntry(ui::ListBox& l, int i) {
        const QRect r = l.view()->visualRect(l.view()->model()->index(i, 0));
        QTest::mouseClick(l.view()->viewport(), Qt::LeftButton, {}, r.center() + QPoint(20, 0));
    }
    static void pickCount(ui::ComboBox& c, int i) {
        c.combo()->setCurrentIndex(i);
        emit c.combo()->activated(i);
    }
    // Gives square n its clue words and counts through the dialog.
    void setSquare(int n, const QString& across, int k1, const QString& down, int k2) {
        modal.then([across, down, k1, k2](ui::Form&) {
            ::F_Egenskaper& d = M::F_Egenskaper();
            d.T_Ord1.setText(across);
            d.T_Ord2.setText(down);
            pickCount(d.C_Ant1, k1);
            pickCount(d.C_Ant2, k2);
            QTest::mouseClick(d.K_LukkVindu.button(), Qt::LeftButton);
        });
        clickSquare(n);
    }
    // The entries of a list joined, or its marks ("+" for an entry that
    // fits, "-" for a dimmed one); and the four candidate lists' entries.
    static QString entries(ui::ListBox& l, bool marks = false) {
        QStringList s;
        for (int i = 0; i < l.ListCount(); ++i) s << (marks ? QString(f().Fits(l, i) ? "+" : "-") : l.List(i));
        return s.join(marks ? "" : ",");
    }
    static QString marks(ui::ListBox& l) { return entries(l, true); }
    static QString lists() {
        return QStringList({entries(f().L_Synonymer1), entries(f().L_Verdier1), entries(f().L_Synonymer2),
                            entries(f().L_Verdier2)})
            .join('|');
    }
    // Keys go to the simulator window (or a widget of it), made the focus
    // window again as the desktop does when a dialog or menu closes.
    static void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::ControlModifier, QWidget* to = nullptr) {
        if (QGuiApplication::focusWindow() != f().windowHandle()) {
            f().windowHandle()->requestActivate();
            EXPECT_TRUE(QTest::qWaitFor([] { return QGuiApplication::focusWindow() == f().windowHandle(); }));
        }
        QTest::keyClick(to ? to : &f(), k, m);
        processEvents();
    }
    // The captions of a menu's entries, joined.
    static QString entries(const QMenu* m) {
        QStringList s;
        for (const QAction* a : m->actions()) s << a->text();
        return s.join(',');
    }
    // The grid and its undo steps now, and whether both are as they were then.
    void remember() {
        remembered_ = doc().squares();
        rememberedSteps_ = doc().history().undoable();
    }
    bool unchanged() const { return doc().squares() == remembered_ && doc().history().undoable() == rememberedSteps_; }
    // Right click on square n, then the menu entry with this caption.
    static void menu(int n, const QString& entry) {
        QAbstractButton* b = f().X(n).button();
        QContextMenuEvent e(QContextMenuEvent::Mouse, QPoint(5, 5), b->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(b, &e);
        QMenu* m = f().M_Rutenett;
        ASSERT_TRUE(m->isVisible());
        for (QAction* a : m->actions())
            if (a->text() == entry) QTest::mouseClick(m, Qt::LeftButton, {}, m->actionGeometry(a).center());
        processEvents();
        EXPECT_FALSE(m->isVisible());
    }

    // ---- grid files
    QString file(const QString& name) const {
        return QDir::toNativeSeparators(QString::fromStdString((db.dir() / name.toStdString()).string()));
    }
    void save(const QString& name) {
        pick = file(name);
        f().M_LagreRutenett_Click();
    }
    void open(const QString& name) {
        pick = file(name);
        f().M_AapneRutenett_Click();
    }

    TempDb db;
    MsgBoxes boxes;
    ModalDriver modal;
    std::vector<ui::FileDialogCall> dialogs;
    QString pick;
    QString printTo;  // where the print dialog prints, none for Cancel
    int printDialogs = 0;
    sim::Grid remembered_;
    size_t rememberedSteps_ = 0;
};
