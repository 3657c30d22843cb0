#include "platform/placement.h"

#include "platform/windowing.h"

#include <QLayout>
#include <QScreen>
#include <QStyle>
#include <QWidget>

#include <algorithm>

namespace morvantel {

void CentreOnScreen(QWidget* window)
{
    if (QLayout* layout = window->layout())
        layout->activate();
    const auto centre = [window](QMargins border) {
        const QScreen* screen = window->screen();
        window->setGeometry(CentredClientArea(window->size(), border, screen->geometry(),
                                              screen->availableGeometry()));
    };
    // A window without a frame needs no window manager's word on it.
    if (window->windowFlags() & Qt::FramelessWindowHint) {
        centre(QMargins());
        return;
    }
    const QMargins border = windowing::FrameBorder(window).value_or(QMargins());
    centre(border);
    // Where the window manager frames the window otherwise than it said, once
    // it shows, the window is centred again with the border it got; unless
    // the user has moved it by then.
    const QPoint placed = window->geometry().topLeft();
    windowing::WhenFrameBorderChanges(window, border, [window, placed, centre](QMargins got) {
        if (window->geometry().topLeft() == placed)
            centre(got);
    });
}

QRect CentredClientArea(QSize client, QMargins border, QRect screen, QRect available)
{
    const qint64 across = qint64(border.left()) + border.right();
    const qint64 down = qint64(border.top()) + border.bottom();
    const bool plausible = border.left() >= 0 && border.top() >= 0 && border.right() >= 0 &&
                           border.bottom() >= 0 && across < screen.width() &&
                           down < screen.height();
    if (!plausible)
        border = QMargins();
    QRect whole =
        QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, client.grownBy(border), screen);
    // A window larger than the screen keeps its title bar where it can be reached.
    whole.moveTopLeft(
        QPoint(std::max(whole.left(), available.left()), std::max(whole.top(), available.top())));
    return whole.marginsRemoved(border);
}

} // namespace morvantel
