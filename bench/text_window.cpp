#include <QApplication>
#include <QLabel>
#include <QWidget>

// A second reference for the start-up benchmark: the bare window with one line
// of text, which brings in the font system every window with text needs.
int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(488, 278);
    QLabel line(QStringLiteral("Tessar Morvantel"), &window);
    window.show();
    return QApplication::exec();
}
