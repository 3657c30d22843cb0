#include "platform/captions.h"

#include <QByteArray>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPointF>
#include <QRawFont>
#include <QRect>
#include <QString>
#include <QTextLayout>
#include <QTextOption>
#include <QtEndian>

#include <cmath>

namespace morvantel {
namespace {

// Lays the caption out in lines of the width, one text height apart; returns
// the height from the top of the first line to the foot of the last.
qreal LayOut(QTextLayout& layout, QPaintDevice* device, int alignment, int width)
{
    QTextOption option(Qt::Alignment(alignment) & Qt::AlignHorizontal_Mask);
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    const qreal textHeight = FaceMetrics::Of(layout.font(), device).height;
    const qreal pitch = std::ceil(textHeight);
    qreal height = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, (layout.lineCount() - 1) * pitch));
        height = line.y() + textHeight;
    }
    layout.endLayout();
    return height;
}

QString WithLineSeparators(QString text)
{
    return text.replace(QChar(u'\n'), QChar::LineSeparator);
}

} // namespace

FaceMetrics FaceMetrics::Of(const QFont& font, const QPaintDevice* device)
{
    const QRawFont face = QRawFont::fromFont(QFont(font, device));
    const QByteArray header = face.fontTable("hhea");
    if (header.size() < 8 || face.unitsPerEm() <= 0) {
        const QFontMetricsF engine(font, device);
        return {engine.ascent(), engine.height()};
    }
    const qreal scale = face.pixelSize() / face.unitsPerEm();
    const auto ascender = qFromBigEndian<qint16>(header.constData() + 4);
    const auto descender = qFromBigEndian<qint16>(header.constData() + 6);
    return {ascender * scale, (ascender - descender) * scale};
}

int WrappedCaptionHeight(const QString& text, const QFont& font, int width, QPaintDevice* device)
{
    QTextLayout layout(WithLineSeparators(text), font, device);
    return int(std::ceil(LayOut(layout, device, Qt::AlignLeft, width)));
}

void DrawWrappedCaption(QPainter& painter, const QRect& rect, int alignment, const QString& text)
{
    QTextLayout layout(WithLineSeparators(text), painter.font(), painter.device());
    const qreal height = LayOut(layout, painter.device(), alignment, rect.width());
    qreal top = rect.top();
    if (alignment & Qt::AlignBottom)
        top += rect.height() - height;
    else if (alignment & Qt::AlignVCenter)
        top += (rect.height() - height) / 2;
    layout.draw(&painter, QPointF(rect.left(), top));
}

} // namespace morvantel
