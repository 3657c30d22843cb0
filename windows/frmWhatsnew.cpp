#include "windows/frmWhatsnew.h"

#include "platform/design.h"
#include "platform/frames.h"
#include "platform/keyboard.h"
#include "windows/frmAbout.h"

#include <QWidget>

using namespace morvantel;

QWidget* frmWhatsnew::Load()
{
    auto* window = new QWidget;
    ui.setupUi(window);
    CompleteDesign(window);
    // The two separator lines form one group of controls.
    ui.Line1_0->setObjectName(QStringLiteral("Line1"));
    ui.Line1_1->setObjectName(QStringLiteral("Line1"));

    SetFixedBorder(window, TaskbarButton::Hidden);
    // The window opens with the focus on its first tab stop.
    ui.picIcon->setFocus();
    SetWindowKeys(window, nullptr, nullptr);
    window->setGeometry(QRect(AboutPlace, window->size()));

    BindHandler(ui.cmdAbout, &QPushButton::clicked, this, [this] { cmdAbout_Click(); });
    BindHandler(ui.cmdOk, &QPushButton::clicked, this, [this] { cmdOk_Click(); });
    return window;
}

void frmWhatsnew::cmdAbout_Click()
{
    Unload(*this);
    Show(Default<frmAbout>());
}

void frmWhatsnew::cmdOk_Click()
{
    Unload(*this);
}
