#include "app/controls.h"
#include "program_under_test.h"
#include "windows/frmSplash.h"
#include "windows/frmTranslate.h"

#include <QGroupBox>
#include <QLabel>
#include <QScreen>

using morvantel::Default;
using morvantel::Show;

class TestSplash : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { program.Restart(); }

    void design();
    void autoSizedLabels_data();
    void autoSizedLabels();
    void warningWrapsOntoTwoLines();
    void keys_data();
    void keys();
    void clicks_data();
    void clicks();
    void mainWindowOpensOnceHoweverFast();
    void platformCloseEndsProgram();

private:
    QWidget* splash() const { return Default<frmSplash>().Window(); }
    template <typename Control> Control* find(const char* name) const
    {
        return ProgramUnderTest::Find<Control>(Default<frmSplash>(), name);
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

void TestSplash::design()
{
    QCOMPARE(splash()->size(), QSize(Px(7320), Px(4170)));
    QCOMPARE(splash()->minimumSize(), splash()->maximumSize());
    QCOMPARE(splash()->geometry().center(), splash()->screen()->geometry().center());
    const Qt::WindowFlags flags = splash()->windowFlags();
    QVERIFY(flags & Qt::FramelessWindowHint);          // no title bar
    QCOMPARE(flags & Qt::WindowType_Mask, Qt::Dialog); // no taskbar button
    QCOMPARE(splash()->palette().color(QPalette::Window), QColor(Qt::black));

    auto* frame = find<QGroupBox>("Frame1");
    QCOMPARE(frame->geometry(), QRect(Px(120), 0, Px(7080), Px(4050)));
    QCOMPARE(frame->title(), QString());
    // Labels inside the frame are placed from the frame's corner.
    QCOMPARE(find<QLabel>("lblCompany")->parentWidget(), frame);
    QCOMPARE(find<QLabel>("lblCompany")->geometry(), QRect(Px(4560), Px(3240), Px(2415), Px(255)));
    QCOMPARE(find<QLabel>("lblCompany")->text(), QStringLiteral("Tessar Morvantel"));
    QVERIFY(find<QLabel>("lblLicenseTo")->text().startsWith(QStringLiteral("® ")));
    QCOMPARE(find<QLabel>("lblLicenseTo")->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);

    // Nothing on the splash window takes the focus.
    for (const QWidget* control : splash()->findChildren<QWidget*>())
        QVERIFY2(!(control->focusPolicy() & Qt::TabFocus), qPrintable(control->objectName()));
}

void TestSplash::autoSizedLabels_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QPoint>("storedTwips");
    QTest::addColumn<int>("storedWidthTwips"); // 0 where the width follows the caption
    QTest::addColumn<int>("lines");

    QTest::newRow("company, one line") << "lblCompanyProduct" << QPoint(2355, 705) << 0 << 1;
    QTest::newRow("platform, one line") << "lblPlatform" << QPoint(5025, 2340) << 0 << 1;
    QTest::newRow("version, one line") << "lblVersion" << QPoint(5415, 2700) << 0 << 1;
    QTest::newRow("product name wraps") << "lblProductName" << QPoint(2400, 1320) << 4485 << 2;
}

void TestSplash::autoSizedLabels()
{
    QFETCH(QString, label);
    QFETCH(QPoint, storedTwips);
    QFETCH(int, storedWidthTwips);
    QFETCH(int, lines);

    auto* caption = find<QLabel>(label.toLatin1());
    QCOMPARE(caption->pos(), QPoint(Px(storedTwips.x()), Px(storedTwips.y())));
    const QFontMetrics metrics = caption->fontMetrics();
    if (storedWidthTwips)
        QCOMPARE(caption->width(), Px(storedWidthTwips));
    else
        QVERIFY(qAbs(caption->width() - metrics.horizontalAdvance(caption->text())) <= 2);
    QVERIFY(caption->height() >= lines * metrics.height());
    QVERIFY(caption->height() < (lines + 1) * metrics.height());
    // Nothing of the caption is cut off.
    QVERIFY(caption->height() >= caption->heightForWidth(caption->width()));
}

void TestSplash::warningWrapsOntoTwoLines()
{
    auto* warning = find<QLabel>("lblWarning");
    const QString text = warning->text();
    QVERIFY(text.startsWith(QStringLiteral("Warning:  ")));
    QVERIFY(!text.startsWith(QStringLiteral("Warning:   ")));
    QVERIFY(text.contains(QStringLiteral("risk.  ")));
    QVERIFY(!text.endsWith(QChar(u'.')));
    QCOMPARE(warning->geometry(), QRect(Px(150), Px(3600), Px(6855), Px(435)));
    QCOMPARE(warning->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    const int needed = warning->heightForWidth(warning->width());
    QCOMPARE(needed / warning->fontMetrics().lineSpacing(), 2);
    QVERIFY(needed <= warning->height());
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
    QTest::newRow("margin left of the frame") << "frmSplash" << QPoint(3, 100) << false;
    QTest::newRow("margin below the frame") << "frmSplash" << QPoint(240, 274) << false;
}

void TestSplash::clicks()
{
    QFETCH(QString, control);
    QFETCH(QPoint, at);
    QFETCH(bool, leaves);

    QWidget* target = control == "frmSplash" ? splash() : find<QWidget>(control.toLatin1());
    QVERIFY(target);
    QCOMPARE(splash()->childAt(target->mapTo(splash(), at)),
             control == "frmSplash" ? nullptr : target);
    QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, at);

    if (leaves) {
        verifyLeftForMainWindow();
    } else {
        QVERIFY(Default<frmSplash>().IsOpen());
        QVERIFY(!Default<frmTranslate>().IsOpen());
    }
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
