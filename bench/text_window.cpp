#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QWidget>

// The second reference for the start-up benchmark: the bare window with one
// line of text in a face the design names, as every label of the program has.
// It pays for the font system, which every window with text needs.
int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(488, 278);
    QLabel line(QStringLiteral("English / Kethric Translator"), &window);
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(12);
    font.setBold(true);
    line.setFont(font);
    window.show();
    return QApplication::exec();
}
