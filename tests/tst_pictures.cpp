#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QObject>
#include <QTest>

class TestPictures : public QObject
{
    Q_OBJECT

private slots:
    void jpegs_data();
    void jpegs();
    void frameCentreIsBlack();
    void iconLoads();
};

void TestPictures::jpegs_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");
    QTest::newRow("logo") << ":/logo.jpg" << QSize(100, 100);
    QTest::newRow("frame") << ":/frame.jpg" << QSize(413, 213);
}

void TestPictures::jpegs()
{
    QFETCH(QString, path);
    QFETCH(QSize, size);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.peek(3) == QByteArray("\xFF\xD8\xFF")); // a JPEG, whatever its name says
    const QImage image(path);
    QCOMPARE(image.size(), size);
}

void TestPictures::frameCentreIsBlack()
{
    // The main window's frame lies over this rectangle.
    const QImage frame(":/frame.jpg");
    int brightest = 0;
    for (int y = 36; y <= 170; ++y)
        for (int x = 66; x <= 345; ++x) {
            const QColor pixel = frame.pixelColor(x, y);
            brightest = std::max({brightest, pixel.red(), pixel.green(), pixel.blue()});
        }
    QVERIFY2(brightest <= 2, qPrintable(QString::number(brightest)));
    // The bezel itself is red.
    QVERIFY(frame.pixelColor(20, 100).red() > 100);
}

void TestPictures::iconLoads()
{
    // Its layout, colours and mask are checked with the Windows resources.
    const QImage icon(":/morvantel.ico");
    QCOMPARE(icon.size(), QSize(32, 32));
    QVERIFY(!icon.hasAlphaChannel() ||
            icon.convertToFormat(QImage::Format_ARGB32).pixelColor(0, 0).alpha() == 255);
}

QTEST_MAIN(TestPictures)
#include "tst_pictures.moc"
