#include "app/shell.h"

#include "app/look.h"
#include "app/msgbox.h"

#include <QCoreApplication>
#include <QEvent>

#include <vector>

namespace morvantel {
namespace {

std::vector<Form*>& Instances()
{
    static std::vector<Form*> instances;
    return instances;
}

bool ended = false;

std::function<void(int)>& QuitHandler()
{
    static std::function<void(int)> quit = [](int status) { QCoreApplication::exit(status); };
    return quit;
}

void CloseWindow(QPointer<QWidget>& window)
{
    QWidget* closing = window;
    window = nullptr;
    closing->hide();
    // The window may be closing from inside one of its own handlers.
    closing->deleteLater();
}

void Quit(int status)
{
    ended = true;
    for (Form* form : Instances())
        if (form->IsOpen())
            Unload(*form);
    QuitHandler()(status);
}

void EndIfNoWindowOpen()
{
    if (ended)
        return;
    for (const Form* form : Instances())
        if (form->IsOpen())
            return;
    Quit(0);
}

} // namespace

Form::Form()
{
    Instances().push_back(this);
}

bool Form::eventFilter(QObject* watched, QEvent* event)
{
    // Closed by the user (close box, system menu, Alt+F4): the same as Unload,
    // with nothing asked, and the program ends if that was its last window.
    if (event->type() == QEvent::Close && watched == window_) {
        Unload(*this);
        EndIfNoWindowOpen();
        return true;
    }
    return false;
}

void Show(Form& form)
{
    if (ended)
        return;
    if (!form.IsOpen()) {
        form.window_ = form.Load();
        ApplyDesignFonts(form.window_);
        form.window_->installEventFilter(&form);
    }
    form.window_->show();
    form.window_->raise();
    form.window_->activateWindow();
}

void Unload(Form& form)
{
    if (form.IsOpen())
        CloseWindow(form.window_);
}

void End()
{
    Quit(0);
}

bool ProgramEnded()
{
    return ended;
}

void RunHandler(const std::function<void()>& handler)
{
    if (ended)
        return;
    try {
        handler();
    } catch (const std::exception& failure) {
        ReportFatalError(QString::fromUtf8(failure.what()));
        return;
    }
    EndIfNoWindowOpen();
}

void ReportFatalError(const QString& what)
{
    ShowFailure(QStringLiteral("Run-time error:\n\n%1").arg(what), QStringLiteral("Translator"));
    Quit(1);
}

void SetQuitHandler(std::function<void(int)> quit)
{
    QuitHandler() = std::move(quit);
}

void ResetProgramForTest()
{
    for (Form* form : Instances())
        Unload(*form);
    ended = false;
}

} // namespace morvantel
