#include "program_under_test.h"

#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>

using morvantel::Default;
using morvantel::Form;
using morvantel::Show;

class TestSecondaryWindows : public QObject
{
    Q_OBJECT

private:
    QWidget* splash() const { return Default<frmSplash>().Window(); }
    void showSplash()
    {
        Show(Default<frmSplash>());
        QVERIFY(QTest::qWaitForWindowExposed(splash()));
    }
    // The main window opened in place of the splash, or the splash stayed alone.
    void verifyLeftForMainWindow(bool left = true)
    {
        QCOMPARE(Default<frmSplash>().IsOpen(), !left);
        QCOMPARE(Default<frmTranslate>().IsOpen(), left);
        QVERIFY(!program.exitStatus);
        QCOMPARE(ProgramUnderTest::VisibleWindowCount(), 1);
    }

    ProgramUnderTest program;

private slots:
    void cleanup() { program.Restart(); }

    void splashKeys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("leaves");

        QTest::newRow("letter") << int(Qt::Key_Q) << "q" << true;
        QTest::newRow("Enter") << int(Qt::Key_Return) << "\r" << true;
        QTest::newRow("Esc") << int(Qt::Key_Escape) << "\x1b" << true;
        QTest::newRow("Backspace") << int(Qt::Key_Backspace) << "\b" << true;
        QTest::newRow("Shift alone") << int(Qt::Key_Shift) << "" << false;
        QTest::newRow("arrow") << int(Qt::Key_Left) << "" << false;
        QTest::newRow("function key") << int(Qt::Key_F5) << "" << false;
        QTest::newRow("Delete") << int(Qt::Key_Delete) << "\x7f" << false;
    }

    void splashKeys()
    {
        showSplash();
        QFETCH(int, key);
        QFETCH(QString, text);
        QFETCH(bool, leaves);

        // Sent as the platform sends it, text included.
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(splash(), &press);

        verifyLeftForMainWindow(leaves);
    }

    void splashClicks_data()
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

    void splashClicks()
    {
        showSplash();
        QFETCH(QString, control);
        QFETCH(QPoint, at);
        QFETCH(bool, leaves);

        auto* target = Find<QWidget>(Default<frmSplash>(), control.toLatin1());
        QVERIFY(target);
        QCOMPARE(splash()->childAt(target->mapTo(splash(), at)), target);
        QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, at);

        verifyLeftForMainWindow(leaves);
    }

    void splashReleaseOutsideIsNoClick()
    {
        showSplash();
        // Pressed on a label, then moved off it to the margin and released there.
        auto* label = Find<QWidget>(Default<frmSplash>(), "lblCompanyProduct");
        QTest::mousePress(label, Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
        QTest::mouseRelease(label, Qt::LeftButton, Qt::NoModifier,
                            label->mapFrom(splash(), QPoint(3, 100)));
        verifyLeftForMainWindow(false);
    }

    void mainWindowOpensOnceHoweverFast()
    {
        showSplash();
        QWidget* closing = splash();
        auto* label = Find<QWidget>(Default<frmSplash>(), "lblVersion");
        // A key, a second key and a click all queued before the first is handled.
        for (const char* key : {"a", "b"})
            QCoreApplication::postEvent(
                closing, new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, key));
        QTest::mousePress(label, Qt::LeftButton);
        QCoreApplication::processEvents();
        QWidget* main = Default<frmTranslate>().Window();
        QVERIFY(main);
        QTest::mouseRelease(label, Qt::LeftButton);
        QCoreApplication::processEvents();

        QCOMPARE(Default<frmTranslate>().Window(), main);
        verifyLeftForMainWindow();
    }

    void keys_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QStringList>("tabOrder"); // from the control that has the focus at first
        QTest::addColumn<int>("closingKey");       // pressed on the last control of the tab order

        // clang-format off
        QTest::newRow("About") << "frmAbout" << QStringList{"cmdOK", "Picture1", "cmdNew", "cmdOK"} << int(Qt::Key_Return);
        QTest::newRow("What's New") << "frmWhatsnew" << QStringList{"picIcon", "Text1", "cmdAbout", "cmdOk"} << int(Qt::Key_Space);
        // clang-format on
    }

    void keys()
    {
        QFETCH(QString, window);
        QFETCH(QStringList, tabOrder);
        QFETCH(int, closingKey);

        Show(FormNamed(window));
        QVERIFY(QTest::qWaitForWindowActive(FormNamed(window).Window()));
        const auto focused = [] { return QApplication::focusWidget()->objectName(); };
        QCOMPARE(focused(), tabOrder.first());

        // Neither window has a default or a cancel button.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        if (window == "frmWhatsnew")
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(FormNamed(window).IsOpen());

        for (const QString& next : tabOrder.mid(1)) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(focused(), next);
        }
        // The focused button is OK, which closes its window and opens no other.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(closingKey));
        QVERIFY(!Default<frmAbout>().IsOpen());
        QVERIFY(!Default<frmWhatsnew>().IsOpen());
    }

    void readOnlyBoxes_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("box");
        QTest::newRow("main window's answer") << "frmTranslate"
                                              << "txtTranslation";
        QTest::newRow("What's New's address") << "frmWhatsnew"
                                              << "Text1";
    }

    // They take no typing, but are selected and copied as any other text.
    void readOnlyBoxes()
    {
        QFETCH(QString, window);
        QFETCH(QString, box);

        Show(FormNamed(window));
        auto* text = Find<QLineEdit>(FormNamed(window), box.toLatin1());
        text->setText(text->text() + "stored");
        const QString stored = text->text();
        text->setFocus();
        QTest::keyClicks(text, "typed");
        QTest::keyClick(text, Qt::Key_Backspace);
        QCOMPARE(text->text(), stored);
        QTest::keyClick(text, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(text, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), stored);
    }

    void buttonsLeadToEachOther()
    {
        Show(Default<frmTranslate>());
        Show(Default<frmAbout>());
        Show(Default<frmWhatsnew>());
        QWidget* whatsNew = Default<frmWhatsnew>().Window();
        QCOMPARE(ProgramUnderTest::VisibleWindowCount(), 3);

        // With both open, "Whats New" closes About and brings the open window forward.
        Find<QPushButton>(Default<frmAbout>(), "cmdNew")->click();
        QVERIFY(!Default<frmAbout>().IsOpen());
        QCOMPARE(Default<frmWhatsnew>().Window(), whatsNew);

        // Back and forth: always exactly one of the two open, and the main window untouched.
        for (int i = 0; i < 6; ++i) {
            const bool aboutOpen = Default<frmAbout>().IsOpen();
            Form& open =
                aboutOpen ? static_cast<Form&>(Default<frmAbout>()) : Default<frmWhatsnew>();
            Find<QPushButton>(open, aboutOpen ? "cmdNew" : "cmdAbout")->click();
            QCOMPARE(Default<frmAbout>().IsOpen(), !aboutOpen);
            QCOMPARE(Default<frmWhatsnew>().IsOpen(), aboutOpen);
            QCOMPARE(ProgramUnderTest::VisibleWindowCount(), 2);
        }
        QVERIFY(Default<frmTranslate>().IsOpen());
        QVERIFY(!program.exitStatus);
    }

    void reopenedWindowIsBuiltAfresh()
    {
        Show(Default<frmTranslate>());
        Show(Default<frmAbout>());
        QWidget* first = Default<frmAbout>().Window();
        first->setWindowTitle("changed while open");
        Find<QWidget>(Default<frmAbout>(), "cmdNew")->setFocus();
        Find<QPushButton>(Default<frmAbout>(), "cmdOK")->click();
        QVERIFY(!Default<frmAbout>().IsOpen());
        ProgramUnderTest::DeleteClosedWindows();

        Show(Default<frmAbout>());
        QVERIFY(QTest::qWaitForWindowActive(Default<frmAbout>().Window()));
        QCOMPARE(Default<frmAbout>().Window()->windowTitle(),
                 QStringLiteral("Tessar Morvantel Translator"));
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("cmdOK"));
    }

    void lastWindowClosingEndsProgram()
    {
        // A handler that closes the last window and shows another keeps the program running.
        Show(Default<frmWhatsnew>());
        Find<QPushButton>(Default<frmWhatsnew>(), "cmdAbout")->click();
        QVERIFY(!program.exitStatus);
        QVERIFY(Default<frmAbout>().IsOpen());

        Find<QPushButton>(Default<frmAbout>(), "cmdOK")->click();
        QCOMPARE(program.exitStatus, std::optional<int>(0));
        QCOMPARE(ProgramUnderTest::VisibleWindowCount(), 0);
    }
};

MORVANTEL_TEST_MAIN(TestSecondaryWindows)
#include "tst_secondary_windows.moc"
