#pragma once

#include "app/shell.h"
#include "platform/look.h"
#include "platform/msgbox.h"
#include "windows/frmAbout.h"
#include "windows/frmSplash.h"
#include "windows/frmTranslate.h"
#include "windows/frmWhatsnew.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
#include <QTest>
#include <QWidget>

#include <functional>
#include <optional>

// Runs the program's windows inside a test: the end of the program and every
// modal box are caught here, so that nothing ends or blocks the test process.
class ProgramUnderTest
{
public:
    ProgramUnderTest()
    {
        QApplication::setQuitOnLastWindowClosed(false);
        morvantel::ApplyProgramLook(*qApp);
        morvantel::SetQuitHandler([this](int status) { exitStatus = status; });
        morvantel::SetModalRunner([this](QDialog& box) {
            ++boxesShown;
            if (answerBox)
                answerBox(box);
        });
    }

    // Starts a fresh run: no window open, nothing ended, no box answered yet.
    void Restart()
    {
        morvantel::ResetProgramForTest();
        DeleteClosedWindows();
        exitStatus.reset();
        boxesShown = 0;
        answerBox = nullptr;
    }

    static void DeleteClosedWindows()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    static int VisibleWindowCount()
    {
        int count = 0;
        for (const QWidget* window : QApplication::topLevelWidgets())
            count += window->isVisible();
        return count;
    }

    std::optional<int> exitStatus;
    int boxesShown = 0;
    // Answers a modal box; the box is not running its own event loop here.
    std::function<void(QDialog&)> answerBox;
};

// A control of an open window, or null once the window is closed.
template <typename Control> Control* Find(const morvantel::Form& form, const char* name)
{
    return form.Window() ? form.Window()->findChild<Control*>(QString::fromLatin1(name)) : nullptr;
}

// A window class's one instance, by the class's name.
inline morvantel::Form& FormNamed(const QString& name)
{
    using morvantel::Default;
    if (name == "frmAbout")
        return Default<frmAbout>();
    if (name == "frmWhatsnew")
        return Default<frmWhatsnew>();
    if (name == "frmSplash")
        return Default<frmSplash>();
    return Default<frmTranslate>();
}
