#include "platform/controls.h"
#include "platform/x11.h"
#include "program_under_test.h"

#include <QMessageBox>
#include <QPushButton>

#include <memory>

using morvantel::Default;
using morvantel::RunHandler;
using morvantel::Show;

namespace {

// A window whose design cannot be built, as when a picture is missing.
class BrokenWindow : public morvantel::Form
{
protected:
    QWidget* Load() override
    {
        auto picture = std::make_unique<morvantel::PictureBox>();
        picture->setPicture(QStringLiteral(":/no-such-picture.jpg"));
        return picture.release();
    }
};

} // namespace

class TestShell : public QObject
{
    Q_OBJECT

private:
    ProgramUnderTest program;

private slots:
    void cleanup() { program.Restart(); }

    void failedShowIsReportedAndEndsProgram()
    {
        Show(Default<frmTranslate>());
        QString reported;
        program.answerBox = [&reported](QDialog& box) {
            reported = static_cast<QMessageBox&>(box).text();
            QCOMPARE(static_cast<QMessageBox&>(box).icon(), QMessageBox::Critical);
        };

        RunHandler([] { Show(Default<BrokenWindow>()); });

        QVERIFY2(reported.contains(":/no-such-picture.jpg"), qPrintable(reported));
        QCOMPARE(program.exitStatus, std::optional<int>(1));
        QVERIFY(!Default<frmTranslate>().IsOpen());
        QCOMPARE(ProgramUnderTest::VisibleWindowCount(), 0);
    }

    void noHandlerRunsAfterEnd()
    {
        Show(Default<frmTranslate>());
        auto* translate = Find<QPushButton>(Default<frmTranslate>(), "cmdTranslate");
        morvantel::End();
        QCOMPARE(program.exitStatus, std::optional<int>(0));

        // A click still queued for a vanished window does nothing.
        bool ran = false;
        RunHandler([&ran] { ran = true; });
        translate->click();
        QVERIFY(!ran);
        QVERIFY(!Default<frmTranslate>().IsOpen());
    }

    void qtToldWholeScales_data()
    {
        QTest::addColumn<QByteArrayList>("environment"); // what the user sets
        QTest::addColumn<QByteArray>("variable");        // what Qt is then told
        QTest::addColumn<QByteArray>("expected");        // "(unset)": nothing

        const auto row = [](const char* set, const char* variable, const char* expected) {
            QTest::addRow("%s", set)
                << QByteArray(set).split(' ') << QByteArray(variable) << QByteArray(expected);
        };
        // clang-format off
        row("QT_SCALE_FACTOR=1.25", "QT_SCALE_FACTOR", "1");
        row("QT_SCALE_FACTOR=1.5", "QT_SCALE_FACTOR", "2");
        for (const char* nonsense : {"QT_SCALE_FACTOR=0", "QT_SCALE_FACTOR=nan", "QT_SCALE_FACTOR=inf", "QT_SCALE_FACTOR=1e9",
                                     "QT_SCALE_FACTOR=-2", "QT_SCALE_FACTOR=0.5", "QT_SCALE_FACTOR=9", "QT_SCALE_FACTOR=big"})
            row(nonsense, "QT_SCALE_FACTOR", "(unset)");
        row("QT_SCREEN_SCALE_FACTORS=1.75", "QT_SCREEN_SCALE_FACTORS", "2");
        row("QT_SCREEN_SCALE_FACTORS=DP-1=1.5;HDMI-1=1", "QT_SCREEN_SCALE_FACTORS", "DP-1=2;HDMI-1=1");
        row("QT_SCREEN_SCALE_FACTORS=2.25;1", "QT_SCREEN_SCALE_FACTORS", "2;1");
        row("QT_SCREEN_SCALE_FACTORS=DP-1=2;HDMI-1=nan", "QT_SCREEN_SCALE_FACTORS", "(unset)");
        row("QT_FONT_DPI=143", "QT_FONT_DPI", "96");
        row("QT_FONT_DPI=144", "QT_FONT_DPI", "192");
        row("QT_FONT_DPI=239", "QT_FONT_DPI", "192");
        row("QT_FONT_DPI=240", "QT_FONT_DPI", "288");
        row("QT_FONT_DPI=1000", "QT_FONT_DPI", "768");
        row("QT_FONT_DPI=0", "QT_FONT_DPI", "96");
        row("QT_FONT_DPI=nan", "QT_FONT_DPI", "96");
        row("QT_FONT_DPI=192 QT_ENABLE_HIGHDPI_SCALING=0", "QT_FONT_DPI", "96");
        row("QT_FONT_DPI=288 QT_ENABLE_HIGHDPI_SCALING=false", "QT_FONT_DPI", "96");
        row("QT_FONT_DPI=192 QT_ENABLE_HIGHDPI_SCALING=1", "QT_FONT_DPI", "192");
        row("QT_USE_PHYSICAL_DPI=1", "QT_USE_PHYSICAL_DPI", "(unset)");
        // clang-format on
    }

    void qtToldWholeScales()
    {
        QFETCH(QByteArrayList, environment);
        QFETCH(QByteArray, variable);
        QFETCH(QByteArray, expected);

        for (const char* name : {"QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_FONT_DPI",
                                 "QT_ENABLE_HIGHDPI_SCALING", "QT_USE_PHYSICAL_DPI"})
            qunsetenv(name);
        for (const QByteArray& setting : environment)
            qputenv(setting.left(setting.indexOf('=')), setting.mid(setting.indexOf('=') + 1));
        // The display platform is offscreen, which opens wherever Qt has it.
        QVERIFY(morvantel::PrepareStart());

        QCOMPARE(qEnvironmentVariableIsSet(variable) ? qgetenv(variable) : "(unset)", expected);
    }

    void desktopFontDpi_data()
    {
        QTest::addColumn<QByteArray>("resources"); // the X server's RESOURCE_MANAGER
        QTest::addColumn<double>("expected");      // 0: none

        // clang-format off
        QTest::newRow("a desktop's") << QByteArray("*customization:\t-color\nXcursor.size:\t24\nXft.antialias:\t1\nXft.dpi:\t144\nXft.hinting:\t1\n") << 144.0;
        QTest::newRow("for every program") << QByteArray("*dpi: 192\n") << 192.0;
        QTest::newRow("none") << QByteArray("Xcursor.size: 24\n") << 0.0;
        QTest::newRow("no number") << QByteArray("Xft.dpi: lots\n") << 0.0;
        // clang-format on
    }

    void desktopFontDpi()
    {
        QFETCH(QByteArray, resources);
        QFETCH(double, expected);
#if !QT_CONFIG(xcb)
        QSKIP("Only X11 desktops set a font DPI among X resources.");
#endif
        QCOMPARE(morvantel::x11::FontDpiIn(resources).value_or(0), expected);
    }
};

MORVANTEL_TEST_MAIN(TestShell)
#include "tst_shell.moc"
