// The user's own word database, for Velmora started from the applications
// menu: velmora.mdb in the user's data folder (XDG rules, normally
// ~/.local/share/velmora), built there on the very first start from the
// installed word lists by velmora-mkdb, with a progress window.
#pragma once

#include <QString>

namespace app {

// The folder of the user's own word database.
QString userDataFolder();
// velmora-mkdb beside the running program when it is there (an installed or
// staged program), else the one on the PATH.
QString mkdbProgram();
// Makes the data folder and, when it holds no word database, builds one
// there with `mkdb`; then makes the folder current, so that velmora.mdb is
// the user's own. False, after a message naming what went wrong, when there
// is no word database to open.
bool openUserData(const QString& mkdb = mkdbProgram());

}  // namespace app
