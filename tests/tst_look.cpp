#include "program_under_test.h"
#include "windows/frmAbout.h"
#include "windows/frmSplash.h"
#include "windows/frmTranslate.h"
#include "windows/frmWhatsnew.h"

#include <QDir>
#include <QImage>
#include <QLineEdit>

using morvantel::Default;
using morvantel::Form;
using morvantel::Show;

// What a person sees, read off the drawn windows. Each picture is also kept in
// the build tree's screenshots folder.
class TestLook : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { program.Restart(); }

    void splashWindow();
    void mainWindowAfterTranslation();
    void aboutWindow();
    void whatsNewWindow();

private:
    static QImage Grab(Form& form, const QString& name);
    static bool HasColourIn(const QImage& image, const QRect& area, bool (*matches)(const QColor&));
    ProgramUnderTest program;
};

QImage TestLook::Grab(Form& form, const QString& name)
{
    const QImage image = form.Window()->grab().toImage();
    QDir().mkpath(QStringLiteral(SCREENSHOT_DIR));
    image.save(QStringLiteral(SCREENSHOT_DIR "/%1.png").arg(name));
    return image;
}

bool TestLook::HasColourIn(const QImage& image, const QRect& area, bool (*matches)(const QColor&))
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (matches(image.pixelColor(x, y)))
                return true;
    return false;
}

namespace {
bool IsRed(const QColor& c)
{
    return c.red() > 120 && c.green() < 80 && c.blue() < 80;
}
bool IsNotBlack(const QColor& c)
{
    return c.red() + c.green() + c.blue() > 30;
}
bool IsLightGrey(const QColor& c)
{
    return c.red() > 150 && qAbs(c.red() - c.blue()) < 20;
}
} // namespace

void TestLook::splashWindow()
{
    Show(Default<frmSplash>());
    const QImage shot = Grab(Default<frmSplash>(), "frmSplash");
    QVERIFY(!HasColourIn(shot, QRect(0, 0, 6, 278), IsNotBlack));     // the margin
    QVERIFY(HasColourIn(shot, QRect(165, 47, 150, 29), IsLightGrey)); // "Tessar Morvantel"
    // The logo, stretched, with its deep blue ground.
    const QColor ground = shot.pixelColor(8 + 24 + 3, 53 + 3);
    QVERIFY(ground.blue() > ground.red() + 20);
}

void TestLook::mainWindowAfterTranslation()
{
    Show(Default<frmTranslate>());
    auto* word = ProgramUnderTest::Find<QLineEdit>(Default<frmTranslate>(), "txtWord");
    auto* output = ProgramUnderTest::Find<QLineEdit>(Default<frmTranslate>(), "txtTranslation");
    QTest::keyClicks(word, "dragon");
    QTest::keyClick(word, Qt::Key_Return);
    const QImage shot = Grab(Default<frmTranslate>(), "frmTranslate");

    const QRect outputBox(output->mapTo(Default<frmTranslate>().Window(), QPoint()),
                          output->size());
    QVERIFY2(HasColourIn(shot, outputBox.adjusted(4, 4, -4, -4), IsRed), "no red answer");
    const QRect wordBox(word->mapTo(Default<frmTranslate>().Window(), QPoint()), word->size());
    QVERIFY(IsLightGrey(shot.pixelColor(wordBox.center() + QPoint(word->width() / 3, 0))));
    // Black around the explanation and the bezel; the explanation in light grey.
    const int menuBar = shot.height() - Px(4290);
    QVERIFY(!HasColourIn(shot, QRect(0, menuBar, 20, 70), IsNotBlack));
    QVERIFY(HasColourIn(shot, QRect(24, menuBar + 8, 345, 20), IsLightGrey));
    QVERIFY(HasColourIn(shot, QRect(10, menuBar + 150, 30, 30), IsRed)); // the bezel
}

void TestLook::aboutWindow()
{
    Show(Default<frmAbout>());
    const QImage shot = Grab(Default<frmAbout>(), "frmAbout");
    QCOMPARE(shot.pixelColor(200, 180), QColor(Qt::white));
    QCOMPARE(shot.pixelColor(200, 179), QColor(0x808080));
    QVERIFY(!HasColourIn(shot, QRect(10, 215, 5, 15), IsNotBlack));
    QVERIFY(HasColourIn(shot, QRect(120, 32, 200, 17), IsLightGrey)); // the program's name
}

void TestLook::whatsNewWindow()
{
    Show(Default<frmWhatsnew>());
    const QImage shot = Grab(Default<frmWhatsnew>(), "frmWhatsnew");
    QVERIFY(
        HasColourIn(shot, QRect(8, 326, 371, 4), [](const QColor& c) { return c == Qt::white; }));
    QVERIFY(HasColourIn(shot, QRect(64, 16, 249, 17), IsLightGrey)); // the heading
    QVERIFY(!HasColourIn(shot, QRect(0, 0, 6, 370), IsNotBlack));
}

QTEST_MAIN(TestLook)
#include "tst_look.moc"
