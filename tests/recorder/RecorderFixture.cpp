#include "tests/recorder/RecorderFixture.h"
#include "tests/support/TimerRows.h"

#include "core/frmMain.h"
#include "core/modMain.h"
#include "platform/dao/dao.h"
#include "store/modDBchr.h"
#include "tests/support/TestEnv.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTest>
#include <QTimer>

using namespace modMain;

namespace rectest {

void RecorderTest::SetUp()
{
    qputenv("TARV_NO_PAUSES", "1");
    qputenv("TARV_ONLINE", "0");
    m_dir = testenv::MakeTempDir(QStringLiteral("prog"));
    qputenv("TARV_PROGRAM_DIR", m_dir.toLocal8Bit());
    ASSERT_TRUE(LoadLangTable(QStringLiteral(TARV_SOURCE_DIR "/data/StringTables.csv")));
    LangID = 0;
    ShowBalloons = 0;
    AutoStart = 0;
    TimerRunning = false;
    CurrentUserID = 1;
    RecArr = {};
    ASSERT_EQ(modDBchr::CreateDB(m_dir + QStringLiteral("/Tarv.crn")), 0);
    modDBchr::SaveProject(10, QStringLiteral("Website"), QStringLiteral("TRUE"));
    modDBchr::SaveTask(100, QStringLiteral("Design"), 10, QStringLiteral("TRUE"));
    modDBchr::SaveCategory(1000, QStringLiteral("Meetings"), 100);
    modDBchr::SaveCategory(1001, QStringLiteral("Drawing"), 100);
    modDBchr::SaveProject(20, QStringLiteral("Office"), QStringLiteral("TRUE"));
    modDBchr::SaveTask(200, QStringLiteral("Admin"), 20, QStringLiteral("TRUE"));
    modDBchr::SaveCategory(2000, QStringLiteral("Mail"), 200);

    now = QDateTime(QDate(2026, 3, 10), QTime(10, 0, 0));
    SetTimerClock([this] { return now; });

    m_watchdog = new QTimer;
    m_watchdog->setInterval(500);
    QObject::connect(m_watchdog, &QTimer::timeout, [t = std::make_shared<QElapsedTimer>()] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal) {
            t->invalidate();
            return;
        }
        if (!t->isValid())
            t->start();
        if (t->elapsed() < 4000)
            return;
        QStringList texts;
        for (const QLabel *l : modal->findChildren<QLabel *>())
            texts << l->text();
        ADD_FAILURE() << "unexpected message box: " << texts.join(" | ").toStdString();
        t->invalidate();
        if (auto *b = modal->findChild<QAbstractButton *>())
            b->click();
    });
    m_watchdog->start();

    frmMain::Get()->show();
    w = frmStart::Get();
    w->ShowForm();
    if (w->MyTree->Count() == 0)
        modDBchr::FillProjectTree(w->MyTree, false, false);
    QApplication::processEvents();
}

void RecorderTest::TearDown()
{
    delete m_watchdog;
    m_watchdog = nullptr;
    frmStart::Unload();
    frmMain::Unload();
    SetTimerClock({});
    TimerRunning = false;
    if (DB)
        DB->Close();
    DB.reset();
}

int RecorderTest::AddTimer(const QString &category, double catId, const QString &task, double taskId,
                           const QString &project, double projId)
{
    return testenv::AddTimerRow(w, category, catId, task, taskId, project, projId);
}

void RecorderTest::ClickRow(int row)
{
    testenv::ClickTimerRow(w, row);
}

void RecorderTest::Click(QWidget *button)
{
    testenv::ClickButton(button);
}

std::shared_ptr<Answer> RecorderTest::AnswerBox(const QString &button)
{
    auto answer = std::make_shared<Answer>();
    answer->button = button;
    auto *timer = new QTimer;
    auto *clock = new QElapsedTimer;
    clock->start();
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, clock, answer] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            if (auto *b = modal->findChild<QAbstractButton *>(answer->button)) {
                QStringList texts;
                for (const QLabel *l : modal->findChildren<QLabel *>())
                    texts << l->text();
                answer->text = texts.join(QLatin1Char('\n'));
                answer->shown = true;
                timer->stop();
                timer->deleteLater();
                delete clock;
                b->click();
                return;
            }
        }
        if (clock->elapsed() > 5000) {
            timer->stop();
            timer->deleteLater();
            delete clock;
        }
    });
    timer->start();
    return answer;
}

int RecorderTest::RunningRows() const
{
    int n = 0;
    for (int i = 0; i < Rows(); ++i)
        n += Cell(i, frmStart::colState) == QLatin1String("1");
    return n;
}

std::vector<Entry> RecorderTest::Entries(const QString &where) const
{
    std::vector<Entry> out;
    // The time-log entries, unless the test asks for the parked timers by their mark.
    QString filter = where;
    if (!filter.contains(QLatin1String("cStarted")))
        filter = (filter.isEmpty() ? QStringLiteral("WHERE ") : filter + QStringLiteral(" AND "))
            + QStringLiteral("IFNULL(cStarted, 0) NOT IN (1, 2)");
    auto rs = DB->OpenRecordset(QStringLiteral("SELECT * FROM tblDaily ") + filter + QStringLiteral(" ORDER BY cID"),
                                dao::dbOpenSnapshot);
    for (; !rs->Eof(); rs->MoveNext()) {
        Entry e;
        e.id = rs->Value(0).toDouble();
        e.user = rs->Value(1).toInt();
        e.name = rs->Value(2).toString();
        e.started = rs->Value(3).toInt();
        e.start = rs->Value(4).toDouble();
        e.secs = rs->Value(5).toDouble();
        e.day = rs->Value(6).toDouble();
        e.task = rs->Value(7).toDouble();
        e.category = rs->Value(8).toDouble();
        e.chk = rs->Value(9).toInt();
        out.push_back(e);
    }
    rs->Close();
    for (Entry &e : out)
        e.comment = modDBchr::GetDailyComment(e.id);
    return out;
}

void RecorderTest::AddEntry(double id, const QString &name, int started, double start, double secs,
                            double day, double task, double cat, int user)
{
    DB->Execute(QStringLiteral("INSERT INTO tblDaily (cName, cID, cUsrID, cStarted, cStarttime, cSec, cDate, "
                               "cTaskID, cCatID, cChk) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, 0)"),
                dao::dbFailOnError, {name, id, user, started, start, secs, day, task, cat});
}

} // namespace rectest
