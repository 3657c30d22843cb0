#include "app/shell.h"

#include "platform/msgbox.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>

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

class ClickWatcher : public QObject
{
public:
    ClickWatcher(QWidget* control, Form* form, std::function<void()> handler)
        : QObject(control), control_(control), form_(form), handler_(std::move(handler))
    {
        control->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            pressed_ = static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
            return true;
        case QEvent::MouseButtonRelease: {
            const auto* release = static_cast<QMouseEvent*>(event);
            const bool clicked = pressed_ && release->button() == Qt::LeftButton &&
                                 control_->rect().contains(release->position().toPoint());
            pressed_ = false;
            if (clicked && form_->IsOpen())
                RunHandler(handler_);
            return true;
        }
        default:
            return false;
        }
    }

private:
    QWidget* control_;
    Form* form_;
    std::function<void()> handler_;
    bool pressed_ = false;
};

class KeyPreview : public QObject
{
public:
    KeyPreview(QWidget* window, Form* form, std::function<void(int)> handler)
        : QObject(window), form_(form), handler_(std::move(handler))
    {
        window->installEventFilter(this);
        for (QWidget* control : window->findChildren<QWidget*>())
            control->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        // Delete gives X11's DEL character, yet produces no character to type.
        if (key->text().isEmpty() || key->key() == Qt::Key_Delete)
            return false;
        const int keyAscii = key->text().at(0).unicode();
        if (form_->IsOpen())
            RunHandler([this, keyAscii] { handler_(keyAscii); });
        return true;
    }

private:
    Form* form_;
    std::function<void(int)> handler_;
};

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
        form.window_->installEventFilter(&form);
    }
    form.window_->show();
    // A minimised window comes back, so that Show always shows something.
    form.window_->setWindowState(form.window_->windowState() & ~Qt::WindowMinimized);
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

void BindClick(QWidget* control, Form* form, std::function<void()> handler)
{
    new ClickWatcher(control, form, std::move(handler));
}

void BindKeyPress(QWidget* window, Form* form, std::function<void(int)> handler)
{
    new KeyPreview(window, form, std::move(handler));
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
