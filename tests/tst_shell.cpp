#include "app/startup.h"
#include "platform/controls.h"
#include "program_under_test.h"

#include <QMessageBox>
#include <QPushButton>

#include <utility>

using morvantel::Default;
using morvantel::Form;
using morvantel::PictureBox;
using morvantel::RunHandler;
using morvantel::Show;
using morvantel::WindowError;

namespace {

// A window whose design cannot be built, as when a picture is missing.
class BrokenWindow : public Form
{
protected:
    QWidget* Load() override
    {
        auto picture = std::make_unique<PictureBox>();
        picture->setPicture(QStringLiteral(":/no-such-picture.jpg"));
        return picture.release();
    }
};

} // namespace

class TestShell : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { program.Restart(); }

    void failedShowIsReportedAndEndsProgram();
    void noHandlerRunsAfterEnd();
    void platformChosen_data();
    void platformChosen();
    void wholeScaleAtFontDpi_data();
    void wholeScaleAtFontDpi();
    void scaleFactorsRoundedOrDropped_data();
    void scaleFactorsRoundedOrDropped();

private:
    ProgramUnderTest program;
};

void TestShell::failedShowIsReportedAndEndsProgram()
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

void TestShell::noHandlerRunsAfterEnd()
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

void TestShell::platformChosen_data()
{
    QTest::addColumn<QByteArray>("chosen");  // QT_QPA_PLATFORM
    QTest::addColumn<QByteArray>("x11");     // DISPLAY
    QTest::addColumn<QByteArray>("wayland"); // WAYLAND_DISPLAY
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("X11 session") << QByteArray() << QByteArray(":0") << QByteArray()
                                 << QByteArray("xcb");
    QTest::newRow("Wayland session with XWayland")
        << QByteArray() << QByteArray(":0") << QByteArray("wayland-0") << QByteArray("xcb;wayland");
    QTest::newRow("Wayland alone")
        << QByteArray() << QByteArray() << QByteArray("wayland-0") << QByteArray("wayland");
    QTest::newRow("the user's choice") << QByteArray("wayland") << QByteArray(":0")
                                       << QByteArray("wayland-0") << QByteArray("wayland");
}

void TestShell::platformChosen()
{
    QFETCH(QByteArray, chosen);
    QFETCH(QByteArray, x11);
    QFETCH(QByteArray, wayland);
    QFETCH(QByteArray, expected);

    QCOMPARE(morvantel::PlatformFor(chosen, x11, wayland), expected);
}

void TestShell::wholeScaleAtFontDpi_data()
{
    QTest::addColumn<double>("fontDpi");
    QTest::addColumn<int>("scale");

    for (const auto& [dpi, scale] : {std::pair{96.0, 1},
                                     {120.0, 1},
                                     {143.0, 1},
                                     {144.0, 2},
                                     {192.0, 2},
                                     {239.0, 2},
                                     {240.0, 3},
                                     {1000.0, 8}})
        QTest::addRow("%g dpi", dpi) << dpi << scale;
    QTest::newRow("no DPI at all") << 0.0 << 1;
    QTest::newRow("nan") << qQNaN() << 1;
}

void TestShell::wholeScaleAtFontDpi()
{
    QFETCH(double, fontDpi);
    QFETCH(int, scale);

    QCOMPARE(morvantel::WholeScaleAt(fontDpi), scale);
}

void TestShell::scaleFactorsRoundedOrDropped_data()
{
    QTest::addColumn<QByteArray>("factors");
    QTest::addColumn<QByteArray>("expected"); // empty: the variable counts as unset

    QTest::newRow("1.25") << QByteArray("1.25") << QByteArray("1");
    QTest::newRow("1.5") << QByteArray("1.5") << QByteArray("2");
    QTest::newRow("1.75") << QByteArray("1.75") << QByteArray("2");
    QTest::newRow("3") << QByteArray("3") << QByteArray("3");
    QTest::newRow("by screen name")
        << QByteArray("DP-1=1.5;HDMI-1=1") << QByteArray("DP-1=2;HDMI-1=1");
    QTest::newRow("by screen order") << QByteArray("2.25;1") << QByteArray("2;1");
    for (const char* nonsense : {"0", "nan", "inf", "1e9", "-2", "0.5", "9", "big"})
        QTest::addRow("%s", nonsense) << QByteArray(nonsense) << QByteArray();
    QTest::newRow("empty") << QByteArray() << QByteArray();
    QTest::newRow("one screen's nonsense") << QByteArray("DP-1=2;HDMI-1=nan") << QByteArray();
}

void TestShell::scaleFactorsRoundedOrDropped()
{
    QFETCH(QByteArray, factors);
    QFETCH(QByteArray, expected);

    QCOMPARE(morvantel::WholeScaleFactors(factors), expected);
}

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
