#include "platform/style.h"

#include "platform/captions.h"
#include "platform/design.h"
#ifdef Q_OS_WIN
#include "platform/win32.h"
#endif

#include <QApplication>
#include <QDialogButtonBox>
#include <QFont>
#include <QFontMetricsF>
#include <QIcon>
#include <QPainter>
#include <QPalette>
#include <QPen>
#include <QPixmap>
#include <QPolygonF>
#include <QProxyStyle>
#include <QSize>
#include <QStyleFactory>
#include <QWidget>

#include <cmath>

// The pictures are built into the platform library, which the linker would
// leave out of the program unless something names them.
static void LoadPictures()
{
    Q_INIT_RESOURCE(resources);
}

namespace morvantel {
namespace {

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

// How far the face's own metrics set a line's baseline from where Qt sets it
// by the font engine's, which may be rounded: nothing where they agree.
qreal BaselineShift(QPainter& painter, int alignment)
{
    const QFontMetricsF engine(painter.font(), painter.device());
    const FaceMetrics face = FaceMetrics::Of(painter.font(), painter.device());
    qreal shift = face.ascent - engine.ascent();
    if (alignment & Qt::AlignVCenter)
        shift += (engine.height() - face.height) / 2;
    else if (alignment & Qt::AlignBottom)
        shift += engine.height() - face.height;
    // Less than the engine can tell apart.
    return std::abs(shift) < 1.0 / 64 ? 0 : shift;
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

    // A menu bar's items as high as the face's text, where the font engine
    // rounds it lower.
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override
    {
        QSize fitted = QProxyStyle::sizeFromContents(type, option, size, widget);
        if (type == CT_MenuBarItem && widget) {
            const QFontMetricsF engine(widget->font(), widget);
            const FaceMetrics face = FaceMetrics::Of(widget->font(), widget);
            fitted.rheight() += int(std::ceil(face.height) - std::ceil(engine.height()));
        }
        return fitted;
    }

    // A wrapped caption's lines as the design spaces them, not as the font
    // engine would; a line of text placed by the face's height and ascent.
    void drawItemText(QPainter* painter, const QRect& rect, int alignment, const QPalette& palette,
                      bool enabled, const QString& text, QPalette::ColorRole role) const override
    {
        if (!(alignment & Qt::TextWordWrap) || !enabled) {
            const qreal shift = BaselineShift(*painter, alignment);
            painter->translate(0, shift);
            QProxyStyle::drawItemText(painter, rect, alignment, palette, enabled, text, role);
            painter->translate(0, -shift);
            return;
        }
        painter->save();
        if (role != QPalette::NoRole)
            painter->setPen(QPen(palette.brush(role), painter->pen().widthF()));
        DrawWrappedCaption(*painter, rect, alignment, text);
        painter->restore();
    }
};

} // namespace

QColor SystemColourOf(SystemColour colour)
{
#ifdef Q_OS_WIN
    // Qt's palette takes its roles from other colours of the scheme than these.
    return win32::SchemeColour(static_cast<int>(colour));
#else
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
#endif
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
    LoadPictures();
    app.setStyle(new ProgramStyle);
    // The dialog font of the platform the windows were designed on, for
    // controls without a font of their own.
    QFont dialogFont(WithStandIn(QStringLiteral("MS Sans Serif")));
    dialogFont.setPointSizeF(8.25);
    QApplication::setFont(dialogFont);
}

} // namespace morvantel
