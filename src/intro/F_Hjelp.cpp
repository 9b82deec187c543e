#include "intro/F_Hjelp.h"

#include "shared/M.h"
#include "ui/pictures.h"

::F_Hjelp& M::F_Hjelp() { return M::load<::F_Hjelp>(M::Win::F_Hjelp); }

F_Hjelp::F_Hjelp() : ui::Form("About Velmora", 508, 477), Image1(client(), ""), Command1(client(), "OK") {
    setTitleClose(TitleClose::Hide);
    Image1.setPlace(0, 0, 510, 483);
    Image1.setPicture(ui::pictures::puzzle(510, 483));
    Command1.setPlace(412, 424, 89, 45);
    Command1.setIcon(ui::pictures::icon(ui::pictures::Icon::Ok), 20);
    Command1.setIconAbove(true);
    Command1.widget()->raise();
    ui::setTabOrder({Command1.widget()});
    Command1.Click = [this] { Command1_Click(); };
}

void F_Hjelp::Command1_Click() { Hide(); }
