#pragma once

#include "app/shell.h"
#include "ui_frmAbout.h"

#include <QPoint>

// Where the About window's client area stands on the screen, as designed;
// the What's New window stands there too.
inline constexpr QPoint AboutPlace(156, 129);

// The About window: the program's name, version and purpose beside the logo.
// OK closes it; "Whats New" closes it and shows frmWhatsnew.
class frmAbout : public morvantel::Form
{
public:
    void cmdNew_Click();
    void cmdOk_Click();

protected:
    QWidget* Load() override;

private:
    Ui::frmAbout ui;
};
