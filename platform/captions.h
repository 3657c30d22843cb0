#pragma once

#include <QtGlobal>

class QFont;
class QPaintDevice;
class QPainter;
class QRect;
class QString;

namespace morvantel {

// The face's ascent, and its ascent and descent together, at the font's size
// on the device, as the face's own tables give them. Font engines that place
// glyphs on whole pixels round each first (Qt's on Windows from 6.8: Arial
// 20.25 pt bold, 24.44 and 5.72 px, becomes 24 and 6), and so would set
// captions and size menus a pixel off the design.
struct FaceMetrics
{
    qreal ascent = 0;
    qreal height = 0;

    static FaceMetrics Of(const QFont& font, const QPaintDevice* device);
};

// A label's caption over several lines, as the platform the windows were
// designed on wraps it: at blanks, within the label's width, each line the
// face's text height below the one before, its ascent and descent together
// rounded up to a whole pixel. Font engines add a leading of their own between
// lines, which differs between versions of FreeType and Qt (Arial 20.25 pt
// bold: 0.89 px, or none); the design has none.

// The height the caption takes at that width, on that device.
int WrappedCaptionHeight(const QString& text, const QFont& font, int width, QPaintDevice* device);

// Draws the caption into the rectangle, aligned as asked, with the painter's
// font and pen.
void DrawWrappedCaption(QPainter& painter, const QRect& rect, int alignment, const QString& text);

} // namespace morvantel
