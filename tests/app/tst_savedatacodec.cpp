#include "app/savedatacodec.h"
#include "app/settingsfile.h"
#include "app/twips.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

using namespace moravelt;

class TestSaveDataCodec : public QObject
{
    Q_OBJECT
private slots:
    void emptyRecordIs64BytesWithZeroCounts();
    void layoutByteForByte();
    void fullWidthTextCountsShiftJisBytes();
    void roundTripKeepsEveryField();
    void damagedRecords_data();
    void damagedRecords();
    void shorterRecordReadFromLongerFile();
    void halvesRoundToEven_data();
    void halvesRoundToEven();
    void fileIsReplacedWhole();
};

void TestSaveDataCodec::emptyRecordIs64BytesWithZeroCounts()
{
    const QByteArray bytes = SaveDataCodec::encode(SaveData{});
    QCOMPARE(bytes.size(), 64);
    QCOMPARE(bytes.mid(58, 4), QByteArray(4, '\0'));
}

void TestSaveDataCodec::layoutByteForByte()
{
    SaveData d;
    d.ImgLeft = -16590;
    d.ImgTop = -17805;
    d.Frm1Left = 1;
    d.Frm2Height = 0x01020304;
    d.AnsCheck = -1;
    d.Frm3Left = 7;
    d.Frm3Height = 9;
    d.DepartText = QStringLiteral("AB");
    d.DestText = QStringLiteral("東京");
    d.SeidoLevel = 2;
    const QByteArray b = SaveDataCodec::encode(d);
    QCOMPARE(b.size(), 64 + 2 + 4);
    QCOMPARE(qFromLittleEndian<qint32>(b.constData() + 0), -16590);
    QCOMPARE(qFromLittleEndian<qint32>(b.constData() + 4), -17805);
    QCOMPARE(b.mid(36, 4), QByteArray::fromHex("04030201"));
    QCOMPARE(b.mid(40, 2), QByteArray::fromHex("ffff"));
    QCOMPARE(qFromLittleEndian<qint32>(b.constData() + 42), 7);
    QCOMPARE(qFromLittleEndian<qint32>(b.constData() + 54), 9);
    QCOMPARE(b.mid(58, 4), QByteArray("\x02\x00"
                                      "AB",
                                      4));
    QCOMPARE(b.mid(62, 6), QByteArray::fromHex("0400938c8b9e"));
    QCOMPARE(b.mid(68, 2), QByteArray::fromHex("0200"));
}

void TestSaveDataCodec::fullWidthTextCountsShiftJisBytes()
{
    SaveData d;
    d.DepartText = QStringLiteral("名古屋");
    const QByteArray b = SaveDataCodec::encode(d);
    QCOMPARE(qFromLittleEndian<quint16>(b.constData() + 58), quint16(6));
    QCOMPARE(b.mid(60, 6), SaveDataCodec::toCp932(QStringLiteral("名古屋")));
    QCOMPARE(b.mid(60, 6), QByteArray::fromHex("96bc8cc389ae"));
    QCOMPARE(b.size(), 70);
}

void TestSaveDataCodec::roundTripKeepsEveryField()
{
    const SaveData d{.ImgLeft = -1,
                     .ImgTop = INT32_MIN,
                     .Frm1Left = INT32_MAX,
                     .Frm1Top = 2,
                     .Frm1Width = 3,
                     .Frm1Height = 4,
                     .Frm2Left = 5,
                     .Frm2Top = 6,
                     .Frm2Width = 7,
                     .Frm2Height = 8,
                     .AnsCheck = -1,
                     .Frm3Left = 9,
                     .Frm3Top = 10,
                     .Frm3Width = 11,
                     .Frm3Height = 12,
                     .DepartText = QStringLiteral("函館～札幌"),
                     .DestText = QStringLiteral("那覇"),
                     .SeidoLevel = 4};
    QCOMPARE(SaveDataCodec::decode(SaveDataCodec::encode(d)), std::optional<SaveData>(d));
}

void TestSaveDataCodec::damagedRecords_data()
{
    QTest::addColumn<QByteArray>("bytes");
    SaveData good;
    good.DepartText = QStringLiteral("京都");
    good.SeidoLevel = 1;
    const QByteArray whole = SaveDataCodec::encode(good);
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("cut in the numbers") << whole.left(30);
    QTest::newRow("cut in a text") << whole.left(61);
    QTest::newRow("cut before the level") << whole.left(whole.size() - 1);
    QByteArray runaway = whole;
    qToLittleEndian<quint16>(500, runaway.data() + 58);
    QTest::newRow("text count past the end") << runaway;
    for (qint16 level : {qint16(5), qint16(-1), qint16(32767)}) {
        QByteArray bad = whole;
        qToLittleEndian<qint16>(level, bad.data() + bad.size() - 2);
        QTest::newRow(qPrintable(QStringLiteral("level %1").arg(level))) << bad;
    }
}

void TestSaveDataCodec::damagedRecords()
{
    QFETCH(QByteArray, bytes);
    QVERIFY(!SaveDataCodec::decode(bytes).has_value());
}

void TestSaveDataCodec::shorterRecordReadFromLongerFile()
{
    SaveData shortRecord;
    shortRecord.DepartText = QStringLiteral("津");
    shortRecord.SeidoLevel = 3;
    const QByteArray bytes =
        SaveDataCodec::encode(shortRecord) + QByteArray("stale bytes left behind");
    QCOMPARE(SaveDataCodec::decode(bytes), std::optional<SaveData>(shortRecord));
}

void TestSaveDataCodec::halvesRoundToEven_data()
{
    QTest::addColumn<float>("twips");
    QTest::addColumn<int>("stored");
    QTest::newRow("100.5") << 100.5f << 100;
    QTest::newRow("101.5") << 101.5f << 102;
    QTest::newRow("-0.5") << -0.5f << 0;
    QTest::newRow("-1.5") << -1.5f << -2;
    QTest::newRow("100.49") << 100.49f << 100;
    QTest::newRow("huge") << 1e12f << INT32_MAX;
}

void TestSaveDataCodec::halvesRoundToEven()
{
    QFETCH(float, twips);
    QFETCH(int, stored);
    QCOMPARE(Twips::round(twips), stored);
}

void TestSaveDataCodec::fileIsReplacedWhole()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(SettingsFile::fileName());
    SaveData longer;
    longer.DepartText = QStringLiteral("鹿児島中央");
    longer.SeidoLevel = 1;
    SettingsFile::write(path, longer);
    SaveData shorter;
    shorter.SeidoLevel = 2;
    SettingsFile::write(path, shorter);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), SaveDataCodec::encode(shorter));
    QCOMPARE(SettingsFile::read(path), std::optional<SaveData>(shorter));
    QVERIFY(!SettingsFile::read(dir.filePath(QStringLiteral("missing.ini"))).has_value());
}

QTEST_GUILESS_MAIN(TestSaveDataCodec)
#include "tst_savedatacodec.moc"
