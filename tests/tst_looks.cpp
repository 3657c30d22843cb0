#include "app/startup.h"
#include "platform/controls.h"
#include "program_under_test.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QStyleHints>

using morvantel::Default;
using morvantel::PictureBox;
using morvantel::Show;

// How every window looks: each as a whole against its reference picture, and
// what one picture at one scale cannot show.
class TestLooks : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup() { program.Restart(); }

    void windowsMatchReferencePictures_data();
    void windowsMatchReferencePictures();
    void placedOnScreen_data();
    void placedOnScreen();
    void centredWithTheWindowManagersBorder_data();
    void centredWithTheWindowManagersBorder();
    void labelsFitTheirText();
    void picturesDrawnAsDesigned_data();
    void picturesDrawnAsDesigned();
    void fontsAreTheDesignsFaces_data();
    void fontsAreTheDesignsFaces();
    void buttonsFollowColourScheme_data();
    void buttonsFollowColourScheme();

private:
    // The picture a person sees: a window, the exit question or a menu.
    QImage drawn(const QString& picture);

    ProgramUnderTest program;
};

void TestLooks::initTestCase()
{
    // A caret that does not blink is in every picture alike.
    QGuiApplication::styleHints()->setCursorFlashTime(0);
}

void TestLooks::windowsMatchReferencePictures_data()
{
    QTest::addColumn<QString>("picture");
    QTest::newRow("main window, dragon translated") << "frmTranslate";
    QTest::newRow("About") << "frmAbout";
    QTest::newRow("What's New") << "frmWhatsnew";
    QTest::newRow("splash") << "frmSplash";
    QTest::newRow("exit question") << "exitQuestion";
    QTest::newRow("Help menu") << "helpMenu";
}

QImage TestLooks::drawn(const QString& picture)
{
    if (picture.startsWith("frm")) {
        Show(FormNamed(picture));
        QWidget* shown = FormNamed(picture).Window();
        if (!QTest::qWaitForWindowActive(shown))
            return {};
        if (picture == "frmTranslate") {
            auto* word = Find<QLineEdit>(FormNamed(picture), "txtWord");
            QTest::keyClicks(word, "dragon");
            QTest::keyClick(word, Qt::Key_Return);
        }
        return shown->grab().toImage();
    }
    Show(Default<frmTranslate>());
    QImage image;
    if (picture == "exitQuestion") {
        program.answerBox = [&image](QDialog& box) {
            box.show();
            if (QTest::qWaitForWindowExposed(&box))
                image = box.grab().toImage();
            box.done(0);
        };
        Find<QAction>(Default<frmTranslate>(), "mnuExit")->trigger();
        return image;
    }
    auto* menu = Find<QMenu>(Default<frmTranslate>(), "mnuHelp");
    menu->popup(Default<frmTranslate>().Window()->mapToGlobal(QPoint(40, 20)));
    if (QTest::qWaitForWindowExposed(menu))
        image = menu->grab().toImage();
    menu->close();
    return image;
}

void TestLooks::windowsMatchReferencePictures()
{
    QFETCH(QString, picture);

    const QImage actual = drawn(picture).convertToFormat(QImage::Format_RGB32);
    QVERIFY(!actual.isNull());
    // Drawn at twice the design's size, it is held against the twice-as-large picture.
    const QString reference =
        QStringLiteral(REFERENCE_PICTURES "/%1%2.png")
            .arg(picture, actual.devicePixelRatio() == 2 ? QStringLiteral("@2x") : QString());
    if (qEnvironmentVariableIsSet("RENEW_REFERENCE_PICTURES")) {
        QVERIFY(actual.save(reference));
        return;
    }

    // Pixels a person can tell apart, shown white on black.
    const QImage expected = QImage(reference).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(actual.size(), expected.size());
    QImage difference(actual.size(), QImage::Format_RGB32);
    difference.fill(Qt::black);
    int differing = 0;
    for (int y = 0; y < actual.height(); ++y)
        for (int x = 0; x < actual.width(); ++x) {
            const QRgb a = actual.pixel(x, y), b = expected.pixel(x, y);
            if (qAbs(qRed(a) - qRed(b)) > 24 || qAbs(qGreen(a) - qGreen(b)) > 24 ||
                qAbs(qBlue(a) - qBlue(b)) > 24) {
                difference.setPixel(x, y, qRgb(255, 255, 255));
                ++differing;
            }
        }
    if (differing > 0) {
        const QString stem = QDir::current().filePath("looks-" + QFileInfo(reference).baseName());
        actual.save(stem + "-actual.png");
        difference.save(stem + "-difference.png");
        QFAIL(qPrintable(QString("%1 pixels differ from %2; see %3-actual.png and -difference.png")
                             .arg(differing)
                             .arg(reference, stem)));
    }
}

void TestLooks::placedOnScreen_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QPoint>("topLeft"); // of the client area; none where the window is centred

    QTest::newRow("main window, centred") << "frmTranslate" << QPoint();
    QTest::newRow("splash, centred") << "frmSplash" << QPoint();
    QTest::newRow("About, at its place") << "frmAbout" << QPoint(156, 129);
    QTest::newRow("What's New, at About's place") << "frmWhatsnew" << QPoint(156, 129);
}

void TestLooks::placedOnScreen()
{
    QFETCH(QString, window);
    QFETCH(QPoint, topLeft);

    Show(FormNamed(window));
    // A place is the client area's; centring is the whole window's.
    if (!topLeft.isNull()) {
        QCOMPARE(FormNamed(window).Window()->geometry().topLeft(), topLeft);
        return;
    }
    const QRect placed = FormNamed(window).Window()->frameGeometry();
    const QRect screen = FormNamed(window).Window()->screen()->geometry();
    // Twice the centres, so that odd sizes compare whole.
    const QPoint offCentre = placed.topLeft() * 2 + QPoint(placed.width(), placed.height()) -
                             screen.topLeft() * 2 - QPoint(screen.width(), screen.height());
    QVERIFY2(
        offCentre.manhattanLength() <= 2,
        qPrintable(QString("off by %1, %2 half pixels").arg(offCentre.x()).arg(offCentre.y())));
}

void TestLooks::centredWithTheWindowManagersBorder_data()
{
    QTest::addColumn<QSize>("client");
    QTest::addColumn<QMargins>("border"); // left, top, right, bottom
    QTest::addColumn<QRect>("available"); // of a 1024 x 768 screen
    QTest::addColumn<QRect>("expected");  // the client area's place; a half pixel rounds up

    const QRect screen(0, 0, 1024, 768);
    const QSize main(415, 304);
    QTest::newRow("no border") << main << QMargins() << screen << QRect(QPoint(305, 232), main);
    QTest::newRow("openbox's border")
        << main << QMargins(1, 20, 1, 1) << screen << QRect(QPoint(305, 242), main);
    // A window manager's nonsense counts as no border at all.
    QTest::newRow("border of 0xFFFFFFFF")
        << main << QMargins(-1, -1, -1, -1) << screen << QRect(QPoint(305, 232), main);
    QTest::newRow("border wider than the screen") << main << QMargins(0, 2147483647, 0, 2147483647)
                                                  << screen << QRect(QPoint(305, 232), main);
    // Larger than the screen, as at scale 2 on a small one: the title bar
    // stays where it can be reached, below a panel.
    QTest::newRow("window wider than the screen")
        << QSize(1660, 608) << QMargins(1, 20, 1, 1) << screen
        << QRect(QPoint(1, 90), QSize(1660, 608));
    QTest::newRow("window taller than the screen, panel at the top")
        << QSize(830, 900) << QMargins(1, 20, 1, 1) << QRect(0, 32, 1024, 736)
        << QRect(QPoint(97, 52), QSize(830, 900));
}

void TestLooks::centredWithTheWindowManagersBorder()
{
    QFETCH(QSize, client);
    QFETCH(QMargins, border);
    QFETCH(QRect, available);
    QFETCH(QRect, expected);

    QCOMPARE(morvantel::CentredClientArea(client, border, QRect(0, 0, 1024, 768), available),
             expected);
}

void TestLooks::labelsFitTheirText()
{
    for (const char* window : {"frmTranslate", "frmAbout", "frmWhatsnew", "frmSplash"}) {
        Show(FormNamed(window));
        for (const QLabel* label : FormNamed(window).Window()->findChildren<QLabel*>()) {
            // Wrapped at blanks within its width, or on one line, nothing is cut off.
            const QSize needed = label->wordWrap()
                                     ? QSize(label->width(), label->heightForWidth(label->width()))
                                     : label->sizeHint();
            QVERIFY2(needed.width() <= label->width() && needed.height() <= label->height(),
                     qPrintable(QString("%1 in %2 needs %3 x %4")
                                    .arg(label->objectName(), window)
                                    .arg(needed.width())
                                    .arg(needed.height())));
        }
    }
}

void TestLooks::picturesDrawnAsDesigned_data()
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

void TestLooks::picturesDrawnAsDesigned()
{
    QFETCH(QString, window);
    QFETCH(QString, box);
    QFETCH(int, ratio);

    Show(FormNamed(window));
    auto* pictureBox = Find<PictureBox>(FormNamed(window), box.toLatin1());
    QVERIFY(pictureBox);
    QImage drawn(pictureBox->size() * ratio, QImage::Format_RGB32);
    drawn.setDevicePixelRatio(ratio);
    pictureBox->render(&drawn);

    // At two device pixels to the pixel the picture comes from its sharp twin.
    QString file = pictureBox->picture();
    if (ratio == 2)
        file.insert(file.lastIndexOf('.'), "@2x");
    const QImage picture(file);
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

void TestLooks::fontsAreTheDesignsFaces_data()
{
    QTest::addColumn<QString>("window");
    QTest::newRow("main window") << "frmTranslate";
    QTest::newRow("About") << "frmAbout";
    QTest::newRow("What's New") << "frmWhatsnew";
    QTest::newRow("splash") << "frmSplash";
}

void TestLooks::fontsAreTheDesignsFaces()
{
    QFETCH(QString, window);

    Show(FormNamed(window));
    QWidget* shown = FormNamed(window).Window();
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

void TestLooks::buttonsFollowColourScheme_data()
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

void TestLooks::buttonsFollowColourScheme()
{
    QFETCH(QString, window);
    QFETCH(QString, button);

    const QPalette standard = QApplication::palette();
    const auto restore = qScopeGuard([standard] { QApplication::setPalette(standard); });
    QPalette scheme = standard;
    const QColor buttonColour(0x33, 0x66, 0x99);
    scheme.setColor(QPalette::Button, buttonColour);
    QApplication::setPalette(scheme);

    Show(FormNamed(window));
    auto* pushButton = Find<QPushButton>(FormNamed(window), button.toLatin1());
    QVERIFY(pushButton);
    QCOMPARE(pushButton->grab().toImage().pixelColor(5, 5), buttonColour);
}

// Started as the program starts, so that the desktop's font DPI (here
// QT_FONT_DPI) and scale come to the windows as they come to the program's.
int main(int argc, char* argv[])
{
    morvantel::PrepareStart();
    QApplication app(argc, argv);
    TestLooks test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_looks.moc"
