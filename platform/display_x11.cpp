#include "platform/display.h"

#include "platform/x11.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QLibraryInfo>
#include <QPluginLoader>
#include <QStringList>
#include <QtGlobal>

#include <chrono>
#include <cstddef>
#include <cstring>
#include <utility>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace morvantel::display {
namespace {

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
    std::memcpy(address.sun_path, path.constData(), std::size_t(path.size()));
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
QByteArray PlatformsFor(const QByteArray& chosen, const QByteArray& x11Display,
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

Choice Unreachable(const QByteArray& problem)
{
    return {{}, problem, std::nullopt};
}

// Tries a platform as QT_QPA_PLATFORM names it: "xcb", "wayland",
// "offscreen:option" …
Choice Try(const QByteArray& platform)
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
        return {platform, {}, server.fontDpi};
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
    return {platform, {}, std::nullopt};
}

} // namespace

Choice Choose(const QByteArray& chosen)
{
    const QByteArray platforms =
        PlatformsFor(chosen, qgetenv("DISPLAY"), qgetenv("WAYLAND_DISPLAY"));
    if (platforms.isEmpty())
        return Unreachable("no display to show its windows on (DISPLAY is not set)");
    // The first platform whose display opens. Where none opens, the first
    // one's problem is the one the user meets.
    QByteArray firstProblem;
    for (const QByteArray& platform : platforms.split(';')) {
        const Choice choice = Try(platform);
        if (!choice.platform.isEmpty())
            return choice;
        if (firstProblem.isEmpty())
            firstProblem = choice.problem;
    }
    return Unreachable(firstProblem);
}

} // namespace morvantel::display
