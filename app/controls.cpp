#include "app/controls.h"

#include "app/shell.h"

#include <QPainter>

namespace morvantel {

void PictureBox::setPicture(const QString& source)
{
    QPixmap pixmap(source);
    if (pixmap.isNull())
        throw WindowError(
            QStringLiteral("The picture %1 could not be loaded.").arg(source).toStdString());
    source_ = source;
    pixmap_ = std::move(pixmap);
    update();
}

void PictureBox::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect inside = contentsRect();
    if (stretch_) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawPixmap(inside, pixmap_);
        return;
    }
    painter.setClipRect(inside);
    painter.drawPixmap(inside.topLeft(), pixmap_);
}

void PictureBox::setStretch(bool stretch)
{
    stretch_ = stretch;
    update();
}

LineControl::LineControl(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void LineControl::setColour(const QColor& colour)
{
    colour_ = colour;
    update();
}

void LineControl::paintEvent(QPaintEvent*)
{
    QPainter(this).fillRect(rect(), colour_);
}

} // namespace morvantel
