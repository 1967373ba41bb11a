// SPDX-License-Identifier: MIT

#include "base/moravelterror.h"
#include "settings/savedatacodec.h"
#include "settings/settingsfile.h"
#include "unprivileged.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace moravelt;
using namespace moravelt::test;

namespace {

const SaveData kOld{.Frm1Left = 150, .DepartText = QStringLiteral("鹿児島中央"), .SeidoLevel = 3};
const SaveData kNew{.Frm1Left = 300, .DestText = QStringLiteral("那覇"), .SeidoLevel = 2};

// A record longer than a page of memory, so that writing it takes more room on a tmpfs.
SaveData longRecord()
{
    SaveData d = kNew;
    d.DepartText = QString(2500, QChar(u'東'));
    d.DestText = QString(2500, QChar(u'西'));
    return d;
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

struct stat entry(const QString& path)
{
    struct stat status = {};
    ::lstat(QFile::encodeName(path).constData(), &status);
    return status;
}

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// The message of the failure the write threw; empty when it wrote.
QString writeFailure(const QString& path, const SaveData& data)
{
    try {
        SettingsFile::write(path, data);
    } catch (const MoraveltError& error) {
        return error.message().isEmpty() ? QStringLiteral("?") : error.message();
    }
    return {};
}

// Counts the opens of a file system object from here on.
class OpenWatch
{
public:
    explicit OpenWatch(const QString& path) : m_fd(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
    {
        ::inotify_add_watch(m_fd, QFile::encodeName(path).constData(), IN_OPEN);
    }
    ~OpenWatch() { ::close(m_fd); }
    OpenWatch(const OpenWatch&) = delete;
    OpenWatch& operator=(const OpenWatch&) = delete;
    bool opened() const
    {
        alignas(inotify_event) char buffer[4096];
        return ::read(m_fd, buffer, sizeof buffer) > 0;
    }

private:
    int m_fd;
};

// Writes may not grow a file beyond a few bytes while it lives, as on a full disk: the write
// fails part-way.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_handler);
    }

private:
    rlimit m_saved{};
    void (*m_handler)(int) = nullptr;
};

#define EXPECT(condition)                                                                          \
    do {                                                                                           \
        if (!(condition))                                                                          \
            return QStringLiteral("line %1: %2").arg(__LINE__).arg(QStringLiteral(#condition));    \
    } while (false)

// Kills a process that saves the two records in turn, over and over, at moments drawn from a
// fixed seed, and looks at what each kill left: one of the two records, whole. Leftover
// temporary files are counted, then cleared as the next start does. Empty when all held.
QString killWhileSaving(const QString& path, const SaveData& a, const SaveData& b, int rounds,
                        int* leftovers)
{
    QRandomGenerator draw(20240611);
    for (int round = 0; round < rounds; ++round) {
        const pid_t saver = ::fork();
        if (saver == 0) {
            for (;;) {
                writeFailure(path, a);
                writeFailure(path, b);
            }
        }
        EXPECT(saver > 0);
        ::usleep(useconds_t(draw.bounded(3000)));
        ::kill(saver, SIGKILL);
        ::waitpid(saver, nullptr, 0);
        const std::optional<SaveData> left = SettingsFile::read(path);
        if (left != a && left != b)
            return QStringLiteral("round %1 left %2 bytes that are neither record")
                .arg(round)
                .arg(contents(path).size());
        *leftovers += SettingsFile::removeLeftovers(path);
        EXPECT(entries(QFileInfo(path).path()).filter(SettingsFile::fileName()).size() == 1);
    }
    return {};
}

#define RUN_UNPRIVILEGED(kib, work)                                                                \
    do {                                                                                           \
        const ChildOutcome outcome = runUnprivileged(kib, work);                                   \
        if (outcome.state == ChildOutcome::State::Skipped)                                         \
            QSKIP(qPrintable(outcome.text));                                                       \
        QVERIFY2(outcome.state == ChildOutcome::State::Passed, qPrintable(outcome.text));          \
    } while (false)

} // namespace

class TestSettingsFile : public QObject
{
    Q_OBJECT
private slots:
    void onlyRegularFilesAreRead_data();
    void onlyRegularFilesAreRead();
    void readsNoMoreThanARecordCanHold();
    void aLinkIsReplacedAndItsTargetNeverWritten_data();
    void aLinkIsReplacedAndItsTargetNeverWritten();
    void nothingButARegularFileIsOpenedForWriting_data();
    void nothingButARegularFileIsOpenedForWriting();
    void failedWriteKeepsTheOldFileAndSaysWhereAndWhy_data();
    void failedWriteKeepsTheOldFileAndSaysWhereAndWhy();
    void replacedFileKeepsItsPermissions();
    void leftoversOfAKilledSaveGoAtTheNextStart();
    void killedSaveLeavesTheOldOrTheNewRecord();
    void readOnlyFolderIsWrittenInPlaceOrNotAtAll_data();
    void readOnlyFolderIsWrittenInPlaceOrNotAtAll();
    void killedInPlaceSaveNeverEmptiesTheFile();
};

void TestSettingsFile::onlyRegularFilesAreRead_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("read");
    QTest::newRow("missing") << "missing" << false;
    QTest::newRow("folder") << "folder" << false;
    QTest::newRow("FIFO without a writer") << "fifo" << false;
    QTest::newRow("link to a FIFO") << "link to fifo" << false;
    QTest::newRow("link to a link to a FIFO") << "link to link to fifo" << false;
    QTest::newRow("link to an endless device") << "zero" << false;
    QTest::newRow("link to a good record") << "link" << true;
}

void TestSettingsFile::onlyRegularFilesAreRead()
{
    QFETCH(QString, kind);
    QFETCH(bool, read);
    QTemporaryDir dir;
    const QString path = dir.filePath(SettingsFile::fileName());
    const QString fifo = dir.filePath(QStringLiteral("target.fifo"));
    const QString record = dir.filePath(QStringLiteral("real.ini"));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    SettingsFile::write(record, kOld);
    if (kind == QLatin1String("folder"))
        QVERIFY(QDir(dir.path()).mkdir(SettingsFile::fileName()));
    else if (kind == QLatin1String("fifo"))
        QVERIFY(QFile::rename(fifo, path));
    else if (kind == QLatin1String("link to fifo"))
        QVERIFY(QFile::link(fifo, path));
    else if (kind == QLatin1String("link to link to fifo"))
        QVERIFY(QFile::link(fifo, dir.filePath(QStringLiteral("hop"))) &&
                QFile::link(dir.filePath(QStringLiteral("hop")), path));
    else if (kind == QLatin1String("zero"))
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
    else if (kind == QLatin1String("link"))
        QVERIFY(QFile::link(record, path));
    // Whatever the name leads to, only a regular file is even opened: opening a FIFO lets a
    // writer waiting on it go on, and opening a device can start it.
    const OpenWatch fifoOpens(kind == QLatin1String("fifo") ? path : fifo);
    const OpenWatch recordOpens(record);
    const std::optional<SaveData> got = SettingsFile::read(path);
    QCOMPARE(got.has_value(), read);
    if (got)
        QCOMPARE(*got, kOld);
    QVERIFY(!fifoOpens.opened());
    QCOMPARE(recordOpens.opened(), read);
}

void TestSettingsFile::readsNoMoreThanARecordCanHold()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(SettingsFile::fileName());
    // The largest record there can be, then stale bytes: all of it is read and decoded.
    SaveData longest = kOld;
    longest.DepartText = QString(65535, u'a');
    longest.DestText = QString(65535, u'b');
    const QByteArray record = SaveDataCodec::encode(longest);
    QCOMPARE(record.size(), 64 + 2 * 65535);
    QVERIFY(record.size() <= SettingsFile::kMaxRecordBytes);
    QVERIFY(writeFile(path, record + QByteArray(8 << 20, 'x')));
    QCOMPARE(SettingsFile::read(path), std::optional<SaveData>(longest));
}

void TestSettingsFile::aLinkIsReplacedAndItsTargetNeverWritten_data()
{
    QTest::addColumn<QString>("target");
    QTest::newRow("link to the player's file") << "decoy";
    QTest::newRow("link to a read-only file") << "read-only decoy";
    QTest::newRow("link to a missing file") << "missing";
    QTest::newRow("link to a FIFO") << "fifo";
    QTest::newRow("link to a folder") << "folder";
}

void TestSettingsFile::aLinkIsReplacedAndItsTargetNeverWritten()
{
    QFETCH(QString, target);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("elsewhere")));
    const QString path = dir.filePath(SettingsFile::fileName());
    const QString decoy = dir.filePath(QStringLiteral("elsewhere/decoy"));
    const QByteArray decoyBytes("the player's own notes, not a settings record\n");
    if (target.endsWith(QLatin1String("decoy")))
        QVERIFY(writeFile(decoy, decoyBytes));
    if (target == QLatin1String("read-only decoy"))
        QVERIFY(QFile::setPermissions(decoy, QFileDevice::ReadOwner));
    else if (target == QLatin1String("fifo"))
        QCOMPARE(::mkfifo(QFile::encodeName(decoy).constData(), 0600), 0);
    else if (target == QLatin1String("folder"))
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("elsewhere/decoy")));
    QVERIFY(QFile::link(decoy, path));
    const struct stat before = entry(decoy);
    const OpenWatch decoyOpens(decoy);

    QCOMPARE(writeFailure(path, kNew), QString());
    // The name is now a regular file of its own with the record; the target was not even
    // opened, and is as it was.
    if (target != QLatin1String("missing"))
        QVERIFY(!decoyOpens.opened());
    QVERIFY(S_ISREG(entry(path).st_mode));
    QCOMPARE(contents(path), SaveDataCodec::encode(kNew));
    const struct stat after = entry(decoy);
    QCOMPARE(after.st_ino, before.st_ino);
    QCOMPARE(after.st_mode, before.st_mode);
    if (target.endsWith(QLatin1String("decoy")))
        QCOMPARE(contents(decoy), decoyBytes);
    QCOMPARE(entries(dir.path()), QStringList({SettingsFile::fileName(), "elsewhere"}));
    QCOMPARE(entries(dir.filePath(QStringLiteral("elsewhere"))).size(),
             target == QLatin1String("missing") ? 0 : 1);
}

void TestSettingsFile::nothingButARegularFileIsOpenedForWriting_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("why");
    QTest::newRow("FIFO") << "fifo"
                          << "通常のファイルではありません";
    QTest::newRow("socket") << "socket"
                            << "通常のファイルではありません";
    QTest::newRow("device") << "device"
                            << "通常のファイルではありません";
    QTest::newRow("folder") << "folder"
                            << "フォルダー";
}

void TestSettingsFile::nothingButARegularFileIsOpenedForWriting()
{
    QFETCH(QString, kind);
    QFETCH(QString, why);
    QTemporaryDir dir;
    const QString path = dir.filePath(SettingsFile::fileName());
    const QByteArray name = QFile::encodeName(path);
    if (kind == QLatin1String("fifo")) {
        QCOMPARE(::mkfifo(name.constData(), 0600), 0);
    } else if (kind == QLatin1String("socket")) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address = {};
        address.sun_family = AF_UNIX;
        QVERIFY(size_t(name.size()) < sizeof address.sun_path);
        std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
        QCOMPARE(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        ::close(fd);
    } else if (kind == QLatin1String("device")) {
        // A null device of its own, so that no system device is at stake.
        if (::mknod(name.constData(), S_IFCHR | 0666, makedev(1, 3)) != 0)
            QSKIP("device nodes cannot be made here");
    } else {
        QVERIFY(QDir(dir.path()).mkdir(SettingsFile::fileName()));
    }
    const struct stat before = entry(path);
    const OpenWatch opens(path);

    const QString message = writeFailure(path, kNew);
    QVERIFY2(message.contains(QFileInfo(path).absoluteFilePath()), qPrintable(message));
    QVERIFY2(message.contains(why), qPrintable(message));
    const struct stat after = entry(path);
    QCOMPARE(after.st_ino, before.st_ino);
    QCOMPARE(after.st_mode, before.st_mode);
    QVERIFY(!opens.opened());
    QCOMPARE(entries(dir.path()), QStringList(SettingsFile::fileName()));
}

void TestSettingsFile::failedWriteKeepsTheOldFileAndSaysWhereAndWhy_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("why");
    QTest::newRow("disk full part-way") << "limit"
                                        << "上限";
    QTest::newRow("file marked read-only") << "readonly"
                                           << "読み取り専用";
    QTest::newRow("no such folder") << "no folder"
                                    << "フォルダーがありません";
}

void TestSettingsFile::failedWriteKeepsTheOldFileAndSaysWhereAndWhy()
{
    QFETCH(QString, kind);
    QFETCH(QString, why);
    QTemporaryDir dir;
    const QString folder =
        kind == QLatin1String("no folder") ? dir.filePath(QStringLiteral("gone")) : dir.path();
    const QString path = folder + QLatin1Char('/') + SettingsFile::fileName();
    if (kind != QLatin1String("no folder"))
        SettingsFile::write(path, kOld);
    const QByteArray before = contents(path);
    if (kind == QLatin1String("readonly"))
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup));

    QString message;
    {
        FileSizeLimit limit(kind == QLatin1String("limit") ? 10 : RLIM_INFINITY);
        message = writeFailure(path, kNew);
    }
    QVERIFY2(message.contains(QFileInfo(path).absoluteFilePath()), qPrintable(message));
    QVERIFY2(message.contains(why), qPrintable(message));
    QCOMPARE(contents(path), before);
    // No temporary file is left behind beside it.
    QCOMPARE(entries(dir.path()).size(), kind == QLatin1String("no folder") ? 0 : 1);
}

void TestSettingsFile::replacedFileKeepsItsPermissions()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(SettingsFile::fileName());
    SettingsFile::write(path, kOld);
    QCOMPARE(::chmod(QFile::encodeName(path).constData(), 0640), 0);
    const ino_t old = entry(path).st_ino;
    SettingsFile::write(path, kNew);
    QVERIFY(entry(path).st_ino != old); // a new file took the name
    QCOMPARE(entry(path).st_mode & 07777, mode_t(0640));
    QCOMPARE(contents(path), SaveDataCodec::encode(kNew));
}

void TestSettingsFile::leftoversOfAKilledSaveGoAtTheNextStart()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(SettingsFile::fileName());
    SettingsFile::write(path, kOld);
    const auto at = [&](const char* name) { return dir.filePath(QString::fromLatin1(name)); };
    // What killed saves leave, and what merely looks like it.
    QVERIFY(writeFile(at("Moravelt.ini.Ab12Cd"), "half a rec"));
    QVERIFY(writeFile(at("Moravelt.ini.zzzzzz"), QByteArray()));
    QVERIFY(writeFile(at("Moravelt.ini.Busy01"), "a live save"));
    QVERIFY(writeFile(at("Moravelt.ini.bak"), "the player's backup"));
    QVERIFY(writeFile(at("Moravelt.ini.Ab12C!"), "not ours"));
    QVERIFY(writeFile(at("Other.ini.Ab12Cd"), "another program's"));
    QVERIFY(writeFile(at("decoy"), "the player's notes"));
    QVERIFY(QFile::link(at("decoy"), at("Moravelt.ini.Link01")));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Moravelt.ini.Dir001")));
    // A save under way in another copy of the game holds its file locked.
    const int busy = ::open(QFile::encodeName(at("Moravelt.ini.Busy01")).constData(), O_RDONLY);
    QCOMPARE(::flock(busy, LOCK_EX), 0);

    QCOMPARE(SettingsFile::removeLeftovers(path), 2);
    ::close(busy);
    QCOMPARE(entries(dir.path()),
             QStringList({"Moravelt.ini", "Moravelt.ini.Ab12C!", "Moravelt.ini.Busy01",
                          "Moravelt.ini.Dir001", "Moravelt.ini.Link01", "Moravelt.ini.bak",
                          "Other.ini.Ab12Cd", "decoy"}));
    QCOMPARE(contents(at("decoy")), QByteArray("the player's notes"));
    QCOMPARE(SettingsFile::read(path), std::optional<SaveData>(kOld));
}

void TestSettingsFile::killedSaveLeavesTheOldOrTheNewRecord()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(SettingsFile::fileName());
    SettingsFile::write(path, kOld);
    int leftovers = 0;
    const QString failure = killWhileSaving(path, kOld, longRecord(), 60, &leftovers);
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    qInfo("%d of 60 kills left a temporary file, removed at the next start", leftovers);
}

void TestSettingsFile::readOnlyFolderIsWrittenInPlaceOrNotAtAll_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("why"); // empty when the write goes through
    QTest::newRow("shorter record: written in place, then trimmed") << "shorter" << QString();
    QTest::newRow("longer record: written in place") << "longer" << QString();
    QTest::newRow("full disk: nothing written")
        << "full"
        << "ディスクに空きがありません。新しい内容の場所を確保"
           "できなかったので、何も書き込んでいません";
    QTest::newRow("link: not written through") << "link"
                                               << "リンク先には書き込みません";
    QTest::newRow("hard link: not written through") << "hard link"
                                                    << "ハードリンク";
}

void TestSettingsFile::readOnlyFolderIsWrittenInPlaceOrNotAtAll()
{
    QFETCH(QString, kind);
    QFETCH(QString, why);
    const SaveData old = kind == QLatin1String("shorter") ? longRecord() : kOld;
    const SaveData wanted = kind == QLatin1String("shorter") ? kNew : longRecord();
    RUN_UNPRIVILEGED(64, [&](const QString& disk) -> QString {
        const QString folder = disk + QStringLiteral("/play");
        const QString path = folder + QStringLiteral("/Moravelt.ini");
        const QString other = disk + QStringLiteral("/elsewhere");
        EXPECT(QDir(disk).mkdir(QStringLiteral("play")));
        if (kind == QLatin1String("link")) {
            EXPECT(writeFile(other, SaveDataCodec::encode(old)));
            EXPECT(QFile::link(other, path));
        } else {
            SettingsFile::write(path, old);
        }
        if (kind == QLatin1String("hard link"))
            EXPECT(::link(QFile::encodeName(path).constData(),
                          QFile::encodeName(other).constData()) == 0);
        if (kind == QLatin1String("full")) {
            QFile filler(disk + QStringLiteral("/filler"));
            EXPECT(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
            while (filler.write(QByteArray(4096, 'f')) == 4096) {
            }
        }
        EXPECT(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        const QByteArray before = contents(path);
        const struct stat status = entry(path);
        const QString message = writeFailure(path, wanted);
        if (why.isEmpty()) {
            EXPECT(message.isEmpty());
            EXPECT(contents(path) == SaveDataCodec::encode(wanted));
            EXPECT(entry(path).st_ino == status.st_ino);
        } else {
            EXPECT(message.contains(why));
            EXPECT(message.contains(path));
            EXPECT(contents(path) == before);
            EXPECT(entry(path).st_mode == status.st_mode);
            EXPECT(contents(other) == (kind == QLatin1String("full") ? QByteArray() : before));
        }
        EXPECT(entries(folder) == QStringList(SettingsFile::fileName()));
        return {};
    });
}

void TestSettingsFile::killedInPlaceSaveNeverEmptiesTheFile()
{
    RUN_UNPRIVILEGED(256, [](const QString& disk) -> QString {
        const QString folder = disk + QStringLiteral("/play");
        const QString path = folder + QStringLiteral("/Moravelt.ini");
        EXPECT(QDir(disk).mkdir(QStringLiteral("play")));
        SettingsFile::write(path, kOld);
        EXPECT(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        int leftovers = 0;
        const QString failure = killWhileSaving(path, kOld, longRecord(), 60, &leftovers);
        EXPECT(leftovers == 0);
        return failure;
    });
}

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
