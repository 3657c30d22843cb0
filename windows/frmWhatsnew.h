#pragma once

#include "app/shell.h"
#include "ui_frmWhatsnew.h"

// The What's New window: the changes in version 1.2.5 and a contact address.
// OK closes it; About closes it and shows frmAbout.
class frmWhatsnew : public morvantel::Form
{
public:
    void cmdAbout_Click();
    void cmdOk_Click();

protected:
    QWidget* Load() override;

private:
    Ui::frmWhatsnew ui;
};
