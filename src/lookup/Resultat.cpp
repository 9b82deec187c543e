#include "lookup/Resultat.h"

#include <QKeyEvent>
#include <QListView>

#include "shared/M.h"
#include "ui/pictures.h"

::Resultat& M::Resultat() { return M::load<::Resultat>(M::Win::Resultat); }

Resultat::Resultat()
    : ui::Form("Results of lookup", 447, 434), L_Resultat(client(), false), K_Lukk_Vindu(client(), "Close") {
    // The title bar's close unloads the window; the lookup then reads the
    // list of a fresh, empty window and so picks nothing.
    setTitleClose(TitleClose::Unload);
    if (M::Loaded(M::Win::Velmora)) setCentreOn(&M::form(M::Win::Velmora));

    L_Resultat.setPlace(0, 0, 449, 436);
    L_Resultat.setFont("MS Sans Serif", 9.75, true);
    L_Resultat.setColors(ui::rgb(255, 255, 0), ui::rgb(64, 0, 0));
    K_Lukk_Vindu.setPlace(396, 360, 49, 53);
    K_Lukk_Vindu.setIcon(ui::pictures::icon(ui::pictures::Icon::Close), 24);
    K_Lukk_Vindu.setIconAbove(true);
    K_Lukk_Vindu.widget()->raise();
    ui::setTabOrder({L_Resultat.widget(), K_Lukk_Vindu.widget()});

    L_Resultat.Click = [this] { L_Resultat_Click(); };
    K_Lukk_Vindu.Click = [this] { K_Lukk_Vindu_Click(); };
}

void Resultat::L_Resultat_Click() { Hide(); }
void Resultat::K_Lukk_Vindu_Click() { Hide(); }

void Resultat::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier) {
        ui::run([this] { K_Lukk_Vindu_Click(); });
        return;
    }
    ui::Form::keyPressEvent(e);
}
