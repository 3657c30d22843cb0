#include "platform/keyboard.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QWidget>

namespace morvantel {
namespace {

class WindowKeys : public QObject
{
public:
    WindowKeys(QWidget* window, QPushButton* defaultButton, QPushButton* cancelButton)
        : QObject(window), window_(window), default_(defaultButton), cancel_(cancelButton)
    {
        // A focused button takes Enter itself and looks like the default while it has the focus.
        for (QPushButton* button : window->findChildren<QPushButton*>())
            button->setAutoDefault(true);
        if (default_)
            default_->setDefault(true);
        window->installEventFilter(this);
        // Enter and Esc are the window's before a control's: under some
        // desktops' themes a frame takes Enter as it passes on its way up.
        for (QWidget* control : window->findChildren<QWidget*>())
            if (control->focusPolicy() != Qt::NoFocus && !qobject_cast<QAbstractButton*>(control) &&
                !qobject_cast<QMenuBar*>(control) && !qobject_cast<QMenu*>(control))
                control->installEventFilter(this);
        connect(qApp, &QApplication::focusChanged, this, &WindowKeys::FocusChanged);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::ShortcutOverride &&
            IsMenuShortcut(*static_cast<QKeyEvent*>(event))) {
            // Left unaccepted, the key goes to the menu instead of the text box.
            event->ignore();
            return true;
        }
        if (event->type() == QEvent::KeyPress)
            return PressButtonFor(*static_cast<QKeyEvent*>(event));
        return false;
    }

private:
    bool IsMenuShortcut(const QKeyEvent& key) const
    {
        const QKeySequence pressed(key.keyCombination());
        for (const QAction* action : window_->findChildren<QAction*>())
            if (action->isEnabled() && action->shortcuts().contains(pressed))
                return true;
        return false;
    }

    // Keys on a control that is not a button, or that no control took.
    bool PressButtonFor(const QKeyEvent& key)
    {
        QPushButton* button = nullptr;
        if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter)
            button = default_;
        else if (key.key() == Qt::Key_Escape && key.modifiers() == Qt::NoModifier)
            button = cancel_;
        if (!button)
            return false;
        button->click();
        return true;
    }

    void FocusChanged(QWidget*, QWidget* now)
    {
        if (!default_ || !now || now->window() != window_)
            return;
        auto* focusedButton = qobject_cast<QPushButton*>(now);
        for (QPushButton* button : window_->findChildren<QPushButton*>())
            button->setDefault(focusedButton ? button == focusedButton : button == default_);
    }

    QWidget* window_;
    QPointer<QPushButton> default_, cancel_;
};

} // namespace

void SetWindowKeys(QWidget* window, QPushButton* defaultButton, QPushButton* cancelButton)
{
    new WindowKeys(window, defaultButton, cancelButton);
}

} // namespace morvantel
