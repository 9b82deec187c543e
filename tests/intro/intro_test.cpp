// The intro and about windows, opened from the Help menu of the main window.
#include <QAction>
#include <QTimer>

#include "fixture.h"
#include "intro/F_Hjelp.h"
#include "intro/F_Intro.h"

namespace {

class Intro : public MainWindowTest {
protected:
    // Opens the intro from the menu; whether a click on `part` of it (at its
    // middle, or at `at`) then closes it.
    template <class Part>
    bool closes(Part F_Intro::*part, QPoint at = {}) {
        w().M_Intro->trigger();
        QTest::mouseClick((M::F_Intro().*part).widget(), Qt::LeftButton, {}, at);
        testing_support::processEvents();
        return !M::Loaded(M::Win::F_Intro);
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
    EXPECT_TRUE(&M::F_Intro() == &i && i.tid.timer()->remainingTime() > 4000);
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
        EXPECT_FALSE(closes(l));
    for (auto l : {&F_Intro::lblProductName, &F_Intro::imgLogo}) EXPECT_TRUE(closes(l));
    EXPECT_TRUE(closes(&F_Intro::Frame1, {465, 5}) && closes(&F_Intro::K_lukk));
    EXPECT_TRUE(w().Visible());
}

TEST_F(Intro, AboutWindowHidesAndShowsAgainUnchanged) {
    w().M_Om->trigger();
    F_Hjelp& h = M::F_Hjelp();
    EXPECT_TRUE(h.Visible() && !h.IsModal());
    QTest::mouseClick(h.Command1.button(), Qt::LeftButton);
    EXPECT_TRUE(!h.Visible() && M::Loaded(M::Win::F_Hjelp));
    w().M_Om->trigger();
    EXPECT_TRUE(&M::F_Hjelp() == &h && h.Visible());
}
