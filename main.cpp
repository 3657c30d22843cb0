#include "app/look.h"
#include "app/shell.h"
#include "windows/frmSplash.h"

#include <QApplication>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

// Qt would abort with advice to reinstall the program; a person starting it
// where no display is reachable needs to hear that instead.
bool HasDisplay()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        if (const char* value = std::getenv(variable); value && *value)
            return true;
    std::fputs("morvantel: no display to show its windows on (DISPLAY is not set)\n", stderr);
    return false;
#else
    return true;
#endif
}

// The windows are drawn in whole pixels, and at a fractional scale some of
// their one-pixel edges fall between device pixels and vanish. Qt rounds the
// desktop's own scale by the policy given here, but takes QT_SCALE_FACTOR as
// it stands, so that is rounded the same way.
void ScaleByWholeFactors()
{
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::Round);
    bool isNumber = false;
    const double factor = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&isNumber);
    if (isNumber && factor > 0)
        qputenv("QT_SCALE_FACTOR", QByteArray::number(std::max(1.0, std::round(factor))));
}

} // namespace

int main(int, char* argv[])
{
    if (!HasDisplay())
        return EXIT_FAILURE;
    ScaleByWholeFactors();
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
