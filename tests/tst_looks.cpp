#include "platform/placement.h"
#include "program_under_test.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QScopeGuard>
#include <QSettings>
#include <QStyleHints>

using morvantel::Default;
using morvantel::Show;

// The desktop's DPI the test starts with, read before the program rounds it:
// QT_FONT_DPI, or under Wine the DPI wine.sh gives Windows (LOGPIXELS).
static const int desktopDpi = [] {
    for (const char* name : {"LOGPIXELS", "QT_FONT_DPI"})
        if (qEnvironmentVariableIsSet(name))
            return qEnvironmentVariableIntValue(name);
    return 96;
}();

// How every window looks, against its reference picture, and what no picture shows.
class TestLooks : public QObject
{
    Q_OBJECT

private:
    // The picture a person sees: a window, the exit question or a menu.
    QImage drawn(const QString& picture)
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

    ProgramUnderTest program;

private slots:
    void initTestCase()
    {
        // A caret that does not blink is in every picture alike.
        QGuiApplication::styleHints()->setCursorFlashTime(0);
    }

    void cleanup() { program.Restart(); }

    void windowsMatchReferencePictures_data()
    {
        QTest::addColumn<QString>("picture");
        QTest::newRow("main window, dragon translated") << "frmTranslate";
        QTest::newRow("About") << "frmAbout";
        QTest::newRow("What's New") << "frmWhatsnew";
        QTest::newRow("splash") << "frmSplash";
        QTest::newRow("exit question") << "exitQuestion";
        QTest::newRow("Help menu") << "helpMenu";
    }

    void windowsMatchReferencePictures()
    {
        QFETCH(QString, picture);

        const QImage actual = drawn(picture).convertToFormat(QImage::Format_RGB32);
        QVERIFY(!actual.isNull());
        QCOMPARE(actual.devicePixelRatio(), desktopDpi >= 144 ? 2 : 1);
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
            const QString stem =
                QDir::current().filePath("looks-" + QFileInfo(reference).baseName());
            actual.save(stem + "-actual.png");
            difference.save(stem + "-difference.png");
            QFAIL(qPrintable(
                QString("%1 pixels differ from %2; see %3-actual.png and -difference.png")
                    .arg(differing)
                    .arg(reference, stem)));
        }
    }

    void centredWithTheWindowManagersBorder_data()
    {
        QTest::addColumn<QSize>("client");
        QTest::addColumn<QMargins>("border"); // left, top, right, bottom
        QTest::addColumn<QRect>("available"); // of a 1024 x 768 screen
        QTest::addColumn<QRect>("expected");  // the client area's place; a half pixel rounds up

        const QRect screen(0, 0, 1024, 768);
        const QSize main(415, 304);
        // clang-format off
        // A window manager's nonsense counts as no border at all.
        QTest::newRow("border of 0xFFFFFFFF") << main << QMargins(-1, -1, -1, -1) << screen << QRect(QPoint(305, 232), main);
        QTest::newRow("border taller than the screen") << main << QMargins(0, 2147483647, 0, 2147483647) << screen << QRect(QPoint(305, 232), main);
        // Larger than the screen: the title bar stays in reach, below a panel.
        QTest::newRow("window wider than the screen") << QSize(1660, 608) << QMargins(1, 20, 1, 1) << screen << QRect(QPoint(1, 90), QSize(1660, 608));
        QTest::newRow("window taller than the screen, panel at the top") << QSize(830, 900) << QMargins(1, 20, 1, 1) << QRect(0, 32, 1024, 736) << QRect(QPoint(97, 52), QSize(830, 900));
        // clang-format on
    }

    void centredWithTheWindowManagersBorder()
    {
        QFETCH(QSize, client);
        QFETCH(QMargins, border);
        QFETCH(QRect, available);
        QFETCH(QRect, expected);

        QCOMPARE(morvantel::CentredClientArea(client, border, QRect(0, 0, 1024, 768), available),
                 expected);
    }

    // The colours the design names by number, and the buttons' face, are the
    // user's scheme's (on Windows as wine.sh sets it; elsewhere the palette
    // roles that stand for them), read off a free spot, or the caption colour.
    void systemColoursFollowScheme_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("windowsName");
        QTest::addColumn<int>("role");
        QTest::addColumn<QPoint>("fillSpot");
        // clang-format off
        QTest::newRow("About strip, menu text") << "frmTranslate" << "lblAbout" << "MenuText" << int(QPalette::WindowText) << QPoint(3, 3);
        QTest::newRow("news box, menu text") << "frmAbout" << "frmaboutnew" << "MenuText" << int(QPalette::WindowText) << QPoint(4, 8);
        QTest::newRow("news box text, active border") << "frmAbout" << "frmaboutnew" << "ActiveBorder" << int(QPalette::Button) << QPoint();
        QTest::newRow("About's buttons, button face") << "frmAbout" << "cmdNew" << "ButtonFace" << int(QPalette::Button) << QPoint(5, 5);
        QTest::newRow("What's New's buttons, button face") << "frmWhatsnew" << "cmdAbout" << "ButtonFace" << int(QPalette::Button) << QPoint(5, 5);
        // clang-format on
    }

    void systemColoursFollowScheme()
    {
        QFETCH(QString, window);
        QFETCH(QString, control);
        QFETCH(QString, windowsName);
        QFETCH(int, role);
        QFETCH(QPoint, fillSpot);

#ifdef Q_OS_WIN
        Q_UNUSED(role)
        const QStringList rgb =
            QSettings(QStringLiteral("HKEY_CURRENT_USER\\Control Panel\\Colors"),
                      QSettings::NativeFormat)
                .value(windowsName)
                .toString()
                .split(QLatin1Char(' '));
        QCOMPARE(rgb.size(), 3);
        const QColor expected(rgb[0].toInt(), rgb[1].toInt(), rgb[2].toInt());
#else
        Q_UNUSED(windowsName)
        const QPalette standard = QApplication::palette();
        const auto restore = qScopeGuard([standard] { QApplication::setPalette(standard); });
        QPalette scheme = standard;
        scheme.setColor(QPalette::Base, QColor(0xff, 0xff, 0x00));
        scheme.setColor(QPalette::WindowText, QColor(0xff, 0x00, 0x00));
        scheme.setColor(QPalette::Button, QColor(0x00, 0x80, 0x00));
        QApplication::setPalette(scheme);
        const QColor expected = scheme.color(QPalette::ColorRole(role));
#endif
        Show(FormNamed(window));
        auto* shown = Find<QWidget>(FormNamed(window), control.toLatin1());
        QVERIFY(shown);
        if (fillSpot.isNull()) {
            QCOMPARE(shown->palette().color(QPalette::WindowText), expected);
            return;
        }
        const QImage picture = shown->grab().toImage();
        QCOMPARE(picture.pixelColor(fillSpot * picture.devicePixelRatio()), expected);
    }
};

MORVANTEL_TEST_MAIN(TestLooks)
#include "tst_looks.moc"
