#include "engine/translate.h"
#include "engine/word_table.h"
#include "platform/u16.h"

#include <QObject>
#include <QStringList>
#include <QTest>

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
    void englishWordsInTableOrder();
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

void TestTranslate::englishWordsInTableOrder()
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

QTEST_APPLESS_MAIN(TestTranslate)
#include "tst_translate.moc"
