// The intro and about windows, opened from the Help menu of the main window.
#include <QAction>
#include <QTimer>

#include "fixture.h"
#include "intro/F_Hjelp.h"
#include "intro/F_Intro.h"

namespace {

class Intro : public MainWindowTest {
protected:
    // Opens the intro from the menu; whether `click` on it then closes it.
    bool closes(const std::function<void(F_Intro&)>& click) {
        w().M_Intro->trigger();
        click(M::F_Intro());
        testing_support::processEvents();
        return !M::Loaded(M::Win::F_Intro);
    }
    static std::function<void(F_Intro&)> onLabel(ui::Label F_Intro::*l) {
        return [l](F_Intro& f) { QTest::mouseClick((f.*l).widget(), Qt::LeftButton, {}, QPoint(2, 2)); };
    }
};

}  // namespace

TEST_F(Intro, OpensWithItsCountRunningAndClosesOnTheTick) {
    w().M_Intro->trigger();
    F_Intro& i = M::F_Intro();
    EXPECT_TRUE(i.Visible() && i.K_lukk.Enabled() && i.tid.timer()->isActive());
    // Opening again restarts the count and makes no second window.
    i.tid.setInterval(40);
    w().M_Intro->trigger();
    EXPECT_EQ(&M::F_Intro(), &i);
    EXPECT_GT(i.tid.timer()->remainingTime(), 4000);
    // The tick unloads it; the next opening loads it afresh.
    i.tid.setInterval(20);
    QTRY_VERIFY_WITH_TIMEOUT(!M::Loaded(M::Win::F_Intro), 2000);
    testing_support::processEvents();
    w().M_Intro->trigger();
    EXPECT_TRUE(M::F_Intro().tid.Enabled() && M::F_Intro().K_lukk.Enabled());
}

TEST_F(Intro, ClicksCloseOnTheNameTheLogoTheFrameAndTheButtonOnly) {
    for (auto l : {&F_Intro::lblVersion, &F_Intro::lblPlatform, &F_Intro::lblWarning, &F_Intro::lblCompany,
                   &F_Intro::lblCopyright, &F_Intro::lblCompanyProduct})
        EXPECT_FALSE(closes(onLabel(l)));
    for (auto l : {&F_Intro::lblProductName, &F_Intro::imgLogo}) EXPECT_TRUE(closes(onLabel(l)));
    EXPECT_TRUE(closes([](F_Intro& f) { QTest::mouseClick(f.Frame1.widget(), Qt::LeftButton, {}, QPoint(465, 5)); }));
    EXPECT_TRUE(closes([](F_Intro& f) { QTest::mouseClick(f.K_lukk.button(), Qt::LeftButton); }));
    EXPECT_TRUE(w().Visible());
}

TEST_F(Intro, AboutWindowHidesAndShowsAgainUnchanged) {
    w().M_Om->trigger();
    F_Hjelp& h = M::F_Hjelp();
    EXPECT_TRUE(h.Visible() && !h.IsModal());
    QTest::mouseClick(h.Command1.button(), Qt::LeftButton);
    EXPECT_TRUE(!h.Visible() && M::Loaded(M::Win::F_Hjelp));
    w().M_Om->trigger();
    EXPECT_EQ(&M::F_Hjelp(), &h);
    EXPECT_TRUE(h.Visible());
}
