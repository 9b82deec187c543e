// The main window on a temporary word database, with every message box and
// modal window scripted.
#pragma once

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QTest>

#include "lookup/Resultat.h"
#include "lookup/Velmora.h"
#include "shared/M.h"
#include "support.h"

class MainWindowTest : public ::testing::Test {
protected:
    testing_support::TempDb db;
    testing_support::MsgBoxes boxes;
    testing_support::ModalDriver modal;
    testing_support::QuitCatcher quit;

    // Words and links put in place before the window starts.
    virtual void fill() {}

    void SetUp() override {
        fill();
        Velmora& v = M::Velmora();
        v.Show();
        QApplication::setActiveWindow(&v);
        v.T_Ord.SetFocus();
    }
    void TearDown() override {
        M::ResetAll();
        testing_support::processEvents();
    }

    Velmora& w() { return M::Velmora(); }
    void type(ui::TextBox& t, const QString& keys) { QTest::keyClicks(t.edit(), keys); }
    QStringList items(const ui::ListBox& l) {
        QStringList out;
        for (int i = 0; i < l.ListCount(); ++i) out << l.List(i);
        return out;
    }
    // Clicks entry i of a list as the user would.
    void clickEntry(ui::ListBox& l, int i) {
        QListView* v = l.view();
        QRect r = v->visualRect(v->model()->index(i, 0));
        QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, r.center() + QPoint(r.width() / 4, 0));
    }
    void click(ui::Button& b) { QTest::mouseClick(b.button(), Qt::LeftButton); }
};
