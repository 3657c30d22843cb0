#pragma once

#include "app/shell.h"
#include "ui_frmTranslate.h"

// The main window, shown by the splash window. The user types a word into
// txtWord; Translate (or Enter) writes TranslateWord's answer into
// txtTranslation, Clear (or Esc) empties both boxes. File › Exit asks before it
// ends the whole program; the Help menu shows frmAbout and frmWhatsnew beside
// this window.
class frmTranslate : public morvantel::Form
{
public:
    // The answer of the exit confirmation: vbYes or vbNo, 0 until asked.
    short exitMsg = 0;

    void cmdTranslate_Click(int Index);
    void cmdClear_Click(int Index);
    void mnuExit_Click();
    void mnuAbout_Click();
    void mnuNew_Click();

protected:
    QWidget* Load() override;

private:
    Ui::frmTranslate ui;
};
