// Pastes what the X clipboard holds into the word box of the main window, as
// a person does with Ctrl+V and Enter, and prints how long the answer takes to
// show, the peak resident memory above the memory at rest, and the processor
// time the program then takes while the text sits in the box, the caret
// blinking.
//
//   paste_bench LABEL   (on the X server in $DISPLAY, the clipboard's owner
//                        serving the text)

#include "app/shell.h"
#include "app/startup.h"
#include "windows/frmTranslate.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QTest>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>

namespace {

using Clock = std::chrono::steady_clock;

// A line of /proc/self/status, in KiB: VmRSS now, VmHWM at its peak.
long StatusKiB(const QByteArray& field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field + ':'))
            return line.mid(field.size() + 1).trimmed().split(' ').constFirst().toLong();
    return 0;
}

double ProcessorSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

} // namespace

int main(int argc, char* argv[])
{
    int argumentCount = 1;
    const auto app = argc == 2 ? morvantel::StartApplication(argumentCount, argv) : nullptr;
    if (!app)
        return 2;
    morvantel::Show(morvantel::Default<frmTranslate>());
    QWidget* window = morvantel::Default<frmTranslate>().Window();
    auto* word = window->findChild<QLineEdit*>(QStringLiteral("txtWord"));
    auto* translation = window->findChild<QLineEdit*>(QStringLiteral("txtTranslation"));
    if (!QTest::qWaitForWindowActive(window) || !word || !translation)
        return 2;
    QTest::qWait(500);
    const long restingKiB = StatusKiB("VmRSS");

    const auto start = Clock::now();
    QTest::keyClick(word, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(word, Qt::Key_Return);
    window->repaint();
    const std::chrono::duration<double> answered = Clock::now() - start;
    if (translation->text() != QStringLiteral("Unknown Word"))
        return 2;
    const long peakKiB = StatusKiB("VmHWM");

    const double processorBefore = ProcessorSeconds();
    const auto restStart = Clock::now();
    QTest::qWait(3000);
    const double processor = ProcessorSeconds() - processorBefore;
    const std::chrono::duration<double> rest = Clock::now() - restStart;

    std::printf("paste %-8s answer after %6.3f s   peak %6.1f MB above %5.1f MB at rest"
                "   then %5.1f %% of a core, %d characters in the box\n",
                argv[1], answered.count(), double(peakKiB - restingKiB) / 1024,
                double(restingKiB) / 1024, 100 * processor / rest.count(),
                int(word->text().size()));
    return 0;
}
