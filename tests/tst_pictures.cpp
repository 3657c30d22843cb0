#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QObject>
#include <QTest>
#include <QtEndian>

class TestPictures : public QObject
{
    Q_OBJECT

private slots:
    void jpegs_data();
    void jpegs();
    void frameCentreIsBlack();
    void iconIsOne16ColourOpaqueImage();
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

void TestPictures::iconIsOne16ColourOpaqueImage()
{
    QFile file(":/morvantel.ico");
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray ico = file.readAll();
    const auto word = [&ico](int at) { return qFromLittleEndian<quint16>(ico.constData() + at); };
    const auto dword = [&ico](int at) { return qFromLittleEndian<quint32>(ico.constData() + at); };

    QCOMPARE(word(2), quint16(1)); // an icon
    QCOMPARE(word(4), quint16(1)); // one image
    QCOMPARE(quint8(ico[6]), quint8(32));
    QCOMPARE(quint8(ico[7]), quint8(32));
    QCOMPARE(quint8(ico[8]), quint8(16)); // colours
    const int bitmap = int(dword(18));
    QCOMPARE(int(dword(14)), ico.size() - bitmap);
    QCOMPARE(word(bitmap + 14), quint16(4)); // bits per pixel

    // The standard palette's first and last colours: black and white.
    const int palette = bitmap + 40;
    QCOMPARE(dword(palette), quint32(0x000000));
    QCOMPARE(dword(palette + 15 * 4), quint32(0xFFFFFF));
    // After 32 rows of 16 bytes of colour comes the mask: all clear, every pixel opaque.
    const QByteArray mask = ico.mid(palette + 16 * 4 + 32 * 16);
    QCOMPARE(mask.size(), 32 * 4);
    QCOMPARE(mask.count('\0'), mask.size());

    const QImage image(":/morvantel.ico");
    QCOMPARE(image.size(), QSize(32, 32));
    QVERIFY(!QIcon(":/morvantel.ico").isNull());
}

QTEST_MAIN(TestPictures)
#include "tst_pictures.moc"
