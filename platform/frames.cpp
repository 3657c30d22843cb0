#include "platform/frames.h"

#include "platform/windowing.h"

#include <QIcon>
#include <QLayout>
#include <QMargins>
#include <QPainter>
#include <QPalette>
#include <QWidget>
#include <qdrawutil.h>

namespace morvantel {
namespace {

const QIcon& ProgramIcon()
{
    // Loaded once and shared by every window of the run.
    static const QIcon* const icon = [] {
        auto* loaded = new QIcon(QStringLiteral(":/morvantel.ico"));
        loaded->addFile(QStringLiteral(":/morvantel@2x.png"));
        return loaded;
    }();
    return *icon;
}

// A window's fixed dialog frame, as the program draws it: two bevelled edges
// raised like a button's, then one of the button colour.
class DialogFrame : public QWidget
{
public:
    static constexpr int frameWidth = 3;

    explicit DialogFrame(QWidget* clientArea)
    {
        clientArea->setParent(this);
        clientArea->move(frameWidth, frameWidth);
        // No longer a window of its own, it paints its background itself.
        clientArea->setAutoFillBackground(true);
        clientArea->show();
        setFixedSize(
            clientArea->size().grownBy(QMargins(frameWidth, frameWidth, frameWidth, frameWidth)));
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        qDrawWinPanel(&painter, rect(), palette(), false);
        painter.setPen(palette().color(QPalette::Button));
        painter.drawRect(rect().adjusted(2, 2, -3, -3));
    }
};

} // namespace

void SetFixedBorder(QWidget* window, TaskbarButton taskbar)
{
    // A normal window, not a dialog: window managers list an ownerless dialog
    // in their switchers, and GNOME's on its taskbar, whatever it asks for.
    // On Windows, a frame of fixed size, which the user cannot drag.
    window->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                           Qt::MSWindowsFixedSizeDialogHint);
    window->setWindowIcon(ProgramIcon());
    if (QLayout* layout = window->layout())
        layout->setSizeConstraint(QLayout::SetFixedSize);
    else
        window->setFixedSize(window->size());
    if (taskbar == TaskbarButton::Hidden)
        windowing::KeepOutOfWindowLists(window);
}

QWidget* InDialogFrame(QWidget* clientArea)
{
    auto* window = new DialogFrame(clientArea);
    window->setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    windowing::KeepOutOfWindowLists(window);
    windowing::FixInPlace(window);
    windowing::ClearName(window);
    return window;
}

} // namespace morvantel
