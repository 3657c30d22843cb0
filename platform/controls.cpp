#include "platform/controls.h"

#include "platform/window_error.h"

#include <QFileInfo>
#include <QImageReader>
#include <QPaintEngine>
#include <QPainter>
#include <QValidator>

#include <utility>

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

// Where the first line of a text ends: at a line feed, carriage return,
// vertical tab, form feed, next line, line separator or paragraph separator.
qsizetype FirstLineBreak(const QString& text)
{
    for (qsizetype at = 0; at < text.size(); ++at) {
        switch (text[at].unicode()) {
        case u'\n':
        case u'\v':
        case u'\f':
        case u'\r':
        case 0x0085:
        case 0x2028:
        case 0x2029:
            return at;
        }
    }
    return -1;
}

// Turns away any change that would put a line break into a box's text, so
// that the box takes the change back, undo and all, and notes the text up to
// the break. Nothing typed holds a break: it came with text pasted or dropped.
class NoLineBreaks : public QValidator
{
public:
    NoLineBreaks(std::optional<QString>& upToBreak, QObject* parent)
        : QValidator(parent), upToBreak_(upToBreak)
    {
    }

    State validate(QString& text, int&) const override
    {
        const qsizetype lineBreak = FirstLineBreak(text);
        if (lineBreak < 0)
            return Acceptable;
        upToBreak_ = text.left(lineBreak);
        return Invalid;
    }

private:
    std::optional<QString>& upToBreak_;
};

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

TextBox::TextBox(QWidget* parent) : QLineEdit(parent)
{
    setValidator(new NoLineBreaks(upToBreak_, this));
}

bool TextBox::event(QEvent* event)
{
    ++depth_;
    const bool handled = QLineEdit::event(event);
    --depth_;
    // Once the paste or drop is over and taken back, its first line goes in
    // where it went, as one step of undo. The box is asked things while the
    // paste goes on, as by the input method; the paste ends first.
    if (depth_ == 0 && upToBreak_) {
        const QString upToBreak = *std::exchange(upToBreak_, std::nullopt);
        if (FirstLineBreak(text()) < 0)
            insert(upToBreak.mid(hasSelectedText() ? selectionStart() : cursorPosition()));
    }
    return handled;
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
