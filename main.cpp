#include "app/shell.h"
#include "app/startup.h"
#include "windows/frmSplash.h"

#include <QApplication>

#include <cstdlib>

int main(int, char* argv[])
{
    // The program takes no command line, not even Qt's own options.
    int argumentCount = 1;
    const auto app = morvantel::StartApplication(argumentCount, argv);
    if (!app)
        return EXIT_FAILURE;
    morvantel::RunHandler([] { morvantel::Show(morvantel::Default<frmSplash>()); });
    if (morvantel::ProgramEnded())
        return EXIT_FAILURE;
    return QApplication::exec();
}
