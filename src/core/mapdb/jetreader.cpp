// SPDX-License-Identifier: MIT

#include "mapdb/jetreader.h"

#include "base/moravelterror.h"
#include "mapdb/mapschemacheck.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMutex>
#include <QProcess>
#include <algorithm>
#include <cstring>

namespace moravelt {

namespace {

// What is kept of each of the child's streams: enough for any message, and a file that makes
// libmdb warn on every row cannot fill the memory.
constexpr qsizetype kStreamCap = 64 * 1024;

QMutex programLock;
QString programOverride;

// The child's two streams, read as they come so that it never blocks on a full pipe.
struct ChildOutput
{
    QByteArray answer;
    QByteArray said;

    void drain(QProcess& child)
    {
        const auto keep = [](QByteArray& kept, const QByteArray& more) {
            kept += more.left(std::max<qsizetype>(0, kStreamCap - kept.size()));
        };
        keep(answer, child.readAllStandardOutput());
        keep(said, child.readAllStandardError());
    }
};

// The first lines libmdb (or the reader) wrote, joined; lines of only rules or blanks, such
// as libmdb's stray empty lines, are left out.
QString libraryReport(const QByteArray& said)
{
    QStringList lines;
    for (const QString& line : QString::fromUtf8(said).split(QLatin1Char('\n'))) {
        const QString text = line.trimmed();
        if (std::none_of(text.begin(), text.end(), [](QChar c) { return c.isLetterOrNumber(); }))
            continue;
        lines << (text.size() > 200 ? text.left(200) + QStringLiteral("…") : text);
        if (lines.size() == 3)
            break;
    }
    return lines.join(QStringLiteral(" / "));
}

[[noreturn]] void refuse(QString text, const QByteArray& said)
{
    const QString reported = libraryReport(said);
    if (!reported.isEmpty())
        text += QStringLiteral("\nlibmdb の報告: %1").arg(reported);
    throw MoraveltError(text);
}

[[noreturn]] void damaged(const QString& jetFile, const QString& how, const QByteArray& said)
{
    refuse(QStringLiteral("%1は壊れているか、対応していない Jet ファイルです（%2）。")
               .arg(mapFileNamed(jetFile), how),
           said);
}

std::vector<int> rowCounts(const QByteArray& answer)
{
    const QList<QByteArray> words = answer.trimmed().split(' ');
    std::vector<int> rows;
    if (words.value(0) != "rows")
        return {};
    for (qsizetype i = 1; i < words.size(); ++i) {
        bool ok = false;
        rows.push_back(words[i].toInt(&ok));
        if (!ok || rows.back() < 0)
            return {};
    }
    return rows;
}

} // namespace

QString JetReader::program()
{
    {
        const QMutexLocker locker(&programLock);
        if (!programOverride.isEmpty())
            return programOverride;
    }
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1Char('/') +
                           QStringLiteral(MORAVELT_HELPER_FROM_BIN) +
                           QStringLiteral("/moravelt-jet-read"));
}

void JetReader::setProgram(const QString& path)
{
    const QMutexLocker locker(&programLock);
    programOverride = path;
}

std::vector<int> JetReader::copy(const QString& jetFile, const QString& sqliteFile, Nulls nulls,
                                 std::chrono::milliseconds timeLimit)
{
    const QString reader = program();
    if (!QFileInfo(reader).isExecutable())
        throw MoraveltError(
            QStringLiteral("%1を読めません: Jet ファイルを読むプログラム「%2」がありません。"
                           "インストールし直してください。")
                .arg(mapFileNamed(jetFile), reader));
    QProcess child;
    child.setProgram(reader);
    QStringList args;
    if (nulls == Nulls::AsBuilt)
        args << QStringLiteral("--as-built");
    child.setArguments(args << QFileInfo(jetFile).absoluteFilePath()
                            << QFileInfo(sqliteFile).absoluteFilePath());
    // libmdb's debugging switches would only add noise to what it reports.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("MDBOPTS"));
    child.setProcessEnvironment(environment);
    child.setWorkingDirectory(QFileInfo(sqliteFile).absolutePath());
    child.setStandardInputFile(QProcess::nullDevice());
    child.start(QIODevice::ReadOnly);
    if (!child.waitForStarted())
        throw MoraveltError(QStringLiteral("%1を読めません: Jet ファイルを読むプログラム「%2」を"
                                           "起動できません（%3）。")
                                .arg(mapFileNamed(jetFile), reader, child.errorString()));

    ChildOutput output;
    QElapsedTimer clock;
    clock.start();
    bool timedOut = false;
    while (child.state() != QProcess::NotRunning) {
        if (child.waitForFinished(50))
            break;
        output.drain(child);
        if (clock.elapsed() > timeLimit.count()) {
            child.kill();
            child.waitForFinished(-1);
            timedOut = true;
        }
    }
    output.drain(child);

    if (timedOut)
        damaged(jetFile,
                QStringLiteral("%1 秒たっても読み終わりません")
                    .arg(std::chrono::duration_cast<std::chrono::seconds>(timeLimit).count()),
                output.said);
    if (child.exitStatus() == QProcess::CrashExit) {
        const int signal = child.exitCode();
        const char* name = ::sigabbrev_np(signal);
        damaged(
            jetFile,
            QStringLiteral("読み取りが異常終了しました: シグナル %1%2")
                .arg(signal)
                .arg(name ? QStringLiteral(" (SIG%1)").arg(QString::fromLatin1(name)) : QString()),
            output.said);
    }
    if (child.exitCode() == kRefusedExit && !output.answer.trimmed().isEmpty())
        refuse(QString::fromUtf8(output.answer.trimmed()), output.said);
    if (child.exitCode() != 0)
        damaged(jetFile,
                QStringLiteral("読み取りが終了コード %1 で終わりました").arg(child.exitCode()),
                output.said);
    const std::vector<int> rows = rowCounts(output.answer);
    if (rows.empty() || !QFileInfo(sqliteFile).isFile())
        damaged(jetFile, QStringLiteral("読み取りの答えが読めません"), output.said);
    return rows;
}

} // namespace moravelt
