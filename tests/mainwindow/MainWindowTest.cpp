// The main window, run headless: its toolbar, language flags, connection indicator, status
// line, icon animation, and its size and closing rules, driven through the mouse events its
// controls get.
#include "tests/mainwindow/FrameFixture.h"

#include "core/WindowRegistry.h"
#include "core/frmLogin.h"
#include "core/frmMain.h"
#include "core/modMain.h"
#include "expenses/frmDailyExp.h"
#include "options_help/frmOptions.h"
#include "platform/forms/Units.h"
#include "platform/registry/Registry.h"
#include "options_help/frmHlp.h"
#include "options_help/frmVideo.h"
#include "recorder/frmLoad.h"
#include "recorder/frmStart.h"
#include "resources/Pictures.h"
#include "sync/frmSynch.h"
#include "tests/support/TestEnv.h"
#include "timelog/frmDaily.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QGroupBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QWindow>

using namespace modMain;
using frametest::BoxText;
using frametest::BoxWatcher;

namespace {

class MainWindowTest : public frametest::FrameTest {
protected:
    frmMain *Main()
    {
        frmMain *m = frmMain::Get();
        return m;
    }
    frmMain *Shown()
    {
        frmMain *m = frmMain::Get();
        m->show();
        EXPECT_TRUE(testenv::WaitFor([m] { return m->windowHandle() && m->windowHandle()->isExposed(); }));
        return m;
    }
    // The close box: the window system's close request, as it reaches the window.
    static void CloseBox(frmMain *m)
    {
        QCloseEvent e;
        QApplication::sendEvent(m->windowHandle(), &e);
    }
    // Top of the toolbar's highlight, and of a button, in twips.
    static int HighlightTop(frmMain *m) { return forms::Top(m->shMenu); }
    static int ButtonTop(frmMain *m, int i) { return forms::Top(m->btn[i]); }
};

TEST_F(MainWindowTest, LoadsWithTitleIconCaptionsAndTimers)
{
    frmMain *m = Main();
    EXPECT_EQ(m->windowTitle(), QStringLiteral("Tarvelo Desktop Companion"));
    EXPECT_TRUE(frametest::SamePicture(m->windowIcon().pixmap(32, 32), res::Picture(QStringLiteral("ARUNNOT"))));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(m->btn[i]->text(), GetLangString(int16_t(100 + i))) << i;
        EXPECT_EQ(m->btn[i]->toolTip(), GetLangString(int16_t(96 + i))) << i;
        EXPECT_EQ(m->btn[i]->ForeColor(), 16312534) << i;
        EXPECT_EQ(m->btn[i]->cursor().shape(), Qt::BitmapCursor) << i;
    }
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(m->imgFlag[i]->cursor().shape(), Qt::BitmapCursor) << i;
        EXPECT_TRUE(frametest::SamePicture(m->imgFlag[i]->pixmap(), res::Picture(230 + i))) << i;
    }
    EXPECT_FALSE(m->lblDate->text().isEmpty());
    EXPECT_EQ(m->lblConn->text(), GetLangString(106));
    EXPECT_TRUE(m->tmr->isActive());
    EXPECT_EQ(m->tmr->interval(), 10000);
    EXPECT_FALSE(m->tmrIcon->isActive());
    EXPECT_EQ(m->tmrIcon->interval(), 500);
    EXPECT_FALSE(m->PgB->isVisible());
    EXPECT_EQ(m->imgLst.Count(), 6);
    // The default size: 7695 twips wide, and high enough for the task loader.
    EXPECT_EQ(forms::Width(m), 7695);
    EXPECT_EQ(forms::Height(m), 8400);
}

TEST_F(MainWindowTest, LeaveButtonIsCaptionedByTheAutostartSetting)
{
    const struct {
        int16_t autoStart;
        int16_t id;
    } cases[] = {{1, 980}, {0, 24}};
    for (const auto &c : cases) {
        AutoStart = c.autoStart;
        frmMain *m = Main();
        EXPECT_EQ(m->btn[4]->text(), GetLangString(c.id)) << c.autoStart;
        frmMain::Unload();
    }
}

TEST_F(MainWindowTest, ToolbarLooksFollowTheMouse)
{
    frmMain *m = Shown();
    frametest::Move(m->btn[2]);
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(m->btn[k]->ForeColor(), k == 2 ? 16777215 : 16312534) << k;
    frametest::Press(m->btn[1]);
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(m->btn[k]->ForeColor(), k == 1 ? 12582912 : 16312534) << k;
    frametest::Move(m->imgOver[0]);
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(m->btn[k]->ForeColor(), 16312534) << k;

    // Over the synchronisation button without a connection the status line says why it is off.
    m->OnMouseAction(3, 2);
    EXPECT_EQ(m->lblMsg->text(), QStringLiteral(" ") + GetLangString(126, true));
}

TEST_F(MainWindowTest, TimersButtonShowsTheTimersWindowAndMovesTheHighlight)
{
    AddReferenceData(false);
    frmMain *m = Shown();
    m->OnMouseAction(0, 0);
    forms::Move(m->shMenu, forms::Left(m->shMenu), ButtonTop(m, 3) - 15);

    frametest::Click(m->btn[0]);

    frmStart *timers = frmStart::Peek();
    ASSERT_NE(timers, nullptr);
    EXPECT_TRUE(timers->isVisible());
    EXPECT_EQ(m->mdi->activeSubWindow(), timers->subWindow());
    EXPECT_EQ(HighlightTop(m), ButtonTop(m, 0) - 15);
    EXPECT_EQ(m->btn[0]->ForeColor(), 16312534);
}

TEST_F(MainWindowTest, TimeLogButtonShowsTheDailyLog)
{
    frmMain *m = Shown();
    frametest::Click(m->btn[1]);
    ASSERT_NE(frmDaily::Peek(), nullptr);
    EXPECT_TRUE(frmDaily::Peek()->isVisible());
    EXPECT_TRUE(FormLoaded[fiDaily]);
    EXPECT_EQ(HighlightTop(m), ButtonTop(m, 1) - 15);
}

TEST_F(MainWindowTest, ExpensesButtonIsRefusedWithoutAProjectThatTakesExpenses)
{
    AddReferenceData(false);
    frmMain *m = Shown();
    BoxWatcher boxes;

    frametest::Click(m->btn[2]);

    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, BoxText(127));
    EXPECT_EQ(boxes.Boxes()[0].icon, 16);
    EXPECT_EQ(frmDailyExp::Peek(), nullptr);
    // The highlight moves all the same.
    EXPECT_EQ(HighlightTop(m), ButtonTop(m, 2) - 15);
}

TEST_F(MainWindowTest, ExpensesButtonOpensTheDailyExpenses)
{
    AddReferenceData(true);
    frmMain *m = Shown();
    BoxWatcher boxes;

    frametest::Click(m->btn[2]);

    EXPECT_TRUE(boxes.Boxes().empty());
    ASSERT_NE(frmDailyExp::Peek(), nullptr);
    EXPECT_TRUE(frmDailyExp::Peek()->isVisible());
    EXPECT_EQ(HighlightTop(m), ButtonTop(m, 2) - 15);
}

TEST_F(MainWindowTest, SynchronisationWithoutConnectionAsksFirst)
{
    const struct {
        const char *answer;
        bool opens;
    } cases[] = {{"btnNo", false}, {"btnYes", true}};
    for (const auto &c : cases) {
        frmMain *m = Shown();
        const int highlight = HighlightTop(m);
        BoxWatcher boxes;
        boxes.Answer(QString::fromLatin1(c.answer));
        // The button is off without a connection; the question guards a connection lost since.
        m->CheckConnection();
        EXPECT_FALSE(m->btn[3]->isEnabled());
        m->btn_MouseUp(3);

        ASSERT_EQ(boxes.Boxes().size(), 1u) << c.answer;
        EXPECT_EQ(boxes.Boxes()[0].text, BoxText(120));
        EXPECT_EQ(boxes.Boxes()[0].icon, 48);
        EXPECT_EQ(frmSynch::Peek() != nullptr, c.opens) << c.answer;
        EXPECT_EQ(HighlightTop(m), c.opens ? ButtonTop(m, 3) - 15 : highlight) << c.answer;
        frmSynch::Unload();
        frmMain::Unload();
    }
}

TEST_F(MainWindowTest, SynchronisationWithConnectionOpensAtOnce)
{
    qputenv("TARV_ONLINE", "1");
    frmMain *m = Shown();
    m->CheckConnection();
    ASSERT_TRUE(m->btn[3]->isEnabled());
    BoxWatcher boxes;

    frametest::Click(m->btn[3]);

    EXPECT_TRUE(boxes.Boxes().empty());
    ASSERT_NE(frmSynch::Peek(), nullptr);
    EXPECT_TRUE(frmSynch::Peek()->isVisible());
    EXPECT_EQ(HighlightTop(m), ButtonTop(m, 3) - 15);
}

TEST_F(MainWindowTest, LeaveButtonMinimisesWhileAutostartIsOn)
{
    AutoStart = 1;
    frmMain *m = Shown();
    const int highlight = HighlightTop(m);
    frametest::Click(m->btn[4]);
    // Minimised; with no tray on this desktop to hold it, it stays on the taskbar.
    ASSERT_TRUE(testenv::WaitFor([m] { return m->isMinimized(); }));
    testenv::WaitFor([] { return false; }, 200);
    EXPECT_TRUE(m->isMinimized());
    EXPECT_TRUE(m->isVisible());
    EXPECT_EQ(Ended(), 0);
    EXPECT_EQ(HighlightTop(m), highlight);
}

TEST_F(MainWindowTest, MinimisedWhileATimerRecordsStaysOnTheTaskbar)
{
    frmMain *m = Shown();
    TimerRunning = true;
    m->setWindowState(Qt::WindowMinimized);
    testenv::WaitFor([] { return false; }, 100);
    EXPECT_TRUE(m->isMinimized());
    EXPECT_TRUE(m->isVisible());
}

TEST_F(MainWindowTest, LeaveButtonEndsTheProgramWhileAutostartIsOff)
{
    AutoStart = 0;
    frmMain *m = Shown();
    frametest::Click(m->btn[4]);
    ASSERT_TRUE(testenv::WaitFor([this] { return Ended() == 1; }));
    EXPECT_FALSE(m->isVisible());
    EXPECT_FALSE(DB);
}

TEST_F(MainWindowTest, CloseBoxMinimisesWhileAutostartIsOn)
{
    AutoStart = 1;
    frmMain *m = Shown();
    CloseBox(m);
    // Minimised, and without a tray it is not hidden.
    ASSERT_TRUE(testenv::WaitFor([m] { return m->isMinimized(); }));
    testenv::WaitFor([] { return false; }, 200);
    EXPECT_TRUE(m->isVisible());
    EXPECT_EQ(frmMain::Peek(), m);
    EXPECT_EQ(Ended(), 0);
}

// The timers window's tray icon on a desktop without a tray: nothing holds it, and the window
// is never hidden to it, however it is minimised.
TEST_F(MainWindowTest, WithoutATrayTheWindowIsNeverHidden)
{
    AddReferenceData(false);
    AutoStart = 1;
    frmMain *m = Shown();
    frmStart::Get()->ShowForm();
    EXPECT_FALSE(m->TrayHoldsIcon());
    m->setWindowState(Qt::WindowMinimized);
    ASSERT_TRUE(testenv::WaitFor([m] { return m->isMinimized(); }));
    m->SettleInTray();
    testenv::WaitFor([] { return false; }, 200);
    EXPECT_TRUE(m->isVisible());
    m->ShowFromTray(true);
    ASSERT_TRUE(testenv::WaitFor([m] { return !m->isMinimized(); }));
    m->showMinimized();
    testenv::WaitFor([] { return false; }, 200);
    EXPECT_TRUE(m->isMinimized());
    EXPECT_TRUE(m->isVisible());
}

TEST_F(MainWindowTest, CloseBoxEndsTheProgramWhileAutostartIsOff)
{
    AutoStart = 0;
    frmMain *m = Shown();
    CloseBox(m);
    ASSERT_TRUE(testenv::WaitFor([this] { return Ended() == 1; }));
    EXPECT_FALSE(DB);
}

TEST_F(MainWindowTest, ACloseFromCodeEndsTheProgramWhateverTheAutostart)
{
    AutoStart = 1;
    frmMain *m = Shown();
    m->close();
    ASSERT_TRUE(testenv::WaitFor([this] { return Ended() == 1; }));
}

// The person may enlarge the window (the document area takes what is added) but not make it
// smaller than its default size.
TEST_F(MainWindowTest, TheWindowCanBeEnlargedButNotMadeSmaller)
{
    frmMain *m = Shown();
    const QSize normal(forms::TwipsToPixels(7695), forms::TwipsToPixels(8400));
    const QSize doc = m->mdi->size();

    m->resize(900, 700);
    ASSERT_TRUE(testenv::WaitFor([&] { return m->size() == QSize(900, 700); })) << m->width() << "x" << m->height();
    testenv::WaitFor([] { return false; }, 100);
    EXPECT_EQ(m->size(), QSize(900, 700));
    EXPECT_EQ(m->mdi->size(), doc + QSize(900, 700) - normal);
    // The strips below follow the window's edges, the flags and the connection its right edge.
    EXPECT_EQ(m->picStatus->geometry().bottom(), m->centralWidget()->height() - 1);
    EXPECT_EQ(m->picStatus->width(), 900);
    EXPECT_EQ(m->PicUser->geometry().bottom(), m->picStatus->y() - 1);
    EXPECT_EQ(m->imgFlag[3]->geometry().right(), 900 - forms::TwipsToPixels(120) - 1);
    EXPECT_EQ(m->lblConn->x(), 900 - forms::TwipsToPixels(7695 - 6060));
    // Its place on the screen is kept for the help window.
    EXPECT_EQ(FormRect.Right - FormRect.Left, m->frameGeometry().width());

    m->resize(300, 200);
    testenv::WaitFor([] { return false; }, 100);
    EXPECT_EQ(m->size(), normal);
    EXPECT_EQ(m->mdi->size(), doc);

    // The cover keeps the place other windows gave it: aside it stays aside (and gives the
    // area no scroll range), part of the way in view it ends at the area's right edge.
    forms::Move(m->picCover, -12000, forms::Top(m->picCover));
    m->resize(800, 700);
    ASSERT_TRUE(testenv::WaitFor([&] { return m->size() == QSize(800, 700); }));
    EXPECT_EQ(forms::Left(m->picCover), -12000);
    QApplication::processEvents();
    EXPECT_FALSE(m->mdi->horizontalScrollBar()->isVisible());
    forms::Move(m->picCover, 2100, forms::Top(m->picCover));
    EXPECT_TRUE(m->picCover->isVisible());
    EXPECT_EQ(m->picCover->geometry().right(), m->mdi->viewport()->width() - 1);
    QApplication::processEvents();
    EXPECT_FALSE(m->mdi->horizontalScrollBar()->isVisible());
}

// The document area is smaller than some child windows: its scroll bars reach their far ends.
TEST_F(MainWindowTest, TheDocumentAreaScrollsToTheEndsOfALargerChildWindow)
{
    frmMain *m = Shown();
    auto *child = new QWidget;
    child->setMinimumSize(m->mdi->width() + 100, m->mdi->height() + 100);
    QMdiSubWindow *sub = m->mdi->addSubWindow(child);
    sub->move(0, 0);
    sub->show();
    ASSERT_TRUE(testenv::WaitFor([&] {
        return m->mdi->verticalScrollBar()->isVisible() && m->mdi->horizontalScrollBar()->isVisible();
    }));
    m->mdi->verticalScrollBar()->setValue(m->mdi->verticalScrollBar()->maximum());
    m->mdi->horizontalScrollBar()->setValue(m->mdi->horizontalScrollBar()->maximum());
    QApplication::processEvents();
    const QRect shown = m->mdi->viewport()->rect();
    const QRect where(sub->mapTo(m->mdi->viewport(), QPoint(0, 0)), sub->size());
    EXPECT_LE(where.bottom(), shown.bottom());
    EXPECT_LE(where.right(), shown.right());
    delete sub;
}

// At the default size the task loader stands whole in the document area: its buttons are
// there without scrolling.
TEST_F(MainWindowTest, TheTaskLoaderShowsItsButtonsAtTheDefaultSize)
{
    AddReferenceData(false);
    frmMain *m = Shown();
    frmStart::Get()->ShowForm();
    // The timers window puts the cover aside when it becomes active.
    forms::Move(m->picCover, -12000, forms::Top(m->picCover));
    frmLoad *loader = frmLoad::Get();
    loader->ShowForm();
    ASSERT_TRUE(testenv::WaitFor([loader] { return loader->isVisible(); }));
    testenv::WaitFor([] { return false; }, 100);

    EXPECT_FALSE(m->mdi->verticalScrollBar()->isVisible());
    EXPECT_FALSE(m->mdi->horizontalScrollBar()->isVisible());
    const QRect area = m->mdi->viewport()->rect();
    for (QPushButton *b : {loader->btnSelAll, loader->btnLoad, loader->btnClose}) {
        ASSERT_TRUE(b->isVisible()) << b->objectName().toStdString();
        const QRect where(b->mapTo(m->mdi->viewport(), QPoint(0, 0)), b->size());
        EXPECT_TRUE(area.contains(where)) << b->objectName().toStdString() << " at " << where.y() << ".." << where.bottom()
                                          << " of " << area.height();
    }
}

// The synchronisation window is wider than the document area at the default size: the main
// window grows so that the whole window, its Close button too, is in sight without scrolling.
TEST_F(MainWindowTest, AChildWiderThanTheDocumentAreaMakesTheMainWindowGrow)
{
    AddReferenceData(false);
    frmMain *m = Shown();
    forms::Move(m->picCover, -12000, forms::Top(m->picCover));
    const int before = m->width();
    modMain::IsConnected = true;
    ASSERT_TRUE(m->OpenWindow(QStringLiteral("frmSynch")));
    frmSynch *synch = frmSynch::Peek();
    ASSERT_NE(synch, nullptr);
    ASSERT_TRUE(testenv::WaitFor([synch] { return synch->isVisible(); }));
    testenv::WaitFor([] { return false; }, 100);

    EXPECT_GT(m->width(), before);
    QMdiSubWindow *sub = m->mdi->findChild<QMdiSubWindow *>(QString(), Qt::FindDirectChildrenOnly);
    const QRect area = m->mdi->viewport()->rect();
    for (QMdiSubWindow *w : m->mdi->subWindowList())
        if (w->widget() == synch)
            sub = w;
    ASSERT_NE(sub, nullptr);
    EXPECT_TRUE(area.contains(sub->geometry())) << sub->geometry().right() << " of " << area.width();

    // Closed again, it takes its room with it: no empty strip beside the timers window.
    synch->btnExit->click();
    // The frame goes as the event loop deletes it (a nested loop of the test does not).
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(testenv::WaitFor([m, before] { return m->width() == before; }))
        << m->width() << " after the close, " << before << " before the window opened";
    // Nothing left to scroll to beside the timers window.
    EXPECT_TRUE(testenv::WaitFor([m] { return m->mdi->horizontalScrollBar()->maximum() == 0; }));
}

// A size the person gave the main window while such a child was open stays after it closes.
TEST_F(MainWindowTest, ASizeChosenWhileAWideChildIsOpenStaysAfterItCloses)
{
    frmMain *m = Shown();
    modMain::IsConnected = true;
    ASSERT_TRUE(m->OpenWindow(QStringLiteral("frmSynch")));
    frmSynch *synch = frmSynch::Peek();
    ASSERT_TRUE(testenv::WaitFor([synch] { return synch->isVisible(); }));
    const QSize chosen(m->width() + 40, m->height() + 20);
    m->resize(chosen);
    QApplication::processEvents();
    synch->btnExit->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(testenv::WaitFor([] { return frmSynch::Peek() == nullptr; }));
    testenv::WaitFor([] { return false; }, 100);
    EXPECT_EQ(m->size(), chosen);
}

// A window that loads enters the registry, and leaves it however it goes: unloaded, unloading
// itself, or destroyed with its frame.
TEST_F(MainWindowTest, WindowsEnterTheRegistryWhileTheyAreLoaded)
{
    frmMain *m = Shown();
    BoxWatcher boxes;
    EXPECT_FALSE(winreg::IsRegistered(fiDaily));
    frmDaily::Get()->show();
    EXPECT_TRUE(winreg::IsRegistered(fiDaily));
    frmDaily::Unload();
    EXPECT_FALSE(winreg::IsRegistered(fiDaily));

    // The task loader with no project to show unloads itself.
    frmLoad::Get();
    ASSERT_TRUE(testenv::WaitFor([] { return frmLoad::Peek() == nullptr; }));
    EXPECT_FALSE(winreg::IsRegistered(fiLoad));

    frmOptions::Get()->show();
    ASSERT_TRUE(winreg::IsRegistered(fiOptions));
    delete m->mdi->findChild<QMdiSubWindow *>(QStringLiteral("frmOptionsSub"));
    EXPECT_EQ(frmOptions::Peek(), nullptr);
    EXPECT_FALSE(winreg::IsRegistered(fiOptions));
    // A switch of the language afterwards reaches no window that is gone.
    frametest::Click(m->imgFlag[1]);
    EXPECT_EQ(LangID, 1);
}

// The language switch and the shutdown walk the loaded windows in their orders; a window whose
// flag is not set is left out, and one that fails keeps no other from its turn.
TEST(WindowRegistry, WalksTheLoadedWindowsInTheirOrder)
{
    const std::array<bool, 12> flags = FormLoaded;
    std::vector<int> langCalls, unloadCalls;
    const std::vector<FormIndex> all{fiStart, fiDaily, fiDailyExp, fiLoad, fiSynch, fiLogin, fiHlp, fiOptions, fiVideo};
    for (FormIndex i : all) {
        winreg::Register(i, {[&langCalls, i] {
                                 langCalls.push_back(i);
                                 if (i == fiDaily)
                                     throw std::runtime_error("captions failed");
                             },
                             [&unloadCalls, i] {
                                 unloadCalls.push_back(i);
                                 if (i == fiLogin)
                                     throw std::runtime_error("unload failed");
                             }});
        FormLoaded[i] = i != fiHlp;
    }

    winreg::ApplyLangToLoadedWindows();
    winreg::UnloadLoadedWindows();

    EXPECT_EQ(langCalls, (std::vector<int>{fiLogin, fiStart, fiDaily, fiDailyExp, fiLoad, fiSynch, fiOptions, fiVideo}));
    EXPECT_EQ(unloadCalls, (std::vector<int>{fiLogin, fiDaily, fiDailyExp, fiLoad, fiOptions, fiVideo}));
    for (FormIndex i : all)
        winreg::Deregister(i);
    FormLoaded = flags;
    langCalls.clear();
    winreg::ApplyLangToLoadedWindows();
    EXPECT_TRUE(langCalls.empty());
}

TEST_F(MainWindowTest, LanguageSwitchReachesTheLaterWindowsToo)
{
    AddReferenceData(false);
    frmMain *m = Shown();
    frmStart::Get()->ShowForm();
    frmLoad *loader = frmLoad::Get();
    loader->ShowForm();
    const QString english = loader->btnLoad->text();
    BoxWatcher boxes;

    frametest::Click(m->imgFlag[1]);

    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(loader->btnLoad->text(), GetLangString(901));
    EXPECT_NE(loader->btnLoad->text(), english);
    frametest::Click(m->imgFlag[0]);
    EXPECT_EQ(loader->btnLoad->text(), english);
}

// What other windows ask of the main window by a window's name: the same windows, refusals
// and marker as the toolbar and the timers window's menu.
TEST_F(MainWindowTest, WindowsOpenByNameWithTheToolbarsRules)
{
    AddReferenceData(false);
    frmMain *m = Shown();
    frmStart::Get()->ShowForm();
    BoxWatcher boxes;

    EXPECT_TRUE(m->OpenWindow(QStringLiteral("frmDaily")));
    ASSERT_NE(frmDaily::Peek(), nullptr);
    EXPECT_TRUE(frmDaily::Peek()->isVisible());
    EXPECT_EQ(m->mdi->activeSubWindow()->widget(), frmDaily::Peek());
    EXPECT_EQ(HighlightTop(m), ButtonTop(m, 1) - 15);

    // No project takes expenses: refused as on the toolbar, the marker moves all the same.
    EXPECT_FALSE(m->OpenWindow(QStringLiteral("frmDailyExp")));
    EXPECT_EQ(frmDailyExp::Peek(), nullptr);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, BoxText(127));
    EXPECT_EQ(HighlightTop(m), ButtonTop(m, 2) - 15);

    // Offline the synchronisation window asks first; No keeps it closed and the marker still.
    boxes.Answer(QStringLiteral("btnNo"));
    EXPECT_FALSE(m->OpenWindow(QStringLiteral("frmSynch")));
    EXPECT_EQ(frmSynch::Peek(), nullptr);
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(boxes.Boxes()[1].text, BoxText(120));
    EXPECT_EQ(HighlightTop(m), ButtonTop(m, 2) - 15);
    boxes.Answer(QStringLiteral("btnYes"));
    EXPECT_TRUE(m->OpenWindow(QStringLiteral("frmSynch")));
    EXPECT_NE(frmSynch::Peek(), nullptr);
    EXPECT_EQ(HighlightTop(m), ButtonTop(m, 3) - 15);

    // The options are refused while a timer records.
    TimerRunning = true;
    EXPECT_FALSE(m->OpenWindow(QStringLiteral("frmOptions")));
    EXPECT_EQ(frmOptions::Peek(), nullptr);
    ASSERT_EQ(boxes.Boxes().size(), 4u);
    EXPECT_EQ(boxes.Boxes()[3].text, BoxText(92));
    EXPECT_EQ(boxes.Boxes()[3].icon, 16);
    TimerRunning = false;
    EXPECT_TRUE(m->OpenWindow(QStringLiteral("frmOptions")));
    ASSERT_NE(frmOptions::Peek(), nullptr);
    EXPECT_TRUE(frmOptions::Peek()->isVisible());

    // The timers window comes to the front, the marker beside its entry.
    EXPECT_TRUE(m->OpenWindow(QStringLiteral("frmStart")));
    EXPECT_EQ(m->mdi->activeSubWindow(), frmStart::Peek()->subWindow());
    EXPECT_EQ(HighlightTop(m), ButtonTop(m, 0) - 15);

    // A name that is no window does nothing.
    EXPECT_FALSE(m->OpenWindow(QStringLiteral("frmNowhere")));
    EXPECT_EQ(boxes.Boxes().size(), 4u);
    EXPECT_EQ(HighlightTop(m), ButtonTop(m, 0) - 15);
}

TEST_F(MainWindowTest, TheSignInWindowOpensByNameAsAViewThatSignsNobodyIn)
{
    frmMain *m = Shown();
    EXPECT_TRUE(m->OpenWindow(QStringLiteral("frmLogin")));
    frmLogin *login = frmLogin::Peek();
    ASSERT_NE(login, nullptr);
    EXPECT_TRUE(login->isVisible());
    EXPECT_FALSE(login->btnLogin->isEnabled());
    EXPECT_FALSE(login->btn[0]->isEnabled());
    EXPECT_EQ(login->btn[1]->text(), GetLangString(905));
    // The message frame is out of sight.
    EXPECT_FALSE(login->frMsg->isVisible() && login->frMsg->geometry().intersects(login->rect()));
    // Asked again, the loaded window only comes to the front.
    login->btn[1]->setText(QStringLiteral("kept"));
    EXPECT_TRUE(m->OpenWindow(QStringLiteral("frmLogin")));
    EXPECT_EQ(frmLogin::Peek(), login);
    EXPECT_EQ(login->btn[1]->text(), QStringLiteral("kept"));
}

TEST_F(MainWindowTest, OtherWindowsMoveTheMarkerAndWriteTheStatusLine)
{
    frmMain *m = Shown();
    for (int16_t i : {3, 1, 0, 2}) {
        m->MarkToolbarEntry(i);
        EXPECT_EQ(HighlightTop(m), ButtonTop(m, i) - 15) << i;
    }
    m->MarkToolbarEntry(4);
    m->MarkToolbarEntry(-1);
    EXPECT_EQ(HighlightTop(m), ButtonTop(m, 2) - 15);

    SetStatusText(QStringLiteral("Page shown in English"));
    EXPECT_EQ(m->lblMsg->text(), QStringLiteral(" Page shown in English"));
    SetStatusText(QString());
    EXPECT_EQ(m->lblMsg->text(), QString());
}

TEST_F(MainWindowTest, FlagsShowTheirLooksAndTheirLanguage)
{
    frmMain *m = Shown();
    frametest::Press(m->imgFlag[2]);
    for (int k = 0; k < 4; ++k)
        EXPECT_TRUE(frametest::SamePicture(m->imgFlag[k]->pixmap(), res::Picture(k == 2 ? 240 : 230 + k))) << k;

    frametest::Move(m->imgFlag[1]);
    for (int k = 0; k < 4; ++k)
        EXPECT_TRUE(frametest::SamePicture(m->imgFlag[k]->pixmap(), res::Picture(k == 1 ? 235 : 230 + k))) << k;
    EXPECT_EQ(m->lblMsg->text(), QStringLiteral(" ") + GetLangString(111, true) + QStringLiteral(" ") + GetLangString(114, true));

    frametest::Move(m->imgOver[1]);
    for (int k = 0; k < 4; ++k)
        EXPECT_TRUE(frametest::SamePicture(m->imgFlag[k]->pixmap(), res::Picture(230 + k))) << k;
}

TEST_F(MainWindowTest, LanguageSwitchRecaptionsEveryLoadedWindow)
{
    AddReferenceData(false);
    frmMain *m = Shown();
    frmStart *timers = frmStart::Get();
    timers->ShowForm();
    frmOptions *options = frmOptions::Get();
    options->show();
    ASSERT_TRUE(FormLoaded[fiOptions]);
    BoxWatcher boxes;

    frametest::Click(m->imgFlag[1]);

    EXPECT_EQ(LangID, 1);
    EXPECT_EQ(PrevLangID, 0);
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(m->btn[0]->text(), GetLangString(100));
    EXPECT_NE(m->btn[0]->text(), QStringLiteral("Timers"));
    EXPECT_EQ(m->lblUser->text(), QStringLiteral(" ") + GetLangString(627) + QStringLiteral(" Maria O'Brien"));
    EXPECT_EQ(timers->lbl[1]->text(), GetLangString(1));
    EXPECT_EQ(timers->frAct->title(), GetLangString(12));
    EXPECT_EQ(timers->mnuFile_Exit->text(), GetLangString(24));
    // The language is not stored by the switch.
    EXPECT_NE(registry::GetSetting(SettingsApp, "user", "langid", QString()), QStringLiteral("1"));

    // And back to English.
    frametest::Click(m->imgFlag[0]);
    EXPECT_EQ(LangID, 0);
    EXPECT_EQ(timers->lbl[1]->text(), QStringLiteral("Live Recording"));
    EXPECT_EQ(m->btn[0]->text(), QStringLiteral("Timers"));
}

TEST_F(MainWindowTest, AFailedRecaptioningPutsThePreviousLanguageBack)
{
    AddReferenceData(false);
    frmMain *m = Shown();
    frmStart *timers = frmStart::Get();
    timers->ShowForm();
    // A label of the timers window has gone: its captioning fails half-way.
    delete timers->lbl[3];
    timers->lbl[3] = nullptr;
    BoxWatcher boxes;

    frametest::Click(m->imgFlag[3]);

    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, QStringLiteral("Error applying language settings!"));
    EXPECT_EQ(boxes.Boxes()[0].icon, 16);
    EXPECT_EQ(LangID, 0);
}

TEST_F(MainWindowTest, WithoutTheLanguageFileTheLanguageStays)
{
    frmMain *m = Shown();
    QFile::remove(m_dir + "/StringTables.csv");
    LangTableText.clear();
    LangID = 2;
    BoxWatcher boxes;

    frametest::Click(m->imgFlag[1]);

    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, QStringLiteral("Cannot find the Language file!\nI will Default to English"));
    EXPECT_EQ(LangID, 2);

    // Put back, the file is read again at the next click.
    ASSERT_TRUE(QFile::copy(QStringLiteral(TARV_SOURCE_DIR "/data/StringTables.csv"), m_dir + "/StringTables.csv"));
    frametest::Click(m->imgFlag[1]);
    EXPECT_EQ(LangID, 1);
    EXPECT_FALSE(LangTableText.isEmpty());
    EXPECT_EQ(boxes.Boxes().size(), 1u);
}

TEST_F(MainWindowTest, ConnectionChangesAreToldOnceTheTimersWindowExists)
{
    AddReferenceData(false);
    qputenv("TARV_ONLINE", "1");
    frmMain *m = Main();
    QStringList balloons;
    QObject::connect(m, &frmMain::ConnectionBalloon, [&](const QString &t) { balloons << t; });

    // The first check finds the connection before the timers window is there: no balloon.
    m->CheckConnection();
    EXPECT_TRUE(IsConnected);
    EXPECT_TRUE(balloons.isEmpty());
    EXPECT_TRUE(frametest::SamePicture(m->imgConn->pixmap(), res::Picture(QStringLiteral("CONN_ON"))));
    EXPECT_EQ(m->lblConn->text(), GetLangString(105));
    EXPECT_TRUE(m->btn[3]->isEnabled());

    frmStart *timers = frmStart::Get();
    ASSERT_TRUE(FormLoaded[fiStart]);
    EXPECT_TRUE(balloons.isEmpty());   // its load checks again: nothing changed

    qputenv("TARV_ONLINE", "0");
    m->CheckConnection();
    EXPECT_EQ(balloons, QStringList{GetLangString(110)});
    EXPECT_TRUE(frametest::SamePicture(m->imgConn->pixmap(), res::Picture(QStringLiteral("CONN_OFF"))));
    EXPECT_EQ(m->lblConn->text(), GetLangString(106));
    EXPECT_FALSE(m->btn[3]->isEnabled());
    EXPECT_FALSE(timers->mnuFile_Updates->isEnabled());

    m->CheckConnection();   // no change, no balloon
    qputenv("TARV_ONLINE", "1");
    m->tmr_Timer();
    EXPECT_EQ(balloons, (QStringList{GetLangString(110), GetLangString(109)}));
    EXPECT_TRUE(timers->mnuFile_Updates->isEnabled());

    // The hint over the indicator follows the state.
    frametest::Move(m->lblConn);
    EXPECT_EQ(m->lblMsg->text(), QStringLiteral(" ") + GetLangString(107, true));
    frametest::Move(m->PicUser);
    EXPECT_EQ(m->lblMsg->text(), QString());
}

TEST_F(MainWindowTest, IconAnimationGoesRoundTheRecordingIcons)
{
    frmMain *m = Main();
    m->tmrIcon->start();
    const int expected[] = {105, 106, 107, 108, 109, 110, 111, 112, 105};
    for (int n : expected) {
        m->tmrIcon_Timer();
        EXPECT_TRUE(frametest::SamePicture(m->windowIcon().pixmap(32, 32), res::Picture(n))) << n;
    }
    m->tmrIcon->stop();
}

TEST_F(MainWindowTest, StatusLineShowsAStringAndItsSuffix)
{
    frmMain *m = Main();
    const struct {
        int16_t id;
        QString suffix;
        QString shown;
    } cases[] = {
        {817, QString(), QStringLiteral(" ") + GetLangString(817)},
        {120, QStringLiteral("!"), QStringLiteral(" ") + GetLangString(120, true) + QStringLiteral("!")},
        {-1, QStringLiteral("x"), QString()},
    };
    for (const auto &c : cases) {
        SetStatus(c.id, c.suffix);
        EXPECT_EQ(m->lblMsg->text(), c.shown) << c.id;
        EXPECT_FALSE(m->lblMsg->text().contains(QLatin1Char('\n'))) << c.id;
    }
}

} // namespace
