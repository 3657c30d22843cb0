#include "app/startup.h"

#include "platform/x11.h"

#include <QByteArrayList>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QLibraryInfo>
#include <QPluginLoader>
#include <QStringList>
#include <QtGlobal>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <optional>
#include <utility>

#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#endif

namespace morvantel {
namespace {

void Tell(const QByteArray& problem)
{
    std::fprintf(stderr, "morvantel: %s\n", problem.constData());
}

#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)

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

// Whether a Wayland compositor listens where Wayland programs look for it.
bool WaylandDisplayOpens(const QByteArray& display)
{
    if (!qEnvironmentVariableIsEmpty("WAYLAND_SOCKET"))
        return true;
    QByteArray path = display;
    if (!path.startsWith('/')) {
        if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
            return false;
        path = qgetenv("XDG_RUNTIME_DIR") + '/' + display;
    }
    sockaddr_un address{};
    if (std::size_t(path.size()) >= sizeof address.sun_path)
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

#endif

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
Reach Try([[maybe_unused]] const QByteArray& platform)
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    const QByteArray name = platform.split(':').constFirst();
    if (name == "xcb") {
        const QByteArray display = qgetenv("DISPLAY");
        if (display.isEmpty())
            return Unreachable("cannot open the display (DISPLAY is not set)");
        const std::optional<x11::Server> server = x11::OpenDisplay();
        if (!server)
            return Unreachable("cannot open the display " + display);
        return {{}, server->fontDpi};
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
#endif
    return {};
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

int WholeScaleAt(double fontDpi)
{
    if (!std::isfinite(fontDpi))
        return 1;
    return int(std::clamp(std::lround(fontDpi / 96), 1L, 8L));
}

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

bool PrepareStart()
{
    QByteArray platforms;
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    platforms =
        PlatformFor(qgetenv("QT_QPA_PLATFORM"), qgetenv("DISPLAY"), qgetenv("WAYLAND_DISPLAY"));
    if (platforms.isEmpty()) {
        Tell("no display to show its windows on (DISPLAY is not set)");
        return false;
    }
#endif
    // The first platform whose display opens; Qt is told that one alone.
    // Where none opens, the first one's problem is the one the user meets.
    QByteArray firstProblem;
    for (const QByteArray& platform : platforms.split(';')) {
        const Reach reach = Try(platform);
        if (reach.problem.isEmpty()) {
            if (!platform.isEmpty())
                qputenv("QT_QPA_PLATFORM", platform);
            ScaleByWholeFactors(reach.desktopFontDpi);
            return true;
        }
        if (firstProblem.isEmpty())
            firstProblem = reach.problem;
    }
    Tell(firstProblem);
    return false;
}

} // namespace morvantel
