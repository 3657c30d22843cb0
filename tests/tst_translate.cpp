#include "app/u16.h"
#include "engine/translate.h"
#include "engine/word_table.h"

#include <QObject>
#include <QTest>

#include <map>
#include <random>
#include <string>
#include <string_view>

using morvantel::ToQString;
using morvantel::ToView;
using morvantel::TranslateWord;
using morvantel::WordPair;
using morvantel::WordTable;

class TestTranslate : public QObject
{
    Q_OBJECT

private slots:
    void lookup_data();
    void lookup();
    void resultTranslatesBack();
    void badInputIsUnknown_data();
    void badInputIsUnknown();
    void randomInputMatchesOnlyWholeKeys();
};

void TestTranslate::lookup_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");

    QTest::newRow("empty") << ""
                           << "Unknown Word";
    QTest::newRow("above") << "above"
                           << "svern";
    QTest::newRow("svern") << "svern"
                           << "above";
    QTest::newRow("greetings") << "greetings"
                               << "nemir";
    QTest::newRow("hello") << "hello"
                           << "nemir";
    QTest::newRow("nemir") << "nemir"
                           << "greetings or hello";
    QTest::newRow("goodbye") << "goodbye"
                             << "nariel";
    QTest::newRow("bye") << "bye"
                         << "nariel";
    QTest::newRow("nariel") << "nariel"
                            << "goodbye or bye";
    QTest::newRow("result greetings or hello") << "greetings or hello"
                                               << "Unknown Word";
    QTest::newRow("result goodbye or bye") << "goodbye or bye"
                                           << "Unknown Word";
    QTest::newRow("or") << "or"
                        << "usv";
    QTest::newRow("usv") << "usv"
                         << "or";
    QTest::newRow("deity") << "deity"
                           << "urathear";
    QTest::newRow("urathear") << "urathear"
                              << "deity";
    QTest::newRow("misspelt diety") << "diety"
                                    << "Unknown Word";
    QTest::newRow("stop") << "stop"
                          << "pok";
    QTest::newRow("pok") << "pok"
                         << "stop";
    QTest::newRow("poj") << "poj"
                         << "Unknown Word";
    QTest::newRow("pillage") << "pillage"
                             << "thadarsh";
    QTest::newRow("thadarsh") << "thadarsh"
                              << "pillage";
    QTest::newRow("thadarshh") << "thadarshh"
                               << "Unknown Word";
    QTest::newRow("dragon") << "dragon"
                            << "morvantel";
    QTest::newRow("morvantel") << "morvantel"
                               << "dragon";
    QTest::newRow("shadowvision, longest key") << "shadowvision"
                                               << "sjacherak";
    QTest::newRow("sjacherak") << "sjacherak"
                               << "shadowvision";
    QTest::newRow("power, last row") << "power"
                                     << "alkieel";
    QTest::newRow("alkieel") << "alkieel"
                             << "power";
    QTest::newRow("prefix of a key") << "abov"
                                     << "Unknown Word";
    QTest::newRow("key with a letter more") << "aboves"
                                            << "Unknown Word";
}

void TestTranslate::lookup()
{
    QFETCH(QString, input);
    QFETCH(QString, expected);
    QCOMPARE(ToQString(TranslateWord(ToView(input))), expected);
}

void TestTranslate::resultTranslatesBack()
{
    for (const WordPair& row : WordTable) {
        const std::u16string_view english = row.english;
        if (english == u"greetings" || english == u"hello" || english == u"goodbye" ||
            english == u"bye")
            continue;
        const std::u16string_view kethric = TranslateWord(english);
        QVERIFY2(TranslateWord(kethric) == english, qPrintable(ToQString(english)));
    }
}

void TestTranslate::badInputIsUnknown_data()
{
    QTest::addColumn<QString>("input");

    QTest::newRow("initial capital") << "Above";
    QTest::newRow("capitals") << "ABOVE";
    QTest::newRow("capital Kethric") << "Svern";
    QTest::newRow("leading blank") << " above";
    QTest::newRow("trailing blank") << "above ";
    QTest::newRow("tab") << "above\t";
    QTest::newRow("newline") << "above\n";
    QTest::newRow("Cyrillic a") << QString::fromUtf8("\xd0\xb0"
                                                     "bove");
    QTest::newRow("full-width a") << QString::fromUtf8("\xef\xbd\x81"
                                                       "bove");
    QTest::newRow("embedded NUL") << QString::fromUtf16(u"ab\0ove", 6);
    QTest::newRow("trailing NUL") << QString::fromUtf16(u"above\0", 6);
    QTest::newRow("lone surrogate") << QString::fromUtf16(u"above\xD800", 6);
    QTest::newRow("1 MiB of text") << QString(512 * 1024, QChar(u'a'));
    QTest::newRow("1 MiB starting with a key") << "above" + QString(512 * 1024 - 5, QChar(u' '));
}

void TestTranslate::badInputIsUnknown()
{
    QFETCH(QString, input);
    QCOMPARE(ToQString(TranslateWord(ToView(input))), QStringLiteral("Unknown Word"));
}

void TestTranslate::randomInputMatchesOnlyWholeKeys()
{
    std::map<std::u16string_view, std::u16string_view> answers;
    for (const WordPair& row : WordTable) {
        answers.emplace(row.english, row.kethric);
        if (row.twoWay)
            answers.emplace(row.kethricKey, row.englishResult);
    }

    // Mostly short lower-case strings, so real keys turn up among them, with
    // capitals, blanks and non-ASCII code units mixed in.
    const std::u16string letters = u"abcdefghijklmnopqrstuvwxyz";
    const std::u16string oddUnits = u" A\t\u00e9\u0430\xD800\uFF41";
    std::mt19937 random(20261206);
    std::uniform_int_distribution<std::size_t> length(0, 6);
    std::bernoulli_distribution odd(0.05);
    int hits = 0;
    for (int i = 0; i < 100000; ++i) {
        std::u16string text;
        for (std::size_t n = length(random); n > 0; --n)
            text += odd(random) ? oddUnits[random() % oddUnits.size()] : letters[random() % 26];
        const auto known = answers.find(text);
        const std::u16string_view expected =
            known == answers.end() ? std::u16string_view(u"Unknown Word") : known->second;
        if (TranslateWord(text) != expected)
            QFAIL(qPrintable(QString("\"%1\" gave \"%2\"")
                                 .arg(ToQString(text), ToQString(TranslateWord(text)))));
        hits += known != answers.end();
    }
    // Without some real keys among the inputs this would test nothing but misses.
    QVERIFY2(hits > 100, qPrintable(QString::number(hits)));
}

QTEST_APPLESS_MAIN(TestTranslate)
#include "tst_translate.moc"
