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

namespace {

// A frame as the GNOME and GTK themes make it: it takes Enter for itself as
// Enter passes it on its way up from the control that has the focus.
struct FrameTakingEnter : QObject
{
    using QObject::QObject;
    bool eventFilter(QObject*, QEvent* event) override
    {
        const auto* press =
            event->type() == QEvent::KeyPress ? static_cast<QKeyEvent*>(event) : nullptr;
        return press && (press->key() == Qt::Key_Return || press->key() == Qt::Key_Enter);
    }
};

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

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

private slots:
    void init()
    {
        Show(Default<frmTranslate>());
        QVERIFY(QTest::qWaitForWindowActive(window()));
    }

    void cleanup() { program.Restart(); }

    void keysPressButtons_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("frameTakesEnter");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expectedWord");
        QTest::addColumn<QString>("expectedTranslation");

        // Each starts with the word typed and an old answer shown. The word goes
        // to the lookup as it stands, blanks and all.
        // clang-format off
        const auto row = [](const char* name, const char* focus, Qt::Key key, bool frameTakesEnter, const char* typed, const char* expectedWord, const char* expectedTranslation) {
            QTest::newRow(name) << focus << int(key) << frameTakesEnter << typed << expectedWord << expectedTranslation;
        };
        row("Return in word", "txtWord", Qt::Key_Return, false, "above", "above", "svern");
        row("Return after a leading blank", "txtWord", Qt::Key_Return, false, " above", " above", "Unknown Word");
        row("Return after a trailing blank", "txtWord", Qt::Key_Return, false, "above ", "above ", "Unknown Word");
        row("Return with nothing typed", "txtWord", Qt::Key_Return, false, "", "", "Unknown Word");
        row("keypad Enter in word", "txtWord", Qt::Key_Enter, false, "above", "above", "svern");
        row("Return in output", "txtTranslation", Qt::Key_Return, false, "above", "above", "svern");
        row("Return on picture", "Picture1", Qt::Key_Return, false, "above", "above", "svern");
        row("Return in word, frame takes it", "txtWord", Qt::Key_Return, true, "above", "above", "svern");
        row("Return in output, frame takes it", "txtTranslation", Qt::Key_Return, true, "above", "above", "svern");
        row("Return on Translate", "cmdTranslate", Qt::Key_Return, false, "above", "above", "svern");
        row("Return on Clear clears", "cmdClear", Qt::Key_Return, false, "above", "", "");
        row("space on Translate", "cmdTranslate", Qt::Key_Space, false, "above", "above", "svern");
        row("space on Clear", "cmdClear", Qt::Key_Space, false, "above", "", "");
        row("Esc in word", "txtWord", Qt::Key_Escape, false, "above", "", "");
        row("Esc in output", "txtTranslation", Qt::Key_Escape, false, "above", "", "");
        row("Esc on Translate", "cmdTranslate", Qt::Key_Escape, false, "above", "", "");
        // clang-format on
    }

    void keysPressButtons()
    {
        QFETCH(QString, focus);
        QFETCH(int, key);
        QFETCH(bool, frameTakesEnter);
        QFETCH(QString, typed);
        QFETCH(QString, expectedWord);
        QFETCH(QString, expectedTranslation);

        if (frameTakesEnter) {
            auto* frame = find<QWidget>("frmTranslate");
            frame->installEventFilter(new FrameTakingEnter(frame));
        }
        QTest::keyClicks(word(), typed);
        translation()->setText("old answer");
        auto* control = find<QWidget>(focus.toLatin1());
        control->setFocus();
        QTest::keyClick(control, Qt::Key(key));

        QCOMPARE(word()->text(), expectedWord);
        QCOMPARE(translation()->text(), expectedTranslation);
        QCOMPARE(QApplication::focusWidget(), control);
    }

    void menuShortcutsFromAnyControl_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("aboutOpens");

        QTest::newRow("F1 on Clear") << "cmdClear" << int(Qt::Key_F1) << true;
        QTest::newRow("F1 on picture") << "Picture1" << int(Qt::Key_F1) << true;
        QTest::newRow("F12 in output") << "txtTranslation" << int(Qt::Key_F12) << false;
    }

    void menuShortcutsFromAnyControl()
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

    void tabOrder()
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

    void exitQuestion_data()
    {
        QTest::addColumn<QString>("asked");   // Ctrl+X in the word, "rag" selected; File › Exit
        QTest::addColumn<QString>("answer");  // Yes, Enter or No, after Esc and the close box
        QTest::addColumn<bool>("othersOpen"); // About and What's New open beside

        // clang-format off
        QTest::newRow("Ctrl+X, Yes") << "Ctrl+X" << "Yes" << false;
        QTest::newRow("Ctrl+X, Enter") << "Ctrl+X" << "Enter" << false;
        QTest::newRow("Ctrl+X, No: nothing cut") << "Ctrl+X" << "No" << false;
        QTest::newRow("File Exit, Yes: every window ends") << "File Exit" << "Yes" << true;
        QTest::newRow("File Exit from Clear, No") << "File Exit" << "No" << false;
        // clang-format on
    }

    void exitQuestion()
    {
        QFETCH(QString, asked);
        QFETCH(QString, answer);
        QFETCH(bool, othersOpen);

        if (othersOpen) {
            Show(Default<frmAbout>());
            Show(Default<frmWhatsnew>());
            window()->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(window()));
        }
        QApplication::clipboard()->setText("on the clipboard before");
        QTest::keyClicks(word(), "dragon");
        word()->setSelection(1, 3);
        QWidget* focus = asked == "Ctrl+X" ? word() : find<QWidget>("cmdClear");
        focus->setFocus();
        bool stayedOpen = false;
        program.answerBox = [&stayedOpen, answer](QDialog& dialog) {
            auto& box = static_cast<QMessageBox&>(dialog);
            box.show();
            // On a window system the box takes the keyboard as it shows, through
            // an X window manager a moment later; a person answers it then.
            if (QGuiApplication::platformName() != "offscreen")
                QTRY_COMPARE(QApplication::activeWindow(), &box);
            QCOMPARE(box.windowModality(), Qt::ApplicationModal);
            QTest::keyClick(&box, Qt::Key_Escape);
            box.close();
            stayedOpen = box.isVisible();
            if (answer == "Enter")
                QTest::keyClick(&box, Qt::Key_Return);
            else
                QTest::mouseClick(box.button(answer == "No" ? QMessageBox::No : QMessageBox::Yes),
                                  Qt::LeftButton);
        };
        if (asked == "Ctrl+X")
            QTest::keyClick(word(), Qt::Key_X, Qt::ControlModifier);
        else
            find<QAction>("mnuExit")->trigger();

        QCOMPARE(program.boxesShown, 1);
        QVERIFY(stayedOpen);
        const bool yes = answer != "No";
        QCOMPARE(Default<frmTranslate>().exitMsg, short(yes ? 6 : 7));
        QCOMPARE(program.exitStatus, yes ? std::optional<int>(0) : std::nullopt);
        QCOMPARE(ProgramUnderTest::VisibleWindowCount(), yes ? 0 : othersOpen ? 3 : 1);
        if (yes)
            return;
        QCOMPARE(word()->text(), QStringLiteral("dragon"));
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("on the clipboard before"));
        // The main window gets the keyboard back as the window system hands it.
        QTRY_COMPARE(QApplication::focusWidget(), focus);
        if (asked == "Ctrl+X")
            QCOMPARE(word()->selectedText(), QStringLiteral("rag"));
    }

    void hugePasteIsCutShort()
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

    void pasteKeepsFirstLineAsOneStepOfUndo_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("selectionStart");
        QTest::addColumn<int>("selectionLength"); // 0: the caret alone; below 0: selected leftwards
        QTest::addColumn<QString>("pasted");

        // Each ends as "dragon"; Ctrl+Z then gives back what was typed.
        // clang-format off
        QTest::newRow("line from a terminal") << "" << 0 << 0 << "dragon\n";
        QTest::newRow("line from a document") << "" << 0 << 0 << "dragon\r\nmore text\r\n";
        QTest::newRow("into typed text") << "drn" << 2 << 0 << "ago\nn";
        QTest::newRow("before typed text") << "gon" << 0 << 0 << "dra\nmore";
        QTest::newRow("after typed text") << "drag" << 4 << 0 << "on\n";
        QTest::newRow("over a selection") << "drxxn" << 2 << 2 << "ago\nmore";
        QTest::newRow("over a selection made leftwards") << "drxxn" << 4 << -2 << "ago\nmore";
        QTest::newRow("over all the text") << "xxxx" << 0 << 4 << "dragon\n";
        QTest::newRow("breaks one after another") << "" << 0 << 0 << "dragon\n\r\n\n";
        QTest::newRow("no line break") << "dra" << 3 << 0 << "gon";
        // clang-format on
        for (const auto& [name, lineBreak] : {std::pair{"vertical tab", u'\v'},
                                              {"form feed", u'\f'},
                                              {"next line", u'\u0085'},
                                              {"line separator", u'\u2028'},
                                              {"paragraph separator", u'\u2029'}})
            QTest::addRow("ended by a %s", name)
                << "" << 0 << 0 << QStringLiteral("dragon") + QChar(lineBreak) + "more";
    }

    void pasteKeepsFirstLineAsOneStepOfUndo()
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

    void pasteOfABreakAloneKeepsTheWord()
    {
        QTest::keyClicks(word(), "dragon");
        for (const int caret : {0, 3, 6}) {
            word()->setCursorPosition(caret);
            QApplication::clipboard()->setText("\nmore");
            QTest::keyClick(word(), Qt::Key_V, Qt::ControlModifier);
            QCOMPARE(word()->text(), QStringLiteral("dragon"));
            QCOMPARE(word()->cursorPosition(), caret);
        }
    }

    // A character the design's face lacks, as a snowman, is drawn from another
    // face, as in any other program: not as the box a character of no face is.
    void characterOutsideTheFaceIsDrawn()
    {
#ifdef Q_OS_WIN
        if (QGuiApplication::platformName() == QLatin1String("offscreen"))
            QSKIP("Qt's offscreen platform on Windows looks for no other face.");
#endif
        translation()->setFocus();
        const auto drawn = [this](const QString& typed) {
            word()->setText(typed);
            return word()->grab().toImage();
        };
        QVERIFY(drawn(QStringLiteral("\u2603")) != drawn(QString::fromUcs4(U"\U0010FFFD")));
    }
};

MORVANTEL_TEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
