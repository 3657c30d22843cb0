#include "windows/frmAbout.h"

#include "platform/design.h"
#include "platform/frames.h"
#include "platform/keyboard.h"
#include "platform/style.h"
#include "windows/frmWhatsnew.h"

#include <QPalette>
#include <QWidget>

using namespace morvantel;

QWidget* frmAbout::Load()
{
    auto* window = new QWidget;
    ui.setupUi(window);
    CompleteDesign(window);
    // The two separator lines form one group of controls.
    ui.Line1_0->setObjectName(QStringLiteral("Line1"));
    ui.Line1_1->setObjectName(QStringLiteral("Line1"));
    QPalette frame = ui.frmaboutnew->palette();
    frame.setColor(QPalette::WindowText, SystemColourOf(SystemColour::ActiveBorder));
    ui.frmaboutnew->setPalette(frame);
    FillBackground(ui.frmaboutnew, SystemColourOf(SystemColour::MenuText));

    SetFixedBorder(window, TaskbarButton::Hidden);
    // The window opens with the focus on its first tab stop.
    ui.cmdOK->setFocus();
    SetWindowKeys(window, nullptr, nullptr);
    window->setGeometry(QRect(AboutPlace, window->size()));

    BindHandler(ui.cmdNew, &QPushButton::clicked, this, [this] { cmdNew_Click(); });
    BindHandler(ui.cmdOK, &QPushButton::clicked, this, [this] { cmdOk_Click(); });
    return window;
}

void frmAbout::cmdNew_Click()
{
    Unload(*this);
    Show(Default<frmWhatsnew>());
}

void frmAbout::cmdOk_Click()
{
    Unload(*this);
}
