// A window whose caption is empty shows no title at all. Qt hands the
// window system the application's name in place of an empty title, so on
// X11 the window's name properties are emptied by hand once it exists.
#pragma once

class QWidget;

namespace ui {

// Empties the window-system title of `window` when it has a native window
// on X11; elsewhere it does nothing.
void clearSystemTitle(QWidget* window);

}  // namespace ui
