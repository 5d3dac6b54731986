// The video and about window: each help video found by its name and played frame by frame, the
// message of a missing video, the about panel with the version and the web site, its captions
// and closing.
#include "tests/help/HelpFixture.h"

#include "core/frmMain.h"
#include "core/modMain.h"
#include "options_help/HelpLinks.h"
#include "options_help/frmHlp.h"
#include "options_help/frmVideo.h"
#include "platform/forms/Label.h"
#include "platform/forms/Units.h"
#include "recorder/frmStart.h"
#include "sync/frmSynch.h"
#include "timelog/frmDaily.h"
#include "tests/support/TestEnv.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QMovie>

#include <functional>

using namespace modMain;

namespace {

class VideoWindow : public HelpTest {};

TEST_F(VideoWindow, EachHelpVideoLoadsAndPlaysItsFrames)
{
    frmMain::Get()->show();
    frmVideo *v = frmVideo::Get();
    v->show();
    int readyStates = 0;
    QObject::connect(v->flash, &MoviePlayer::OnReadyStateChange, [&](int state) { readyStates += state == 4; });
    for (const char *name : {"hlp_RecordTime", "hlp_LiveRecording", "hlp_One_Desktop"}) {
        SCOPED_TRACE(name);
        // The windows ask for the movies by their old names.
        v->flash->LoadMovie(0, In(QString::fromLatin1(name) + QStringLiteral(".swf")));
        EXPECT_EQ(v->flash->Movie(), In(QString::fromLatin1(name) + QStringLiteral(".swf")));
        EXPECT_EQ(v->flash->MovieFile(), In(QString::fromLatin1(name) + QStringLiteral(".gif")));
        QMovie *movie = v->flash->Animation();
        ASSERT_NE(movie, nullptr);
        EXPECT_FALSE(v->flash->Playing());
        EXPECT_GE(movie->frameCount(), 3);
        v->flash->Play();
        EXPECT_TRUE(v->flash->Playing());
        // The frames go by while the event loop runs.
        QSet<int> frames;
        QObject::connect(movie, &QMovie::frameChanged, [&](int f) { frames << f; });
        EXPECT_TRUE(testenv::WaitFor([&] { return frames.size() >= 2; }, 8000));
        // Fitted into the player, keeping its proportions.
        const QSize shown = movie->scaledSize();
        EXPECT_LE(shown.width(), v->flash->width());
        EXPECT_LE(shown.height(), v->flash->height());
        EXPECT_TRUE(v->flash->Message().isEmpty());
    }
    EXPECT_EQ(readyStates, 3);
    v->flash->Stop();
    EXPECT_FALSE(v->flash->Playing());
}

TEST_F(VideoWindow, AMissingVideoShowsAClearMessage)
{
    frmVideo *v = frmVideo::Get();
    v->show();
    for (const QString &path : {In("hlp_Nothing.swf"), In("hlp_Nothing.gif"), QString()}) {
        v->flash->LoadMovie(0, path);
        v->flash->Play();
        EXPECT_EQ(v->flash->Animation(), nullptr);
        EXPECT_FALSE(v->flash->Playing());
        EXPECT_TRUE(v->flash->Message().startsWith(GetLangString(1205))) << path.toStdString();
    }
    EXPECT_TRUE(v->flash->Message().isEmpty() == false);
    // A file that is no animation is no video either.
    QFile bad(In("hlp_Broken.gif"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("not a picture");
    bad.close();
    v->flash->LoadMovie(0, In("hlp_Broken.swf"));
    EXPECT_EQ(v->flash->Animation(), nullptr);
    EXPECT_TRUE(v->flash->Message().contains(QStringLiteral("hlp_Broken")));
}

TEST_F(VideoWindow, TheAboutPanelShowsTheVersionAndTheWebSite)
{
    frmMain *main = frmMain::Get();
    main->show();
    frmStart *t = frmStart::Get();
    t->ShowForm();
    IsConnected = true;
    t->mnuFile_About->trigger();
    frmVideo *v = frmVideo::Peek();
    ASSERT_NE(v, nullptr);
    EXPECT_TRUE(v->isVisible());
    EXPECT_TRUE(FormLoaded[fiVideo]);
    EXPECT_EQ(v->windowTitle(), QStringLiteral("Video"));
    EXPECT_EQ(forms::Left(v->frAbout), 0);
    EXPECT_TRUE(v->frAbout->isVisibleTo(v));
    EXPECT_EQ(v->lTxt[1]->text(), VersionText());
    EXPECT_EQ(v->lTxt[0]->text(), QStringLiteral("TarveloPC"));
    EXPECT_FALSE(v->lTxt[2]->text().isEmpty());
    EXPECT_EQ(v->lTxt[3]->text(), helplinks::WebSiteAddress());
    EXPECT_TRUE(v->lTxt[4]->text().contains(QLatin1Char('@')));
    // The short animation above the panel, the panel below it.
    EXPECT_EQ(v->flash->height(), 145);
    EXPECT_EQ(v->flash->MovieFile(), In("hlp_One_Desktop.gif"));
    EXPECT_TRUE(v->flash->Playing());
    EXPECT_GE(v->frAbout->y(), v->flash->geometry().bottom());
    // The document area holds the window without scrolling.
    EXPECT_FALSE(main->mdi->horizontalScrollBar()->isVisible());
    EXPECT_FALSE(main->mdi->verticalScrollBar()->isVisible());

    // The web site in the person's browser; the other values are no links.
    UrlCatcher browser;
    frametest::Click(v->lTxt[3]);
    frametest::Click(v->lTxt[1]);
    ASSERT_EQ(browser.urls.size(), 1);
    EXPECT_EQ(browser.urls[0].toString(), helplinks::WebSitePage());

    // A help video replaces the movie in the same window.
    t->mnuHelp_video->trigger();
    EXPECT_EQ(frmVideo::Peek(), v);
    EXPECT_EQ(v->flash->MovieFile(), In("hlp_LiveRecording.gif"));
    EXPECT_EQ(forms::Left(v->frAbout), -12000);
    EXPECT_GT(v->flash->height(), 145);

    // Closed from its menu: the main window as before.
    v->mnuClose->trigger();
    EXPECT_EQ(frmVideo::Peek(), nullptr);
    EXPECT_FALSE(FormLoaded[fiVideo]);
    EXPECT_EQ(forms::Left(main->picCover), -12000);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Every way into the video window brings it to the front of the document area, loaded already
// (and covered by the timers window) or not; so does every way into a help page for the help
// window, also when the person had minimised it.
TEST_F(VideoWindow, EveryWayInBringsItsWindowToTheFront)
{
    frmMain *main = frmMain::Get();
    main->show();
    frmStart *t = frmStart::Get();
    t->ShowForm();
    const auto front = [main]() -> QMdiSubWindow * {
        const QList<QMdiSubWindow *> stack = main->mdi->subWindowList(QMdiArea::StackingOrder);
        return stack.isEmpty() ? nullptr : stack.last();
    };
    const struct {
        const char *way;
        std::function<void()> open;
    } ways[] = {
        {"About", [t] { t->mnuFile_About->trigger(); }},
        {"timers window's video", [t] { t->mnuHelp_video->trigger(); }},
        {"daily log's video", [] { frmDaily::Get()->mnuHelp_Video->trigger(); }},
        {"help link", [this] { frmHlp::Get()->Navigate(In("[]hlp_RecordTime.gif")); }},
    };
    for (const auto &w : ways) {
        SCOPED_TRACE(w.way);
        for (bool loaded : {false, true}) {
            SCOPED_TRACE(loaded ? "loaded already" : "not loaded");
            if (!loaded)
                frmVideo::Unload();
            QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            // The timers window over everything, as the person left it.
            t->ShowForm();
            ASSERT_EQ(front(), t->subWindow());
            w.open();
            frmVideo *v = frmVideo::Peek();
            ASSERT_NE(v, nullptr);
            EXPECT_TRUE(v->isVisible());
            EXPECT_EQ(front(), v->parentWidget());
            EXPECT_EQ(main->mdi->activeSubWindow(), v->parentWidget());
            EXPECT_TRUE(v->flash->Playing());
        }
    }

    const struct {
        const char *way;
        std::function<void()> open;
    } pages[] = {
        {"Help on Tarvelo", [t] { t->mnuHelp_Help->trigger(); }},
        {"Help on this Form", [t] { t->mnuHelp_Form->trigger(); }},
        {"a window's help page", [] { frmHlp::ShowHelpFor(QStringLiteral("frmDaily")); }},
        {"the help index", [] { frmHlp::ShowHelpIndex(); }},
        {"synchronisation window's help", [] { frmSynch::Get()->mnuHelp_Frm->trigger(); }},
    };
    for (const auto &p : pages) {
        SCOPED_TRACE(p.way);
        frmHlp *h = frmHlp::Get();
        h->showMinimized();
        ASSERT_TRUE(testenv::WaitFor([h] { return h->isMinimized(); }));
        p.open();
        EXPECT_EQ(frmHlp::Peek(), h);
        EXPECT_TRUE(testenv::WaitFor([h] { return h->isVisible() && !h->isMinimized(); }));
    }
}

TEST_F(VideoWindow, OfflineTheWebSiteLinkIsDisabled)
{
    IsConnected = false;
    UrlCatcher browser;
    frmVideo *v = frmVideo::Get();
    v->show();
    EXPECT_FALSE(v->lTxt[3]->isEnabled());
    v->lTxt_Click(3);
    EXPECT_TRUE(browser.urls.isEmpty());
}

TEST_F(VideoWindow, CaptionsFollowTheLanguage)
{
    frmVideo *v = frmVideo::Get();
    for (int16_t lang : {int16_t(1), int16_t(3), int16_t(0)}) {
        LangID = lang;
        v->ApplyLang();
        EXPECT_EQ(v->frAbout->title(), GetLangString(1204));
        EXPECT_EQ(v->lbl[0]->text(), GetLangString(1200));
        EXPECT_EQ(v->lbl[1]->text(), GetLangString(1201));
        EXPECT_EQ(v->lbl[2]->text(), QStringLiteral("Copyright:"));
        EXPECT_EQ(v->lbl[3]->text(), GetLangString(1202));
        EXPECT_EQ(v->lbl[4]->text(), GetLangString(1203));
        EXPECT_EQ(v->mnuClose->text(), GetLangString(905));
        // The version is no caption.
        EXPECT_EQ(v->lTxt[1]->text(), VersionText());
        EXPECT_EQ(LangID, lang);
    }
    // No string table: nothing changes.
    const QString before = v->lbl[0]->text();
    const QString table = LangTableText;
    LangTableText.clear();
    LangID = 1;
    v->ApplyLang();
    EXPECT_EQ(v->lbl[0]->text(), before);
    LangTableText = table;
    LangID = 0;
}

} // namespace
