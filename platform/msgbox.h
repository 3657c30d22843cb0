#pragma once

#include <QString>

#include <functional>

class QDialog;
class QWidget;

namespace morvantel {

// The answers a Yes/No box gives, as the program stores them.
enum MsgBoxAnswer : short { vbYes = 6, vbNo = 7 };

// Asks a Yes/No question beside an exclamation mark, modal to the whole
// program. Yes is the default button. Only Yes or No ends the box: Esc and the
// title bar's close button do nothing.
MsgBoxAnswer AskYesNo(QWidget* parent, const QString& prompt, const QString& title);

// Shows a failure with an OK button, modal to the whole program.
void ShowFailure(const QString& text, const QString& title);

// The seam through which every modal box runs until it is answered: exec() in
// the program; tests answer the box themselves, so that none can hang them.
void SetModalRunner(std::function<void(QDialog&)> run);

} // namespace morvantel
