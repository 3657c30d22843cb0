#pragma once

#include <QByteArray>

#include <memory>

class QApplication;

namespace morvantel {

// Starts the application as the program runs: what is settled before Qt
// starts (the display, the scale), then Qt, with the program's name and look,
// ending only when the shell says so. The command line is Qt's alone, and the
// program passes none. Null, once the user has been told why, where there is
// no display to show the windows on.
std::unique_ptr<QApplication> StartApplication(int& argc, char* argv[]);

// What the program settles before QApplication exists, and tells Qt through
// its environment: the platform whose display opens (QT_QPA_PLATFORM), and
// the whole scale to draw at (QT_FONT_DPI, and the user's scale factors
// rounded, or dropped where they are no scale at all). False, once the user
// has been told why, where there is no display to show the windows on.
bool PrepareStart();

} // namespace morvantel
