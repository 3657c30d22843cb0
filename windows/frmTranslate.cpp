#include "windows/frmTranslate.h"

#include "engine/translate.h"
#include "platform/design.h"
#include "platform/frames.h"
#include "platform/keyboard.h"
#include "platform/msgbox.h"
#include "platform/placement.h"
#include "platform/style.h"
#include "windows/frmAbout.h"
#include "windows/frmWhatsnew.h"

#include <QMainWindow>
#include <QString>
#include <QStringView>

#include <cstddef>
#include <string_view>

using namespace morvantel;

namespace {

// The word box holds more than any key of the word table, so that no answer
// changes, and more than it shows, so that typing never seems cut short; but
// no pasted page, which would stall the program and fill the memory.
constexpr int WordBoxLength = 255;
static_assert(WordBoxLength > LongestKey);

} // namespace

QWidget* frmTranslate::Load()
{
    auto* window = new QMainWindow;
    ui.setupUi(window);
    CompleteDesign(window);
    // The frame carries the window's own name, which its member cannot have.
    ui.fraTranslate->setObjectName(QStringLiteral("frmTranslate"));
    FillBackground(ui.lblAbout, SystemColourOf(SystemColour::MenuText));
    ui.txtWord->setMaxLength(WordBoxLength);

    SetFixedBorder(window, TaskbarButton::Shown);
    // The window opens with the focus on its first tab stop.
    ui.txtWord->setFocus();
    SetWindowKeys(window, ui.cmdTranslate, ui.cmdClear);
    CentreOnScreen(window);

    BindHandler(ui.cmdTranslate, &QPushButton::clicked, this, [this] { cmdTranslate_Click(0); });
    BindHandler(ui.cmdClear, &QPushButton::clicked, this, [this] { cmdClear_Click(1); });
    BindHandler(ui.mnuExit, &QAction::triggered, this, [this] { mnuExit_Click(); });
    BindHandler(ui.mnuAbout, &QAction::triggered, this, [this] { mnuAbout_Click(); });
    BindHandler(ui.mnuNew, &QAction::triggered, this, [this] { mnuNew_Click(); });
    return window;
}

void frmTranslate::cmdTranslate_Click(int)
{
    const QString word = ui.txtWord->text();
    const std::u16string_view answer =
        TranslateWord({QStringView(word).utf16(), std::size_t(word.size())});
    ui.txtTranslation->setText(QStringView(answer).toString());
}

void frmTranslate::cmdClear_Click(int)
{
    ui.txtWord->setText(QString());
    ui.txtTranslation->setText(QString());
}

void frmTranslate::mnuExit_Click()
{
    exitMsg = AskYesNo(Window(), QStringLiteral("Are you Sure you want to Quit?"),
                       QStringLiteral("Tessar Morvantel"));
    if (exitMsg == vbYes)
        End();
}

void frmTranslate::mnuAbout_Click()
{
    Show(Default<frmAbout>());
}

void frmTranslate::mnuNew_Click()
{
    Show(Default<frmWhatsnew>());
}
