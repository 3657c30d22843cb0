#include "app/startup.h"

#include "platform/display.h"
#include "platform/style.h"

#include <QApplication>
#include <QByteArrayList>
#include <QtGlobal>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

namespace morvantel {
namespace {

// The whole scale the windows are drawn at on a desktop of this font DPI:
// 1 up to 143, 2 from 144 to 239, and so on, up to 8.
int WholeScaleAt(double fontDpi)
{
    if (!std::isfinite(fontDpi))
        return 1;
    return int(std::clamp(std::lround(fontDpi / 96), 1L, 8L));
}

// Scale factors as QT_SCALE_FACTOR or QT_SCREEN_SCALE_FACTORS give them (a
// factor; or factors, each perhaps after a screen's name and '=', between
// semicolons), each rounded to a whole one, 1.5 to 2. Empty where any is no
// finite number from 1 to 8, as 0, -2, nan, inf or 1e9: such a value counts
// as unset.
QByteArray WholeScaleFactors(const QByteArray& factors)
{
    QByteArrayList whole;
    for (const QByteArray& entry : factors.split(';')) {
        // A factor, or a screen's name, '=' and its factor.
        const qsizetype equals = entry.lastIndexOf('=');
        bool isNumber = false;
        const double factor = entry.mid(equals + 1).toDouble(&isNumber);
        if (!isNumber || !std::isfinite(factor) || factor < 1 || factor > 8)
            return {};
        whole << entry.left(equals + 1) + QByteArray::number(std::lround(factor));
    }
    return whole.join(';');
}

// The windows are laid out as at 96 dots per inch and drawn at a whole scale,
// text included: at a fractional one some of their one-pixel edges would fall
// between device pixels. Qt derives the scale from the font DPI and rounds
// it, but then sets the text at the DPI itself, inside windows of the
// rounded size. So the program gives Qt the font DPI of the whole scale, 96
// for each step, and rounds the factors the user gives Qt, dropping those
// that are no scale at all.
void ScaleByWholeFactors(std::optional<double> desktopFontDpi)
{
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::Round);
    for (const char* variable : {"QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS"}) {
        const QByteArray whole = WholeScaleFactors(qgetenv(variable));
        if (whole.isEmpty())
            qunsetenv(variable);
        else
            qputenv(variable, whole);
    }
    // Qt would take the screen's size in millimetres for a DPI of its own.
    qunsetenv("QT_USE_PHYSICAL_DPI");
    std::optional<double> fontDpi = desktopFontDpi;
    bool isNumber = false;
    if (const double chosen = qEnvironmentVariable("QT_FONT_DPI").toDouble(&isNumber); isNumber)
        fontDpi = chosen;
    // Where the user turned Qt's scaling off, the windows are drawn at 1.
    const QByteArray scaling = qgetenv("QT_ENABLE_HIGHDPI_SCALING").toLower();
    if (scaling == "0" || scaling == "false")
        fontDpi = 96;
    if (fontDpi)
        qputenv("QT_FONT_DPI", QByteArray::number(96 * WholeScaleAt(*fontDpi)));
}

} // namespace

bool PrepareStart()
{
    const display::Choice display = display::Choose(qgetenv("QT_QPA_PLATFORM"));
    if (display.platform.isEmpty()) {
        std::fprintf(stderr, "morvantel: %s\n", display.problem.constData());
        return false;
    }
    qputenv("QT_QPA_PLATFORM", display.platform);
    ScaleByWholeFactors(display.desktopFontDpi);
    return true;
}

std::unique_ptr<QApplication> StartApplication(int& argc, char* argv[])
{
    // Qt's option -platform, which only tests give, chooses as QT_QPA_PLATFORM
    // does, and is taken out so that Qt reads the platform, with the options
    // the program adds, from there alone.
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], "-platform") == 0 && i + 1 < argc)
            qputenv("QT_QPA_PLATFORM", argv[++i]);
        else
            argv[kept++] = argv[i];
    }
    if (kept < argc) {
        argc = kept;
        argv[argc] = nullptr;
    }
    if (!PrepareStart())
        return nullptr;
    auto app = std::make_unique<QApplication>(argc, argv);
    QApplication::setApplicationName(QStringLiteral("morvantel"));
    QApplication::setApplicationVersion(QStringLiteral(MORVANTEL_RELEASE));
    QApplication::setOrganizationName(QStringLiteral("N/A"));
    // The desktop shows the installed entry's name and icon for the windows.
    QGuiApplication::setDesktopFileName(QStringLiteral(MORVANTEL_APP_ID));
    // The program ends when its last window has closed and no handler is
    // about to open another; the shell decides that, not Qt.
    QApplication::setQuitOnLastWindowClosed(false);
    ApplyProgramLook(*app);
    return app;
}

} // namespace morvantel
