#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QObject>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

// Compiles the Windows resource script as a Windows build would, reads the
// compiled resources back and checks the icon and the version block.
class TestResourceScript : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void onlyTheIconAndVersionBlock();
    void iconGroupHoldsImage30001();
    void iconImageIs32x32With16Colours();
    void versionBlock();

private:
    struct Resource
    {
        int type, name, language;
        QByteArray data;
    };
    QByteArray resource(int type, int name) const;

    QList<Resource> resources;
};

namespace {

quint16 Word(const QByteArray& data, qsizetype at)
{
    return qFromLittleEndian<quint16>(data.constData() + at);
}

quint32 Dword(const QByteArray& data, qsizetype at)
{
    return qFromLittleEndian<quint32>(data.constData() + at);
}

qsizetype AlignedTo4(qsizetype at)
{
    return (at + 3) & ~qsizetype(3);
}

// One node of a version block: its key, value and child nodes.
struct VersionNode
{
    QString key;
    QByteArray value;
    bool text = false;
    QList<VersionNode> children;
};

VersionNode ReadVersionNode(const QByteArray& data, qsizetype at)
{
    VersionNode node;
    const qsizetype end = at + Word(data, at);
    const quint16 valueLength = Word(data, at + 2);
    node.text = Word(data, at + 4) == 1;
    qsizetype cursor = at + 6;
    while (Word(data, cursor) != 0) {
        node.key += QChar(Word(data, cursor));
        cursor += 2;
    }
    cursor = AlignedTo4(cursor + 2);
    const qsizetype valueBytes = node.text ? valueLength * 2 : valueLength;
    node.value = data.mid(cursor, valueBytes);
    cursor = AlignedTo4(cursor + valueBytes);
    while (cursor < end) {
        node.children << ReadVersionNode(data, cursor);
        cursor = AlignedTo4(cursor + Word(data, cursor));
    }
    return node;
}

QString Utf16Text(const QByteArray& value)
{
    QString text =
        QString::fromUtf16(reinterpret_cast<const char16_t*>(value.constData()), value.size() / 2);
    while (text.endsWith(QChar(u'\0')))
        text.chop(1);
    return text;
}

} // namespace

void TestResourceScript::initTestCase()
{
    QTemporaryDir output;
    QVERIFY(output.isValid());
    const QString compiled = output.filePath("morvantel.res");
    QProcess windres;
    windres.setWorkingDirectory(QStringLiteral(RESOURCE_DIR));
    windres.setProcessChannelMode(QProcess::MergedChannels);
    windres.start("i686-w64-mingw32-windres",
                  {"--preprocessor=cpp", "--preprocessor-arg=-E", "--preprocessor-arg=-xc",
                   "morvantel.rc", "-O", "res", "-o", compiled});
    QVERIFY2(windres.waitForFinished(60000), "windres did not finish");
    QVERIFY2(windres.exitCode() == 0, windres.readAll().constData());

    QFile file(compiled);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray res = file.readAll();
    for (qsizetype at = 0; at < res.size();) {
        const quint32 dataSize = Dword(res, at);
        const quint32 headerSize = Dword(res, at + 4);
        // Numbered types and names are 0xFFFF followed by the number.
        QCOMPARE(Word(res, at + 8), quint16(0xFFFF));
        QCOMPARE(Word(res, at + 12), quint16(0xFFFF));
        resources << Resource{Word(res, at + 10), Word(res, at + 14), Word(res, at + 22),
                              res.mid(at + headerSize, dataSize)};
        at = AlignedTo4(at + headerSize + dataSize);
    }
    // The file starts with an empty entry that only marks it as 32-bit resources.
    QVERIFY(!resources.isEmpty());
    QCOMPARE(resources.first().type, 0);
    resources.removeFirst();
}

QByteArray TestResourceScript::resource(int type, int name) const
{
    for (const Resource& entry : resources)
        if (entry.type == type && entry.name == name)
            return entry.data;
    return {};
}

void TestResourceScript::onlyTheIconAndVersionBlock()
{
    QStringList found;
    for (const Resource& entry : resources) {
        found << QString("%1/%2").arg(entry.type).arg(entry.name);
        QCOMPARE(entry.language, 0x0409);
    }
    found.sort();
    QCOMPARE(found, QStringList({"14/1", "16/1", "3/30001"}));
}

void TestResourceScript::iconGroupHoldsImage30001()
{
    const QByteArray group = resource(14, 1);
    QCOMPARE(group.size(), 6 + 14);
    QCOMPARE(Word(group, 2), quint16(1)); // icons
    QCOMPARE(Word(group, 4), quint16(1)); // one image
    QCOMPARE(quint8(group[6]), quint8(32));
    QCOMPARE(quint8(group[7]), quint8(32));
    QCOMPARE(quint8(group[8]), quint8(16));
    QCOMPARE(Word(group, 10), quint16(1)); // planes
    QCOMPARE(Word(group, 12), quint16(4)); // bits per pixel
    QCOMPARE(qsizetype(Dword(group, 14)), resource(3, 30001).size());
    QCOMPARE(Word(group, 18), quint16(30001));
}

void TestResourceScript::iconImageIs32x32With16Colours()
{
    const QByteArray image = resource(3, 30001);
    QCOMPARE(Dword(image, 0), quint32(40));
    QCOMPARE(Dword(image, 4), quint32(32));
    QCOMPARE(Dword(image, 8), quint32(64)); // the colours and the mask
    QCOMPARE(Word(image, 14), quint16(4));
    // The last 128 bytes are the mask: every pixel opaque.
    QCOMPARE(image.right(128).count('\0'), 128);

    // The same image as the program icon file.
    QFile icon(QStringLiteral(RESOURCE_DIR "/morvantel.ico"));
    QVERIFY(icon.open(QIODevice::ReadOnly));
    QCOMPARE(icon.readAll().mid(22), image);
}

void TestResourceScript::versionBlock()
{
    const VersionNode root = ReadVersionNode(resource(16, 1), 0);
    QCOMPARE(root.key, QStringLiteral("VS_VERSION_INFO"));
    const QByteArray fixed = root.value;
    QCOMPARE(fixed.size(), 52);
    QCOMPARE(Dword(fixed, 0), quint32(0xFEEF04BD));
    QCOMPARE(Dword(fixed, 8), quint32(0x00010000));  // file version 1.0
    QCOMPARE(Dword(fixed, 12), quint32(0));          // .0.0
    QCOMPARE(Dword(fixed, 16), quint32(0x00010000)); // product version 1.0
    QCOMPARE(Dword(fixed, 20), quint32(0));          // .0.0
    QCOMPARE(Dword(fixed, 28), quint32(0));          // no file flags
    QCOMPARE(Dword(fixed, 32), quint32(0x4));        // 32-bit Windows
    QCOMPARE(Dword(fixed, 36), quint32(0x1));        // an application

    QCOMPARE(root.children.size(), 2);
    const VersionNode& strings = root.children[0];
    QCOMPARE(strings.key, QStringLiteral("StringFileInfo"));
    QCOMPARE(strings.children.size(), 1);
    QCOMPARE(strings.children[0].key, QStringLiteral("040904B0"));
    QMap<QString, QString> fields;
    for (const VersionNode& field : strings.children[0].children)
        fields.insert(field.key, Utf16Text(field.value));
    const QMap<QString, QString> expected = {
        {"CompanyName", "N/A"},        {"ProductName", "Translator"},
        {"FileVersion", "1.00"},       {"ProductVersion", "1.00"},
        {"InternalName", "morvantel"}, {"OriginalFilename", "morvantel.exe"}};
    QCOMPARE(fields, expected);

    const VersionNode& translation = root.children[1];
    QCOMPARE(translation.key, QStringLiteral("VarFileInfo"));
    QCOMPARE(translation.children.size(), 1);
    QCOMPARE(translation.children[0].key, QStringLiteral("Translation"));
    const QByteArray languages = translation.children[0].value;
    QCOMPARE(languages.size(), 4);
    QCOMPARE(Word(languages, 0), quint16(0x0409));
    QCOMPARE(Word(languages, 2), quint16(0x04B0));
}

QTEST_GUILESS_MAIN(TestResourceScript)
#include "tst_resource_script.moc"
