#include "app/controls.h"
#include "program_under_test.h"
#include "windows/frmAbout.h"
#include "windows/frmSplash.h"
#include "windows/frmTranslate.h"
#include "windows/frmWhatsnew.h"

#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>

using morvantel::Default;
using morvantel::Form;
using morvantel::LineControl;
using morvantel::PictureBox;
using morvantel::Show;

class TestSecondaryWindows : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { program.Restart(); }

    void design_data();
    void design();
    void picturesDrawnAsDesigned_data();
    void picturesDrawnAsDesigned();
    void fontsAreTheDesignsFaces_data();
    void fontsAreTheDesignsFaces();
    void buttonsFollowColourScheme_data();
    void buttonsFollowColourScheme();
    void separatorLines_data();
    void separatorLines();
    void wrappedLabelsFit_data();
    void wrappedLabelsFit();
    void aboutKeys();
    void whatsNewKeys();
    void addressIsReadOnlyButSelectable();
    void showingAnOpenWindowBringsItForward();
    void buttonsLeadToEachOther();
    void reopenedWindowIsBuiltAfresh();
    void lastWindowClosingEndsProgram();

private:
    static Form& form(const QString& name);
    ProgramUnderTest program;
};

Form& TestSecondaryWindows::form(const QString& name)
{
    if (name == "frmAbout")
        return Default<frmAbout>();
    if (name == "frmWhatsnew")
        return Default<frmWhatsnew>();
    if (name == "frmSplash")
        return Default<frmSplash>();
    return Default<frmTranslate>();
}

void TestSecondaryWindows::design_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QSize>("clientTwips");

    QTest::newRow("About") << "frmAbout"
                           << "Tessar Morvantel Translator" << QSize(5730, 3540);
    QTest::newRow("What's New") << "frmWhatsnew"
                                << "Whats new in Version 1.2.5" << QSize(5775, 5550);
}

void TestSecondaryWindows::design()
{
    QFETCH(QString, window);
    QFETCH(QString, caption);
    QFETCH(QSize, clientTwips);

    Show(form(window));
    QWidget* shown = form(window).Window();
    QCOMPARE(shown->windowTitle(), caption);
    QCOMPARE(shown->geometry(),
             QRect(Px(2340), Px(1935), Px(clientTwips.width()), Px(clientTwips.height())));
    QCOMPARE(shown->minimumSize(), shown->maximumSize());
    const Qt::WindowFlags flags = shown->windowFlags();
    // A dialog of the program: no taskbar button of its own.
    QCOMPARE(flags & Qt::WindowType_Mask, Qt::Dialog);
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QVERIFY(!shown->windowIcon().isNull());
}

void TestSecondaryWindows::picturesDrawnAsDesigned_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("ratio"); // device pixels to the pixel

    for (const int ratio : {1, 2}) {
        const auto row = [ratio](const char* name) -> QTestData& {
            return QTest::addRow("%s at %dx", name, ratio);
        };
        row("About logo, cut off") << "frmAbout"
                                   << "Picture1" << ratio;
        row("What's New logo, whole") << "frmWhatsnew"
                                      << "picIcon" << ratio;
        row("main window frame, cut off") << "frmTranslate"
                                          << "Picture1" << ratio;
        row("splash logo, stretched") << "frmSplash"
                                      << "imgLogo" << ratio;
    }
}

void TestSecondaryWindows::picturesDrawnAsDesigned()
{
    QFETCH(QString, window);
    QFETCH(QString, box);
    QFETCH(int, ratio);

    Show(form(window));
    auto* pictureBox = ProgramUnderTest::Find<PictureBox>(form(window), box.toLatin1());
    QVERIFY(pictureBox);
    QImage drawn(pictureBox->size() * ratio, QImage::Format_RGB32);
    drawn.setDevicePixelRatio(ratio);
    pictureBox->render(&drawn);

    // At two device pixels to the pixel the picture comes from its sharp twin.
    const QImage picture(ratio == 1 ? pictureBox->picture()
                                    : QString(pictureBox->picture()).replace(".jpg", "@2x.jpg"));
    QCOMPARE(picture.size(), pictureBox->pixmap().size() * ratio);
    const QRect inside(pictureBox->contentsRect().topLeft() * ratio,
                       pictureBox->contentsRect().size() * ratio);
    // Either stretched to the box, or at its own size from the corner and cut off.
    const QImage expected =
        pictureBox->stretch()
            ? picture.scaled(inside.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
            : picture.copy(QRect(QPoint(), inside.size()));
    const QImage shown = drawn.copy(inside).convertToFormat(expected.format());
    qint64 difference = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x) {
            const QColor a = shown.pixelColor(x, y), b = expected.pixelColor(x, y);
            difference +=
                qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) + qAbs(a.blue() - b.blue());
        }
    const double perPixel = double(difference) / (shown.width() * shown.height());
    QVERIFY2(perPixel < 0.5, qPrintable(QString("differs by %1 a pixel").arg(perPixel)));
}

void TestSecondaryWindows::fontsAreTheDesignsFaces_data()
{
    QTest::addColumn<QString>("window");
    QTest::newRow("main window") << "frmTranslate";
    QTest::newRow("About") << "frmAbout";
    QTest::newRow("What's New") << "frmWhatsnew";
    QTest::newRow("splash") << "frmSplash";
}

void TestSecondaryWindows::fontsAreTheDesignsFaces()
{
    QFETCH(QString, window);

    Show(form(window));
    QWidget* shown = form(window).Window();
    // Arial, MS Sans Serif and the dialog font all come out in the face of
    // Arial's metrics, never in a fallback of fontconfig's.
    QList<QWidget*> controls = shown->findChildren<QWidget*>();
    controls << shown;
    for (const QWidget* control : controls) {
        const QString family = QFontInfo(control->font()).family();
        QVERIFY2(family == "Liberation Sans",
                 qPrintable(QString("%1: %2").arg(control->objectName(), family)));
    }
    for (const QGroupBox* frame : shown->findChildren<QGroupBox*>()) {
        // The caption stands in the frame's top edge, clear of its corners.
        const int captionWidth = frame->fontMetrics().horizontalAdvance(frame->title());
        QVERIFY2(captionWidth + 16 <= frame->width(), qPrintable(frame->objectName()));
    }
}

void TestSecondaryWindows::buttonsFollowColourScheme_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("button");
    QTest::newRow("About OK") << "frmAbout"
                              << "cmdOK";
    QTest::newRow("About Whats New") << "frmAbout"
                                     << "cmdNew";
    QTest::newRow("What's New OK") << "frmWhatsnew"
                                   << "cmdOk";
    QTest::newRow("What's New About") << "frmWhatsnew"
                                      << "cmdAbout";
}

void TestSecondaryWindows::buttonsFollowColourScheme()
{
    QFETCH(QString, window);
    QFETCH(QString, button);

    const QPalette standard = QApplication::palette();
    const auto restore = qScopeGuard([standard] { QApplication::setPalette(standard); });
    QPalette scheme = standard;
    const QColor buttonColour(0x33, 0x66, 0x99);
    scheme.setColor(QPalette::Button, buttonColour);
    QApplication::setPalette(scheme);

    Show(form(window));
    auto* pushButton = ProgramUnderTest::Find<QPushButton>(form(window), button.toLatin1());
    QVERIFY(pushButton);
    QCOMPARE(pushButton->grab().toImage().pixelColor(5, 5), buttonColour);
}

void TestSecondaryWindows::separatorLines_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("index");
    QTest::addColumn<QLine>("twips");
    QTest::addColumn<int>("thickness");
    QTest::addColumn<QColor>("colour");

    QTest::newRow("About grey") << "frmAbout" << 1 << QLine(90, 2685, 5654, 2685) << 1
                                << QColor(0x808080);
    QTest::newRow("About white") << "frmAbout" << 0 << QLine(105, 2700, 5654, 2700) << 2
                                 << QColor(Qt::white);
    QTest::newRow("What's New grey")
        << "frmWhatsnew" << 1 << QLine(120, 4920, 5684, 4920) << 1 << QColor(0x808080);
    QTest::newRow("What's New white")
        << "frmWhatsnew" << 0 << QLine(120, 4920, 5669, 4920) << 2 << QColor(Qt::white);
}

void TestSecondaryWindows::separatorLines()
{
    QFETCH(QString, window);
    QFETCH(int, index);
    QFETCH(QLine, twips);
    QFETCH(int, thickness);
    QFETCH(QColor, colour);

    Show(form(window));
    LineControl* line = nullptr;
    for (auto* member : form(window).Window()->findChildren<LineControl*>("Line1"))
        if (member->property("index").toInt() == index)
            line = member;
    QVERIFY(line);
    QCOMPARE(line->geometry(),
             QRect(Px(twips.x1()), Px(twips.y1()), Px(twips.x2()) - Px(twips.x1()), thickness));
    QCOMPARE(line->colour(), colour);
}

void TestSecondaryWindows::wrappedLabelsFit_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("label");
    QTest::addColumn<int>("lines");

    QTest::newRow("main window's explanation") << "frmTranslate"
                                               << "lblAbout" << 4;
    QTest::newRow("About description") << "frmAbout"
                                       << "lblDesc" << 3;
    QTest::newRow("About credit") << "frmAbout"
                                  << "Label1" << 1;
    QTest::newRow("What's New translation note") << "frmWhatsnew"
                                                 << "lblTranslater" << 2;
    QTest::newRow("What's New splash note") << "frmWhatsnew"
                                            << "Label1" << 3;
    QTest::newRow("What's New contact") << "frmWhatsnew"
                                        << "Label4" << 2;
}

void TestSecondaryWindows::wrappedLabelsFit()
{
    QFETCH(QString, window);
    QFETCH(QString, label);
    QFETCH(int, lines);

    Show(form(window));
    auto* caption = ProgramUnderTest::Find<QLabel>(form(window), label.toLatin1());
    QVERIFY(caption->wordWrap());
    // The caption wraps at blanks within the stored width and is not cut off below.
    const int needed = caption->heightForWidth(caption->width());
    QVERIFY2(needed <= caption->height(), qPrintable(QString("needs %1 px").arg(needed)));
    QCOMPARE(needed / caption->fontMetrics().lineSpacing(), lines);
}

void TestSecondaryWindows::aboutKeys()
{
    Show(Default<frmAbout>());
    QWidget* about = Default<frmAbout>().Window();
    QVERIFY(QTest::qWaitForWindowActive(about));
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("cmdOK"));

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QVERIFY(Default<frmAbout>().IsOpen());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Picture1"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("cmdNew"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("cmdOK"));

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QVERIFY(!Default<frmAbout>().IsOpen());
    QVERIFY(!Default<frmWhatsnew>().IsOpen());
}

void TestSecondaryWindows::whatsNewKeys()
{
    Show(Default<frmWhatsnew>());
    QVERIFY(QTest::qWaitForWindowActive(Default<frmWhatsnew>().Window()));
    const auto focused = [] { return QApplication::focusWidget()->objectName(); };
    QCOMPARE(focused(), QStringLiteral("picIcon"));

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QVERIFY(Default<frmWhatsnew>().IsOpen());

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(focused(), QStringLiteral("Text1"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(focused(), QStringLiteral("cmdAbout"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(focused(), QStringLiteral("cmdOk"));

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QVERIFY(!Default<frmWhatsnew>().IsOpen());
    QVERIFY(!Default<frmAbout>().IsOpen());
}

void TestSecondaryWindows::addressIsReadOnlyButSelectable()
{
    Show(Default<frmWhatsnew>());
    auto* address = ProgramUnderTest::Find<QLineEdit>(Default<frmWhatsnew>(), "Text1");
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
    ProgramUnderTest::Find<QPushButton>(Default<frmAbout>(), "cmdNew")->click();
    QVERIFY(!Default<frmAbout>().IsOpen());
    QCOMPARE(Default<frmWhatsnew>().Window(), whatsNew);

    // Back and forth: always exactly one of the two open, and the main window untouched.
    for (int i = 0; i < 6; ++i) {
        const bool aboutOpen = Default<frmAbout>().IsOpen();
        Form& open = aboutOpen ? static_cast<Form&>(Default<frmAbout>()) : Default<frmWhatsnew>();
        ProgramUnderTest::Find<QPushButton>(open, aboutOpen ? "cmdNew" : "cmdAbout")->click();
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
    ProgramUnderTest::Find<QWidget>(Default<frmAbout>(), "cmdNew")->setFocus();
    ProgramUnderTest::Find<QPushButton>(Default<frmAbout>(), "cmdOK")->click();
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
    ProgramUnderTest::Find<QPushButton>(Default<frmWhatsnew>(), "cmdAbout")->click();
    QVERIFY(!program.exitStatus);
    QVERIFY(Default<frmAbout>().IsOpen());

    ProgramUnderTest::Find<QPushButton>(Default<frmAbout>(), "cmdOK")->click();
    QCOMPARE(program.exitStatus, std::optional<int>(0));
    QCOMPARE(ProgramUnderTest::VisibleWindowCount(), 0);
}

QTEST_MAIN(TestSecondaryWindows)
#include "tst_secondary_windows.moc"
