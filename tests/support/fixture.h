// The main window with every message box and modal window scripted, on a
// temporary word database (MainWindowTest) or on one of the test's choosing
// (WindowTest, started with start()).
#pragma once

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QTest>

#include "gui.h"
#include "lookup/Resultat.h"
#include "lookup/Velmora.h"
#include "shared/M.h"

class WindowTest : public ::testing::Test {
protected:
    testing_support::MsgBoxes boxes;
    testing_support::ModalDriver modal;
    testing_support::QuitCatcher quit;

    // Shows the main window on `server` (the file in the current folder when "").
    void start(const std::string& server = "") {
        if (!server.empty()) M::UseServer(server);
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
    // The entries of a list or a combo box.
    template <class List>
    static QStringList items(const List& l) {
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
    // Runs `step` in the results window the next lookup opens; returns, after
    // the lookup, what it listed.
    std::shared_ptr<QStringList> inResults(const std::function<void(Resultat&)>& step = {}) {
        auto listed = std::make_shared<QStringList>();
        modal.then([=](ui::Form& f) {
            auto& r = static_cast<Resultat&>(f);
            *listed = items(r.L_Resultat);
            if (step) step(r);
        });
        return listed;
    }
};

class MainWindowTest : public WindowTest {
protected:
    testing_support::TempDb db;

    // Words and links put in place before the window starts.
    virtual void fill() {}

    void SetUp() override {
        fill();
        start();
    }
};
