#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

class QWidget;

namespace morvantel {

// Centres the whole window, border and title bar included, on its screen. The
// border is the one the window manager tells; where it puts another on the
// window once the window has appeared, the window moves once, then, unless
// the user has moved it already.
void CentreOnScreen(QWidget* window);

// Where the client area goes so that the window, with the border around it,
// is centred on the screen, its title bar inside the screen's available area.
// A border that could not be one on this screen counts as none.
QRect CentredClientArea(QSize client, QMargins border, QRect screen, QRect available);

} // namespace morvantel
