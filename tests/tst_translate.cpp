#include "engine/translate.h"
#include "engine/word_table.h"

#include <QObject>
#include <QStringView>
#include <QTest>

#include <string_view>

using morvantel::TranslateWord;

class TestTranslate : public QObject
{
    Q_OBJECT

private slots:
    void lookup_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");

        // clang-format off
        static const char* const rows[][2] = {
            {"", "Unknown Word"},
            {"above", "svern"},                  // the first row
            {"power", "alkieel"},                // the last row
            {"greetings", "nemir"},              // two English words for one Kethric word
            {"hello", "nemir"},
            {"nemir", "greetings or hello"},
            {"bye", "nariel"},
            {"nariel", "goodbye or bye"},
            {"greetings or hello", "Unknown Word"}, // an answer is no key
            {"or", "usv"},                       // an English word inside an answer
            {"urathear", "deity"},               // mended rows, and their old spellings
            {"diety", "Unknown Word"},
            {"pok", "stop"},
            {"poj", "Unknown Word"},
            {"thadarsh", "pillage"},
            {"thadarshh", "Unknown Word"},
            {"shadowvision", "sjacherak"},       // the longest key
            {"abov", "Unknown Word"},            // a prefix of a key
            {"aboves", "Unknown Word"},          // a key with a letter more
            {"Above", "Unknown Word"},           // case counts
        };
        // clang-format on
        for (const auto& [input, expected] : rows)
            QTest::addRow("%s", *input ? input : "(empty)") << QString(input) << QString(expected);
    }

    void lookup()
    {
        QFETCH(QString, input);
        QFETCH(QString, expected);
        const std::u16string_view answer =
            TranslateWord({QStringView(input).utf16(), std::size_t(input.size())});
        QCOMPARE(QStringView(answer).toString(), expected);
    }

    // Every Kethric word leads back to its English word, but where one Kethric
    // word has two.
    void everyAnswerTranslatesBack()
    {
        for (const morvantel::WordPair& row : morvantel::WordTable) {
            const std::u16string_view back = TranslateWord(TranslateWord(row.english));
            if (back.find(u" or ") == std::u16string_view::npos)
                QVERIFY2(back == row.english, qPrintable(QStringView(row.english).toString()));
        }
    }
};

QTEST_APPLESS_MAIN(TestTranslate)
#include "tst_translate.moc"
