#include "app/look.h"

#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QLayout>
#include <QPalette>
#include <QScreen>
#include <QStyle>
#include <QStyleFactory>
#include <QVariant>
#include <QWidget>

namespace morvantel {

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
    app.setStyle(QStyleFactory::create(QStringLiteral("Windows")));
}

void SetFixedBorder(QWidget* window, TaskbarButton taskbar)
{
    const Qt::WindowType type = taskbar == TaskbarButton::Shown ? Qt::Window : Qt::Dialog;
    window->setWindowFlags(type | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    if (QLayout* layout = window->layout())
        layout->setSizeConstraint(QLayout::SetFixedSize);
    else
        window->setFixedSize(window->size());
}

void CentreOnScreen(QWidget* window)
{
    if (QLayout* layout = window->layout())
        layout->activate();
    const QRect screen = window->screen()->geometry();
    window->move(
        QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, window->size(), screen).topLeft());
}

void CompleteDesign(QWidget* window)
{
    for (QWidget* control : window->findChildren<QWidget*>()) {
        const QVariant size = control->property("pointSizeF");
        if (!size.isValid())
            continue;
        QFont font = control->font();
        font.setPointSizeF(size.toDouble());
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
