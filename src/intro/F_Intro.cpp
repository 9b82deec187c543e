#include "intro/F_Intro.h"

#include <QLabel>

#include "shared/M.h"
#include "ui/pictures.h"

::F_Intro& M::F_Intro() { return M::load<::F_Intro>(M::Win::F_Intro); }

namespace {
void textColour(ui::Label& l, const QColor& c) {
    QPalette p = l.label()->palette();
    p.setColor(QPalette::WindowText, c);
    l.label()->setPalette(p);
}
}  // namespace

F_Intro::F_Intro()
    : ui::Form("", 492, 283),
      Frame1(client()),
      imgLogo(Frame1.inside(), ""),
      lblCompanyProduct(Frame1.inside(), "Velmora"),
      lblProductName(Frame1.inside(), "Velmora"),
      lblPlatform(Frame1.inside(), "Win2k/XP"),
      lblVersion(Frame1.inside(), VELMORA_VERSION " (05.2006)"),
      lblCopyright(Frame1.inside(), QString::fromUtf8("\u00a9 2026 Velmora contributors")),
      lblCompany(Frame1.inside(), "Velmora"),
      lblWarning(Frame1.inside(), " Warning: Min. 800x600"),
      K_lukk(client(), "Close Window"),
      tid(this, 2000, false) {
    setTitleClose(TitleClose::Unload);
    Frame1.setPlace(10, 4, 472, 270);
    imgLogo.setPlace(8, 12, 238, 227);
    // The maker's and the product's names lie over the logo: calm it there.
    imgLogo.setPicture(
        ui::pictures::puzzle(238, 227, {QRect(92 - 8, 28 - 12, 78, 29), QRect(44 - 8, 84 - 12, 333, 51)}));
    lblCompanyProduct.setPlace(92, 28, 78, 29);
    lblProductName.setPlace(44, 84, 333, 51);
    lblPlatform.setPlace(360, 156, 97, 24);
    lblVersion.setPlace(354, 180, 103, 19);
    lblCopyright.setPlace(304, 204, 161, 17);
    lblCompany.setPlace(304, 218, 161, 17);
    lblWarning.setPlace(12, 244, 449, 13);
    K_lukk.setPlace(388, 236, 81, 33);
    K_lukk.setEnabled(false);
    K_lukk.widget()->raise();

    lblProductName.setFont("Arial", 32.25, true);
    textColour(lblProductName, ui::rgb(128, 0, 0));
    lblProductName.setTransparent(true);
    lblCompanyProduct.setFont("Arial", 18, true);
    textColour(lblCompanyProduct, ui::rgb(0, 0, 192));
    lblCompanyProduct.setTransparent(true);
    lblVersion.setFont("Arial", 12, true);
    lblPlatform.setFont("Arial", 15.75, true);
    lblWarning.setFont("Arial", 8.25, false);
    lblCompany.setFont("Arial", 8.25, false);
    lblCopyright.setFont("Arial", 8.25, false);
    lblVersion.setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblPlatform.setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    for (ui::Label* l : {&lblProductName, &lblCompanyProduct, &lblVersion, &lblPlatform}) l->setAutoSize(true);
    // The name lies across the logo; the right-aligned labels keep their
    // right edge when they size themselves.
    lblProductName.widget()->raise();

    tid.Tick = [this] { tid_Timer(); };
    K_lukk.Click = [this] { K_lukk_Click(); };
    imgLogo.Click = [this] { imgLogo_Click(); };
    lblProductName.Click = [this] { lblProductName_Click(); };
    Frame1.Click = [this] { Frame1_Click(); };
}

void F_Intro::Form_Load() { tid.setEnabled(true); }

void F_Intro::closeIntro() {
    // The main window is open behind; showing it brings it forward.
    if (M::Loaded(M::Win::Velmora)) M::form(M::Win::Velmora).Show();
    Unload();
}

void F_Intro::tid_Timer() {
    tid.setEnabled(false);
    closeIntro();
}

void F_Intro::K_lukk_Click() { closeIntro(); }
void F_Intro::imgLogo_Click() { closeIntro(); }
void F_Intro::lblProductName_Click() { closeIntro(); }
void F_Intro::Frame1_Click() { closeIntro(); }
