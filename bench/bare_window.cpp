#include <QApplication>
#include <QWidget>

// The floor for the start-up benchmark: the least a Qt Widgets program does
// to put one window on the screen.
int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(488, 278);
    window.show();
    return QApplication::exec();
}
