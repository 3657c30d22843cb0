#include "platform/captions.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPointF>
#include <QRect>
#include <QString>
#include <QTextLayout>
#include <QTextOption>

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
    const qreal pitch = std::ceil(QFontMetricsF(layout.font(), device).height());
    qreal height = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, (layout.lineCount() - 1) * pitch));
        height = line.y() + line.height();
    }
    layout.endLayout();
    return height;
}

QString WithLineSeparators(QString text)
{
    return text.replace(QChar(u'\n'), QChar::LineSeparator);
}

} // namespace

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
