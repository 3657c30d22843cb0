#pragma once

#include "app/shell.h"
#include "ui_frmSplash.h"

// The splash window, the first window of every run. It waits, without a
// timer, for a key that produces a character or a click on its content; each
// of its handlers closes it and shows the main window frmTranslate.
class frmSplash : public morvantel::Form
{
public:
    void Form_KeyPress(int KeyAscii);
    void Frame1_Click();
    void imgLogo_Click();
    void lblCompany_Click();
    void lblCompanyProduct_Click();
    void lblCopyright_Click();
    void lblLicenseTo_Click();
    void lblPlatform_Click();
    void lblProductName_Click();
    void lblVersion_Click();
    void lblWarning_Click();

protected:
    QWidget* Load() override;

private:
    void LeaveForMainWindow();

    Ui::frmSplash ui;
};
