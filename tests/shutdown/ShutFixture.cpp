#include "tests/shutdown/ShutFixture.h"
#include "tests/support/TimerRows.h"

#include "core/modMain.h"
#include "platform/dao/dao.h"
#include "store/modDBchr.h"
#include "tests/support/TestEnv.h"

#include "core/frmMain.h"
#include "recorder/frmStart.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QTest>
#include <QTimer>

using namespace modMain;

namespace shuttest {

void MakeDatabase(const QString &dir, int entries)
{
    CurrentUserID = 1;
    ASSERT_EQ(modDBchr::CreateDB(dir + QStringLiteral("/Tarv.crn")), 0);
    DB->Execute(QStringLiteral("INSERT INTO tblUsers (cUsrID, cPCUserName, cUserName, cPassw, cFullName, cLangID, "
                               "cTimeStart, cTimeEnd, cAutoStart, cAutoSynch, cAutoCheck, cBalloons, cKey, cMask, "
                               "cTimeOut) VALUES (1, ?, 'u', 'p', 'Ann Example', 0, 32400, 61200, 0, 0, 0, 0, '121', "
                               "'2', 15)"),
                dao::dbFailOnError, {GetWinUserName()});
    modDBchr::SaveProject(10, QStringLiteral("Website"), QStringLiteral("TRUE"));
    modDBchr::SaveTask(100, QStringLiteral("Design"), 10, QStringLiteral("TRUE"));
    modDBchr::SaveCategory(1000, QStringLiteral("Meetings"), 100);
    modDBchr::SaveCategory(1001, QStringLiteral("Drawing"), 100);
    modDBchr::SaveProject(20, QStringLiteral("Office"), QStringLiteral("TRUE"));
    modDBchr::SaveTask(200, QStringLiteral("Admin"), 20, QStringLiteral("TRUE"));
    modDBchr::SaveCategory(2000, QStringLiteral("Mail"), 200);
    for (int i = 1; i <= entries; ++i)
        DB->Execute(QStringLiteral("INSERT INTO tblDaily (cName, cID, cUsrID, cStarted, cStarttime, cSec, cDate, "
                                   "cTaskID, cCatID, cChk) VALUES (?, ?, 1, 0, ?, 60, 20260310, 100, 1000, 0)"),
                    dao::dbFailOnError, {QStringLiteral("Meeting's notes %1").arg(i), i, 30000 + i});
}

int CountRows(const QString &path, const QString &where)
{
    try {
        auto db = dao::OpenDatabase(path, modDBchr::DBConnect());
        auto rs = db->OpenRecordset(QStringLiteral("SELECT COUNT(*) FROM tblDaily ") + where, dao::dbOpenSnapshot);
        const int n = rs->Value(0).toInt();
        rs->Close();
        db->Close();
        return n;
    } catch (...) {
        return -1;
    }
}

QStringList FilesIn(const QString &dir)
{
    QStringList files = QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System);
    files.sort();
    return files;
}

QByteArray Bytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void ProgramFolderTest::SetUp()
{
    qputenv("TARV_NO_PAUSES", "1");
    qputenv("TARV_ONLINE", "0");
    dir = testenv::MakeTempDir(QStringLiteral("prog"));
    qputenv("TARV_PROGRAM_DIR", dir.toLocal8Bit());
    ASSERT_TRUE(LoadLangTable(QStringLiteral(TARV_SOURCE_DIR "/data/StringTables.csv")));
    LangID = 0;
    PrevLangID = 0;
    CurrentUserID = 1;
}

void ProgramFolderTest::CloseDb()
{
    if (DB && DB->IsOpen())
        DB->Close();
    DB.reset();
}

void ProgramFolderTest::TearDown()
{
    CloseDb();
}

std::shared_ptr<Answer> AnswerBox(const QString &button, int count)
{
    auto answer = std::make_shared<Answer>();
    answer->button = button;
    auto *timer = new QTimer;
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, clock, answer, count] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            if (auto *b = modal->findChild<QAbstractButton *>(answer->button)) {
                QStringList texts;
                for (const QLabel *l : modal->findChildren<QLabel *>())
                    texts << l->text();
                answer->texts << texts.join(QLatin1Char('\n'));
                if (++answer->shown >= count) {
                    timer->stop();
                    timer->deleteLater();
                }
                clock->restart();
                b->click();
                return;
            }
        }
        if (clock->elapsed() > 5000) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start();
    return answer;
}

void TimersWindowTest::SetUp()
{
    ProgramFolderTest::SetUp();
    MakeDatabase(dir, 0);
    ShowBalloons = 0;
    AutoStart = 0;
    TimerRunning = false;
    SetEndProcess([this] { ++ended; });
    frmMain::Get()->show();
    w = frmStart::Get();
    w->ShowForm();
    QApplication::processEvents();
}

void TimersWindowTest::TearDown()
{
    frmStart::Unload();
    frmMain::Unload();
    SetEndProcess({});
    TimerRunning = false;
    ProgramFolderTest::TearDown();
}

int TimersWindowTest::AddTimer(const QString &category, double catId, const QString &task, double taskId,
                               const QString &project, double projId)
{
    return testenv::AddTimerRow(w, category, catId, task, taskId, project, projId);
}

void TimersWindowTest::Press(int row, QAbstractButton *button)
{
    ASSERT_NO_FATAL_FAILURE(testenv::ClickTimerRow(w, row));
    testenv::ClickButton(button);
}

QString TimersWindowTest::Cell(int row, int col) const
{
    return w->lstTimers->TextMatrix(row, col);
}

} // namespace shuttest
