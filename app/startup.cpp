#include "app/startup.h"

#include <QByteArrayList>
#include <QGuiApplication>
#include <QtGlobal>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace morvantel {
namespace {

// Qt would abort with advice to reinstall the program; a person starting it
// where no display is reachable needs to hear that instead.
bool HasDisplay()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        if (!qEnvironmentVariableIsEmpty(variable))
            return true;
    std::fputs("morvantel: no display to show its windows on (DISPLAY is not set)\n", stderr);
    return false;
#else
    return true;
#endif
}

// The windows are drawn in whole pixels, and at a fractional scale some of
// their one-pixel edges fall between device pixels and vanish. Qt rounds the
// desktop's own scale by the policy given here, but takes the factors the
// user gives it as they stand, so those are rounded the same way, and those
// that are no scale at all are dropped.
void ScaleByWholeFactors()
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
}

} // namespace

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
    if (!HasDisplay())
        return false;
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    const QByteArray platform =
        PlatformFor(qgetenv("QT_QPA_PLATFORM"), qgetenv("DISPLAY"), qgetenv("WAYLAND_DISPLAY"));
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);
#endif
    ScaleByWholeFactors();
    return true;
}

} // namespace morvantel
