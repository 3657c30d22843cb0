#pragma once

class QPushButton;
class QWidget;

namespace morvantel {

// Gives a window the keyboard of a dialog without making it a QDialog: Enter
// presses the button that has the focus, or else the default button; Esc
// presses the cancel button. Either button may be null. Menu shortcuts of the
// window win over the text boxes' own keys (Ctrl+X is Exit, not Cut).
void SetWindowKeys(QWidget* window, QPushButton* defaultButton, QPushButton* cancelButton);

} // namespace morvantel
