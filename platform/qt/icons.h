#pragma once
// The toolbar's pictures and the program's icon, drawn as SVG and rendered at whatever
// size and scale they are shown. A picture's "currentColor" (its outlines and plain
// strokes) takes the palette's text colour, so it reads on light and dark palettes.
//
// Example: toolbarIcon(10) is the music note; on a dark palette its note is drawn in
// the palette's light text colour, at 40 x 40 device pixels on a screen of scale 2.

#include <QIcon>

namespace tessaron::qt {
// Toolbar picture `index` (1-based, as the toolbar's picture list numbers them); 1 is the
// program's icon. An unknown index gives an empty icon.
QIcon toolbarIcon(int index);
}  // namespace tessaron::qt
