#include "options_help/frmHlp.h"

#include "core/CMessage.h"
#include "core/ChildWindow.h"
#include "core/frmMain.h"
#include "core/modMain.h"
#include "options_help/HelpLinks.h"
#include "options_help/HelpRules.h"
#include "options_help/frmVideo.h"
#include "platform/forms/Label.h"
#include "platform/forms/Units.h"
#include "resources/Pictures.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

namespace {

// The window is always this wide (twips).
constexpr int kWidth = 4770;
// The progress bar is this wide when a page is complete (twips).
constexpr int kProgWidth = 1000;

bool FileExists(const QString &path)
{
    return QFileInfo(path).isFile();
}

// The string id of each toolbar button's hint.
int HintOf(const QObject *button)
{
    static const QList<QPair<QString, int>> hints = {
        {QStringLiteral("btnLeft"), 510},  {QStringLiteral("btnRight"), 511},
        {QStringLiteral("btnHome"), 512},  {QStringLiteral("btnStop"), 513},
        {QStringLiteral("btnRefresh"), 514},
    };
    for (const auto &h : hints)
        if (button->objectName() == h.first)
            return h.second;
    return 0;
}

QString PageOf(const QString &name)
{
    return modMain::AppPath() + QStringLiteral("/") + name;
}

// The message box's Help button opens its page here, wherever this window is linked in.
[[maybe_unused]] const bool kMessageBoxHelp = [] {
    CMessage::HelpWindow = [](const QString &page) { frmHlp::ShowPage(page); };
    return true;
}();

} // namespace

// ---- the browser ------------------------------------------------------------------------

HelpBrowser::HelpBrowser(QWidget *parent) : QTextBrowser(parent)
{
    // The window decides every navigation: links arrive at its handler.
    setOpenLinks(false);
    setOpenExternalLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, [this](const QUrl &url) {
        // Relative links are resolved against the page shown, so that a link command of a
        // page arrives as the program folder followed by the command.
        Navigate2(url.isLocalFile() ? url.toLocalFile() : url.toString());
    });
    connect(this, &QTextBrowser::sourceChanged, this, [this](const QUrl &url) {
        m_location = url.isLocalFile() ? url.toLocalFile() : url.toString();
    });
}

void HelpBrowser::Navigate2(const QString &address)
{
    if (BeforeNavigate)
        BeforeNavigate(address);
    else
        Show(address);
}

void HelpBrowser::Show(const QString &file)
{
    const QUrl url = QUrl::fromLocalFile(file);
    if (source() == url)
        reload();
    else
        setSource(url);
    m_location = file;
}

// ---- load and unload --------------------------------------------------------------------

frmHlp::frmHlp()
{
    using namespace modMain;
    setObjectName("frmHlp");
    setWindowTitle(QStringLiteral("Tarvelo Desktop help"));
    CreateControls();
    m_done = new QTimer(this);
    m_done->setSingleShot(true);
    m_done->setInterval(1000);
    connect(m_done, &QTimer::timeout, this, [this] {
        lblMsg->setText(m_Status);
        lProg->setVisible(false);
        lblProg->setVisible(false);
    });
    ApplyLang();
    Place();
    show();
    // Once shown its frame is known (a window manager tells it a moment later): the outer
    // height is the main window's.
    Place();
    QTimer::singleShot(200, this, [this] { Place(); });
    lProg->setVisible(false);
    lblProg->setVisible(false);
    FormLoaded[fiHlp] = true;
}

frmHlp::~frmHlp()
{
    if (!Peek() || Peek() == this)
        modMain::FormLoaded[modMain::fiHlp] = false;
    Forget(this);
}

void frmHlp::UnloadSelf()
{
    modMain::FormLoaded[modMain::fiHlp] = false;
    Forget(this);
    hide();
    deleteLater();
}

void frmHlp::CreateControls()
{
    setFixedWidth(forms::TwipsToPixels(kWidth));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    mnuBar = new QMenuBar(this);
    mnuBar->setObjectName("mnuBar");
    layout->setMenuBar(mnuBar);
    mnuHelp = mnuBar->addMenu(QStringLiteral("Get help on.."));
    mnuHelp->setObjectName("mnuHelp");
    auto entry = [this](const char *name, const QString &caption, std::function<void()> action) {
        QAction *a = mnuHelp->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, std::move(action));
        return a;
    };
    mnuHelp_Tarv = entry("mnuHelp_Tarv", QStringLiteral("What is Tarvelo Desktop"),
                         [this] { Navigate(PageOf(QStringLiteral("hlp_WhatIs.htm"))); });
    mnuHelp_Firsttime = entry("mnuHelp_Firsttime", QStringLiteral("First Time Login procedure"),
                              [this] { Navigate(PageOf(QStringLiteral("hlp_Login.htm"))); });
    mnuHelp->addSeparator()->setObjectName("mnuHelp_Dash0");
    auto windowEntry = [&](const char *name, const QString &caption, const QString &window) {
        return entry(name, caption, [this, window] { Navigate(PageOf(QStringLiteral("hlp_") + window + QStringLiteral(".htm"))); });
    };
    mnuHelp_frmStart = windowEntry("mnuHelp_frmStart", QStringLiteral("Live Recording Form"), QStringLiteral("frmStart"));
    mnuHelp_frmDaily = windowEntry("mnuHelp_frmDaily", QStringLiteral("Record Time Form"), QStringLiteral("frmDaily"));
    mnuHelp_frmDailyExp = windowEntry("mnuHelp_frmDailyExp", QStringLiteral("Record Expenses Form"), QStringLiteral("frmDailyExp"));
    mnuHelp_frmSynch = windowEntry("mnuHelp_frmSynch", QStringLiteral("Synchronize Form"), QStringLiteral("frmSynch"));
    mnuHelp_frmOptions = windowEntry("mnuHelp_frmOptions", QStringLiteral("Options Form"), QStringLiteral("frmOptions"));
    mnuHelp->addSeparator()->setObjectName("mnuHelp_Dash1");
    // After the menu has closed: the window goes with it.
    mnuHelp_Close = entry("mnuHelp_Close", QStringLiteral("Close Help"), [this] { UnloadSelf(); });

    // The toolbar strip.
    picBar = new QWidget(this);
    picBar->setObjectName("picBar");
    picBar->setMouseTracking(true);
    picBar->installEventFilter(this);
    auto *bar = new QHBoxLayout(picBar);
    bar->setContentsMargins(4, 2, 4, 2);
    bar->setSpacing(6);
    auto button = [&](const char *name, QStyle::StandardPixmap picture, void (frmHlp::*click)()) {
        auto *b = new forms::Label(picBar);
        b->setObjectName(QString::fromLatin1(name));
        b->setPixmap(style()->standardIcon(picture).pixmap(22, 22));
        b->setFixedSize(28, 26);
        b->setAlignment(Qt::AlignCenter);
        b->setCursor(helplinks::HandCursor());
        b->setMouseTracking(true);
        b->installEventFilter(this);
        connect(b, &forms::Label::Click, this, click);
        bar->addWidget(b);
        return b;
    };
    btnLeft = button("btnLeft", QStyle::SP_ArrowBack, &frmHlp::btnLeft_Click);
    btnRight = button("btnRight", QStyle::SP_ArrowForward, &frmHlp::btnRight_Click);
    btnHome = button("btnHome", QStyle::SP_DirHomeIcon, &frmHlp::btnHome_Click);
    btnRefresh = button("btnRefresh", QStyle::SP_BrowserReload, &frmHlp::btnRefresh_Click);
    btnStop = button("btnStop", QStyle::SP_BrowserStop, &frmHlp::btnStop_Click);
    bar->addStretch(1);
    layout->addWidget(picBar);

    WBr = new HelpBrowser(this);
    WBr->setObjectName("WBr");
    WBr->BeforeNavigate = [this](const QString &address) { Navigate(address); };
    layout->addWidget(WBr, 1);

    // The status strip: the hint or status text, and the progress at its right end.
    picStatus = new QWidget(this);
    picStatus->setObjectName("picStatus");
    picStatus->setFixedHeight(forms::TwipsToPixels(330));
    auto *strip = new QHBoxLayout(picStatus);
    strip->setContentsMargins(4, 0, 4, 0);
    strip->setSpacing(4);
    lblMsg = new QLabel(picStatus);
    lblMsg->setObjectName("lblMsg");
    lblMsg->setMouseTracking(true);
    lblMsg->installEventFilter(this);
    strip->addWidget(lblMsg, 1);
    Picprog = new QWidget(picStatus);
    Picprog->setObjectName("Picprog");
    Picprog->setFixedSize(forms::TwipsToPixels(kProgWidth + 30), forms::TwipsToPixels(240));
    lProg = new QLabel(Picprog);
    lProg->setObjectName("lProg");
    lProg->setAutoFillBackground(true);
    QPalette pal = lProg->palette();
    pal.setColor(QPalette::Window, QColor(0x3a, 0x6e, 0xa5));
    lProg->setPalette(pal);
    lProg->setGeometry(0, 0, 0, Picprog->height());
    lblProg = new QLabel(Picprog);
    lblProg->setObjectName("lblProg");
    lblProg->setAlignment(Qt::AlignCenter);
    lblProg->setGeometry(0, 0, Picprog->width(), Picprog->height());
    strip->addWidget(Picprog);
    layout->addWidget(picStatus);
}

void frmHlp::Place()
{
    using namespace modMain;
    // Beside the main window, as high as it, on top of the other windows.
    int x = 0, y = 0, height = forms::TwipsToPixels(7320);
    if (frmMain *main = frmMain::Peek(); main && main->isVisible()) {
        GetFormRect(main);
        x = FormRect.Right;
        y = FormRect.Top;
        height = FormRect.Bottom - FormRect.Top;
    }
    // Beyond the right edge of the screen it would be out of reach: it then covers the main
    // window's right side instead.
    const int outerWidth = forms::TwipsToPixels(kWidth) + (frameGeometry().width() - width());
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        if (x + outerWidth > area.right() + 1)
            x = std::max(area.left(), area.right() + 1 - outerWidth);
    }
    SetFormPos(this, -1, x, y, outerWidth, height, 0);
}

void frmHlp::setVisible(bool visible)
{
    QWidget::setVisible(visible);
    if (visible && WBr && WBr->LocationPath().isEmpty() && !m_currentURL.isEmpty())
        Navigate(m_currentURL);
}

// ---- what other windows call --------------------------------------------------------------

void frmHlp::ShowHelpFor(const QString &windowName)
{
    ShowPage(PageOf(QStringLiteral("hlp_") + windowName + QStringLiteral(".htm")));
}

void frmHlp::ShowHelpIndex()
{
    frmHlp *h = Get();
    h->SetCurrentURL(modMain::HelpIndexPath);
    h->Navigate(h->CurrentURL());
    if (Peek() == h)
        ChildWindow::BringToFront(h);
}

void frmHlp::ShowPage(const QString &path)
{
    frmHlp *h = Get();
    h->Navigate(path);
    if (Peek() == h)
        ChildWindow::BringToFront(h);
}

void frmHlp::SetStartPage(const QString &path)
{
    m_currentURL = path;
    if (isVisible())
        Navigate(path);
}

// ---- the navigation handler -----------------------------------------------------------------

void frmHlp::Navigate(const QString &address)
{
    using namespace modMain;
    // Nothing asked for: nothing to show (a caller without a page, such as a help index
    // that start-up has not named yet).
    if (address.trimmed().isEmpty())
        return;
    try {
        const QString folder = AppPath();
        const QString errorPage = helprules::ErrorPage(folder, m_Lang);
        if (helprules::LocalPath(address) == errorPage && FileExists(errorPage)) {
            OpenPage(errorPage);
            return;
        }
        const helprules::Link link = helprules::ParseAddress(folder, address);
        switch (link.command) {
        case helprules::Command::WebSite:
            helplinks::OpenWebSite(this);
            return;
        case helprules::Command::Video:
            PlayVideo(link.argument);
            return;
        case helprules::Command::Window:
            helplinks::OpenProgramWindow(link.argument);
            return;
        case helprules::Command::Page:
            break;
        }
        const helprules::PageChoice choice = helprules::ChoosePage(address, m_Lang, FileExists);
        if (choice.path.isEmpty()) {
            ErrorPageChain();
            return;
        }
        if (choice.fellBack) {
            m_Status = GetLangString(1506);
            if (frmMain *main = frmMain::Peek(); main && main->lblMsg)
                main->lblMsg->SetCaption(QStringLiteral(" ") + m_Status);
            lblMsg->setText(m_Status);
            m_Lang = 0;
        }
        OpenPage(choice.path);
    } catch (...) {
        // A failure ends the handler; what is on the screen stays.
    }
}

void frmHlp::ErrorPageChain()
{
    const QString folder = modMain::AppPath();
    const QString own = helprules::ErrorPage(folder, m_Lang);
    const QString first = helprules::ErrorPage(folder, 0);
    if (FileExists(own)) {
        OpenPage(own);
    } else if (FileExists(first)) {
        OpenPage(first);
    } else {
        modMain::ShowMsg(modMain::GetLangString(509), 16);
        UnloadSelf();
    }
}

void frmHlp::OpenPage(const QString &file)
{
    WBr_DownloadBegin();
    WBr->Show(file);
    WBr_ProgressChange(1, 1);
    WBr_DocumentComplete();
}

void frmHlp::PlayVideo(const QString &name)
{
    using namespace modMain;
    // Only a file beside the program: a link cannot reach anything else on the computer.
    if (!helprules::IsBareFileName(name)) {
        lblMsg->setText(GetLangString(1206));
        return;
    }
    frmVideo *v = frmVideo::Get();
    v->flash->LoadMovie(0, AppPath() + QStringLiteral("/") + name);
    ChildWindow::BringToFront(v);
    v->flash->Play();
}

// ---- progress ---------------------------------------------------------------------------------

void frmHlp::WBr_DownloadBegin()
{
    m_done->stop();
    lblMsg->setText(QStringLiteral("Start downloading..."));
    lProg->setVisible(true);
    lblProg->setVisible(true);
}

void frmHlp::WBr_ProgressChange(qint64 progress, qint64 progressMax)
{
    if (progressMax == 0)
        return;
    const double ratio = double(progress) / double(progressMax);
    lProg->resize(forms::TwipsToPixels(int(ratio * kProgWidth)), lProg->height());
    lblProg->setText(QLocale::c().toString(ratio * 100, 'f', 2).replace(QLatin1Char('.'), modMain::DecimalSep.isEmpty() ? QStringLiteral(".") : modMain::DecimalSep) + QStringLiteral("%"));
    lProg->repaint();
    lblProg->repaint();
}

void frmHlp::WBr_DocumentComplete()
{
    lProg->repaint();
    lblProg->repaint();
    // The finished progress stays a moment; the window answers the person meanwhile.
    m_done->start();
}

// ---- toolbar ------------------------------------------------------------------------------------

void frmHlp::btnLeft_Click()
{
    if (WBr->isBackwardAvailable())
        WBr->backward();
    m_currentURL = WBr->LocationPath();
}

void frmHlp::btnRight_Click()
{
    if (WBr->isForwardAvailable())
        WBr->forward();
    m_currentURL = WBr->LocationPath();
}

void frmHlp::btnHome_Click()
{
    Navigate(modMain::HelpIndexPath);
}

void frmHlp::btnRefresh_Click()
{
    if (!WBr->LocationPath().isEmpty())
        OpenPage(WBr->LocationPath());
}

void frmHlp::btnStop_Click()
{
    // Pages are read at once from the program folder: there is nothing under way to stop but
    // the progress display.
    m_done->stop();
    lblMsg->setText(m_Status);
    lProg->setVisible(false);
    lblProg->setVisible(false);
}

bool frmHlp::eventFilter(QObject *watched, QEvent *e)
{
    const QEvent::Type t = e->type();
    if (t == QEvent::MouseMove || t == QEvent::Enter) {
        if (watched == picBar) {
            lblMsg->setText(m_Status);
        } else if (watched == lblMsg) {
            if (!lblMsg->text().isEmpty())
                lblMsg->setToolTip(lblMsg->text());
        } else if (const int hint = HintOf(watched)) {
            lblMsg->setText(modMain::GetLangString(int16_t(hint)));
            // Not on to the strip below the button, which would put the status back.
            return true;
        }
    }
    return QWidget::eventFilter(watched, e);
}

// ---- captions -----------------------------------------------------------------------------------

void frmHlp::ApplyLang()
{
    using namespace modMain;
    ApplyLangOrTell([&] {
        const std::pair<QObject *, int> captions[] = {
            {mnuHelp, 500},          {mnuHelp_Tarv, 501},      {mnuHelp_Close, 502},
            {mnuHelp_Firsttime, 503}, {mnuHelp_frmDaily, 504}, {mnuHelp_frmDailyExp, 505},
            {mnuHelp_frmStart, 506}, {mnuHelp_frmSynch, 507},  {mnuHelp_frmOptions, 508},
        };
        for (const auto &[control, id] : captions) {
            const QString text = GetLangString(int16_t(id));
            if (auto *menu = qobject_cast<QMenu *>(control))
                menu->setTitle(text);
            else if (auto *action = qobject_cast<QAction *>(control))
                action->setText(text);
        }
        m_Lang = LangID;
    });
}
