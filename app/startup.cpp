#include "app/startup.h"

#include "platform/style.h"

#ifdef Q_OS_WIN
#include "platform/win32.h"
#else
#include "platform/x11.h"
#endif

#include <QApplication>
#include <QByteArrayList>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QLibraryInfo>
#include <QPluginLoader>
#include <QStringList>
#include <QtGlobal>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <optional>
#include <utility>

#ifndef Q_OS_WIN
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#endif

namespace morvantel {
namespace {

#ifndef Q_OS_WIN

void Tell(const QByteArray& problem)
{
    std::fprintf(stderr, "morvantel: %s\n", problem.constData());
}

// Whether Qt has a platform plugin of this name, as "offscreen" or "wayland",
// where Qt looks for one. Only the plugins' descriptions are read.
bool PlatformInstalled(const QByteArray& name)
{
    QStringList folders = qEnvironmentVariable("QT_QPA_PLATFORM_PLUGIN_PATH")
                              .split(QDir::listSeparator(), Qt::SkipEmptyParts);
    QStringList pluginFolders =
        qEnvironmentVariable("QT_PLUGIN_PATH").split(QDir::listSeparator(), Qt::SkipEmptyParts);
    pluginFolders << QLibraryInfo::path(QLibraryInfo::PluginsPath);
    for (const QString& folder : std::as_const(pluginFolders))
        folders << folder + QStringLiteral("/platforms");
    for (const QString& folder : std::as_const(folders)) {
        for (const QFileInfo& file : QDir(folder).entryInfoList(QDir::Files)) {
            const QJsonArray keys = QPluginLoader(file.filePath())
                                        .metaData()[QLatin1String("MetaData")]
                                        .toObject()[QLatin1String("Keys")]
                                        .toArray();
            for (const QJsonValue& key : keys)
                if (key.toString().compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
                    return true;
        }
    }
    return false;
}

// Where a Wayland compositor of that display name listens: the name itself
// where it is a path, else in the session's runtime folder. Empty where the
// session has none.
QByteArray WaylandSocketPath(const QByteArray& display, const QByteArray& runtimeDir)
{
    if (display.startsWith('/'))
        return display;
    if (runtimeDir.isEmpty())
        return {};
    return runtimeDir + '/' + display;
}

// Whether a Wayland compositor listens where Wayland programs look for it.
bool WaylandDisplayOpens(const QByteArray& display)
{
    if (!qEnvironmentVariableIsEmpty("WAYLAND_SOCKET"))
        return true;
    const QByteArray path = WaylandSocketPath(display, qgetenv("XDG_RUNTIME_DIR"));
    sockaddr_un address{};
    if (path.isEmpty() || std::size_t(path.size()) >= sizeof address.sun_path)
        return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), path.size());
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socket < 0)
        return false;
    const bool connected =
        ::connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(socket);
    return connected;
}

// The Qt platforms to try, in turn: the one the user chose, else X11
// wherever there is an X server, XWayland included, else Wayland. Only X11
// lets the program place its windows and keep them off the taskbar.
QByteArray PlatformFor(const QByteArray& chosen, const QByteArray& x11Display,
                       const QByteArray& waylandDisplay)
{
    if (!chosen.isEmpty())
        return chosen;
    // Wayland stays the way out where the X server cannot be reached.
    if (!x11Display.isEmpty())
        return waylandDisplay.isEmpty() ? "xcb" : "xcb;wayland";
    if (!waylandDisplay.isEmpty())
        return "wayland";
    return {};
}

// Why the program cannot show its windows on a platform, in its own words,
// or nothing; and what it learnt of the X server on the way, for the scale.
struct Reach
{
    QByteArray problem;
    std::optional<double> desktopFontDpi;
};

Reach Unreachable(const QByteArray& problem)
{
    return {problem, std::nullopt};
}

// Tries a platform as QT_QPA_PLATFORM names it: "xcb", "wayland",
// "offscreen:option" …
Reach Try(const QByteArray& platform)
{
    const QByteArray name = platform.split(':').constFirst();
    if (name == "xcb") {
        const QByteArray display = qgetenv("DISPLAY");
        if (display.isEmpty())
            return Unreachable("cannot open the display (DISPLAY is not set)");
        // A stopped server, or a stalled forwarded display, takes the
        // connection and never answers.
        const x11::Server server = x11::OpenDisplay(std::chrono::seconds(3));
        if (server.reach == x11::Server::Reach::Refused)
            return Unreachable("cannot open the display " + display);
        if (server.reach == x11::Server::Reach::Silent)
            return Unreachable("the display " + display + " does not answer");
        return {{}, server.fontDpi};
    }
    if (!PlatformInstalled(name))
        return Unreachable("no display platform named " + name + " is installed");
    if (name.startsWith("wayland")) {
        QByteArray display = qgetenv("WAYLAND_DISPLAY");
        if (display.isEmpty())
            display = "wayland-0";
        if (!WaylandDisplayOpens(display))
            return Unreachable("cannot open the Wayland display " + display);
    }
    return {};
}

#endif

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
#ifdef Q_OS_WIN
    // Windows has one display, which opens wherever the program runs.
    qputenv("QT_QPA_PLATFORM", win32::QtPlatform(qgetenv("QT_QPA_PLATFORM")));
    ScaleByWholeFactors(win32::SystemDpi());
    return true;
#else
    const QByteArray platforms =
        PlatformFor(qgetenv("QT_QPA_PLATFORM"), qgetenv("DISPLAY"), qgetenv("WAYLAND_DISPLAY"));
    if (platforms.isEmpty()) {
        Tell("no display to show its windows on (DISPLAY is not set)");
        return false;
    }
    // The first platform whose display opens; Qt is told that one alone.
    // Where none opens, the first one's problem is the one the user meets.
    QByteArray firstProblem;
    for (const QByteArray& platform : platforms.split(';')) {
        const Reach reach = Try(platform);
        if (reach.problem.isEmpty()) {
            qputenv("QT_QPA_PLATFORM", platform);
            ScaleByWholeFactors(reach.desktopFontDpi);
            return true;
        }
        if (firstProblem.isEmpty())
            firstProblem = reach.problem;
    }
    Tell(firstProblem);
    return false;
#endif
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
