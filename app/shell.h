#pragma once

#include "platform/window_error.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>

class QEvent;

namespace morvantel {

// A window class's one instance. The instance lives for the whole run; its
// window exists only while it is open, and opening builds it afresh from the
// class's Designer form.
class Form : public QObject
{
public:
    Form();
    bool IsOpen() const { return !window_.isNull(); }
    QWidget* Window() const { return window_; }

protected:
    // Builds a new window from the design, with every handler bound.
    virtual QWidget* Load() = 0;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend void Show(Form& form);
    friend void Unload(Form& form);
    QPointer<QWidget> window_;
};

// The default instance of a window class, created on first reference and kept
// until the process ends.
template <typename WindowClass> WindowClass& Default()
{
    static WindowClass* const instance = new WindowClass;
    return *instance;
}

// Opens the window if it is closed, then brings it to the front and activates it.
void Show(Form& form);
// Closes the window at once; the instance stays for the next Show.
void Unload(Form& form);
// Ends the program at once: every window vanishes, no handler runs any more,
// and the process exits with status 0.
void End();
bool ProgramEnded();

// Runs a handler the way every event reaches the program: not at all once the
// program has ended, a failure reported as fatal, and afterwards the end of the
// program if no window is left open.
void RunHandler(const std::function<void()>& handler);

// Binds one event of a control to its one handler. An event that reaches a
// window after it was closed runs nothing.
template <typename Control, typename Signal, typename Handler>
void BindHandler(Control* control, Signal event, Form* form, Handler handler)
{
    QObject::connect(control, event, form, [form, handler] {
        if (form->IsOpen())
            RunHandler(handler);
    });
}

// Binds a click (left button pressed and released over the control) on a
// control that has no clicked signal of its own: a label, a frame, a picture.
// The click is the control's alone; it does not reach the control beneath.
void BindClick(QWidget* control, Form* form, std::function<void()> handler);

// Binds a window's key preview: every key press that produces a character,
// whichever control has the focus, with that character's code.
void BindKeyPress(QWidget* window, Form* form, std::function<void(int keyAscii)> handler);

// Shows a failure to the user and ends the program with a non-zero status.
void ReportFatalError(const QString& what);

// The seam through which the program's process ends; tests replace it to watch
// the end instead of leaving their own process.
void SetQuitHandler(std::function<void(int status)> quit);
// For tests: starts a fresh run after the previous one ended.
void ResetProgramForTest();

} // namespace morvantel
