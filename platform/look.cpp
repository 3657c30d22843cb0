#include "platform/look.h"

#include "platform/x11.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFont>
#include <QIcon>
#include <QLabel>
#include <QLayout>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QPolygonF>
#include <QProxyStyle>
#include <QScreen>
#include <QStyle>
#include <QStyleFactory>
#include <QVariant>
#include <QWidget>
#include <qdrawutil.h>

#include <algorithm>

namespace morvantel {
namespace {

// A face the design names, led by the installed face of the same metrics,
// Liberation Sans, which Linux desktops have in place of Arial and MS Sans
// Serif. Named first, it is found at once, without a search through the
// fallbacks of a missing face.
QStringList WithStandIn(const QString& designFace)
{
    return {QStringLiteral("Liberation Sans"), designFace};
}

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

// The exclamation mark of a question, a black mark in a yellow triangle,
// drawn at each size it is shown at, so that it is the same at every scale.
QIcon ExclamationMark()
{
    QIcon icon;
    for (const qreal ratio : {1, 2}) {
        QPixmap pixmap(QSize(32, 32) * ratio);
        pixmap.setDevicePixelRatio(ratio);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(Qt::black, 1.5));
        painter.setBrush(QColor(255, 255, 0));
        painter.drawPolygon(QPolygonF({{16, 2}, {30.5, 29}, {1.5, 29}}));
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        painter.drawRoundedRect(QRectF(14.5, 10, 3, 11), 1.5, 1.5);
        painter.drawEllipse(QRectF(14.25, 23, 3.5, 3.5));
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

// The look of the platform the windows were designed on. Qt takes a few of
// its style hints from the desktop's theme instead: GNOME's puts No before
// Yes, gives the buttons of a message box icons, and draws its own
// exclamation mark, of another size at each scale.
class ProgramStyle : public QProxyStyle
{
public:
    ProgramStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Windows"))) {}

    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option,
                       const QWidget* widget) const override
    {
        if (icon == SP_MessageBoxWarning)
            return ExclamationMark();
        return QProxyStyle::standardIcon(icon, option, widget);
    }

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        switch (hint) {
        case SH_DialogButtonLayout:
            return QDialogButtonBox::WinLayout;
        case SH_DialogButtonBox_ButtonsHaveIcons:
            return false;
        default:
            return QProxyStyle::styleHint(hint, option, widget, returnData);
        }
    }
};

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

QColor SystemColourOf(SystemColour colour)
{
    const QPalette scheme = QApplication::palette();
    switch (colour) {
    case SystemColour::Window:
        return scheme.color(QPalette::Base);
    case SystemColour::MenuText:
        return scheme.color(QPalette::WindowText);
    case SystemColour::ActiveBorder:
        return scheme.color(QPalette::Button);
    }
    return {};
}

void FillBackground(QWidget* control, const QColor& colour)
{
    QPalette palette = control->palette();
    palette.setColor(QPalette::Window, colour);
    control->setPalette(palette);
    control->setAutoFillBackground(true);
}

void ApplyProgramLook(QApplication& app)
{
    app.setStyle(new ProgramStyle);
    // The dialog font of the platform the windows were designed on, for
    // controls without a font of their own.
    QFont dialogFont(WithStandIn(QStringLiteral("MS Sans Serif")));
    dialogFont.setPointSizeF(8.25);
    QApplication::setFont(dialogFont);
}

void SetFixedBorder(QWidget* window, TaskbarButton taskbar)
{
    // A normal window, not a dialog: window managers list an ownerless dialog
    // in their switchers, and GNOME's on its taskbar, whatever it asks for.
    window->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    window->setWindowIcon(ProgramIcon());
    if (QLayout* layout = window->layout())
        layout->setSizeConstraint(QLayout::SetFixedSize);
    else
        window->setFixedSize(window->size());
    if (taskbar == TaskbarButton::Hidden)
        x11::KeepOutOfWindowLists(window);
}

QWidget* InDialogFrame(QWidget* clientArea)
{
    auto* window = new DialogFrame(clientArea);
    window->setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    x11::KeepOutOfWindowLists(window);
    x11::FixInPlace(window);
    x11::ClearName(window);
    return window;
}

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
    if (const auto border = x11::FrameExtents(window)) {
        centre(*border);
        return;
    }
    centre(QMargins());
    x11::WhenFrameExtentsArrive(window, centre);
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

void CompleteDesign(QWidget* window)
{
    for (QWidget* control : window->findChildren<QWidget*>()) {
        const QVariant size = control->property("pointSizeF");
        if (!size.isValid())
            continue;
        QFont font = control->font();
        font.setPointSizeF(size.toDouble());
        font.setFamilies(WithStandIn(font.family()));
        // A label's caption is fixed, and every character of it is in its
        // face, so no other face need be looked for.
        if (qobject_cast<QLabel*>(control))
            font.setStyleStrategy(QFont::NoFontMerging);
        control->setFont(font);
    }
    for (QLabel* label : window->findChildren<QLabel*>()) {
        if (!label->property("autoSize").toBool())
            continue;
        if (label->wordWrap())
            label->resize(label->width(), label->heightForWidth(label->width()));
        else
            label->resize(label->sizeHint());
    }
}

} // namespace morvantel
