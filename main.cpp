#include "app/shell.h"
#include "app/startup.h"
#include "platform/look.h"
#include "windows/frmSplash.h"

#include <QApplication>

#include <cstdlib>

int main(int, char* argv[])
{
    if (!morvantel::PrepareStart())
        return EXIT_FAILURE;
    // The program takes no command line, not even Qt's own options.
    int argumentCount = 1;
    QApplication app(argumentCount, argv);
    QApplication::setApplicationName(QStringLiteral("morvantel"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));
    QApplication::setOrganizationName(QStringLiteral("N/A"));
    // The desktop shows the installed entry's name and icon for the windows.
    QGuiApplication::setDesktopFileName(QStringLiteral(MORVANTEL_APP_ID));
    // The program ends when its last window has closed and no handler is
    // about to open another; the shell decides that, not Qt.
    QApplication::setQuitOnLastWindowClosed(false);
    morvantel::ApplyProgramLook(app);

    morvantel::RunHandler([] { morvantel::Show(morvantel::Default<frmSplash>()); });
    if (morvantel::ProgramEnded())
        return EXIT_FAILURE;
    return QApplication::exec();
}
