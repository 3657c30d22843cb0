#include "engine/translate.h"
#include "program_under_test.h"

#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>

#include <cstddef>
#include <utility>

using morvantel::Default;
using morvantel::Show;

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { program.Restart(); }

    void typedWordTranslatesAsTyped_data();
    void typedWordTranslatesAsTyped();
    void keysPressButtons_data();
    void keysPressButtons();
    void enterTranslatesWhereTheFrameTakesEnter_data();
    void enterTranslatesWhereTheFrameTakesEnter();
    void menuShortcutsFromAnyControl_data();
    void menuShortcutsFromAnyControl();
    void tabOrder();
    void ctrlXInWordAsksAndCutsNothing();
    void exitAnsweredYesEndsEverything_data();
    void exitAnsweredYesEndsEverything();
    void exitBoxIgnoresEscAndClose();
    void hugePasteIsCutShort();
    void pasteKeepsFirstLineAsOneStepOfUndo_data();
    void pasteKeepsFirstLineAsOneStepOfUndo();
    void outputCanBeCopiedNotTyped();
    void closeBoxLeavesOtherWindowsRunning();

private:
    QMainWindow* window() const
    {
        return qobject_cast<QMainWindow*>(Default<frmTranslate>().Window());
    }
    template <typename Control> Control* find(const char* name) const
    {
        return Find<Control>(Default<frmTranslate>(), name);
    }
    QLineEdit* word() const { return find<QLineEdit>("txtWord"); }
    QLineEdit* translation() const { return find<QLineEdit>("txtTranslation"); }

    ProgramUnderTest program;
};

void TestMainWindow::init()
{
    Show(Default<frmTranslate>());
    QVERIFY(QTest::qWaitForWindowActive(window()));
}

void TestMainWindow::typedWordTranslatesAsTyped_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");

    QTest::newRow("English word") << "above"
                                  << "svern";
    QTest::newRow("Kethric word") << "svern"
                                  << "above";
    QTest::newRow("leading blank") << " above"
                                   << "Unknown Word";
    QTest::newRow("trailing blank") << "above "
                                    << "Unknown Word";
    QTest::newRow("capital letter") << "Above"
                                    << "Unknown Word";
    QTest::newRow("nothing typed") << ""
                                   << "Unknown Word";
}

void TestMainWindow::typedWordTranslatesAsTyped()
{
    QFETCH(QString, typed);
    QFETCH(QString, expected);

    QTest::keyClicks(word(), typed);
    QTest::keyClick(word(), Qt::Key_Return);
    QCOMPARE(translation()->text(), expected);
    QCOMPARE(word()->text(), typed);
}

void TestMainWindow::keysPressButtons_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("expectedWord");
    QTest::addColumn<QString>("expectedTranslation");

    // Each starts with "above" typed and an old answer shown.
    QTest::newRow("Return in word") << "txtWord" << int(Qt::Key_Return) << "above"
                                    << "svern";
    QTest::newRow("keypad Enter in word") << "txtWord" << int(Qt::Key_Enter) << "above"
                                          << "svern";
    QTest::newRow("Return in output") << "txtTranslation" << int(Qt::Key_Return) << "above"
                                      << "svern";
    QTest::newRow("Return on picture") << "Picture1" << int(Qt::Key_Return) << "above"
                                       << "svern";
    QTest::newRow("Return on Translate") << "cmdTranslate" << int(Qt::Key_Return) << "above"
                                         << "svern";
    QTest::newRow("Return on Clear clears") << "cmdClear" << int(Qt::Key_Return) << ""
                                            << "";
    QTest::newRow("space on Translate") << "cmdTranslate" << int(Qt::Key_Space) << "above"
                                        << "svern";
    QTest::newRow("space on Clear") << "cmdClear" << int(Qt::Key_Space) << ""
                                    << "";
    QTest::newRow("Esc in word") << "txtWord" << int(Qt::Key_Escape) << ""
                                 << "";
    QTest::newRow("Esc in output") << "txtTranslation" << int(Qt::Key_Escape) << ""
                                   << "";
    QTest::newRow("Esc on Translate") << "cmdTranslate" << int(Qt::Key_Escape) << ""
                                      << "";
}

void TestMainWindow::keysPressButtons()
{
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(QString, expectedWord);
    QFETCH(QString, expectedTranslation);

    QTest::keyClicks(word(), "above");
    translation()->setText("old answer");
    auto* control = find<QWidget>(focus.toLatin1());
    control->setFocus();
    QTest::keyClick(control, Qt::Key(key));

    QCOMPARE(word()->text(), expectedWord);
    QCOMPARE(translation()->text(), expectedTranslation);
    QCOMPARE(QApplication::focusWidget(), control);
}

namespace {

// A frame as the GNOME and GTK themes make it: it takes Enter for itself as
// Enter passes it on its way up from the control that has the focus.
class FrameTakingEnter : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent*>(event)->key();
        return key == Qt::Key_Return || key == Qt::Key_Enter;
    }
};

} // namespace

void TestMainWindow::enterTranslatesWhereTheFrameTakesEnter_data()
{
    QTest::addColumn<QString>("focus");
    QTest::newRow("in word") << "txtWord";
    QTest::newRow("in output") << "txtTranslation";
}

void TestMainWindow::enterTranslatesWhereTheFrameTakesEnter()
{
    QFETCH(QString, focus);

    auto* frame = find<QWidget>("frmTranslate");
    frame->installEventFilter(new FrameTakingEnter(frame));
    QTest::keyClicks(word(), "above");
    auto* control = find<QWidget>(focus.toLatin1());
    control->setFocus();
    QTest::keyClick(control, Qt::Key_Return);

    QCOMPARE(translation()->text(), QStringLiteral("svern"));
}

void TestMainWindow::menuShortcutsFromAnyControl_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("aboutOpens");

    QTest::newRow("F1 in word") << "txtWord" << int(Qt::Key_F1) << true;
    QTest::newRow("F1 on Clear") << "cmdClear" << int(Qt::Key_F1) << true;
    QTest::newRow("F1 on picture") << "Picture1" << int(Qt::Key_F1) << true;
    QTest::newRow("F12 in word") << "txtWord" << int(Qt::Key_F12) << false;
    QTest::newRow("F12 in output") << "txtTranslation" << int(Qt::Key_F12) << false;
}

void TestMainWindow::menuShortcutsFromAnyControl()
{
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(bool, aboutOpens);

    auto* control = find<QWidget>(focus.toLatin1());
    control->setFocus();
    QTest::keyClick(control, Qt::Key(key));

    QCOMPARE(Default<frmAbout>().IsOpen(), aboutOpens);
    QCOMPARE(Default<frmWhatsnew>().IsOpen(), !aboutOpens);
    QVERIFY(Default<frmTranslate>().IsOpen());
}

void TestMainWindow::tabOrder()
{
    const QStringList expected = {"cmdTranslate", "txtTranslation", "cmdClear", "Picture1",
                                  "txtWord"};
    QStringList visited;
    for (int i = 0; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, expected);
}

void TestMainWindow::ctrlXInWordAsksAndCutsNothing()
{
    QApplication::clipboard()->setText("on the clipboard before");
    QTest::keyClicks(word(), "dragon");
    word()->setSelection(1, 3);
    program.answerBox = [](QDialog& box) {
        box.show();
        QTest::mouseClick(static_cast<QMessageBox&>(box).button(QMessageBox::No), Qt::LeftButton);
    };

    QTest::keyClick(word(), Qt::Key_X, Qt::ControlModifier);

    QCOMPARE(program.boxesShown, 1);
    QCOMPARE(Default<frmTranslate>().exitMsg, short(7));
    QVERIFY(Default<frmTranslate>().IsOpen());
    QCOMPARE(word()->text(), QStringLiteral("dragon"));
    QCOMPARE(word()->selectedText(), QStringLiteral("rag"));
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("on the clipboard before"));
    QCOMPARE(QApplication::focusWidget(), word());
    QVERIFY(!program.exitStatus);
}

void TestMainWindow::exitAnsweredYesEndsEverything_data()
{
    QTest::addColumn<bool>("withEnter");
    QTest::addColumn<bool>("othersOpen");

    QTest::newRow("Yes clicked, main window alone") << false << false;
    QTest::newRow("Enter, main window alone") << true << false;
    QTest::newRow("Yes clicked, About and What's New open") << false << true;
}

void TestMainWindow::exitAnsweredYesEndsEverything()
{
    QFETCH(bool, withEnter);
    QFETCH(bool, othersOpen);

    if (othersOpen) {
        Show(Default<frmAbout>());
        Show(Default<frmWhatsnew>());
        window()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window()));
    }
    program.answerBox = [withEnter](QDialog& box) {
        box.show();
        auto& question = static_cast<QMessageBox&>(box);
        if (withEnter)
            QTest::keyClick(&box, Qt::Key_Return);
        else
            QTest::mouseClick(question.button(QMessageBox::Yes), Qt::LeftButton);
    };
    QTest::keyClick(word(), Qt::Key_X, Qt::ControlModifier);

    QCOMPARE(Default<frmTranslate>().exitMsg, short(6));
    QCOMPARE(program.exitStatus, std::optional<int>(0));
    QVERIFY(morvantel::ProgramEnded());
    QCOMPARE(ProgramUnderTest::VisibleWindowCount(), 0);
    QVERIFY(!Default<frmTranslate>().IsOpen());
    QVERIFY(!Default<frmAbout>().IsOpen());
    QVERIFY(!Default<frmWhatsnew>().IsOpen());
}

void TestMainWindow::exitBoxIgnoresEscAndClose()
{
    QTest::keyClicks(word(), "usv");
    find<QPushButton>("cmdTranslate")->click();
    find<QPushButton>("cmdClear")->setFocus();
    bool stayedOpen = false;
    program.answerBox = [&stayedOpen](QDialog& dialog) {
        auto& box = static_cast<QMessageBox&>(dialog);
        box.show();
        QCOMPARE(box.text(), QStringLiteral("Are you Sure you want to Quit?"));
        QCOMPARE(box.windowTitle(), QStringLiteral("Tessar Morvantel"));
        QCOMPARE(box.icon(), QMessageBox::Warning);
        QCOMPARE(box.defaultButton(), box.button(QMessageBox::Yes));
        QCOMPARE(box.buttons().size(), 2);
        QVERIFY(box.button(QMessageBox::No));
        QCOMPARE(box.windowModality(), Qt::ApplicationModal);
        QVERIFY(!(box.windowFlags() & Qt::WindowCloseButtonHint));

        QTest::keyClick(&box, Qt::Key_Escape);
        box.close();
        stayedOpen = box.isVisible();
        QTest::mouseClick(box.button(QMessageBox::No), Qt::LeftButton);
    };
    find<QAction>("mnuExit")->trigger();

    QVERIFY(stayedOpen);
    QCOMPARE(Default<frmTranslate>().exitMsg, short(7));
    QVERIFY(!program.exitStatus);
    QVERIFY(Default<frmTranslate>().IsOpen());
    QCOMPARE(word()->text(), QStringLiteral("usv"));
    QCOMPARE(translation()->text(), QStringLiteral("or"));
    QCOMPARE(QApplication::focusWidget(), find<QWidget>("cmdClear"));
}

void TestMainWindow::hugePasteIsCutShort()
{
    const QString page(1024 * 1024, QChar(u'k'));
    QApplication::clipboard()->setText(page);
    QTest::keyClick(word(), Qt::Key_V, Qt::ControlModifier);
    const QString kept = word()->text();
    // Longer than any word, so that the cut changes no answer; no page.
    QVERIFY(page.startsWith(kept));
    QCOMPARE_GT(std::size_t(kept.size()), morvantel::LongestKey);
    QCOMPARE_LT(kept.size(), 1000);

    QTest::keyClicks(word(), "more");
    QCOMPARE(word()->text(), kept);
    QTest::keyClick(word(), Qt::Key_Return);
    QCOMPARE(translation()->text(), QStringLiteral("Unknown Word"));
}

void TestMainWindow::pasteKeepsFirstLineAsOneStepOfUndo_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("selectionStart");
    QTest::addColumn<int>("selectionLength"); // 0: the cursor alone
    QTest::addColumn<QString>("pasted");

    QTest::newRow("line from a terminal") << "" << 0 << 0 << "dragon\n";
    QTest::newRow("line from a document") << "" << 0 << 0 << "dragon\r\nmore text\r\n";
    QTest::newRow("into typed text") << "drn" << 2 << 0 << "ago\nn";
    QTest::newRow("over a selection") << "drxxn" << 2 << 2 << "ago\nmore";
    QTest::newRow("after typed text") << "drag" << 4 << 0 << "on\n";
    QTest::newRow("no line break") << "dra" << 3 << 0 << "gon";
    for (const auto& [name, lineBreak] : {std::pair{"vertical tab", u'\v'},
                                          {"form feed", u'\f'},
                                          {"next line", u'\u0085'},
                                          {"line separator", u'\u2028'},
                                          {"paragraph separator", u'\u2029'}})
        QTest::addRow("ended by a %s", name)
            << "" << 0 << 0 << QStringLiteral("dragon") + QChar(lineBreak) + "more";
}

void TestMainWindow::pasteKeepsFirstLineAsOneStepOfUndo()
{
    QFETCH(QString, typed);
    QFETCH(int, selectionStart);
    QFETCH(int, selectionLength);
    QFETCH(QString, pasted);

    QTest::keyClicks(word(), typed);
    word()->setSelection(selectionStart, selectionLength);
    QApplication::clipboard()->setText(pasted);
    QTest::keyClick(word(), Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(word(), Qt::Key_Return);
    QCOMPARE(word()->text(), QStringLiteral("dragon"));
    QCOMPARE(translation()->text(), QStringLiteral("morvantel"));

    QTest::keyClick(word(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(word()->text(), typed);
}

void TestMainWindow::outputCanBeCopiedNotTyped()
{
    QTest::keyClicks(word(), "above");
    QTest::keyClick(word(), Qt::Key_Return);
    translation()->setFocus();
    QTest::keyClicks(translation(), "xyz");
    QTest::keyClick(translation(), Qt::Key_Backspace);
    QCOMPARE(translation()->text(), QStringLiteral("svern"));

    QTest::keyClick(translation(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(translation(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("svern"));
}

void TestMainWindow::closeBoxLeavesOtherWindowsRunning()
{
    Show(Default<frmAbout>());
    QVERIFY(window()->close());

    QCOMPARE(program.boxesShown, 0);
    QVERIFY(!Default<frmTranslate>().IsOpen());
    QVERIFY(!program.exitStatus);

    // The About window still works: its button leads on to What's New.
    QVERIFY(Default<frmAbout>().IsOpen());
    Find<QPushButton>(Default<frmAbout>(), "cmdNew")->click();
    QVERIFY(!program.exitStatus);
    QVERIFY(Default<frmWhatsnew>().IsOpen());

    QVERIFY(Default<frmWhatsnew>().Window()->close());
    QCOMPARE(program.exitStatus, std::optional<int>(0));
}

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
