#pragma once

#include <QColor>
#include <QMargins>
#include <QRect>
#include <QSize>

class QApplication;
class QWidget;

namespace morvantel {

// The colours a design names by system colour number follow the user's scheme.
enum class SystemColour { Window = 5, MenuText = 7, ActiveBorder = 10 };
QColor SystemColourOf(SystemColour colour);

// Gives a control a solid background of the given colour.
void FillBackground(QWidget* control, const QColor& colour);

// The grey, bevelled look the windows are designed for, whatever the desktop:
// the dialog font of controls without a font of their own, and Yes before No.
void ApplyProgramLook(QApplication& app);

// A fixed border with a title bar, the program icon, a close box and no
// minimise or maximise button; the window cannot be resized. A window without
// a taskbar button has no place in the desktop's window lists either.
enum class TaskbarButton { Shown, Hidden };
void SetFixedBorder(QWidget* window, TaskbarButton taskbar);

// Puts a designed client area into a window of its own with a fixed dialog
// frame and no title bar, and returns that window. The program draws the
// frame, so it is alike under every window manager. The window has no icon,
// no taskbar button and no name; the user can neither move nor resize it.
QWidget* InDialogFrame(QWidget* clientArea);

// Centres the whole window, border and title bar included, on its screen. The
// border is the one the window manager tells; where it tells it only after
// the window has appeared, the window moves once, then.
void CentreOnScreen(QWidget* window);

// Where the client area goes so that the window, with the border around it,
// is centred on the screen, its title bar inside the screen's available area.
// A border that could not be one on this screen counts as none.
QRect CentredClientArea(QSize client, QMargins border, QRect screen, QRect available);

// Finishes what a Designer form cannot store: each control's exact point size
// (9.75, 8.25 …), kept in its property pointSizeF, in its face or the installed
// face of the same metrics; and labels with the property
// autoSize, which take the size of their caption. Without word wrap such a
// label takes its one-line size; with word wrap it keeps its width and takes
// the height the wrapped caption needs. Either way it keeps its top-left corner.
void CompleteDesign(QWidget* window);

} // namespace morvantel
