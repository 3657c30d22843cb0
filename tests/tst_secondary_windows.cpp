#include "program_under_test.h"

#include <QLineEdit>
#include <QPushButton>

using morvantel::Default;
using morvantel::Form;
using morvantel::Show;

class TestSecondaryWindows : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { program.Restart(); }

    void keys_data();
    void keys();
    void addressIsReadOnlyButSelectable();
    void showingAnOpenWindowBringsItForward();
    void buttonsLeadToEachOther();
    void reopenedWindowIsBuiltAfresh();
    void lastWindowClosingEndsProgram();

private:
    ProgramUnderTest program;
};

void TestSecondaryWindows::keys_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QStringList>("tabOrder"); // from the control that has the focus at first
    QTest::addColumn<int>("closingKey");       // pressed on the last control of the tab order

    QTest::newRow("About") << "frmAbout" << QStringList{"cmdOK", "Picture1", "cmdNew", "cmdOK"}
                           << int(Qt::Key_Return);
    QTest::newRow("What's New") << "frmWhatsnew"
                                << QStringList{"picIcon", "Text1", "cmdAbout", "cmdOk"}
                                << int(Qt::Key_Space);
}

void TestSecondaryWindows::keys()
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

void TestSecondaryWindows::addressIsReadOnlyButSelectable()
{
    Show(Default<frmWhatsnew>());
    auto* address = Find<QLineEdit>(Default<frmWhatsnew>(), "Text1");
    const QString stored = address->text();
    QVERIFY(stored.endsWith("@example.org"));

    address->setFocus();
    QTest::keyClicks(address, "typed");
    QTest::keyClick(address, Qt::Key_Backspace);
    QCOMPARE(address->text(), stored);
    QTest::keyClick(address, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(address->selectedText(), stored);
}

void TestSecondaryWindows::showingAnOpenWindowBringsItForward()
{
    Show(Default<frmAbout>());
    QWidget* first = Default<frmAbout>().Window();
    Show(Default<frmAbout>());
    QCOMPARE(Default<frmAbout>().Window(), first);
    QCOMPARE(ProgramUnderTest::VisibleWindowCount(), 1);
}

void TestSecondaryWindows::buttonsLeadToEachOther()
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
        Form& open = aboutOpen ? static_cast<Form&>(Default<frmAbout>()) : Default<frmWhatsnew>();
        Find<QPushButton>(open, aboutOpen ? "cmdNew" : "cmdAbout")->click();
        QCOMPARE(Default<frmAbout>().IsOpen(), !aboutOpen);
        QCOMPARE(Default<frmWhatsnew>().IsOpen(), aboutOpen);
        QCOMPARE(ProgramUnderTest::VisibleWindowCount(), 2);
    }
    QVERIFY(Default<frmTranslate>().IsOpen());
    QVERIFY(!program.exitStatus);
}

void TestSecondaryWindows::reopenedWindowIsBuiltAfresh()
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

void TestSecondaryWindows::lastWindowClosingEndsProgram()
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

QTEST_MAIN(TestSecondaryWindows)
#include "tst_secondary_windows.moc"
