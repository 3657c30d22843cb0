#pragma once

#include <QColor>

class QApplication;
class QWidget;

namespace morvantel {

// The colours a design names by system colour number follow the user's scheme.
enum class SystemColour { Window = 5, MenuText = 7, ActiveBorder = 10 };
QColor SystemColourOf(SystemColour colour);

// Gives a control a solid background of the given colour.
void FillBackground(QWidget* control, const QColor& colour);

// The grey, bevelled look the windows are designed for, whatever the desktop:
// the dialog font of controls without a font of their own, Yes before No, and
// the pictures the windows show.
void ApplyProgramLook(QApplication& app);

} // namespace morvantel
