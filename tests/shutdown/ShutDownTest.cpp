// The shutdown: the questions about the timers, their hand-over, the release of tray and hot
// key, the unloads, the close and the compaction; also at the end of the session.
#include "tests/shutdown/ShutFixture.h"

#include "core/frmLogin.h"
#include "core/frmMain.h"
#include "core/modMain.h"
#include "expenses/frmDailyExp.h"
#include "options_help/frmHlp.h"
#include "options_help/frmOptions.h"
#include "options_help/frmVideo.h"
#include "platform/dao/dao.h"
#include "recorder/frmLoad.h"
#include "recorder/frmStart.h"
#include "store/modDBchr.h"
#include "tests/support/TestEnv.h"
#include "timelog/frmDaily.h"

#include <QApplication>
#include <QFile>
#include <QMdiSubWindow>
#include <QProcess>
#include <QPushButton>
#include <QTextBrowser>
#include <QTimer>

#include <csignal>

using namespace modMain;
using shuttest::AnswerBox;
using shuttest::CountRows;
using shuttest::FilesIn;

namespace {

class ShutDownTest : public shuttest::TimersWindowTest {
protected:
    // Two stopped timers whose last segments were cancelled (row mark 3), and a third one.
    void TwoCancelledTimers()
    {
        AddMeetings();
        AddDrawing();
        AddMail();
        for (int row : {0, 1}) {
            Press(row, w->btnStart);
            Press(row, w->btnCancel);
        }
        ASSERT_EQ(Cell(0, frmStart::colMark), QStringLiteral("3"));
        ASSERT_EQ(Cell(1, frmStart::colMark), QStringLiteral("3"));
    }
    int RowsInOpenDb(const QString &where)
    {
        auto rs = DB->OpenRecordset(QStringLiteral("SELECT COUNT(*) FROM tblDaily ") + where, dao::dbOpenSnapshot);
        return rs->Value(0).toInt();
    }
    void ExpectClosedAndCompacted()
    {
        EXPECT_EQ(ended, 1);
        EXPECT_FALSE(DB);
        EXPECT_EQ(FilesIn(dir), QStringList{QStringLiteral("Tarv.crn")});
        EXPECT_FALSE(w->m_Hotkey);
        EXPECT_FALSE(w->m_frmSysTray);
    }
    void ExpectStillRunning()
    {
        EXPECT_EQ(ended, 0);
        ASSERT_TRUE(DB);
        EXPECT_TRUE(DB->IsOpen());
        EXPECT_TRUE(w->m_frmSysTray);
        EXPECT_TRUE(frmMain::Peek()->isVisible());
    }
};

TEST_F(ShutDownTest, HandsTheTimersOverReleasesTrayAndKeyAndCompacts)
{
    AddMeetings();
    AddDrawing();
    AddMail();
    Press(1, w->btnStart);
    ASSERT_TRUE(TimerRunning);
    ASSERT_TRUE(w->m_frmSysTray);
    auto box = AnswerBox(QStringLiteral("btnYes"));

    ShutDown(true);

    EXPECT_EQ(box->shown, 0);   // nothing to ask about
    ExpectClosedAndCompacted();
    EXPECT_FALSE(frmMain::Peek()->isVisible());
    EXPECT_EQ(CountRows(Db(), "WHERE cStarted = 1 AND cCatID = 1001"), 1);
    EXPECT_EQ(CountRows(Db(), "WHERE cStarted = 2"), 2);
    EXPECT_EQ(CountRows(Db()), 3);
}

TEST_F(ShutDownTest, CancelAtTheQuestionAbandonsTheShutdown)
{
    TwoCancelledTimers();
    auto box = AnswerBox(QStringLiteral("btnCancel"));
    ShutDown(true);
    ASSERT_EQ(box->shown, 1);
    EXPECT_TRUE(box->texts[0].contains(GetLangString(85).left(20)));
    ExpectStillRunning();
    EXPECT_EQ(RowsInOpenDb("WHERE cStarted = 0"), 0);   // nothing was recorded
    // The loaded timers stand parked as they are, the cancelled segments with them.
    EXPECT_EQ(RowsInOpenDb("WHERE cStarted = 2 AND cChk = 1"), 2);
    EXPECT_EQ(RowsInOpenDb("WHERE cStarted = 2"), 3);
    // The program goes on and can be closed later.
    auto again = AnswerBox(QStringLiteral("btnNo"));
    ShutDown(true);
    EXPECT_EQ(again->shown, 1);
    ExpectClosedAndCompacted();
}

TEST_F(ShutDownTest, YesRecordsTheUnsavedSegmentsOfEveryTimerAfterOneQuestion)
{
    TwoCancelledTimers();
    auto box = AnswerBox(QStringLiteral("btnYes"), 2);
    ShutDown(true);
    EXPECT_EQ(box->shown, 1);   // asked once for both
    ExpectClosedAndCompacted();
    // Both segments became ordinary entries; the third timer is parked.
    EXPECT_EQ(CountRows(Db(), "WHERE cStarted = 0 AND cCatID IN (1000, 1001)"), 2);
    EXPECT_EQ(CountRows(Db(), "WHERE cStarted = 2 AND cCatID = 2000"), 1);
    EXPECT_EQ(CountRows(Db()), 3);
}

TEST_F(ShutDownTest, NoParksTheTimersWithTheirUnsavedSegments)
{
    TwoCancelledTimers();
    auto box = AnswerBox(QStringLiteral("btnNo"));
    ShutDown(true);
    EXPECT_EQ(box->shown, 1);
    ExpectClosedAndCompacted();
    EXPECT_EQ(CountRows(Db(), "WHERE cStarted = 2"), 3);
    EXPECT_EQ(CountRows(Db()), 3);
}

TEST_F(ShutDownTest, AQuickRecordWithoutActivityIsParkedWithoutAQuestion)
{
    AddMeetings();
    Press(0, w->btnQ);   // a quick record: running, without an activity
    ASSERT_EQ(w->lstTimers->Rows(), 2);
    ASSERT_TRUE(Cell(1, frmStart::colCatID).isEmpty());

    auto box = AnswerBox(QStringLiteral("btnYes"));
    ShutDown(true);
    EXPECT_EQ(box->shown, 0);
    ExpectClosedAndCompacted();
    EXPECT_EQ(CountRows(Db(), "WHERE cStarted = 2 AND cCatID = 1000"), 1);
    EXPECT_EQ(CountRows(Db(), "WHERE cStarted = 1 AND cCatID IS NULL"), 1);
    EXPECT_EQ(CountRows(Db()), 2);
}

TEST_F(ShutDownTest, TimersThatCannotBeStoredAskWhetherToCloseAnyway)
{
    AddMeetings();
    AddMail();
    Press(1, w->btnStart);
    // The engine refuses the running timer's parked record.
    DB->Execute(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON tblDaily WHEN NEW.cStarted = 1 "
                               "BEGIN SELECT RAISE(ABORT, 'disk quota exceeded'); END"));

    auto no = AnswerBox(QStringLiteral("btnNo"));
    ShutDown(true);
    ASSERT_EQ(no->shown, 1);
    EXPECT_TRUE(no->texts[0].contains(GetLangString(1621).left(20))) << no->texts[0].toStdString();
    EXPECT_TRUE(no->texts[0].contains(QStringLiteral("disk quota exceeded"))) << no->texts[0].toStdString();
    ExpectStillRunning();
    // Nothing half written: the records of before stand.
    EXPECT_EQ(RowsInOpenDb("WHERE cStarted = 1 AND cCatID = 2000"), 1);
    EXPECT_EQ(RowsInOpenDb("WHERE cStarted = 2 AND cCatID = 1000"), 1);
    EXPECT_EQ(Cell(1, frmStart::colState), QStringLiteral("1"));

    // The engine takes the records again; the program goes on parking as before.
    DB->Execute(QStringLiteral("DROP TRIGGER refuse"));
    Press(0, w->btnStart);
    EXPECT_EQ(RowsInOpenDb("WHERE cStarted = 1 AND cCatID = 1000"), 1);
    auto yes = AnswerBox(QStringLiteral("btnYes"));
    ShutDown(true);
    EXPECT_EQ(yes->shown, 0);
    ExpectClosedAndCompacted();
    EXPECT_EQ(CountRows(Db(), "WHERE cStarted = 1 AND cCatID = 1000"), 1);
    EXPECT_EQ(CountRows(Db(), "WHERE cStarted = 0 AND cCatID = 2000"), 1);
    EXPECT_EQ(CountRows(Db(), "WHERE cStarted = 2 AND cCatID = 2000"), 1);
}

TEST_F(ShutDownTest, WithoutQuestionsTheTimersAreParkedAllTheSame)
{
    TwoCancelledTimers();
    Press(2, w->btnQ);   // a quick record without an activity, running
    ASSERT_TRUE(TimerRunning);
    auto box = AnswerBox(QStringLiteral("btnYes"));
    ShutDown(false);
    QApplication::processEvents();
    EXPECT_EQ(box->shown, 0);
    ExpectClosedAndCompacted();
    // The cancelled segments are kept in parked rows with the third timer; the running quick
    // record is parked with its start. Nobody is asked, nothing is lost.
    EXPECT_EQ(CountRows(Db(), "WHERE cStarted = 2 AND cChk = 1 AND cSec >= 0 AND cStarttime > 0"), 2);
    EXPECT_EQ(CountRows(Db(), "WHERE cStarted = 2 AND cChk = 0 AND cCatID = 2000"), 1);
    EXPECT_EQ(CountRows(Db(), "WHERE cStarted = 1 AND cCatID IS NULL"), 1);
    EXPECT_EQ(CountRows(Db()), 4);
}

TEST_F(ShutDownTest, UnloadsEveryLoadedWindow)
{
    frmLogin::Get();
    frmDaily::Get()->show();
    frmDailyExp::Get()->show();
    frmLoad::Get()->ShowForm();
    frmHlp::Get()->show();
    frmOptions::Get()->show();
    frmVideo::Get()->show();
    QApplication::processEvents();
    for (FormIndex i : {fiLogin, fiDaily, fiDailyExp, fiLoad, fiHlp, fiOptions, fiVideo})
        EXPECT_TRUE(FormLoaded[i]) << i;

    ShutDown(true);

    for (FormIndex i : {fiLogin, fiDaily, fiDailyExp, fiLoad, fiHlp, fiOptions, fiVideo})
        EXPECT_FALSE(FormLoaded[i]) << i;
    EXPECT_FALSE(frmLogin::Peek());
    EXPECT_FALSE(frmDaily::Peek());
    EXPECT_FALSE(frmDailyExp::Peek());
    EXPECT_FALSE(frmLoad::Peek());
    EXPECT_FALSE(frmHlp::Peek());
    EXPECT_FALSE(frmOptions::Peek());
    EXPECT_FALSE(frmVideo::Peek());
    ExpectClosedAndCompacted();
    // Their frames in the main window go too.
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(frmMain::Peek()->findChildren<QMdiSubWindow *>().size(), 1);   // the timers window
}

TEST_F(ShutDownTest, FromTheSignInStageItOnlyClosesAndCompacts)
{
    frmStart::Unload();
    w = nullptr;
    FormLoaded[fiStart] = false;
    frmLogin::Get()->show();
    auto box = AnswerBox(QStringLiteral("btnYes"));
    ShutDown(true);
    EXPECT_EQ(box->shown, 0);
    EXPECT_EQ(ended, 1);
    EXPECT_FALSE(DB);
    EXPECT_FALSE(FormLoaded[fiLogin]);
    EXPECT_EQ(FilesIn(dir), QStringList{QStringLiteral("Tarv.crn")});
}

TEST_F(ShutDownTest, ASecondRequestWhileTheQuestionIsOpenIsIgnored)
{
    TwoCancelledTimers();
    // While the question is open, the person asks to exit once more: nothing happens then.
    QTimer::singleShot(5, [] { ShutDown(true); });
    auto box = AnswerBox(QStringLiteral("btnYes"), 2);
    ShutDown(true);
    QApplication::processEvents();
    EXPECT_EQ(box->shown, 1);
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(CountRows(Db(), "WHERE cStarted = 0"), 2);
}

// ---- the end of the session ------------------------------------------------------------------

// Starts the child program with args and waits until it says it is ready.
void StartSession(QProcess &child, const QStringList &args)
{
    child.setProcessChannelMode(QProcess::SeparateChannels);
    child.start(QStringLiteral(SHUTDOWN_CHILD), args);
    ASSERT_TRUE(child.waitForStarted());
    QByteArray out;
    ASSERT_TRUE(testenv::WaitFor(
        [&] {
            child.waitForReadyRead(50);
            out += child.readAllStandardOutput();
            return out.contains('\n');
        },
        30000))
        << child.readAllStandardError().constData();
    ASSERT_EQ(out.trimmed(), QByteArray("ready"));
}

class SessionEnd : public shuttest::ProgramFolderTest, public ::testing::WithParamInterface<int> {};

TEST_P(SessionEnd, HandsTheTimersOverAndCompactsAsAtANormalExit)
{
    shuttest::MakeDatabase(dir, 2);
    CloseDb();
    QProcess child;
    ASSERT_NO_FATAL_FAILURE(StartSession(child, {QStringLiteral("session")}));
    ::kill(pid_t(child.processId()), GetParam());
    ASSERT_TRUE(child.waitForFinished(30000));
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(child.exitCode(), 0) << child.readAllStandardError().constData();
    EXPECT_EQ(FilesIn(dir), QStringList{QStringLiteral("Tarv.crn")});
    EXPECT_EQ(CountRows(Db(), "WHERE cStarted = 1 AND cCatID = 1000"), 1);
    EXPECT_EQ(CountRows(Db(), "WHERE cStarted = 2"), 2);
    EXPECT_EQ(CountRows(Db(), "WHERE cStarted = 0"), 2);   // the entries of before
}

INSTANTIATE_TEST_SUITE_P(Signals, SessionEnd, ::testing::Values(SIGTERM, SIGHUP),
                         [](const auto &info) { return info.param == SIGTERM ? "SIGTERM" : "SIGHUP"; });

// A running quick record (no activity yet) ended by a signal: SIGTERM parks it like every
// other timer; a kill -9 leaves what the program kept parked while it ran.
class EndedWithAQuickRecord : public shuttest::ProgramFolderTest, public ::testing::WithParamInterface<int> {};

TEST_P(EndedWithAQuickRecord, ItIsParkedWithItsStartAndTheOtherTimers)
{
    shuttest::MakeDatabase(dir, 2);
    CloseDb();
    QProcess child;
    ASSERT_NO_FATAL_FAILURE(StartSession(child, {QStringLiteral("session"), QStringLiteral("quick")}));
    ::kill(pid_t(child.processId()), GetParam());
    ASSERT_TRUE(child.waitForFinished(30000));
    if (GetParam() == SIGTERM) {
        EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(FilesIn(dir), QStringList{QStringLiteral("Tarv.crn")});
    }
    EXPECT_EQ(CountRows(Db(), "WHERE cStarted = 1 AND cCatID IS NULL AND cStarttime >= 0"), 1);
    EXPECT_EQ(CountRows(Db(), "WHERE cStarted = 2"), 3);
    EXPECT_EQ(CountRows(Db(), "WHERE cStarted = 0"), 3);   // the entries of before and Meetings'
}

INSTANTIATE_TEST_SUITE_P(Signals, EndedWithAQuickRecord, ::testing::Values(SIGTERM, SIGKILL),
                         [](const auto &info) { return info.param == SIGTERM ? "SIGTERM" : "SIGKILL"; });

// ---- the windows the shutdown closes -----------------------------------------------------------

class ChildWindows : public shuttest::TimersWindowTest {};

template <class T>
void LoadShowUnload(FormIndex index, const char *name)
{
    SCOPED_TRACE(name);
    EXPECT_FALSE(FormLoaded[index]);
    T *win = T::Get();
    EXPECT_TRUE(FormLoaded[index]);
    auto *sub = qobject_cast<QMdiSubWindow *>(win->parentWidget());
    ASSERT_TRUE(sub);
    EXPECT_EQ(sub->mdiArea(), frmMain::Peek()->mdi);
    win->show();
    EXPECT_TRUE(sub->isVisible());
    LangID = 3;
    win->ApplyLang();
    EXPECT_EQ(LangID, 3);
    LangID = 0;
    QPointer<QMdiSubWindow> frame(sub);
    T::Unload();
    EXPECT_FALSE(FormLoaded[index]);
    EXPECT_FALSE(T::Peek());
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(frame);
    // Closed by the person with the frame's close box, the window is unloaded too.
    T::Get()->show();
    qobject_cast<QMdiSubWindow *>(T::Peek()->parentWidget())->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(FormLoaded[index]);
    EXPECT_FALSE(T::Peek());
}

TEST_F(ChildWindows, KeepTheirLoadedFlagFromLoadToUnload)
{
    LoadShowUnload<frmDaily>(fiDaily, "frmDaily");
    LoadShowUnload<frmDailyExp>(fiDailyExp, "frmDailyExp");
    LoadShowUnload<frmOptions>(fiOptions, "frmOptions");
    LoadShowUnload<frmVideo>(fiVideo, "frmVideo");
}

TEST_F(ChildWindows, HelpShowsAPageOrItsStartPage)
{
    // The help window stands beside the main window, a window of its own.
    auto write = [&](const char *name, const char *text) {
        QFile page(In(name));
        ASSERT_TRUE(page.open(QIODevice::WriteOnly));
        page.write(text);
    };
    write("hlp_index_0.htm", "<html><body><p>Help index of the program</p></body></html>");
    write("hlp_err_0.htm", "<html><body><p>No such help page</p></body></html>");
    frmHlp *h = frmHlp::Get();
    EXPECT_TRUE(FormLoaded[fiHlp]);
    EXPECT_TRUE(h->isWindow());
    h->SetStartPage(In("hlp_index.htm"));
    h->show();
    EXPECT_TRUE(h->WBr->toPlainText().contains(QStringLiteral("Help index of the program")));
    h->WBr->Navigate2(In("hlp_missing.htm"));   // a missing page shows the error page
    EXPECT_TRUE(h->isVisible());
    EXPECT_TRUE(h->WBr->toPlainText().contains(QStringLiteral("No such help page")));
    frmHlp::Unload();
    EXPECT_FALSE(FormLoaded[fiHlp]);
}

} // namespace
