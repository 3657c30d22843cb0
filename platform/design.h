#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace morvantel {

// A face the design names, led by the installed face of the same metrics,
// Liberation Sans, which Linux desktops have in place of Arial and MS Sans
// Serif. Named first, it is found at once, without a search through the
// fallbacks of a missing face; where it is missing, the design's own face.
QStringList WithStandIn(const QString& designFace);

// Finishes what a Designer form cannot store, right after the form is set up
// and before anything measures the window: each control's exact point size
// (9.75, 8.25 …), kept in its property pointSizeF, in its face or the
// installed face of the same metrics; and labels with the property autoSize,
// which take the size of their caption. Without word wrap such a label takes
// its one-line size; with word wrap it keeps its width and takes the height
// the wrapped caption needs. Either way it keeps its top-left corner.
void CompleteDesign(QWidget* window);

} // namespace morvantel
