#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListView>
#include <QTest>
#include <QTimer>

#include "gui.h"
#include "shared/M.h"
#include "ui/toolkit.h"

using namespace testing_support;

namespace {

struct Probe : ui::Form {
    Probe() : ui::Form("Probe", 200, 120), text(client()), list(client(), true), combo(client()) {
        text.setPlace(0, 0, 200, 24);
        list.setPlace(0, 30, 200, 60);
        combo.setPlace(0, 92, 200, 24);
    }
    int loads = 0;
    ui::TextBox text;
    ui::ListBox list;
    ui::ComboBox combo;

protected:
    void Form_Load() override { ++loads; }
};

}  // namespace

TEST(Toolkit, Cp1252AndUpperCase) {
    for (auto [ch, code] : {std::pair{u'å', 229}, {u'Å', 197}, {u'æ', 230}, {u'ø', 248}, {u'€', 0x80}, {u'Ω', -1}})
        EXPECT_TRUE(ui::toCp1252(QChar(ch)) == code && (code < 0 || ui::fromCp1252(code) == QChar(ch))) << code;
    EXPECT_EQ(ui::fromCp1252(0x81), QChar());  // no character there
    // ß and µ have no single capital in the code page: kept as typed.
    EXPECT_EQ(ui::upperCase("hus æøå ÿ straße µ"), QString("HUS ÆØÅ Ÿ STRAßE µ"));
    EXPECT_EQ(ui::charLength(QString::fromUtf8("ÆRE\xF0\x9F\x98\x80")), 4);  // a pair of surrogates is one
}

TEST(Toolkit, KeyFilterSeesCodesAndMayReplaceOrDiscard) {
    Probe p;
    p.show();
    std::vector<int> seen;
    p.text.KeyPress = [&](int& k) {
        seen.push_back(k);
        if ((k >= 'a' && k <= 'z') || k == 229)
            k -= 32;  // capitals, å too
        else if (k == 'x' - 32)
            k = 0;  // a typed capital X is dropped
        else if (k == '#')
            k = 8;  // '#' works as a backspace
    };
    int changes = 0;
    p.text.Change = [&] { ++changes; };
    QString shown;  // the text after each key
    for (const QString keys : {"ab", "X", "å", "#"}) {
        QTest::keyClicks(p.text.edit(), keys);
        shown += p.text.Text() + ",";
    }
    QTest::keyClick(p.text.edit(), Qt::Key_Backspace);
    QTest::keyClick(p.text.edit(), Qt::Key_Return);
    // A, B, Å, #, backspace change it; the dropped X and Enter do not.
    EXPECT_EQ(shown + p.text.Text() + " " + QString::number(changes), "AB,AB,ABÅ,AB,A 5");
    EXPECT_EQ(std::vector<int>(seen.end() - 2, seen.end()), std::vector<int>({8, 13}));
    // Writing the text held fires nothing; another text fires once.
    p.text.setText("A");
    p.text.setText("");
    EXPECT_EQ(changes, 6);
}

// A paste past the field's limit is cut to fit and says so; one that fits
// goes in whole, over the selection, without a word. (Qt's own cut took
// minutes for a megabyte; the timing is measured by bench/field_bench.)
TEST(Toolkit, APastePastTheLimitIsCutWithAMessage) {
    MsgBoxes boxes;
    Probe p;
    p.show();
    p.text.KeyPress = [](int&) {};
    int changes = 0;
    p.text.Change = [&] { ++changes; };
    const int limit = ui::TextBox::kMaxChars;
    p.text.setText(QString(100000, 'A'));
    p.text.edit()->selectAll();
    QGuiApplication::clipboard()->setText("FITS");
    QTest::keyClick(p.text.edit(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_TRUE(p.text.Text() == "FITS" && boxes.calls().empty());

    p.text.setText(QString(100000, 'A'));
    p.text.edit()->end(false);
    changes = 0;
    // The character at the cut is a surrogate pair: it goes whole or not at all.
    QString big = QString(limit - 100000 - 1, 'B') + QString::fromUtf8("😀") + "TAIL";
    QGuiApplication::clipboard()->setText(big);
    QTest::keyClick(p.text.edit(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_TRUE(p.text.Text().size() == limit - 1 && p.text.Text().endsWith('B') && changes == 1);
    EXPECT_EQ(boxes.prompts(), QStringList({"The pasted text was too long for the field, so only its first " +
                                            QString::number(limit - 100000 - 1) +
                                            " characters were pasted (a field holds at most 1048576)."}));

    // Full: a further paste adds nothing and says so again.
    p.text.setText(QString(limit, 'C'));
    QTest::keyClick(p.text.edit(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_TRUE(p.text.Text().size() == limit && boxes.calls().size() == 2u);
}

// Picks, ticks and colours: focus alone picks nothing, the same entry
// clicked again is a pick again, so is a key; a click on the box of an entry
// not selected, then of the one selected, is a pick and a tick each; the box
// is drawn in the list's text colour, on entries selected or not; clearing
// says nothing.
TEST(Toolkit, ListsPickCheckDrawTheirBoxesInTheirColoursAndClearQuietly) {
    Probe p;
    const QColor ink = ui::rgb(255, 255, 0), ground = ui::rgb(0, 0, 192);
    p.list.setColors(ink, ground);
    p.show();
    QString events;  // "c" a Click, otherwise the ItemCheck index
    p.list.Click = [&] { events += "c"; };
    p.list.ItemCheck = [&](int i) { events += QString::number(i); };
    const auto state = [&] { return QString("%1 %2 %3 ").arg(p.list.Text()).arg(p.list.ListIndex()).arg(events); };
    const auto click = [&](QPoint at) { QTest::mouseClick(p.list.view()->viewport(), Qt::LeftButton, {}, at); };
    p.list.AddItems({"ONE", "TWO", "THREE"});
    p.list.view()->setFocus();
    QTest::qWait(1);
    QString seen = state();
    const QRect r = p.list.view()->visualRect(p.list.view()->model()->index(1, 0));
    click(r.center() + QPoint(20, 0));
    seen += state();
    click(r.center() + QPoint(20, 0));
    QTest::keyClick(p.list.view(), Qt::Key_Down);
    p.list.setChecked(2, true);
    seen += state();
    for (int round = 0; round < 2; ++round) {
        click(checkBoxRect(p.list, 1).center());
        seen += state() + QString::number(p.list.Checked(1) + 2 * p.list.Checked(2)) + " ";
    }
    EXPECT_EQ(seen, " -1  TWO 1 c THREE 2 ccc2 TWO 1 ccc2c1 3 TWO 1 ccc2c1c1 2 ");
    const QImage shot = p.list.view()->viewport()->grab().toImage();
    for (int i : {0, 1}) {
        const QRect box = checkBoxRect(p.list, i);
        for (QPoint edge : {QPoint(box.left(), box.center().y()), QPoint(box.center().x(), box.top())})
            EXPECT_EQ(shot.pixelColor(edge), i == 1 ? ground : ink) << "entry " << i;
    }
    events.clear();
    p.list.Clear();
    EXPECT_EQ(state() + QString::number(p.list.ListCount()), " -1  0");
}

TEST(Toolkit, ComboBoxHoldsWhatIsTypedAndOnlyAPickIsAClick) {
    Probe p;
    p.show();
    QApplication::setActiveWindow(&p);
    int clicks = 0;
    p.combo.Click = [&] { ++clicks; };
    for (const char* k : {"PETS", "X"}) p.combo.AddItem(k);
    p.combo.setList(1, "ARTS");                                             // replaces
    p.combo.setList(2, " 3 - letter(s)");                                   // adds at the end
    p.combo.setList(7, "ignored");                                          // beyond the end: no entry
    EXPECT_EQ(QString::number(p.combo.ListCount()) + p.combo.Text(), "3");  // filling picks nothing
    // Nothing completed from PETS; an entry's text typed exactly, then Enter
    // or leaving the box: still typing.
    for (const QString& typed : {QString("pe"), QString("PETS"), QString(" 3 - letter(s)")}) {
        p.combo.setText("");
        p.combo.SetFocus();
        QTest::keyClicks(p.combo.combo(), typed);
        QTest::keyClick(p.combo.combo(), Qt::Key_Return);
        p.text.SetFocus();
        EXPECT_EQ(p.combo.Text(), typed);
    }
    // A pick from the open list is a Click, the only one.
    p.combo.combo()->showPopup();
    QAbstractItemView* popup = p.combo.combo()->view();
    popup->setCurrentIndex(popup->model()->index(1, 0));
    QTest::keyClick(popup, Qt::Key_Return);
    EXPECT_EQ(QString::number(clicks) + p.combo.Text(), "1ARTS");
}

TEST(Toolkit, WindowsLoadOnceShowModalAndUnload) {
    ModalDriver driver;
    Probe& p = M::load<Probe>(M::Win::F_Hjelp);
    EXPECT_TRUE(&M::load<Probe>(M::Win::F_Hjelp) == &p && p.loads == 1);
    bool wasModal = false;
    // A window the driver leaves up is hidden for it: no test can hang.
    driver.then([&](ui::Form& f) { wasModal = f.isVisible() && f.IsModal(); });
    p.ShowModal();
    EXPECT_TRUE(wasModal && !p.Visible());
    // Unloading from inside the modal loop ends it too.
    driver.then([](ui::Form& f) { f.Unload(); });
    p.ShowModal();
    EXPECT_FALSE(M::Loaded(M::Win::F_Hjelp));
    processEvents();
    EXPECT_EQ(M::load<Probe>(M::Win::F_Hjelp).loads, 1);  // a new window
    M::ResetAll();
}

TEST(Toolkit, AnErrorOfAnEventIsAMessageAndTheEnd) {
    MsgBoxes boxes;
    QuitCatcher quit;
    ui::run([] { throw std::runtime_error("velmora.mdb (in /tmp): disk I/O error"); });
    EXPECT_EQ(boxes.lastPrompt(), "velmora.mdb (in /tmp): disk I/O error");
    EXPECT_TRUE(quit.calls() == 1 && quit.lastStatus() == 1);
}

// A timer runs while it is enabled and has an interval; Tick runs on each turn.
TEST(Toolkit, ATimerTicksWhileEnabledWithAnInterval) {
    QObject owner;
    ui::Timer t(&owner, 2000, false);
    int ticks = 0;
    t.Tick = [&] { ++ticks; };
    EXPECT_FALSE(t.timer()->isActive());
    t.setEnabled(true);
    t.setInterval(10);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticks > 0; }) && t.Interval() == 10);
    t.setInterval(0);
    const bool runsAtZero = t.timer()->isActive();
    t.setInterval(10);
    t.setEnabled(false);
    EXPECT_FALSE(runsAtZero || t.timer()->isActive());
}
