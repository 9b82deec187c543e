// The program's own pictures, painted in code so they stay crisp at any
// size: the image-button icons, the window icon, and the puzzle-grid
// pictures of the intro and about windows.
#pragma once

#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QRect>
#include <vector>

namespace ui::pictures {

enum class Icon {
    App,       // the window icon
    Save,      // the save buttons of the main window
    Erase,     // the erase buttons
    Search,    // the category search button
    Simulate,  // "Simulate" in the main window and the simulator's run button
    Exit,      // "Exit"
    Close,     // "Close" of the results window, the simulator's close button
    Done,      // "Done!" of the square properties dialog
    Ok,        // "OK" of the about window
};

QIcon icon(Icon which);
// Paints an icon on a 64-unit square at the painter's origin; the icon
// files of the menu entry are painted with it, at any size.
void paint(QPainter& g, Icon which);
// A grid of coloured puzzle squares, width by height pixels. The `calm`
// places are veiled in white, so that text laid over them reads clearly.
QPixmap puzzle(int width, int height, const std::vector<QRect>& calm = {});

}  // namespace ui::pictures
