// The intro and about windows, opened from the Help menu of the main window.
#include <QAction>
#include <QTimer>

#include "fixture.h"
#include "intro/F_Hjelp.h"
#include "intro/F_Intro.h"

namespace {

class Intro : public MainWindowTest {
protected:
    void open() { w().M_Intro->trigger(); }
    bool introLoaded() { return M::Loaded(M::Win::F_Intro); }
    void clickLabel(ui::Label& l) { QTest::mouseClick(l.widget(), Qt::LeftButton, {}, QPoint(2, 2)); }
};

}  // namespace

TEST_F(Intro, OpensWithItsCountRunningAndClosesOnTheTick) {
    open();
    ASSERT_TRUE(introLoaded());
    F_Intro& i = M::F_Intro();
    EXPECT_TRUE(i.Visible());
    EXPECT_TRUE(i.K_lukk.Enabled());
    EXPECT_TRUE(i.tid.timer()->isActive());
    // Opening again restarts the count and makes no second window.
    F_Intro* first = &i;
    i.tid.setInterval(40);
    open();
    EXPECT_TRUE(introLoaded());
    EXPECT_EQ(&M::F_Intro(), first);
    EXPECT_EQ(M::F_Intro().tid.Interval(), 5000);
    EXPECT_GT(M::F_Intro().tid.timer()->remainingTime(), 4000);
    // The tick unloads it; the next opening loads it afresh.
    M::F_Intro().tid.setInterval(20);
    QTRY_VERIFY_WITH_TIMEOUT(!introLoaded(), 2000);
    testing_support::processEvents();
    open();
    EXPECT_TRUE(M::F_Intro().tid.Enabled());
    EXPECT_TRUE(M::F_Intro().K_lukk.Enabled());
}

TEST_F(Intro, ClicksCloseOnTheNameTheLogoTheFrameAndTheButtonOnly) {
    open();
    F_Intro& i = M::F_Intro();
    for (ui::Label* l :
         {&i.lblVersion, &i.lblPlatform, &i.lblWarning, &i.lblCompany, &i.lblCopyright, &i.lblCompanyProduct}) {
        clickLabel(*l);
        testing_support::processEvents();
        ASSERT_TRUE(introLoaded()) << l->Caption().toStdString();
    }
    clickLabel(i.lblProductName);
    testing_support::processEvents();
    EXPECT_FALSE(introLoaded());

    // The logo, the frame beside the labels, and the button.
    const std::function<void(F_Intro&)> clicks[] = {
        [&](F_Intro& f) { clickLabel(f.imgLogo); },
        [](F_Intro& f) { QTest::mouseClick(f.Frame1.widget(), Qt::LeftButton, {}, QPoint(465, 5)); },
        [](F_Intro& f) { QTest::mouseClick(f.K_lukk.button(), Qt::LeftButton); }};
    for (const auto& click : clicks) {
        open();
        click(M::F_Intro());
        testing_support::processEvents();
        EXPECT_FALSE(introLoaded());
    }
    EXPECT_TRUE(w().Visible());
}

TEST_F(Intro, AboutWindowHidesAndShowsAgainUnchanged) {
    w().M_Om->trigger();
    F_Hjelp& h = M::F_Hjelp();
    EXPECT_TRUE(h.Visible());
    EXPECT_FALSE(h.IsModal());
    w().M_Om->trigger();
    EXPECT_EQ(&M::F_Hjelp(), &h);
    QTest::mouseClick(h.Command1.button(), Qt::LeftButton);
    EXPECT_FALSE(h.Visible());
    EXPECT_TRUE(M::Loaded(M::Win::F_Hjelp));
    w().M_Om->trigger();
    EXPECT_EQ(&M::F_Hjelp(), &h);
    EXPECT_TRUE(h.Visible());
    // The main window stays usable meanwhile.
    type(w().T_Ord, "x");
    EXPECT_EQ(w().T_Ord.Text(), "X");
}
