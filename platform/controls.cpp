#include "platform/controls.h"

#include "platform/window_error.h"

#include <QFileInfo>
#include <QImageReader>
#include <QPaintEngine>
#include <QPainter>

namespace morvantel {

namespace {

// The picture in the file, in the format its name ends with. Qt would
// otherwise load every image plugin to ask each whether it reads the file.
QPixmap LoadPicture(const QString& file)
{
    QImageReader reader(file, QFileInfo(file).suffix().toLatin1());
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

} // namespace

void PictureBox::setPicture(const QString& source)
{
    QPixmap pixmap = LoadPicture(source);
    if (pixmap.isNull())
        throw WindowError(
            QStringLiteral("The picture %1 could not be loaded.").arg(source).toStdString());
    source_ = source;
    pixmap_ = std::move(pixmap);
    sharp_ = QPixmap();
    update();
}

const QPixmap& PictureBox::PictureFor(qreal devicePixelRatio)
{
    if (devicePixelRatio <= 1)
        return pixmap_;
    if (sharp_.isNull()) {
        const qsizetype dot = source_.lastIndexOf(QChar(u'.'));
        sharp_ = LoadPicture(QString(source_).insert(dot < 0 ? source_.size() : dot, u"@2x"));
        if (sharp_.isNull())
            sharp_ = pixmap_;
        else
            sharp_.setDevicePixelRatio(2);
    }
    return sharp_;
}

void PictureBox::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    // The device painted on, which is not the widget itself when it is rendered elsewhere.
    const QPixmap& picture = PictureFor(painter.paintEngine()->paintDevice()->devicePixelRatioF());
    const QRect inside = contentsRect();
    if (stretch_) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawPixmap(inside, picture);
        return;
    }
    painter.setClipRect(inside);
    painter.drawPixmap(inside.topLeft(), picture);
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
