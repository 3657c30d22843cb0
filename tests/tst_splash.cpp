#include "program_under_test.h"

using morvantel::Default;
using morvantel::Show;

class TestSplash : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { program.Restart(); }

    void keys_data();
    void keys();
    void clicks_data();
    void clicks();
    void releaseOutsideIsNoClick();
    void mainWindowOpensOnceHoweverFast();
    void platformCloseEndsProgram();

private:
    QWidget* splash() const { return Default<frmSplash>().Window(); }
    template <typename Control> Control* find(const char* name) const
    {
        return Find<Control>(Default<frmSplash>(), name);
    }
    // The main window opened in place of the splash window, and the program runs on.
    void verifyLeftForMainWindow();

    ProgramUnderTest program;
};

void TestSplash::init()
{
    Show(Default<frmSplash>());
    QVERIFY(QTest::qWaitForWindowExposed(splash()));
}

void TestSplash::verifyLeftForMainWindow()
{
    QVERIFY(!Default<frmSplash>().IsOpen());
    QVERIFY(Default<frmTranslate>().IsOpen());
    QVERIFY(!program.exitStatus);
    QCOMPARE(ProgramUnderTest::VisibleWindowCount(), 1);
}

void TestSplash::keys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("leaves");

    QTest::newRow("letter") << int(Qt::Key_Q) << "q" << true;
    QTest::newRow("digit") << int(Qt::Key_7) << "7" << true;
    QTest::newRow("blank") << int(Qt::Key_Space) << " " << true;
    QTest::newRow("Enter") << int(Qt::Key_Return) << "\r" << true;
    QTest::newRow("Esc") << int(Qt::Key_Escape) << "\x1b" << true;
    QTest::newRow("Backspace") << int(Qt::Key_Backspace) << "\b" << true;
    QTest::newRow("Shift alone") << int(Qt::Key_Shift) << "" << false;
    QTest::newRow("Ctrl alone") << int(Qt::Key_Control) << "" << false;
    QTest::newRow("Alt alone") << int(Qt::Key_Alt) << "" << false;
    QTest::newRow("arrow") << int(Qt::Key_Left) << "" << false;
    QTest::newRow("function key") << int(Qt::Key_F5) << "" << false;
    QTest::newRow("Delete") << int(Qt::Key_Delete) << "\x7f" << false;
}

void TestSplash::keys()
{
    QFETCH(int, key);
    QFETCH(QString, text);
    QFETCH(bool, leaves);

    // Sent as the platform sends it, text included.
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(splash(), &press);

    if (leaves) {
        verifyLeftForMainWindow();
    } else {
        QVERIFY(Default<frmSplash>().IsOpen());
        QVERIFY(!Default<frmTranslate>().IsOpen());
    }
}

void TestSplash::clicks_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<bool>("leaves");

    for (const char* label : {"lblCompany", "lblCompanyProduct", "lblCopyright", "lblLicenseTo",
                              "lblPlatform", "lblProductName", "lblVersion", "lblWarning"})
        QTest::newRow(label) << label << QPoint(3, 3) << true;
    QTest::newRow("logo") << "imgLogo" << QPoint(60, 80) << true;
    QTest::newRow("free part of the frame") << "Frame1" << QPoint(200, 20) << true;
    // The window's own surface around Frame1.
    QTest::newRow("margin left of the frame") << "frmSplash" << QPoint(3, 100) << false;
    QTest::newRow("margin below the frame") << "frmSplash" << QPoint(240, 274) << false;
}

void TestSplash::clicks()
{
    QFETCH(QString, control);
    QFETCH(QPoint, at);
    QFETCH(bool, leaves);

    auto* target = find<QWidget>(control.toLatin1());
    QVERIFY(target);
    QCOMPARE(splash()->childAt(target->mapTo(splash(), at)), target);
    QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, at);

    if (leaves) {
        verifyLeftForMainWindow();
    } else {
        QVERIFY(Default<frmSplash>().IsOpen());
        QVERIFY(!Default<frmTranslate>().IsOpen());
    }
}

void TestSplash::releaseOutsideIsNoClick()
{
    // Pressed on a label, then moved off it to the margin and released there.
    auto* label = find<QWidget>("lblCompanyProduct");
    QTest::mousePress(label, Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
    QTest::mouseRelease(label, Qt::LeftButton, Qt::NoModifier,
                        label->mapFrom(splash(), QPoint(3, 100)));
    QVERIFY(Default<frmSplash>().IsOpen());
    QVERIFY(!Default<frmTranslate>().IsOpen());
}

void TestSplash::mainWindowOpensOnceHoweverFast()
{
    QWidget* closing = splash();
    auto* label = find<QWidget>("lblVersion");
    // A key, a second key and a click all queued before the first is handled.
    QCoreApplication::postEvent(closing,
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a"));
    QCoreApplication::postEvent(closing,
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier, "b"));
    QTest::mousePress(label, Qt::LeftButton);
    QCoreApplication::processEvents();
    QWidget* main = Default<frmTranslate>().Window();
    QVERIFY(main);
    QTest::mouseRelease(label, Qt::LeftButton);
    QCoreApplication::processEvents();

    QCOMPARE(Default<frmTranslate>().Window(), main);
    verifyLeftForMainWindow();
}

void TestSplash::platformCloseEndsProgram()
{
    QVERIFY(splash()->close());
    QVERIFY(!Default<frmSplash>().IsOpen());
    QVERIFY(!Default<frmTranslate>().IsOpen());
    QCOMPARE(program.exitStatus, std::optional<int>(0));
}

QTEST_MAIN(TestSplash)
#include "tst_splash.moc"
