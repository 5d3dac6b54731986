// The help window: the page of the reader's language, the fall-back and the error pages, the
// link commands of the shipped pages (clicked as a person would, with the keyboard), the
// toolbar, the menu, the status strip and its placement beside the main window.
#include "tests/help/HelpFixture.h"

#include "core/CMessage.h"
#include "core/frmLogin.h"
#include "core/frmMain.h"
#include "core/modMain.h"
#include "expenses/frmDailyExp.h"
#include "options_help/HelpLinks.h"
#include "options_help/frmHlp.h"
#include "options_help/frmOptions.h"
#include "options_help/frmVideo.h"
#include "platform/forms/Label.h"
#include "platform/forms/Units.h"
#include "recorder/frmStart.h"
#include "sync/frmSynch.h"
#include "tests/support/TestEnv.h"
#include "timelog/frmDaily.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QGuiApplication>
#include <QScreen>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRegularExpression>
#include <QTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>

using namespace modMain;
using frametest::BoxText;
using frametest::BoxWatcher;

namespace {

const QStringList kPages = {
    QStringLiteral("hlp_index"),    QStringLiteral("hlp_WhatIs"),   QStringLiteral("hlp_Login"),
    QStringLiteral("hlp_frmStart"), QStringLiteral("hlp_frmDaily"), QStringLiteral("hlp_frmDailyExp"),
    QStringLiteral("hlp_frmSynch"), QStringLiteral("hlp_frmOptions"),
};

// Follows the link of the page shown as a person does with the keyboard: Tab from link to
// link until href is selected, then Return. False when the page has no such link.
bool FollowLink(frmHlp *h, const QString &href)
{
    HelpBrowser *b = h->WBr;
    b->setTextCursor(QTextCursor(b->document()));
    for (int i = 0; i < 60; ++i) {
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QApplication::sendEvent(b, &tab);
        const QTextCursor c = b->textCursor();
        if (!c.hasSelection())
            return false;
        QTextCursor at(b->document());
        at.setPosition(c.selectionStart() + 1);
        if (at.charFormat().anchorHref() == href) {
            QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QApplication::sendEvent(b, &enter);
            return true;
        }
    }
    return false;
}

void SetLanguage(int16_t lang)
{
    PrevLangID = LangID;
    LangID = lang;
    if (frmHlp *h = frmHlp::Peek())
        h->ApplyLang();
}

void MouseMove(QWidget *w)
{
    const QPointF local(w->width() / 2.0, w->height() / 2.0);
    QMouseEvent e(QEvent::MouseMove, local, w->mapToGlobal(local), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

class HelpWindow : public HelpTest {
protected:
    frmHlp *OpenOn(const QString &page)
    {
        frmHlp::ShowPage(In(page + QStringLiteral(".htm")));
        return frmHlp::Peek();
    }
};

TEST_F(HelpWindow, EachPageOpensInEachLanguage)
{
    for (int16_t lang = 0; lang < 4; ++lang) {
        SetLanguage(lang);
        for (const QString &page : kPages) {
            frmHlp *h = OpenOn(page);
            ASSERT_NE(h, nullptr);
            const QString file = In(page + QStringLiteral("_%1.htm").arg(lang));
            EXPECT_EQ(h->WBr->LocationPath(), file);
            EXPECT_EQ(h->WBr->toPlainText(), TextOf(file));
            EXPECT_TRUE(h->Status().isEmpty());
        }
        // The windows' own entry points reach the same pages.
        frmHlp::ShowHelpFor(QStringLiteral("frmSynch"));
        EXPECT_EQ(frmHlp::Peek()->WBr->LocationPath(), In(QStringLiteral("hlp_frmSynch_%1.htm").arg(lang)));
        frmHlp::ShowHelpIndex();
        EXPECT_EQ(frmHlp::Peek()->WBr->LocationPath(), In(QStringLiteral("hlp_index_%1.htm").arg(lang)));
        EXPECT_EQ(frmHlp::Peek()->CurrentURL(), HelpIndexPath);
    }
    EXPECT_TRUE(frmHlp::Peek()->isVisible());
    EXPECT_TRUE(FormLoaded[fiHlp]);
}

TEST_F(HelpWindow, AMissingTranslationFallsBackToEnglishUntilTheLanguageIsAppliedAgain)
{
    ASSERT_TRUE(QFile::remove(In("hlp_frmDaily_2.htm")));
    frmMain::Get()->show();
    SetLanguage(2);
    frmHlp *h = OpenOn("hlp_index");
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(h->WBr->LocationPath(), In("hlp_index_2.htm"));

    frmHlp::ShowHelpFor(QStringLiteral("frmDaily"));
    EXPECT_EQ(h->WBr->LocationPath(), In("hlp_frmDaily_0.htm"));
    EXPECT_EQ(h->Status(), GetLangString(1506));
    EXPECT_TRUE(testenv::WaitFor([&] { return h->lblMsg->text() == GetLangString(1506); }, 3000));
    EXPECT_EQ(frmMain::Peek()->lblMsg->text(), QStringLiteral(" ") + GetLangString(1506));
    EXPECT_EQ(h->HelpLang(), 0);
    // Every later page in English, until the language is applied again.
    frmHlp::ShowHelpFor(QStringLiteral("frmOptions"));
    EXPECT_EQ(h->WBr->LocationPath(), In("hlp_frmOptions_0.htm"));
    h->ApplyLang();
    EXPECT_EQ(h->HelpLang(), 2);
    frmHlp::ShowHelpFor(QStringLiteral("frmOptions"));
    EXPECT_EQ(h->WBr->LocationPath(), In("hlp_frmOptions_2.htm"));
    // The status keeps the note of the fall-back.
    EXPECT_EQ(h->Status(), GetLangString(1506));
}

TEST_F(HelpWindow, AMissingPageShowsTheErrorPageOfItsLanguageOrOfEnglish)
{
    SetLanguage(0);
    frmHlp *h = OpenOn("hlp_nothing");
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(h->WBr->LocationPath(), In("hlp_err_0.htm"));

    SetLanguage(3);
    h->Navigate(In("hlp_nothing.htm"));
    EXPECT_EQ(h->WBr->LocationPath(), In("hlp_err_3.htm"));
    // A web address and an address the browser cannot read are no pages of the help.
    h->Navigate(QStringLiteral("https://127.0.0.1/elsewhere.htm"));
    EXPECT_EQ(h->WBr->LocationPath(), In("hlp_err_3.htm"));

    ASSERT_TRUE(QFile::remove(In("hlp_err_1.htm")));
    SetLanguage(1);
    h->Navigate(In("hlp_nothing.htm"));
    EXPECT_EQ(h->WBr->LocationPath(), In("hlp_err_0.htm"));
    EXPECT_EQ(h->WBr->toPlainText(), TextOf(In("hlp_err_0.htm")));
}

TEST_F(HelpWindow, WithoutAnyErrorPageItSaysSoAndCloses)
{
    for (int lang = 0; lang < 4; ++lang)
        ASSERT_TRUE(QFile::remove(In(QStringLiteral("hlp_err_%1.htm").arg(lang))));
    SetLanguage(1);
    frmHlp *h = OpenOn("hlp_index");
    ASSERT_NE(h, nullptr);
    BoxWatcher boxes;
    h->Navigate(In("hlp_nothing.htm"));
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, BoxText(509));
    EXPECT_EQ(boxes.Boxes()[0].icon, 16);
    EXPECT_EQ(frmHlp::Peek(), nullptr);
    EXPECT_FALSE(FormLoaded[fiHlp]);
    // A window opened on a missing page goes the same way, and its caller is not harmed.
    frmHlp::ShowHelpFor(QStringLiteral("frmNothing"));
    EXPECT_EQ(frmHlp::Peek(), nullptr);
    EXPECT_EQ(boxes.Boxes().size(), 2u);
}

TEST_F(HelpWindow, TheWebSiteLinkAsksTheDesktopAndTheHelpStaysOnItsPage)
{
    UrlCatcher browser;
    frmHlp *h = OpenOn("hlp_index");
    const QString before = h->WBr->LocationPath();
    ASSERT_TRUE(FollowLink(h, QStringLiteral("==site")));
    ASSERT_EQ(browser.urls.size(), 1);
    EXPECT_EQ(browser.urls[0].toString(), helplinks::WebSitePage());
    EXPECT_EQ(browser.urls[0].toString(), QStringLiteral("http://127.0.0.1:9/web/action.do?null"));
    EXPECT_EQ(h->WBr->LocationPath(), before);
}

TEST_F(HelpWindow, VideoLinksPlayTheVideoBesideTheProgram)
{
    frmMain::Get()->show();
    struct Case {
        const char *page;
        const char *href;
        const char *file;
    };
    const Case cases[] = {
        {"hlp_frmStart", "[]hlp_LiveRecording.gif", "hlp_LiveRecording.gif"},
        {"hlp_frmDaily", "[]hlp_RecordTime.gif", "hlp_RecordTime.gif"},
        {"hlp_index", "[]hlp_RecordTime.gif", "hlp_RecordTime.gif"},
    };
    for (const Case &c : cases) {
        frmHlp *h = OpenOn(QString::fromLatin1(c.page));
        ASSERT_TRUE(FollowLink(h, QString::fromLatin1(c.href))) << c.href;
        frmVideo *v = frmVideo::Peek();
        ASSERT_NE(v, nullptr);
        EXPECT_TRUE(v->isVisible());
        EXPECT_EQ(v->flash->MovieFile(), In(QString::fromLatin1(c.file)));
        EXPECT_TRUE(v->flash->Playing());
        // The help page stays.
        EXPECT_EQ(h->WBr->LocationPath(), In(QString::fromLatin1(c.page) + QStringLiteral("_0.htm")));
    }
    // The About movie through a link with its old name finds its animation too.
    frmHlp::Peek()->Navigate(In("[]hlp_One_Desktop.swf"));
    EXPECT_EQ(frmVideo::Peek()->flash->MovieFile(), In("hlp_One_Desktop.gif"));
}

TEST_F(HelpWindow, AVideoLinkReachesNothingOutsideTheProgramFolder)
{
    const QString outside = testenv::MakeTempDir(QStringLiteral("outside")) + QStringLiteral("/x.gif");
    ASSERT_TRUE(QFile::copy(In("hlp_RecordTime.gif"), outside));
    frmHlp *h = OpenOn("hlp_index");
    for (const QString &arg : {QStringLiteral("../x.gif"), outside, QStringLiteral("sub/x.gif"),
                               QStringLiteral("..\\x.gif"), QString()}) {
        h->Navigate(In(QStringLiteral("[]") + arg));
        EXPECT_EQ(frmVideo::Peek(), nullptr) << arg.toStdString();
        EXPECT_EQ(h->lblMsg->text(), GetLangString(1206));
    }
    // A missing video of the program folder opens the player with its message.
    h->Navigate(In("[]hlp_Missing.gif"));
    ASSERT_NE(frmVideo::Peek(), nullptr);
    EXPECT_TRUE(frmVideo::Peek()->flash->Message().startsWith(GetLangString(1205)));
}

TEST_F(HelpWindow, WindowLinksOpenTheWindowsThroughTheirOwnEntries)
{
    frmMain *main = frmMain::Get();
    main->show();
    frmStart::Get()->ShowForm();
    frmHlp *h = OpenOn("hlp_frmDaily");
    const auto markerAt = [&](int button) {
        return forms::Top(main->shMenu) == forms::Top(main->btn[button]) - 15;
    };

    ASSERT_FALSE(FormLoaded[fiDaily]);
    ASSERT_TRUE(FollowLink(h, QStringLiteral(">>frmDaily")));
    ASSERT_NE(frmDaily::Peek(), nullptr);
    EXPECT_TRUE(frmDaily::Peek()->isVisible());
    EXPECT_TRUE(markerAt(1));
    // Once more: the same window comes forward.
    frmDaily *daily = frmDaily::Peek();
    h->Navigate(In(">>frmDaily"));
    EXPECT_EQ(frmDaily::Peek(), daily);

    h->Navigate(In(">>frmStart"));
    EXPECT_TRUE(markerAt(0));
    EXPECT_EQ(main->mdi->activeSubWindow(), frmStart::Peek()->subWindow());

    // Unknown names open nothing.
    h->Navigate(In(">>frmNothing"));
    h->Navigate(In(">>"));
    EXPECT_EQ(h->WBr->LocationPath(), In("hlp_frmDaily_0.htm"));
}

TEST_F(HelpWindow, WindowLinksMakeTheSameRefusalsAndQuestionsAsTheirEntries)
{
    frmMain *main = frmMain::Get();
    main->show();
    frmHlp *h = OpenOn("hlp_index");
    BoxWatcher boxes;

    // Expenses only while some project accepts them.
    AddReferenceData(false);
    h->Navigate(In(">>frmDailyExp"));
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, BoxText(127));
    EXPECT_EQ(frmDailyExp::Peek(), nullptr);
    AddReferenceData(true);
    frmHlp::ShowHelpFor(QStringLiteral("frmDailyExp"));
    ASSERT_TRUE(FollowLink(frmHlp::Peek(), QStringLiteral(">>frmDailyExp")));
    EXPECT_NE(frmDailyExp::Peek(), nullptr);
    EXPECT_EQ(boxes.Boxes().size(), 1u);

    // Synchronisation while offline: after the question, and only with Yes.
    IsConnected = false;
    boxes.Answer(QStringLiteral("btnNo"));
    h->Navigate(In(">>frmSynch"));
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(boxes.Boxes()[1].text, BoxText(120));
    EXPECT_EQ(frmSynch::Peek(), nullptr);
    boxes.Answer(QStringLiteral("btnYes"));
    h->Navigate(In(">>frmSynch"));
    EXPECT_EQ(boxes.Boxes().size(), 3u);
    EXPECT_NE(frmSynch::Peek(), nullptr);
    frmSynch::Unload();
    IsConnected = true;
    h->Navigate(In(">>frmSynch"));
    EXPECT_EQ(boxes.Boxes().size(), 3u);
    EXPECT_NE(frmSynch::Peek(), nullptr);

    // Options not while a timer runs.
    TimerRunning = true;
    h->Navigate(In(">>frmOptions"));
    ASSERT_EQ(boxes.Boxes().size(), 4u);
    EXPECT_EQ(boxes.Boxes()[3].text, BoxText(92));
    EXPECT_EQ(boxes.Boxes()[3].icon, 16);
    EXPECT_EQ(frmOptions::Peek(), nullptr);
    TimerRunning = false;
    frmHlp::ShowHelpFor(QStringLiteral("frmOptions"));
    ASSERT_TRUE(FollowLink(frmHlp::Peek(), QStringLiteral(">>frmOptions")));
    ASSERT_NE(frmOptions::Peek(), nullptr);
    EXPECT_TRUE(frmOptions::Peek()->isVisible());
    // An open options window comes forward even while a timer runs.
    TimerRunning = true;
    h->Navigate(In(">>frmOptions"));
    EXPECT_EQ(boxes.Boxes().size(), 4u);
    TimerRunning = false;
}

TEST_F(HelpWindow, TheSignInWindowOpenedForReadingNeverEndsTheProgram)
{
    auto *const savedEnd = frmLogin::EndProgram;
    frmLogin::EndProgram = [] { throw std::runtime_error("the program would end"); };
    frmHlp *h = OpenOn("hlp_Login");
    ASSERT_TRUE(FollowLink(h, QStringLiteral(">>frmLogin")));
    frmLogin *login = frmLogin::Peek();
    ASSERT_NE(login, nullptr);
    EXPECT_TRUE(login->isVisible());
    EXPECT_TRUE(login->ForReading());
    EXPECT_FALSE(login->btnLogin->isEnabled());
    EXPECT_FALSE(login->btn[0]->isEnabled());
    EXPECT_EQ(login->btn[1]->text(), GetLangString(905));
    EXPECT_LT(forms::Left(login->frMsg), -10000);
    // Asked again while open: the same window.
    h->Navigate(In(">>frmLogin"));
    EXPECT_EQ(frmLogin::Peek(), login);

    // A language switch keeps its leave button a Close button, and leaving only closes it.
    SetLanguage(1);
    login->ApplyLang();
    EXPECT_EQ(login->btn[1]->text(), GetLangString(905));
    login->btn[0]->setEnabled(true);   // even if the button were reached
    EXPECT_NO_THROW(login->btn_Click(0));
    EXPECT_NO_THROW(login->btn_Click(1));
    EXPECT_EQ(frmLogin::Peek(), nullptr);
    EXPECT_FALSE(FormLoaded[fiLogin]);

    // Its close box the same way.
    h->Navigate(In(">>frmLogin"));
    ASSERT_NE(frmLogin::Peek(), nullptr);
    EXPECT_NO_THROW(frmLogin::Peek()->close());
    EXPECT_EQ(frmLogin::Peek(), nullptr);
    EXPECT_EQ(Ended(), 0);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    frmLogin::EndProgram = savedEnd;
}

TEST_F(HelpWindow, BackForwardAndHome)
{
    frmHlp *h = OpenOn("hlp_index");
    // Back on the first page stays there.
    h->btnLeft_Click();
    EXPECT_EQ(h->WBr->LocationPath(), In("hlp_index_0.htm"));
    EXPECT_EQ(h->CurrentURL(), In("hlp_index_0.htm"));

    ASSERT_TRUE(FollowLink(h, QStringLiteral("hlp_WhatIs.htm")));
    EXPECT_EQ(h->WBr->LocationPath(), In("hlp_WhatIs_0.htm"));
    ASSERT_TRUE(FollowLink(h, QStringLiteral("hlp_frmDaily.htm")));
    EXPECT_EQ(h->WBr->LocationPath(), In("hlp_frmDaily_0.htm"));

    frametest::Click(h->btnLeft);
    EXPECT_EQ(h->WBr->LocationPath(), In("hlp_WhatIs_0.htm"));
    EXPECT_EQ(h->CurrentURL(), In("hlp_WhatIs_0.htm"));
    h->btnLeft_Click();
    EXPECT_EQ(h->WBr->LocationPath(), In("hlp_index_0.htm"));
    frametest::Click(h->btnRight);
    EXPECT_EQ(h->WBr->LocationPath(), In("hlp_WhatIs_0.htm"));
    EXPECT_EQ(h->CurrentURL(), In("hlp_WhatIs_0.htm"));
    EXPECT_EQ(h->WBr->toPlainText(), TextOf(In("hlp_WhatIs_0.htm")));

    SetLanguage(1);
    frametest::Click(h->btnHome);
    EXPECT_EQ(h->WBr->LocationPath(), In("hlp_index_1.htm"));
    // Refresh shows the same page again; Stop leaves it as it is.
    frametest::Click(h->btnRefresh);
    EXPECT_EQ(h->WBr->LocationPath(), In("hlp_index_1.htm"));
    frametest::Click(h->btnStop);
    EXPECT_EQ(h->WBr->LocationPath(), In("hlp_index_1.htm"));
    EXPECT_FALSE(h->lProg->isVisible());
}

TEST_F(HelpWindow, TheMenuOpensTheMainPagesAndCloses)
{
    SetLanguage(3);
    frmHlp *h = OpenOn("hlp_index");
    const std::pair<QAction *, const char *> entries[] = {
        {h->mnuHelp_Tarv, "hlp_WhatIs"},         {h->mnuHelp_Firsttime, "hlp_Login"},
        {h->mnuHelp_frmStart, "hlp_frmStart"},   {h->mnuHelp_frmDaily, "hlp_frmDaily"},
        {h->mnuHelp_frmDailyExp, "hlp_frmDailyExp"}, {h->mnuHelp_frmSynch, "hlp_frmSynch"},
        {h->mnuHelp_frmOptions, "hlp_frmOptions"},
    };
    for (const auto &[action, page] : entries) {
        action->trigger();
        EXPECT_EQ(h->WBr->LocationPath(), In(QString::fromLatin1(page) + QStringLiteral("_3.htm")));
    }
    // Captions in the language.
    EXPECT_EQ(h->mnuHelp->title(), GetLangString(500));
    EXPECT_EQ(h->mnuHelp_frmDaily->text(), GetLangString(504));
    EXPECT_EQ(h->mnuHelp_Close->text(), GetLangString(502));
    SetLanguage(1);
    EXPECT_EQ(h->mnuHelp_Close->text(), GetLangString(502));
    EXPECT_EQ(h->HelpLang(), 1);

    h->mnuHelp_Close->trigger();
    EXPECT_EQ(frmHlp::Peek(), nullptr);
    EXPECT_FALSE(FormLoaded[fiHlp]);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST_F(HelpWindow, HintsAndProgressInTheStatusStripWithoutBlocking)
{
    frmHlp *h = OpenOn("hlp_index");
    const std::pair<forms::Label *, int> hints[] = {
        {h->btnLeft, 510}, {h->btnRight, 511}, {h->btnHome, 512}, {h->btnStop, 513}, {h->btnRefresh, 514},
    };
    for (const auto &[button, id] : hints) {
        MouseMove(button);
        EXPECT_EQ(h->lblMsg->text(), GetLangString(int16_t(id)));
        EXPECT_FALSE(button->pixmap().isNull());
    }
    MouseMove(h->picBar);
    EXPECT_EQ(h->lblMsg->text(), h->Status());
    MouseMove(h->btnHome);
    MouseMove(h->lblMsg);
    EXPECT_EQ(h->lblMsg->toolTip(), GetLangString(512));

    // A page shown: the progress shows complete a moment, and the window answers meanwhile.
    QElapsedTimer t;
    t.start();
    h->Navigate(In("hlp_WhatIs.htm"));
    EXPECT_LT(t.elapsed(), 500);
    EXPECT_TRUE(h->lProg->isVisibleTo(h));
    EXPECT_EQ(h->lblProg->text().remove(QRegularExpression(QStringLiteral("[.,]"))), QStringLiteral("10000%"));
    EXPECT_EQ(h->lProg->width(), forms::TwipsToPixels(1000));
    EXPECT_EQ(h->lblMsg->text(), QStringLiteral("Start downloading..."));
    bool answered = false;
    QTimer::singleShot(50, [&] { answered = true; });
    EXPECT_TRUE(testenv::WaitFor([&] { return answered; }, 300));
    EXPECT_TRUE(testenv::WaitFor([&] { return !h->lProg->isVisibleTo(h); }, 3000));
    EXPECT_EQ(h->lblMsg->text(), h->Status());
}

TEST_F(HelpWindow, StandsRightOfTheMainWindowOnTop)
{
    frmMain *main = frmMain::Get();
    main->show();
    main->move(40, 30);
    QApplication::processEvents();
    frmHlp *h = OpenOn("hlp_index");
    ASSERT_NE(h, nullptr);
    EXPECT_TRUE(h->isWindow());
    EXPECT_TRUE(h->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(h->windowTitle(), QStringLiteral("Tarvelo Desktop help"));
    // Right of the main window, or against the screen's right edge where it would not fit.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const int right = main->frameGeometry().right() + 1;
    const int width = h->frameGeometry().width();
    EXPECT_EQ(h->frameGeometry().left(), std::min(right, screen.right() + 1 - width));
    EXPECT_EQ(h->frameGeometry().top(), main->frameGeometry().top());
    EXPECT_EQ(h->frameGeometry().height(), main->frameGeometry().height());
    EXPECT_EQ(h->width(), forms::TwipsToPixels(4770));
}

TEST_F(HelpWindow, TheWindowsHelpEntriesOpenTheirPages)
{
    frmMain::Get()->show();
    SetLanguage(2);
    frmStart *t = frmStart::Get();
    t->ShowForm();
    t->mnuHelp_Form->trigger();
    ASSERT_NE(frmHlp::Peek(), nullptr);
    EXPECT_EQ(frmHlp::Peek()->WBr->LocationPath(), In("hlp_frmStart_2.htm"));
    frmHlp::Unload();
    t->mnuHelp_Help->trigger();
    ASSERT_NE(frmHlp::Peek(), nullptr);
    EXPECT_EQ(frmHlp::Peek()->WBr->LocationPath(), In("hlp_index_2.htm"));
    frmHlp::Unload();

    frmLogin *login = frmLogin::Get();
    login->mnuHelp_AddUser->trigger();
    ASSERT_NE(frmHlp::Peek(), nullptr);
    EXPECT_EQ(frmHlp::Peek()->WBr->LocationPath(), In("hlp_Login_2.htm"));
    frmHlp::Unload();
    frmLogin::Unload();

    // The message box's Help button.
    BoxWatcher boxes;
    boxes.Answer(QStringLiteral("btnHelp"));
    boxes.Answer(QStringLiteral("btnOK"));
    EXPECT_EQ(ShowMsg(QStringLiteral("Help?"), 16384), 1);
    EXPECT_EQ(boxes.Boxes().size(), 2u);
    ASSERT_NE(frmHlp::Peek(), nullptr);
    EXPECT_EQ(frmHlp::Peek()->WBr->LocationPath(), In("hlp_index_2.htm"));
}

} // namespace
