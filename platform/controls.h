#pragma once

#include <QColor>
#include <QFrame>
#include <QLineEdit>
#include <QPixmap>
#include <QString>
#include <QWidget>

#include <optional>

namespace morvantel {

// A picture box: shows its picture at its own size from the top-left corner
// of the area inside its border, cut off at the border; or, stretched, filling
// that area whatever the picture's proportions. On a screen of more than one
// device pixel to the pixel it paints the picture's sharp twin, the file named
// with "@2x", where there is one.
class PictureBox : public QFrame
{
    Q_OBJECT
    Q_PROPERTY(QString picture READ picture WRITE setPicture)
    Q_PROPERTY(bool stretch READ stretch WRITE setStretch)

public:
    using QFrame::QFrame;
    QString picture() const { return source_; }
    // Throws WindowError when the picture cannot be loaded.
    void setPicture(const QString& source);
    bool stretch() const { return stretch_; }
    void setStretch(bool stretch);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const QPixmap& PictureFor(qreal devicePixelRatio);

    QString source_;
    QPixmap pixmap_;
    QPixmap sharp_; // loaded when first needed
    bool stretch_ = false;
};

// A straight line drawn on a window, as wide and as thick as its geometry.
class LineControl : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QColor colour READ colour WRITE setColour)

public:
    explicit LineControl(QWidget* parent = nullptr);
    QColor colour() const { return colour_; }
    void setColour(const QColor& colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor colour_ = Qt::black;
};

// A single-line text box. Of text pasted or dropped into it, it keeps the
// first line, and such a paste is one step of undo, as any other paste is.
// For example, with "drn" typed and the caret after "dr", a paste of
// "ago\nmore" leaves "dragon", the caret after "drago"; Ctrl+Z then gives
// back "drn".
class TextBox : public QLineEdit
{
public:
    explicit TextBox(QWidget* parent = nullptr);

protected:
    bool event(QEvent* event) override;

private:
    // The text up to the first line break, of a change turned away for it.
    std::optional<QString> upToBreak_;
    int depth_ = 0; // of events the box is handling, one inside another
};

} // namespace morvantel
