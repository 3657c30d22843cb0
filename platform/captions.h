#pragma once

class QFont;
class QPaintDevice;
class QPainter;
class QRect;
class QString;

namespace morvantel {

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
