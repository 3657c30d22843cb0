#pragma once

#include "app/shell.h"
#include "app/startup.h"
#include "platform/msgbox.h"
#include "windows/frmAbout.h"
#include "windows/frmSplash.h"
#include "windows/frmTranslate.h"
#include "windows/frmWhatsnew.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
#include <QHash>
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

// A control of an open window, or null once the window is closed. A name the
// window does not have ends the test at once: it is the test that is wrong.
template <typename Control> Control* Find(const morvantel::Form& form, const char* name)
{
    if (!form.Window())
        return nullptr;
    auto* control = form.Window()->findChild<Control*>(QString::fromLatin1(name));
    if (!control)
        qFatal("%s has no control %s of that kind", qPrintable(form.Window()->objectName()), name);
    return control;
}

// A window class's one instance, by the class's name.
inline morvantel::Form& FormNamed(const QString& name)
{
    using morvantel::Default;
    const QHash<QString, morvantel::Form*> forms = {{"frmTranslate", &Default<frmTranslate>()},
                                                    {"frmAbout", &Default<frmAbout>()},
                                                    {"frmWhatsnew", &Default<frmWhatsnew>()},
                                                    {"frmSplash", &Default<frmSplash>()}};
    if (!forms.contains(name))
        qFatal("no window class %s", qPrintable(name));
    return *forms[name];
}

// The main function of a window suite: the application started as the
// program starts it, with the desktop's scale, the look and the pictures.
#define MORVANTEL_TEST_MAIN(TestClass)                                                             \
    int main(int argc, char* argv[])                                                               \
    {                                                                                              \
        const auto app = morvantel::StartApplication(argc, argv);                                  \
        if (!app)                                                                                  \
            return 1;                                                                              \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
