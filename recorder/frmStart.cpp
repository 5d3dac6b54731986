// The timers window's frame: what it does when it is loaded and each time it becomes the active
// child of the main window, its menus, the status-line hints of its controls, its captions and
// the report of the version check.
#include "recorder/frmStart.h"

#include "core/ChildWindow.h"
#include "core/Captions.h"

#include "core/frmMain.h"
#include "core/modHttp.h"
#include "core/modMain.h"
#include "core/modMain_ShutDown.h"
#include "core/modMain_Service.h"
#include "platform/forms/Tag.h"
#include "platform/forms/Units.h"
#include "recorder/frmSysTray.h"
#include "options_help/frmHlp.h"
#include "options_help/frmVideo.h"
#include "store/modDBchr.h"
#include "sync/frmSynch.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

#include <functional>
#include <stdexcept>

namespace {

// The load goes on past a step that fails: a failure skips only that step.
void Step(const std::function<void()> &step)
{
    try {
        step();
    } catch (...) {
    }
}

// The hourglass while the window works; the normal pointer again when it is done.
void ShowHourglass()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void RestorePointer()
{
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

template <class T>
T *Need(T *control)
{
    if (!control)
        throw std::runtime_error("control missing");
    return control;
}

void CallShutDown()
{
    modMain::ShutDown(true);
}

// The service's web address: the scheme, host and port of the address its requests go to.
QString ServiceWebAddress()
{
    const QUrl endpoint(modHttp::ServiceEndpoint());
    return endpoint.toString(QUrl::RemovePath | QUrl::RemoveQuery | QUrl::RemoveFragment | QUrl::StripTrailingSlash);
}

constexpr int kMenuHeight = 390;   // twips: the strip the controls leave for the menu bar

} // namespace

frmStart::frmStart()
{
    using namespace modMain;
    setObjectName("frmStart");
    setWindowTitle(QStringLiteral("Live Recording"));
    CreateControls();
    CreateMenus();
    m_parkLater = new QTimer(this);
    m_parkLater->setSingleShot(true);
    m_parkLater->setInterval(700);
    connect(m_parkLater, &QTimer::timeout, this, &frmStart::ParkLoaded);

    frmMain *main = frmMain::Get();
    // The window fills the document area at its top left corner, without a frame of its own.
    m_sub = main->mdi->addSubWindow(this, Qt::SubWindow | Qt::FramelessWindowHint);
    m_sub->setObjectName("frmStartSub");
    ChildWindow::WatchActivation(this, m_sub, [this] { Form_Activate(); });

    // 1.
    Step([&] {
        m_sub->move(0, 0);
        forms::Move(MyTree, 180, forms::Top(MyTree));
    });
    // 2.-3.
    Step([&] { CreateSysTray(); });
    Step([&] {
        if (AutoStart == 1)
            setSysTray();
    });
    // 4.
    Step([&] { ApplyLang(); });
    // 5.
    Step([&] {
        const bool mainNotNormal = main->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized);
        if (ShowBalloons == 1 && !(mainNotNormal && TimerRunning) && m_frmSysTray)
            m_frmSysTray->ShowBalloonTip(QStringLiteral("Tarvelo Desktop"), QString(), 0, 30000);
    });
    // 6.
    Step([&] { lstTimers->SetRows(0); });
    Step([&] { ResetEditPanel(); });
    Step([&] {
        lstTimers->SetCols(colCount);
        lstTimers->SetRows(0);
        lstTimers->SetFixedRows(0);
        for (int c = 0; c < colCount; ++c)
            lstTimers->SetColWidth(c, 0);
        lstTimers->SetColWidth(colPic, 300);
        lstTimers->SetColWidth(colName, 1600);
        lstTimers->SetColWidth(colProjName, 1600);
        lstTimers->SetColWidth(colTaskName, 1600);
    });
    // 7.
    Step([&] { LoadDigitPictures(); });
    // 8.
    Step([&] {
        int32_t running = -1;
        LoadRunning(running);
        if (running != -1) {
            TimerRunning = true;
            LoadRecArr(int16_t(running));
            SetTaskbarIcon();
        }
        // The person sees at once what came back: the running timer selected, its start and
        // its time counting, Stop and Cancel as they stand for it (else the row left selected).
        if (lstTimers->Rows() > 0) {
            if (running != -1)
                lstTimers->SetRow(running);
            DoClick();
        }
    });
    // The hot key of the settings works from the start, not only once the options have been
    // saved in this run.
    Step([&] { SetHotKey(); });
    // 9.-11.
    Step([&] { picInfo->setVisible(lstTimers->Rows() == 0); });
    Step([&] { main->CheckConnection(); });
    FormLoaded[fiStart] = true;
}

frmStart::~frmStart()
{
    Forget(this);
}

void frmStart::CreateMenus()
{
    mnuBar = new QMenuBar(this);
    mnuBar->setObjectName("mnuBar");
    mnuBar->setNativeMenuBar(false);
    forms::Move(mnuBar, 0, 0, forms::Width(this), kMenuHeight);

    const auto item = [this](QMenu *menu, const char *name, const QString &caption, void (frmStart::*handler)()) {
        QAction *a = menu->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        if (handler)
            connect(a, &QAction::triggered, this, handler);
        return a;
    };
    const auto dash = [](QMenu *menu, const char *name) {
        QAction *a = menu->addSeparator();
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };

    mnuFile = mnuBar->addMenu(QStringLiteral("Tarvelo Desktop"));
    mnuFile->setObjectName("mnuFile");
    mnuFile->menuAction()->setObjectName("mnuFile");
    connect(mnuFile, &QMenu::aboutToShow, this, &frmStart::mnuFile_Click);
    mnuFile_Updates = item(mnuFile, "mnuFile_Updates", QStringLiteral("Check for Updates"), &frmStart::mnuFile_Updates_Click);
    mnuFile_About = item(mnuFile, "mnuFile_About", QStringLiteral("About"), &frmStart::mnuFile_About_Click);
    mnuFile_Dash = dash(mnuFile, "mnuFile_Dash");
    mnuFile_Exit = item(mnuFile, "mnuFile_Exit", QStringLiteral("Exit"), &frmStart::mnuFile_Exit_Click);

    mnuOptions = mnuBar->addMenu(QStringLiteral("Options"));
    mnuOptions->setObjectName("mnuOptions");
    mnuOptions->menuAction()->setObjectName("mnuOptions");
    mnuOptions_Form = item(mnuOptions, "mnuOptions_Form", QStringLiteral("Options Form"), &frmStart::mnuOptions_Form_Click);
    mnuMan_Dash1 = dash(mnuOptions, "mnuMan_Dash1");

    mnuHelp = mnuBar->addMenu(QStringLiteral("Help"));
    mnuHelp->setObjectName("mnuHelp");
    mnuHelp->menuAction()->setObjectName("mnuHelp");
    mnuHelp_Help = item(mnuHelp, "mnuHelp_Help", QStringLiteral("Help on Tarvelo"), &frmStart::mnuHelp_Help_Click);
    mnuHelp_Form = item(mnuHelp, "mnuHelp_Form", QStringLiteral("Help on this Form"), &frmStart::mnuHelp_Form_Click);
    mnuHelp_Dash0 = dash(mnuHelp, "mnuHelp_Dash0");
    mnuHelp_video = item(mnuHelp, "mnuHelp_video", QStringLiteral("Show Video Help "), &frmStart::mnuHelp_video_Click);

    // Status-line hints over the controls, and the tree that folds away.
    for (QWidget *w : std::initializer_list<QWidget *>{btnQ, btnStart, btnStop, btnLoad, btnUnload, lProj, btnCancel, frAct, frEdit}) {
        w->setMouseTracking(true);
        w->installEventFilter(this);
    }
    connect(lTask, &forms::Label::Click, this, [this] { MyTree->setVisible(false); });
}

// ---- showing and activation ----------------------------------------------------------------

void frmStart::ShowForm()
{
    ChildWindow::BringToFront(this);
    modMain::FormLoaded[modMain::fiStart] = true;
}

void frmStart::Form_Activate()
{
    using namespace modMain;
    frmMain *main = frmMain::Get();
    // 1.-4.
    ShowHourglass();
    picInfo->setVisible(lstTimers->Rows() == 0);
    MyTree->SetImageList(&main->imgLst);
    forms::Move(main->shMenu, forms::Left(main->shMenu), forms::Top(main->btn[0]) - 15);

    if (modDBchr::CountCategs() == 0) {
        // 5. Nothing to record on yet: the person's categories have to come from the service.
        RestorePointer();
        if (IsConnected) {
            bool download = true;
            if (!m_categNotice) {
                ShowMsg(GetLangString(73), 64);
                m_categNotice = true;
            } else if (ShowMsg(GetLangString(72), 4) == 7) {
                download = false;
                QPointer<frmStart> self(this);
                CallShutDown();
                // Still here: the person chose to go on working (unless the windows are gone).
                if (!self || !frmMain::Peek())
                    return;
            }
            if (download) {
                ShowHourglass();
                frmSynch *synch = frmSynch::Get();
                ChildWindow::BringToFront(synch);
                synch->btnConnect_Click(0);
                RestorePointer();
            }
        }
    } else {
        // 6.
        RestorePointer();
        if (MyTree->Count() == 0)
            modDBchr::FillProjectTree(MyTree, false, false);
        m_categNotice = false;
    }
    // 7.-8.
    forms::Move(main->picCover, -12000, forms::Top(main->picCover));
    FormLoaded[fiStart] = true;
}

void frmStart::closeEvent(QCloseEvent *e)
{
    // The timers live in this window: it is never closed on its own, only with the program.
    e->ignore();
}

// ---- status-line hints ---------------------------------------------------------------------

bool frmStart::eventFilter(QObject *watched, QEvent *e)
{
    const QEvent::Type t = e->type();
    if (t == QEvent::MouseMove || t == QEvent::Enter) {
        int16_t id = 0;
        if (watched == btnQ) id = 76;
        else if (watched == btnStart) id = 77;
        else if (watched == btnStop) id = 78;
        else if (watched == btnLoad) id = 79;
        else if (watched == btnUnload) id = 80;
        else if (watched == lProj) id = 81;
        else if (watched == btnCancel) id = 82;
        else if (watched == frAct || watched == frEdit) id = -1;
        if (id != 0)
            modMain::SetStatus(id, QString());
        // A move over a control is its own: the frame around it does not clear its hint.
        if (id > 0 && t == QEvent::MouseMove)
            return true;
    } else if (t == QEvent::MouseButtonPress && watched == frEdit) {
        MyTree->setVisible(false);
    }
    return QWidget::eventFilter(watched, e);
}

// ---- menus ----------------------------------------------------------------------------------

void frmStart::mnuFile_Click()
{
    mnuFile_Updates->setEnabled(modMain::IsConnected);
}

void frmStart::mnuFile_Updates_Click()
{
    DisplayUpdatesResult(true);
}

void frmStart::mnuFile_About_Click()
{
    frmVideo *v = frmVideo::Get();
    forms::Move(v->frAbout, 3, forms::Top(v->frAbout));
    v->flash->SetHeight(145);
    v->flash->SetScaleMode(0);
    v->flash->LoadMovie(0, modMain::AppPath() + QStringLiteral("/hlp_One_Desktop.swf"));
    ChildWindow::BringToFront(v);
    v->flash->Play();
}

void frmStart::mnuFile_Exit_Click()
{
    // After the menu has closed: the shutdown takes this window with it.
    QTimer::singleShot(0, [] { CallShutDown(); });
}

void frmStart::mnuOptions_Form_Click()
{
    // One way into the options for every caller: refused while a timer records (string 92).
    frmMain::Get()->OpenWindow(QStringLiteral("frmOptions"));
}

void frmStart::mnuHelp_Help_Click()
{
    frmHlp *h = frmHlp::Get();
    h->SetStartPage(modMain::HelpIndexPath);
    ChildWindow::BringToFront(h);
}

void frmStart::mnuHelp_Form_Click()
{
    frmHlp *h = frmHlp::Get();
    h->WBr->Navigate2(modMain::HelpPagePath(this, modMain::LangID));
    ChildWindow::BringToFront(h);
}

void frmStart::mnuHelp_video_Click()
{
    frmVideo *v = frmVideo::Get();
    forms::Move(v->frAbout, -12000, forms::Top(v->frAbout));
    ChildWindow::BringToFront(v);
    v->flash->LoadMovie(0, modMain::AppPath() + QStringLiteral("/hlp_LiveRecording.swf"));
    v->flash->Play();
}

// ---- captions -------------------------------------------------------------------------------

void frmStart::ApplyLang()
{
    using namespace modMain;
    modMain::ApplyLangOrTell([&] {
        for (int i = 1; i <= 10; ++i)
            Need(lbl[i])->SetCaption(GetLangString(int16_t(forms::Tag(lbl[i]).toInt())));
        Need(lblInfo)->SetCaption(GetLangString(11, true));
        Need(frAct)->setTitle(GetLangString(12));
        Need(frEdit)->setTitle(GetLangString(13));
        Need(btnLoad)->setText(GetLangString(901));
        Need(btnUnload)->setText(GetLangString(902));
        QuickRecName = GetLangString(25);
        Need(mnuOptions)->setTitle(GetLangString(49));
        Need(mnuOptions_Form)->setText(GetLangString(50));
        Need(mnuFile_About)->setText(GetLangString(51));
        Need(mnuFile_Updates)->setText(GetLangString(53));
        Need(mnuFile_Exit)->setText(GetLangString(24));
        Need(mnuHelp)->setTitle(GetLangString(958));
        Need(mnuHelp_Help)->setText(GetLangString(54));
        Need(mnuHelp_video)->setText(GetLangString(977));
        Need(mnuHelp_Form)->setText(GetLangString(959));
        if (AutoStart == 1 && m_frmSysTray) {
            static const int16_t kTrayIds[7] = {86, 87, 88, 89, 90, 0, 24};
            for (int i = 0; i < 7; ++i) {
                if (i == 5)
                    continue;   // the separator
                if (QAction *a = m_frmSysTray->mnuSysTray(i))
                    a->setText(QStringLiteral("&") + GetLangString(kTrayIds[i]));
            }
        }
    });
}

// ---- the version check -----------------------------------------------------------------------

void frmStart::DisplayUpdatesResult(bool showAlways)
{
    using namespace modMain;
    ShowHourglass();
    QString result;
    try {
        result = CheckVersion(frmMain::Peek());
    } catch (...) {
        result = QStringLiteral("#") + GetLangString(817);
    }
    // The person answers the boxes below with the normal pointer.
    RestorePointer();
    if (result.startsWith(QLatin1Char('#'))) {
        if (showAlways)
            ShowMsg(result.mid(1), 16);
    } else if (result == QStringLiteral("-1")) {
        if (showAlways)
            ShowMsg(GetLangString(1001), 48);
    } else if (ShowMsg(GetLangString(1002), 36) == 6) {
        ShellOpen(this, ServiceWebAddress() + DownloadPagePath);
    }
}
