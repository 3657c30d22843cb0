#include "platform/design.h"

#include "platform/captions.h"

#include <QFont>
#include <QLabel>
#include <QVariant>
#include <QWidget>

namespace morvantel {

QStringList WithStandIn(const QString& designFace)
{
    return {QStringLiteral("Liberation Sans"), designFace};
}

void CompleteDesign(QWidget* window)
{
    for (QWidget* control : window->findChildren<QWidget*>()) {
        const QVariant size = control->property("pointSizeF");
        if (!size.isValid())
            continue;
        QFont font = control->font();
        font.setPointSizeF(size.toDouble());
        font.setFamilies(WithStandIn(font.family()));
        // A label's caption is fixed, and every character of it is in its
        // face, so no other face need be looked for.
        if (qobject_cast<QLabel*>(control))
            font.setStyleStrategy(QFont::NoFontMerging);
        control->setFont(font);
    }
    for (QLabel* label : window->findChildren<QLabel*>()) {
        if (!label->property("autoSize").toBool())
            continue;
        if (label->wordWrap())
            label->resize(label->width(), WrappedCaptionHeight(label->text(), label->font(),
                                                               label->width(), label));
        else
            label->resize(label->sizeHint());
    }
}

} // namespace morvantel
