#pragma once
#include <QIcon>

namespace tessaron::qt {
// Toolbar picture `index` (1-based, as the toolbar's picture list numbers them), with
// its light grey (192, 192, 192) shown transparent. An unknown index gives an empty icon.
QIcon toolbarIcon(int index);
}  // namespace tessaron::qt
