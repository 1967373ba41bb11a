// SPDX-License-Identifier: MIT

#include "base/moravelterror.h"
#include "settings/savedatacodec.h"
#include "settings/settingsfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace moravelt;

namespace {

const SaveData kOld{.Frm1Left = 150, .DepartText = QStringLiteral("鹿児島中央"), .SeidoLevel = 3};
const SaveData kNew{.Frm1Left = 300, .DestText = QStringLiteral("那覇"), .SeidoLevel = 2};

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Writes may not grow a file beyond a few bytes while it lives, as on a full disk: the write
// fails only when the buffer is flushed.
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

} // namespace

class TestSettingsFile : public QObject
{
    Q_OBJECT
private slots:
    void onlyRegularFilesAreRead_data();
    void onlyRegularFilesAreRead();
    void readsNoMoreThanARecordCanHold();
    void failedWriteKeepsTheOldFileAndSaysWhereAndWhy_data();
    void failedWriteKeepsTheOldFileAndSaysWhereAndWhy();
    void writableFileInAReadOnlyFolderIsWrittenInPlace();
};

void TestSettingsFile::onlyRegularFilesAreRead_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("missing") << "missing";
    QTest::newRow("folder") << "folder";
    QTest::newRow("FIFO without a writer") << "fifo";
    QTest::newRow("link to an endless device") << "zero";
    QTest::newRow("link to a good record") << "link";
}

void TestSettingsFile::onlyRegularFilesAreRead()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    const QString path = dir.filePath(SettingsFile::fileName());
    if (kind == QLatin1String("folder"))
        QVERIFY(QDir(dir.path()).mkdir(SettingsFile::fileName()));
    else if (kind == QLatin1String("fifo"))
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else if (kind == QLatin1String("zero"))
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
    else if (kind == QLatin1String("link")) {
        SettingsFile::write(dir.filePath(QStringLiteral("real.ini")), kOld);
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("real.ini")), path));
    }
    // Returns at once: a FIFO does not block, a device is not read.
    const std::optional<SaveData> read = SettingsFile::read(path);
    QCOMPARE(read.has_value(), kind == QLatin1String("link"));
    if (read)
        QCOMPARE(*read, kOld);
}

void TestSettingsFile::readsNoMoreThanARecordCanHold()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(SettingsFile::fileName());
    // The largest record there can be, then stale bytes: all of it is read and decoded.
    SaveData longest = kOld;
    longest.DepartText = QString(65535, u'a');
    longest.DestText = QString(65535, u'b');
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    const QByteArray record = SaveDataCodec::encode(longest);
    QCOMPARE(record.size(), 64 + 2 * 65535);
    QVERIFY(record.size() <= SettingsFile::kMaxRecordBytes);
    file.write(record);
    file.write(QByteArray(8 << 20, 'x'));
    file.close();
    QCOMPARE(SettingsFile::read(path), std::optional<SaveData>(longest));
}

void TestSettingsFile::failedWriteKeepsTheOldFileAndSaysWhereAndWhy_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("why");
    QTest::newRow("disk full at the flush") << "limit"
                                            << "上限";
    QTest::newRow("file marked read-only") << "readonly"
                                           << "読み取り専用";
    QTest::newRow("a folder of that name") << "folder"
                                           << "フォルダー";
    QTest::newRow("link into a missing folder") << "dangling"
                                                << "ありません";
}

void TestSettingsFile::failedWriteKeepsTheOldFileAndSaysWhereAndWhy()
{
    QFETCH(QString, kind);
    QFETCH(QString, why);
    QTemporaryDir dir;
    const QString path = dir.filePath(SettingsFile::fileName());
    if (kind == QLatin1String("folder"))
        QVERIFY(QDir(dir.path()).mkdir(SettingsFile::fileName()));
    else if (kind == QLatin1String("dangling"))
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("gone/Moravelt.ini")), path));
    else
        SettingsFile::write(path, kOld);
    const QByteArray before = contents(path);
    if (kind == QLatin1String("readonly"))
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup));

    QString message;
    try {
        FileSizeLimit limit(kind == QLatin1String("limit") ? 10 : RLIM_INFINITY);
        SettingsFile::write(path, kNew);
    } catch (const MoraveltError& error) {
        message = error.message();
    }
    QVERIFY2(message.contains(QFileInfo(path).absoluteFilePath()), qPrintable(message));
    QVERIFY2(message.contains(why), qPrintable(message));
    QCOMPARE(contents(path), before);
    // No temporary file is left behind beside it.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot).size(),
             kind == QLatin1String("folder") || kind == QLatin1String("dangling") ? 0 : 1);
}

void TestSettingsFile::writableFileInAReadOnlyFolderIsWrittenInPlace()
{
    if (::geteuid() == 0)
        QSKIP("the superuser writes into any folder");
    QTemporaryDir dir;
    const QString path = dir.filePath(SettingsFile::fileName());
    SettingsFile::write(path, kOld);
    QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    SettingsFile::write(path, kNew);
    QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                  QFileDevice::ExeOwner));
    QCOMPARE(contents(path), SaveDataCodec::encode(kNew));
}

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
