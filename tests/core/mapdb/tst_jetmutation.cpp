// SPDX-License-Identifier: MIT

#include "base/moravelterror.h"
#include "jetfixture.h"
#include "mapdb/mapdatabase.h"
#include "mapdb/querytexts.h"
#include "navi/roadgraph.h"

#include <QDir>
#include <QRandomGenerator>
#include <QtEndian>
#include <QtTest>

using namespace moravelt;
using namespace moravelt::test;

namespace {

constexpr quint32 kSeed = 20240611;
constexpr int kFiles = 300;

QByteArray bytesOf(const QString& file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// One damaged copy of a fixture, and what was done to it (to find it again from the seed).
struct Mutant
{
    QByteArray bytes;
    QString how;
};

// Values that mislead a reader: none, a row pointer to a missing row, more columns than
// libmdb takes, the largest counts.
const quint32 misleading[] = {0, 0x1ff, 0x100, 0x12c, 0x7fff, 0xffff, 0xffffffff};

// Where a table definition keeps its row count, column counts and usage map pointers.
QList<int> definitionFields(int pageSize)
{
    return pageSize == 2048 ? QList<int>{12, 23, 25, 35, 39} : QList<int>{16, 43, 45, 55, 59};
}

// The damage a disk, a copy or a hand with a hex editor does: bytes changed, counts and page
// pointers set to values that mislead a reader, a file cut short.
Mutant mutate(QRandomGenerator& random, const QByteArray& original, int pageSize)
{
    Mutant m{original, {}};
    QByteArray& b = m.bytes;
    const auto anywhereAfterHeader = [&](int width) {
        return pageSize + int(random.bounded(quint32(b.size() - pageSize - width)));
    };
    switch (random.bounded(5)) {
    case 0:
        for (int n = int(random.bounded(1, 9)); n > 0; --n) {
            const int at = anywhereAfterHeader(1);
            b[at] = char(random.bounded(256));
            m.how += QStringLiteral(" byte@%1").arg(at);
        }
        break;
    case 1: {
        for (int n = int(random.bounded(1, 4)); n > 0; --n) {
            const int at = anywhereAfterHeader(4);
            const quint32 value = misleading[random.bounded(quint32(std::size(misleading)))];
            qToLittleEndian(value, b.data() + at);
            m.how += QStringLiteral(" u32@%1=%2").arg(at).arg(value, 0, 16);
        }
        break;
    }
    case 2: {
        const int cut =
            int(random.bounded(1, b.size() / pageSize)) * pageSize + int(random.bounded(3)) * 50;
        b.truncate(cut);
        m.how = QStringLiteral(" cut@%1").arg(cut);
        break;
    }
    case 3: {
        // A field of a table definition (a page that starts 02 01), the catalog's or a map
        // table's.
        QList<int> definitions;
        for (int page = 1; page * pageSize < b.size(); ++page) {
            if (b[page * pageSize] == 0x02 && b[page * pageSize + 1] == 0x01)
                definitions << page;
        }
        const QList<int> fields = definitionFields(pageSize);
        const int at = definitions[int(random.bounded(quint32(definitions.size())))] * pageSize +
                       fields[int(random.bounded(quint32(fields.size())))];
        // Mostly the two values that crashed libmdb: a row pointer to no row, 300 columns.
        const quint32 value = random.bounded(3)
                                  ? (random.bounded(2) ? 0x1ff : 0x12c)
                                  : misleading[random.bounded(quint32(std::size(misleading)))];
        const int width = random.bounded(2) ? 4 : 2;
        for (int k = 0; k < width; ++k)
            b[at + k] = char((value >> (8 * k)) & 0xff);
        m.how = QStringLiteral(" definition@%1=%2").arg(at).arg(value, 0, 16);
        break;
    }
    default: {
        // The header page: version, code page, masked password.
        const int at = int(random.bounded(quint32(0x100)));
        b[at] = char(b[at] ^ char(random.bounded(1, 256)));
        m.how = QStringLiteral(" header@%1").arg(at);
        break;
    }
    }
    return m;
}

} // namespace

class TestJetMutation : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { useBuiltJetReader(); }
    void damagedFilesNeverHarmTheGame();
};

// Every file gives a map or one message naming it; the game neither crashes nor waits past
// the reader's time limit, and the file is never written, nor anything beside it.
void TestJetMutation::damagedFilesNeverHarmTheGame()
{
    struct Base
    {
        const char* name;
        int pageSize;
    };
    const Base bases[] = {{"game_jet4.mdb", 4096},
                          {"game_jet3.mdb", 2048},
                          {"game_jet4_pw.mdb", 4096},
                          {"variety_jet3.mdb", 2048}};
    QRandomGenerator random(kSeed);
    int opened = 0;
    int refused = 0;
    for (int i = 0; i < kFiles; ++i) {
        const Base& base = bases[random.bounded(quint32(std::size(bases)))];
        const Mutant mutant =
            mutate(random, bytesOf(jetFixture(QString::fromLatin1(base.name))), base.pageSize);
        const QString which =
            QStringLiteral("file %1 (%2%3)").arg(i).arg(QString::fromLatin1(base.name), mutant.how);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("mapdata.mdb"));
        {
            QFile out(file);
            QVERIFY(out.open(QIODevice::WriteOnly));
            QCOMPARE(out.write(mutant.bytes), mutant.bytes.size());
        }
        QFile::setPermissions(file, QFile::ReadOwner);
        try {
            const MapDatabase cn(MapDatabase::connectionString(dir.path() + QLatin1Char('/')));
            // What start-up reads next; a damaged value may still fail a query, in words.
            try {
                RoadGraph::load(cn);
                cn.open(QueryTexts::hitTest(1500.0f, 1800.0f));
            } catch (const MoraveltError&) {
            }
            ++opened;
        } catch (const MoraveltError& error) {
            QVERIFY2(error.message().contains(file), qPrintable(which + error.message()));
            ++refused;
        }
        QVERIFY2(bytesOf(file) == mutant.bytes, qPrintable(which));
        QVERIFY2(
            QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot) ==
                QStringList{QStringLiteral("mapdata.mdb")},
            qPrintable(which));
    }
    qInfo("%d of %d damaged files opened, %d refused", opened, kFiles, refused);
    // The damage reaches what the reader reads, and not every file is lost to it.
    QVERIFY(refused > kFiles / 10);
    QVERIFY(opened > kFiles / 10);
}

QTEST_GUILESS_MAIN(TestJetMutation)
#include "tst_jetmutation.moc"
