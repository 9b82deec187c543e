// What the tests of keeping a grid share: a simulator window whose file
// and print dialogs are answered by the test, an evening's grid composed
// through the real widgets, and a comparison of whole grids square by square.
#pragma once

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPrinter>
#include <QStandardPaths>
#include <QTest>

#include "shared/M.h"
#include "simulator/F_Egenskaper.h"
#include "simulator/F_Ruter.h"
#include "grid/gridprint.h"
#include "grid/ipuz.h"
#include "support.h"
#include "ui/dialogs.h"

namespace keeping {

using namespace testing_support;

// A square as a failed comparison names it.
inline QString describe(const sim::Square& s) {
    QString w;
    for (const sim::Answer& a : s.writers) w += QString(" %1%2").arg(a.clue).arg(a.across ? "a" : "d");
    return QString("[%1|%2|%3|%4/%5|%6/%7|%8]")
        .arg(s.caption, s.back ? s.back->name() : "face", s.bold ? "bold" : "")
        .arg(s.ord1)
        .arg(s.lengde1)
        .arg(s.ord2)
        .arg(s.lengde2)
        .arg(w);
}

class Keeping : public ::testing::Test {
protected:
    void SetUp() override {
        // The remembered folder goes to a settings file of the tests' own.
        QStandardPaths::setTestModeEnabled(true);
        F_Ruter::setGridFolder(QString());
        for (int n = 1; n <= M::kSquares; ++n) M::InitialiseSquare(n);
        M::AktivRute = 999;
        ui::setFileDialogHandler([this](const ui::FileDialogCall& c) {
            dialogs.push_back(c);
            return pick;
        });
        ui::setPrintDialogHandler([this](QPrinter& printer) {
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
        M::ResetAll();
        processEvents();
    }
    ::F_Ruter& f() { return M::F_Ruter(); }
    QString file(const QString& name) {
        return QDir::toNativeSeparators(QString::fromStdString((db.dir() / name.toStdString()).string()));
    }
    void write(const QString& name, const QByteArray& bytes) {
        QFile out(file(name));
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
    }
    void setSquare(int n, const QString& across, int k1, const QString& down, int k2) {
        modal.then([&, across, down, k1, k2](ui::Form&) {
            ::F_Egenskaper& d = M::F_Egenskaper();
            d.T_Ord1.setText(across);
            d.T_Ord2.setText(down);
            d.C_Ant1.combo()->setCurrentIndex(k1);
            emit d.C_Ant1.combo()->activated(k1);
            d.C_Ant2.combo()->setCurrentIndex(k2);
            emit d.C_Ant2.combo()->activated(k2);
            QTest::mouseClick(d.K_LukkVindu.button(), Qt::LeftButton);
        });
        QTest::mouseClick(f().X(n).button(), Qt::LeftButton);
    }
    // An evening's grid: square 1 asks for LARGE across and SEA down; RAT
    // down from 20 and RUG across from 34 share the R in square 35; ARE
    // across from 48 clashes with the A of RAT in square 50 and stops; square
    // 100 has a colour of its own, and square 101 was a clue square cleared
    // in clear mode, which leaves it bold.
    void compose() {
        setSquare(1, "big", 5, "ocean", 3);
        f().fyll_velmora1("LARGE", 5, 1, false);
        f().fyll_velmora2("SEA", 3, 1, false);
        setSquare(20, "", 0, "rodent", 3);
        f().fyll_velmora2("RAT", 3, 20, false);
        setSquare(34, "carpet", 3, "", 0);
        f().fyll_velmora1("RUG", 3, 34, false);
        setSquare(48, "exist", 3, "", 0);
        f().fyll_velmora1("ARE", 3, 48, false);
        f().X(100).setBackColor(ui::rgb(0, 160, 0));
        setSquare(101, "gone", 2, "", 0);
        f().c_clear.setValue(true);
        QTest::mouseClick(f().X(101).button(), Qt::LeftButton);
        f().c_clear.setValue(false);
        ASSERT_EQ(boxes.prompts(), QStringList{"Conflict across!"});
        boxes.clear();
        const sim::Grid g = f().Snapshot();
        ASSERT_EQ(g[35].writers.size(), 2u);
        ASSERT_EQ(g[49].caption, "A");
        ASSERT_EQ(g[51].caption, "");
        ASSERT_TRUE(g[101].bold && g[101].caption.isEmpty());
    }
    // Every square equal, each difference named.
    void expectGrid(const sim::Grid& want) {
        const sim::Grid got = f().Snapshot();
        for (int n = 1; n <= M::kSquares; ++n)
            EXPECT_TRUE(got[size_t(n)] == want[size_t(n)])
                << "square " << n << ": " << describe(got[size_t(n)]).toStdString() << " instead of "
                << describe(want[size_t(n)]).toStdString();
    }
    void save(const QString& name) {
        pick = file(name);
        f().M_LagreRutenett_Click();
    }
    void open(const QString& name) {
        pick = file(name);
        f().M_AapneRutenett_Click();
    }
    QJsonObject json(const QString& name) {
        QFile in(file(name));
        EXPECT_TRUE(in.open(QIODevice::ReadOnly));
        return QJsonDocument::fromJson(in.readAll()).object();
    }

    TempDb db;
    MsgBoxes boxes;
    ModalDriver modal;
    std::vector<ui::FileDialogCall> dialogs;
    QString pick;
    QString printTo;
};

}  // namespace keeping
