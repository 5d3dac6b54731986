// The timers window's frame, run headless: its load (grid layout, digits, timers restored), its
// activation with and without categories, its menus, captions and the version report.
#include "tests/mainwindow/FrameFixture.h"

#include "core/frmMain.h"
#include "core/modMain.h"
#include "options_help/frmHlp.h"
#include "options_help/frmOptions.h"
#include "options_help/frmVideo.h"
#include "platform/dao/dao.h"
#include "platform/forms/Tag.h"
#include "platform/forms/Units.h"
#include "platform/registry/Registry.h"
#include "recorder/RecArr.h"
#include "recorder/frmStart.h"
#include "recorder/frmSysTray.h"
#include "resources/Pictures.h"
#include "sync/frmSynch.h"
#include "tests/service/ServiceProcess.h"
#include "tests/support/TestEnv.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QGroupBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMdiArea>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

using namespace modMain;
using frametest::BoxText;
using frametest::BoxWatcher;

namespace {

class TimersWindowTest : public frametest::FrameTest {
protected:
    // A timer left running by the previous run, started an hour ago today.
    void ParkRunningTimer()
    {
        const QTime now = QTime::currentTime();
        const int start = std::max(0, now.msecsSinceStartOfDay() / 1000 - 3600);
        DB->Execute(QStringLiteral("INSERT INTO tblDaily (cName, cID, cUsrID, cStarted, cStarttime, cSec, cDate, cTaskID, "
                                   "cCatID, cChk) VALUES ('Drawing', 1, %1, 1, %2, 0, %3, 10, 100, 0)")
                        .arg(CurrentUserID)
                        .arg(start)
                        .arg(DateToLong(QDate::currentDate())));
    }
};

// Opens the timers window as start-up does, and lets its activation run.
frmStart *ShowTimers()
{
    frmMain *m = frmMain::Get();
    m->show();
    frmStart *t = frmStart::Get();
    t->ShowForm();
    testenv::WaitFor([] { return false; }, 50);
    return t;
}

TEST_F(TimersWindowTest, LoadLaysTheGridOutAndShowsTheNotice)
{
    AddReferenceData(false);
    frmStart *t = frmStart::Get();

    EXPECT_TRUE(FormLoaded[fiStart]);
    EXPECT_EQ(t->lstTimers->Cols(), 18);
    EXPECT_EQ(t->lstTimers->Rows(), 0);
    EXPECT_EQ(t->lstTimers->FixedRows(), 0);
    for (int c = 0; c < 18; ++c) {
        const int expected = c == 0 ? 300 : (c == 2 || c == 12 || c == 13) ? 1600 : 0;
        EXPECT_EQ(t->lstTimers->ColWidth(c), expected) << c;
    }
    // Every digit shows 0.
    for (auto *pair : {&t->hr, &t->mn, &t->sc})
        for (QLabel *d : *pair)
            EXPECT_TRUE(frametest::SamePicture(d->pixmap(), res::Picture(216))) << d->objectName().toStdString();
    EXPECT_FALSE(TimerRunning);
    EXPECT_FALSE(t->picInfo->isHidden());
    // It sits at the top left corner of the document area and fills it.
    EXPECT_EQ(t->subWindow()->pos(), QPoint(0, 0));
    EXPECT_EQ(forms::Left(t->MyTree), 180);
    EXPECT_NE(t->m_frmSysTray, nullptr);
}

TEST_F(TimersWindowTest, LoadBringsBackATimerLeftRunning)
{
    AddReferenceData(false);
    ParkRunningTimer();
    frmStart *t = frmStart::Get();

    EXPECT_TRUE(TimerRunning);
    ASSERT_EQ(t->lstTimers->Rows(), 1);
    EXPECT_EQ(t->lstTimers->TextMatrix(0, frmStart::colState), QStringLiteral("1"));
    EXPECT_TRUE(t->picInfo->isHidden());
    EXPECT_EQ(RecArr[1], QStringLiteral("Drawing"));
}

// The running timer of the last run is shown as running the moment the window is there, also
// when another timer was loaded after it: selected, with its start, its time counting, Stop and
// Cancel usable and Start not.
TEST_F(TimersWindowTest, LoadShowsTheRestoredRunningTimerInTheEditPanel)
{
    AddReferenceData(false);
    ParkRunningTimer();
    DB->Execute(QStringLiteral("INSERT INTO tblDaily (cName, cID, cUsrID, cStarted, cStarttime, cSec, cDate, cTaskID, "
                               "cCatID, cChk) VALUES ('Meetings', 2, %1, 2, 0, 0, %2, 10, 101, 0)")
                    .arg(CurrentUserID)
                    .arg(DateToLong(QDate::currentDate())));
    frmStart *t = frmStart::Get();

    ASSERT_EQ(t->lstTimers->Rows(), 2);
    ASSERT_EQ(t->lstTimers->TextMatrix(0, frmStart::colState), QStringLiteral("1"));
    EXPECT_EQ(t->lstTimers->Row(), 0);
    const int startSecs = t->lstTimers->TextMatrix(0, frmStart::colStart).toInt();
    const QDateTime start(QDate::currentDate(), QTime(0, 0).addSecs(startSecs));
    EXPECT_EQ(t->lStart1->text(), GeneralDateText(start));
    EXPECT_EQ(t->lProj->text(), QStringLiteral("Alpha"));
    EXPECT_EQ(t->lTask->text(), QStringLiteral("Design"));
    EXPECT_TRUE(t->btnStop->isEnabled());
    EXPECT_TRUE(t->btnCancel->isEnabled());
    EXPECT_FALSE(t->btnStart->isEnabled());
    EXPECT_FALSE(t->btnUnload->isEnabled());
    EXPECT_TRUE(t->tmr->isActive());
    // The digits show the hours since its start, not zero.
    const qint64 hours = start.secsTo(QDateTime::currentDateTime()) / 3600;
    EXPECT_TRUE(frametest::SamePicture(t->hr[1]->pixmap(), res::Picture(216 + int(hours % 10))));
}

TEST_F(TimersWindowTest, ActivationWithCategoriesFillsTheTaskTree)
{
    AddReferenceData(false);
    BoxWatcher boxes;
    frmStart *t = ShowTimers();
    frmMain *m = frmMain::Get();

    ASSERT_TRUE(testenv::WaitFor([t] { return t->MyTree->Count() > 0; }));
    EXPECT_EQ(t->MyTree->Count(), 4);   // the project, its task and two categories
    EXPECT_EQ(t->MyTree->GetImageList(), &m->imgLst);
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(forms::Left(m->picCover), -12000);
    EXPECT_EQ(forms::Top(m->shMenu), forms::Top(m->btn[0]) - 15);
    EXPECT_EQ(frmSynch::Peek(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(TimersWindowTest, ActivationWithoutCategoriesOfflineDoesNothing)
{
    BoxWatcher boxes;
    frmStart *t = ShowTimers();
    t->Form_Activate();
    t->Form_Activate();

    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(frmSynch::Peek(), nullptr);
    EXPECT_EQ(Ended(), 0);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(TimersWindowTest, ActivationWithoutCategoriesOnlineDownloadsThenAsks)
{
    qputenv("TARV_ONLINE", "1");
    BoxWatcher boxes;
    frmStart *t = ShowTimers();
    ASSERT_TRUE(IsConnected);

    // The first activation tells and starts the download.
    ASSERT_TRUE(testenv::WaitFor([&] { return !boxes.Boxes().empty(); }));
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, BoxText(73));
    EXPECT_EQ(boxes.Boxes()[0].icon, 64);
    ASSERT_TRUE(testenv::WaitFor([] { return frmSynch::Peek() != nullptr; }));
    EXPECT_TRUE(FormLoaded[fiSynch]);
    testenv::WaitFor([] { return false; }, 50);

    // Back in the timers window the question comes; Yes downloads again.
    boxes.Answer(QStringLiteral("btnYes"));
    frmSynch::Unload();
    frametest::Click(frmMain::Get()->btn[0]);
    ASSERT_TRUE(testenv::WaitFor([&] { return boxes.Boxes().size() == 2; }));
    EXPECT_EQ(boxes.Boxes()[1].text, BoxText(72));
    EXPECT_EQ(boxes.Boxes()[1].icon, 0);
    ASSERT_TRUE(testenv::WaitFor([] { return frmSynch::Peek() != nullptr; }));
    EXPECT_EQ(Ended(), 0);

    // No ends the program.
    boxes.Answer(QStringLiteral("btnNo"));
    frmSynch::Unload();
    frametest::Click(frmMain::Get()->btn[0]);
    ASSERT_TRUE(testenv::WaitFor([this] { return Ended() == 1; }));
    EXPECT_EQ(boxes.Boxes().size(), 3u);
    EXPECT_FALSE(DB);
    (void)t;
}

TEST_F(TimersWindowTest, CategoriesArrivedClearTheNotice)
{
    qputenv("TARV_ONLINE", "1");
    BoxWatcher boxes;
    frmStart *t = ShowTimers();
    ASSERT_TRUE(testenv::WaitFor([&] { return boxes.Boxes().size() == 1; }));
    // The download brought them: back in the timers window the tree fills.
    AddReferenceData(false);
    frmSynch::Unload();
    frametest::Click(frmMain::Get()->btn[0]);
    ASSERT_TRUE(testenv::WaitFor([t] { return t->MyTree->Count() > 0; }));
    EXPECT_EQ(boxes.Boxes().size(), 1u);
    // Gone again: the first notice comes back rather than the question.
    DB->Execute(QStringLiteral("DELETE FROM tblCategs"));
    t->Form_Activate();
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(boxes.Boxes()[1].text, BoxText(73));
}

TEST_F(TimersWindowTest, CaptionsComeFromTheStringTable)
{
    LangID = 1;
    AutoStart = 1;
    frmStart *t = frmStart::Get();

    for (int i = 1; i <= 10; ++i)
        EXPECT_EQ(t->lbl[i]->text(), GetLangString(int16_t(forms::Tag(t->lbl[i]).toInt()))) << i;
    EXPECT_EQ(t->lblInfo->text(), GetLangString(11, true));
    EXPECT_FALSE(t->lblInfo->text().contains(QLatin1Char('\n')));
    EXPECT_EQ(t->frAct->title(), GetLangString(12));
    EXPECT_EQ(t->frEdit->title(), GetLangString(13));
    EXPECT_EQ(t->btnLoad->text(), GetLangString(901));
    EXPECT_EQ(t->btnUnload->text(), GetLangString(902));
    EXPECT_EQ(t->QuickRecName, GetLangString(25));
    const struct {
        QAction *item;
        int16_t id;
    } items[] = {{t->mnuOptions->menuAction(), 49}, {t->mnuOptions_Form, 50}, {t->mnuFile_About, 51},
                 {t->mnuFile_Updates, 53},           {t->mnuFile_Exit, 24},    {t->mnuHelp->menuAction(), 958},
                 {t->mnuHelp_Help, 54},              {t->mnuHelp_video, 977},  {t->mnuHelp_Form, 959}};
    for (const auto &i : items)
        EXPECT_EQ(i.item->text(), GetLangString(i.id)) << i.id;
    EXPECT_EQ(t->mnuFile->title(), QStringLiteral("Tarvelo Desktop"));
    // The tray menu, with accelerators (the separator keeps its place).
    ASSERT_NE(t->m_frmSysTray, nullptr);
    const int16_t tray[] = {86, 87, 88, 89, 90};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(t->m_frmSysTray->mnuSysTray(i)->text(), QStringLiteral("&") + GetLangString(tray[i])) << i;
    EXPECT_TRUE(t->m_frmSysTray->mnuSysTray(5)->isSeparator());
    EXPECT_EQ(t->m_frmSysTray->mnuSysTray(6)->text(), QStringLiteral("&") + GetLangString(24));
}

TEST_F(TimersWindowTest, WithoutStringTableTheDesignCaptionsStay)
{
    LangTableText.clear();
    frmStart *t = frmStart::Get();
    const char *design[11] = {"", "Live Recording", "Activity", "Project", "Task", "Started:", "Elapsed:",
                              "Activities:", "Project:", "Task:", "Comments:"};
    for (int i = 1; i <= 10; ++i)
        EXPECT_EQ(t->lbl[i]->text(), QString::fromLatin1(design[i])) << i;
    EXPECT_EQ(t->mnuFile_Updates->text(), QStringLiteral("Check for Updates"));
    EXPECT_EQ(t->mnuHelp_video->text(), QStringLiteral("Show Video Help "));
    EXPECT_EQ(t->QuickRecName, QStringLiteral("Quick Record"));
}

TEST_F(TimersWindowTest, HintsOverTheControls)
{
    frmStart *t = frmStart::Get();
    frmMain *m = frmMain::Get();
    t->btnStart->setEnabled(true);
    t->btnStop->setEnabled(true);
    t->btnCancel->setEnabled(true);
    const struct {
        QWidget *w;
        int16_t id;
    } cases[] = {{t->btnQ, 76},      {t->btnStart, 77}, {t->btnStop, 78},  {t->btnLoad, 79},
                 {t->btnUnload, 80}, {t->lProj, 81},    {t->btnCancel, 82}};
    for (const auto &c : cases) {
        frametest::Move(c.w);
        EXPECT_EQ(m->lblMsg->text(), QStringLiteral(" ") + GetLangString(c.id, true)) << c.id;
    }
    frametest::Move(t->frAct);
    EXPECT_EQ(m->lblMsg->text(), QString());

    // A press on the edit frame or a click on the task folds the tree away.
    for (QWidget *w : {static_cast<QWidget *>(t->frEdit), static_cast<QWidget *>(t->lTask)}) {
        t->MyTree->setVisible(true);
        frametest::Click(w);
        EXPECT_TRUE(t->MyTree->isHidden()) << w->objectName().toStdString();
    }
}

TEST_F(TimersWindowTest, UpdatesItemFollowsTheConnection)
{
    frmStart *t = frmStart::Get();
    for (bool online : {false, true, false}) {
        IsConnected = online;
        emit t->mnuFile->aboutToShow();
        EXPECT_EQ(t->mnuFile_Updates->isEnabled(), online);
    }
}

TEST_F(TimersWindowTest, OptionsAreRefusedWhileATimerRuns)
{
    AddReferenceData(false);
    frmStart *t = ShowTimers();
    BoxWatcher boxes;
    TimerRunning = true;
    t->mnuOptions_Form->trigger();
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, BoxText(92));
    EXPECT_EQ(boxes.Boxes()[0].icon, 16);
    EXPECT_EQ(frmOptions::Peek(), nullptr);

    TimerRunning = false;
    t->mnuOptions_Form->trigger();
    ASSERT_NE(frmOptions::Peek(), nullptr);
    EXPECT_TRUE(frmOptions::Peek()->isVisible());
}

TEST_F(TimersWindowTest, HelpAndVideoItemsOpenTheirWindows)
{
    for (const QString &page : {QStringLiteral("hlp_frmStart_0.htm"), QStringLiteral("hlp_index_0.htm")})
        ASSERT_TRUE(QFile::copy(QStringLiteral(TARV_SOURCE_DIR "/data/") + page, m_dir + QStringLiteral("/") + page));
    HelpIndexPath = m_dir + QStringLiteral("/hlp_index.htm");
    frmStart *t = frmStart::Get();
    t->mnuHelp_Form->trigger();
    ASSERT_NE(frmHlp::Peek(), nullptr);
    // The page of the window in the language of the person.
    EXPECT_EQ(frmHlp::Peek()->WBr->LocationPath(), m_dir + QStringLiteral("/hlp_frmStart_0.htm"));
    frmHlp::Unload();

    t->mnuHelp_Help->trigger();
    ASSERT_NE(frmHlp::Peek(), nullptr);
    EXPECT_EQ(frmHlp::Peek()->StartPage(), HelpIndexPath);
    EXPECT_EQ(frmHlp::Peek()->WBr->LocationPath(), m_dir + QStringLiteral("/hlp_index_0.htm"));
    HelpIndexPath.clear();

    t->mnuFile_About->trigger();
    ASSERT_NE(frmVideo::Peek(), nullptr);
    EXPECT_EQ(forms::Left(frmVideo::Peek()->frAbout), 0);
    EXPECT_EQ(frmVideo::Peek()->flash->Movie(), m_dir + QStringLiteral("/hlp_One_Desktop.swf"));
    frmVideo::Unload();

    t->mnuHelp_video->trigger();
    ASSERT_NE(frmVideo::Peek(), nullptr);
    EXPECT_EQ(forms::Left(frmVideo::Peek()->frAbout), -12000);
    EXPECT_EQ(frmVideo::Peek()->flash->Movie(), m_dir + QStringLiteral("/hlp_LiveRecording.swf"));
}

TEST_F(TimersWindowTest, ExitItemEndsTheProgram)
{
    frmStart *t = ShowTimers();
    t->mnuFile_Exit->trigger();
    ASSERT_TRUE(testenv::WaitFor([this] { return Ended() == 1; }));
}

// ---- the version report, against the reference service -------------------------------------

class VersionReportTest : public frametest::FrameTest {
protected:
    // Starts the service answering version with the given text (or its error page).
    void StartService(const QString &version, const QStringList &extra = {})
    {
        QFile demo(testsvc::ServiceProcess::demoFile());
        ASSERT_TRUE(demo.open(QIODevice::ReadOnly));
        QJsonObject data = QJsonDocument::fromJson(demo.readAll()).object();
        data[QStringLiteral("version")] = version;
        const QString file = m_dir + QStringLiteral("/service.json");
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(QJsonDocument(data).toJson());
        out.close();
        ASSERT_TRUE(m_service.start(QStringList{QStringLiteral("--http"), QStringLiteral("--data"), file} + extra))
            << m_service.output().toStdString();
        qputenv("TARV_SERVICE_ENDPOINT", m_service.baseUrl().toLocal8Bit());
        UserNameURL = QStringLiteral("demo");
        PasswordURL = QStringLiteral("demo2024");
        ServerLoggedIn = false;
        IsConnected = true;
    }
    void TearDown() override
    {
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        FrameTest::TearDown();
        m_service.stop();
    }

    testsvc::ServiceProcess m_service;
};

// Collects the addresses the program opens in the browser.
class Opened : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl &u) { urls << u; }
};

TEST_F(VersionReportTest, EveryOutcomeFromTheMenuAndOnlyANewerOneAtStart)
{
    const struct {
        const char *label;
        QString version;
        QStringList extra;
        bool always;
        QString answer;
        QString expected;   // text of the box, empty for none
        int icon;
        bool opensPage;
    } cases[] = {
        {"current, menu", VersionText(), {}, true, {}, BoxText(1001), 48, false},
        {"current, start", VersionText(), {}, false, {}, {}, 0, false},
        {"newer, menu, yes", QStringLiteral("9.9.9"), {}, true, QStringLiteral("btnYes"), BoxText(1002), 32, true},
        {"newer, start, no", QStringLiteral("9.9.9"), {}, false, QStringLiteral("btnNo"), BoxText(1002), 32, false},
        {"failed, menu", VersionText(), {"--error-page", "500", "--only", "version"}, true, {}, QStringLiteral("*"), 16, false},
        {"failed, start", VersionText(), {"--error-page", "500", "--only", "version"}, false, {}, {}, 0, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.label);
        StartService(c.version, c.extra);
        Opened opened;
        QDesktopServices::setUrlHandler(QStringLiteral("http"), &opened, "open");
        frmStart *t = frmStart::Get();
        BoxWatcher boxes;
        if (!c.answer.isEmpty())
            boxes.Answer(c.answer);

        t->DisplayUpdatesResult(c.always);

        if (c.expected.isEmpty()) {
            EXPECT_TRUE(boxes.Boxes().empty());
        } else {
            ASSERT_EQ(boxes.Boxes().size(), 1u);
            if (c.expected != QStringLiteral("*"))
                EXPECT_EQ(boxes.Boxes()[0].text, c.expected);
            else
                EXPECT_FALSE(boxes.Boxes()[0].text.isEmpty());
            EXPECT_EQ(boxes.Boxes()[0].icon, c.icon);
        }
        if (c.opensPage) {
            ASSERT_EQ(opened.urls.size(), 1);
            EXPECT_EQ(opened.urls[0].toString(),
                      m_service.baseUrl() + QStringLiteral("/web/action.do?tile=supp_3downloads"));
        } else {
            EXPECT_TRUE(opened.urls.isEmpty());
        }
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        frmStart::Unload();
        frmMain::Unload();
        m_service.stop();
    }
}

} // namespace

#include "TimersWindowTest.moc"
