#include "windows/frmSplash.h"

#include "platform/design.h"
#include "platform/frames.h"
#include "platform/placement.h"
#include "windows/frmTranslate.h"

#include <QWidget>

using namespace morvantel;

QWidget* frmSplash::Load()
{
    auto* clientArea = new QWidget;
    ui.setupUi(clientArea);
    CompleteDesign(clientArea);
    QWidget* window = InDialogFrame(clientArea);
    CentreOnScreen(window);

    BindKeyPress(window, this, [this](int KeyAscii) { Form_KeyPress(KeyAscii); });
    BindClick(ui.Frame1, this, [this] { Frame1_Click(); });
    BindClick(ui.imgLogo, this, [this] { imgLogo_Click(); });
    BindClick(ui.lblCompany, this, [this] { lblCompany_Click(); });
    BindClick(ui.lblCompanyProduct, this, [this] { lblCompanyProduct_Click(); });
    BindClick(ui.lblCopyright, this, [this] { lblCopyright_Click(); });
    BindClick(ui.lblLicenseTo, this, [this] { lblLicenseTo_Click(); });
    BindClick(ui.lblPlatform, this, [this] { lblPlatform_Click(); });
    BindClick(ui.lblProductName, this, [this] { lblProductName_Click(); });
    BindClick(ui.lblVersion, this, [this] { lblVersion_Click(); });
    BindClick(ui.lblWarning, this, [this] { lblWarning_Click(); });
    return window;
}

// Every way out of the splash window is the same: close it, then show the main
// window. The program does not end in between, as a handler is still running.
void frmSplash::LeaveForMainWindow()
{
    Unload(*this);
    Show(Default<frmTranslate>());
}

void frmSplash::Form_KeyPress(int)
{
    LeaveForMainWindow();
}

void frmSplash::Frame1_Click()
{
    LeaveForMainWindow();
}

void frmSplash::imgLogo_Click()
{
    LeaveForMainWindow();
}

void frmSplash::lblCompany_Click()
{
    LeaveForMainWindow();
}

void frmSplash::lblCompanyProduct_Click()
{
    LeaveForMainWindow();
}

void frmSplash::lblCopyright_Click()
{
    LeaveForMainWindow();
}

void frmSplash::lblLicenseTo_Click()
{
    LeaveForMainWindow();
}

void frmSplash::lblPlatform_Click()
{
    LeaveForMainWindow();
}

void frmSplash::lblProductName_Click()
{
    LeaveForMainWindow();
}

void frmSplash::lblVersion_Click()
{
    LeaveForMainWindow();
}

void frmSplash::lblWarning_Click()
{
    LeaveForMainWindow();
}
