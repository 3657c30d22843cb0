#include "app/u16.h"
#include "engine/word_table.h"

#include <QObject>
#include <QStringList>
#include <QTest>

#include <set>
#include <string_view>

using morvantel::ToQString;
using morvantel::WordPair;
using morvantel::WordTable;

class TestWordTable : public QObject
{
    Q_OBJECT

private slots:
    void englishWordsInTableOrder();
    void givenRows_data();
    void givenRows();
    void everyKeyDistinct();
};

void TestWordTable::englishWordsInTableOrder()
{
    const QStringList expected = {
        "above",    "after",        "air",       "and",       "animal",     "armor",      "arrow",
        "ash",      "axe",          "bag",       "battle",    "beautiful",  "bronze",     "before",
        "behind",   "below",        "beside",    "big",       "black",      "bleed",      "blood",
        "blue",     "bow",          "burn",      "brave",     "bravery",    "breed",      "bribe",
        "but",      "cave",         "celestial", "century",   "cleric",     "claw",       "copper",
        "cow",      "coward",       "crippled",  "dance",     "danger",     "darkvision", "day",
        "dead",     "deity",        "demon",     "die",       "disembowel", "dragon",     "dwarf",
        "earth",    "elf",          "enchanted", "enemy",     "evil",       "eye",        "far",
        "fate",     "few",          "fire",      "flee",      "fly",        "food",       "for",
        "forest",   "fortress",     "friend",    "gem",       "give",       "gnome",      "go",
        "gold",     "good",         "green",     "greetings", "halfling",   "hammer",     "hate",
        "heal",     "hello",        "home",      "human",     "if",         "in",         "is",
        "iron",     "kill",         "leader",    "magic",     "man",        "many",       "meat",
        "mountain", "my",           "name",      "near",      "night",      "no",         "nor",
        "ogre",     "on",           "one",       "or",        "orc",        "peace",      "pillage",
        "platinum", "rain",         "red",       "rest",      "scroll",     "secret",     "see",
        "shadow",   "shadowvision", "silver",    "skin",      "slaughter",  "small",      "smart",
        "so",       "soar",         "song",      "sorcerer",  "speak",      "spear",      "star",
        "steel",    "stone",        "stop",      "storm",     "strong",     "stupid",     "sword",
        "take",     "talk",         "thief",     "through",   "to",         "tomorrow",   "travel",
        "treasure", "tooth",        "ugly",      "undead",    "under",      "valley",     "victory",
        "want",     "war",          "water",     "we",        "wealth",     "weapon",     "white",
        "with",     "wizard",       "woman",     "wood",      "year",       "yellow",     "yes",
        "yet",      "you",          "love",      "heart",     "goodbye",    "bye",        "power"};
    QCOMPARE(expected.size(), 168);

    QStringList actual;
    for (const WordPair& row : WordTable)
        actual << ToQString(row.english);
    QCOMPARE(actual, expected);
}

void TestWordTable::givenRows_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("kethric");
    QTest::addColumn<bool>("twoWay");
    QTest::addColumn<QString>("kethricKey");
    QTest::addColumn<QString>("englishResult");

    // Rows are numbered from 1, as a person reading the table counts them.
    QTest::newRow("1 above") << 1 << "above"
                             << "svern" << true << "svern"
                             << "above";
    QTest::newRow("44 deity, result spelt right") << 44 << "deity"
                                                  << "urathear" << true << "urathear"
                                                  << "deity";
    QTest::newRow("48 dragon") << 48 << "dragon"
                               << "morvantel" << true << "morvantel"
                               << "dragon";
    QTest::newRow("74 greetings") << 74 << "greetings"
                                  << "nemir" << true << "nemir"
                                  << "greetings or hello";
    QTest::newRow("79 hello, one-way") << 79 << "hello"
                                       << "nemir" << false << ""
                                       << "";
    QTest::newRow("102 or") << 102 << "or"
                            << "usv" << true << "usv"
                            << "or";
    QTest::newRow("105 pillage, answers its own word") << 105 << "pillage"
                                                       << "thadarsh" << true << "thadarsh"
                                                       << "pillage";
    QTest::newRow("114 shadowvision") << 114 << "shadowvision"
                                      << "sjacherak" << true << "sjacherak"
                                      << "shadowvision";
    QTest::newRow("129 stop, answers its own word") << 129 << "stop"
                                                    << "pok" << true << "pok"
                                                    << "stop";
    QTest::newRow("166 goodbye") << 166 << "goodbye"
                                 << "nariel" << true << "nariel"
                                 << "goodbye or bye";
    QTest::newRow("167 bye, one-way") << 167 << "bye"
                                      << "nariel" << false << ""
                                      << "";
    QTest::newRow("168 power") << 168 << "power"
                               << "alkieel" << true << "alkieel"
                               << "power";
}

void TestWordTable::givenRows()
{
    QFETCH(int, row);
    QFETCH(QString, english);
    QFETCH(QString, kethric);
    QFETCH(bool, twoWay);
    QFETCH(QString, kethricKey);
    QFETCH(QString, englishResult);

    const WordPair& pair = WordTable.at(static_cast<std::size_t>(row - 1));
    QCOMPARE(ToQString(pair.english), english);
    QCOMPARE(ToQString(pair.kethric), kethric);
    QCOMPARE(pair.twoWay, twoWay);
    if (twoWay) {
        QCOMPARE(ToQString(pair.kethricKey), kethricKey);
        QCOMPARE(ToQString(pair.englishResult), englishResult);
    }
}

void TestWordTable::everyKeyDistinct()
{
    std::set<std::u16string_view> keys;
    std::size_t offered = 0;
    for (const WordPair& row : WordTable) {
        keys.insert(row.english);
        ++offered;
        if (row.twoWay) {
            keys.insert(row.kethricKey);
            ++offered;
        }
    }
    QCOMPARE(offered, std::size_t{334});
    QCOMPARE(keys.size(), std::size_t{334});
    QVERIFY(!keys.count(u"greetings or hello"));
    QVERIFY(!keys.count(u"goodbye or bye"));
}

QTEST_APPLESS_MAIN(TestWordTable)
#include "tst_word_table.moc"
