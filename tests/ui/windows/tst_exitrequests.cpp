// SPDX-License-Identifier: MIT

#include "navilist/navisearchrun.h"
#include "settings/settingsfile.h"
#include "testmapdb.h"
#include "testprompt.h"
#include "windows/exitrequests.h"
#include "windows/form1.h"
#include "windows/form2.h"
#include "windows/form3.h"
#include "windows/windowrefs.h"

#include <QAction>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QSessionManager>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>

using namespace moravelt;
using namespace moravelt::test;

namespace {

// Raises a signal while the search's question is open, and holds the question open the way a
// message box does, running events, until the exit sequence has begun.
class SignalDuringQuestion : public TestPrompt
{
public:
    bool askYesNo(const QString& text) override
    {
        if (signalNumber != 0 && main) {
            std::raise(signalNumber);
            const QDeadlineTimer deadline(10000);
            while (!main->exiting() && !deadline.hasExpired())
                QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        }
        return TestPrompt::askYesNo(text);
    }
    int signalNumber = 0;
    Form1* main = nullptr;
};

TestMap triangleMap()
{
    TestMap map;
    for (const char* town : {"甲", "乙", "丙"})
        map.towns.push_back({QString::fromUtf8(town), 0.0, 0.0});
    map.road(QStringLiteral("甲"), QStringLiteral("乙"), 10);
    map.road(QStringLiteral("乙"), QStringLiteral("丙"), 20);
    map.road(QStringLiteral("甲"), QStringLiteral("丙"), 50);
    return map;
}

using Handler = void (*)(int);

Handler handlerOf(int signalNumber)
{
    struct sigaction now = {};
    ::sigaction(signalNumber, nullptr, &now);
    return now.sa_handler;
}

} // namespace

class TestExitRequests : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void signalsRunTheExitSequence_data();
    void signalsRunTheExitSequence();
    void logoutRunsTheExitSequence();
    void ignoredSignalsStayIgnoredAndHandlersGoWithIt();

private:
    void play();
    void checkSaved();

    std::unique_ptr<TestMapDb> m_db;
    QTemporaryDir m_current;
    SignalDuringQuestion m_prompt;
    Form1* m_main = nullptr;
    std::unique_ptr<ExitRequests> m_exitRequests;
};

void TestExitRequests::init()
{
    m_db = std::make_unique<TestMapDb>(triangleMap());
    QImage picture(100, 100, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QVERIFY(picture.save(m_db->folder() + QStringLiteral("map.jpg")));
    QFile::remove(m_current.filePath(SettingsFile::fileName()));
    m_prompt = SignalDuringQuestion();
    m_main = new Form1({m_db->folder(), m_current.filePath(SettingsFile::fileName()), &m_prompt});
    m_main->load();
    m_main->show();
    m_exitRequests = std::make_unique<ExitRequests>(*m_main);
}

void TestExitRequests::cleanup()
{
    m_exitRequests.reset();
    destroyWindows();
}

// What a player does before the signal: towns chosen, a precision, the answers shown.
void TestExitRequests::play()
{
    form3().Text1()->setText(QStringLiteral("甲"));
    form3().Text2()->setText(QStringLiteral("丙"));
    form3().mn2(3)->trigger();
    m_main->mn0(0)->setChecked(true);
}

void TestExitRequests::checkSaved()
{
    const std::optional<SaveData> saved =
        SettingsFile::read(m_current.filePath(SettingsFile::fileName()));
    QVERIFY(saved.has_value());
    QCOMPARE(saved->DepartText, QStringLiteral("甲"));
    QCOMPARE(saved->DestText, QStringLiteral("丙"));
    QCOMPARE(saved->SeidoLevel, qint16(3));
    QCOMPARE(saved->AnsCheck, qint16(-1));
    QVERIFY(!form2().isVisible() && !form3().isVisible());
    QVERIFY(m_main->searchRun() == nullptr);
    QVERIFY(m_prompt.errors.isEmpty());
}

void TestExitRequests::signalsRunTheExitSequence_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::addColumn<bool>("duringASearch");
    for (const auto& [name, number] : {std::pair("SIGTERM", SIGTERM), std::pair("SIGHUP", SIGHUP),
                                       std::pair("SIGINT", SIGINT)}) {
        QTest::addRow("%s while idle", name) << number << false;
        QTest::addRow("%s at a search's question", name) << number << true;
    }
}

void TestExitRequests::signalsRunTheExitSequence()
{
    QFETCH(int, signalNumber);
    QFETCH(bool, duringASearch);
    play();
    if (duringASearch) {
        m_prompt.signalNumber = signalNumber;
        m_prompt.main = m_main;
        m_main->menu(2)->trigger();
        QTRY_VERIFY(m_main->exiting());
        QCOMPARE(m_prompt.questions.size(), 1);
    } else {
        std::raise(signalNumber);
        QVERIFY(!m_main->exiting()); // nothing runs in the handler itself
        QTRY_VERIFY(m_main->exiting());
    }
    checkSaved();
}

void TestExitRequests::logoutRunsTheExitSequence()
{
    play();
    auto* manager = qGuiApp->findChild<QSessionManager*>();
    QVERIFY(manager);
    // What the platform's session management does when the desktop session ends.
    emit qGuiApp->commitDataRequest(*manager);
    QVERIFY(m_main->exiting());
    checkSaved();
}

void TestExitRequests::ignoredSignalsStayIgnoredAndHandlersGoWithIt()
{
    m_exitRequests.reset();
    const Handler term = handlerOf(SIGTERM);
    const Handler interrupt = handlerOf(SIGINT);
    // Started under nohup: hanging up the terminal must not end the game.
    const Handler hangUp = std::signal(SIGHUP, SIG_IGN);
    m_exitRequests = std::make_unique<ExitRequests>(*m_main);
    QVERIFY(handlerOf(SIGTERM) != term && handlerOf(SIGINT) != interrupt);
    QVERIFY(handlerOf(SIGHUP) == SIG_IGN);
    std::raise(SIGHUP);
    QTest::qWait(50);
    QVERIFY(!m_main->exiting());
    // Gone, it leaves the handlers it found.
    m_exitRequests.reset();
    QVERIFY(handlerOf(SIGTERM) == term);
    QVERIFY(handlerOf(SIGINT) == interrupt);
    std::signal(SIGHUP, hangUp);
}

QTEST_MAIN(TestExitRequests)
#include "tst_exitrequests.moc"
