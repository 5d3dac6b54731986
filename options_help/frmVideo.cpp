#include "options_help/frmVideo.h"

#include "core/frmMain.h"
#include "core/modMain.h"
#include "options_help/HelpLinks.h"
#include "platform/forms/Label.h"
#include "platform/forms/Tag.h"
#include "platform/forms/Units.h"
#include "resources/Pictures.h"

#include <QAction>
#include <QDir>
#include <QMdiSubWindow>
#include <QEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QMovie>
#include <QResizeEvent>
#include <QVBoxLayout>

namespace {

// Where the about panel stands at design time (twips): far out of view until a caller moves it.
constexpr int kAboutLeft = -180000;
constexpr int kAboutTop = 2520;   // under the menu bar and the short player above the panel
constexpr int kAboutWidth = 6120;
constexpr int kAboutHeight = 2115;
// The window's client area (twips): with its frame it fits the main window's document area,
// and its player holds the help animations (recorded at most 400 pixels wide and high) at their
// own size.
constexpr int kWidth = 6360;
constexpr int kHeight = 6420;
constexpr int kMenuHeight = 330;

const QString kSupportAddress = QStringLiteral("support@tarvelo.example");
const QString kNotice = QStringLiteral("\u00a9 Tarvelo. All rights reserved.");

} // namespace

// ---- the player ---------------------------------------------------------------------------

MoviePlayer::MoviePlayer(QWidget *parent) : QFrame(parent)
{
    setFrameShape(QFrame::NoFrame);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_screen = new QLabel(this);
    m_screen->setObjectName("lblMovie");
    m_screen->setAlignment(Qt::AlignCenter);
    m_screen->setWordWrap(true);
    m_screen->setMinimumSize(1, 1);
    layout->addWidget(m_screen);
}

void MoviePlayer::SetHeight(int pixels)
{
    resize(width(), pixels);
}

void MoviePlayer::SetScaleMode(int mode)
{
    m_scaleMode = mode;
    FitMovie();
}

QString MoviePlayer::FindMovieFile(const QString &path)
{
    if (path.isEmpty())
        return QString();
    const QFileInfo asked(path);
    if (asked.isFile() && !QMovie(path).format().isEmpty())
        return asked.absoluteFilePath();
    const QFileInfo gif(asked.dir().filePath(asked.completeBaseName() + QStringLiteral(".gif")));
    if (gif.isFile())
        return gif.absoluteFilePath();
    return QString();
}

void MoviePlayer::LoadMovie(int layer, const QString &path)
{
    if (layer != 0)
        return;
    Stop();
    delete m_animation;
    m_animation = nullptr;
    m_screen->clear();
    m_movie = path;
    m_file = FindMovieFile(path);
    if (!m_file.isEmpty()) {
        auto *movie = new QMovie(m_file, QByteArray(), this);
        if (movie->isValid()) {
            m_animation = movie;
            m_animation->setCacheMode(QMovie::CacheAll);
            m_screen->setMovie(m_animation);
            m_animation->jumpToFrame(0);
            FitMovie();
        } else {
            delete movie;
            m_file.clear();
        }
    }
    if (!m_animation) {
        m_screen->setText(modMain::GetLangString(1205) + QStringLiteral("\n") + QFileInfo(path).completeBaseName());
        emit OnReadyStateChange(0);
        return;
    }
    emit OnReadyStateChange(4);
}

void MoviePlayer::Play()
{
    if (!m_animation)
        return;
    m_playing = true;
    if (m_animation->state() == QMovie::Paused)
        m_animation->setPaused(false);
    else
        m_animation->start();
}

void MoviePlayer::Stop()
{
    m_playing = false;
    if (m_animation)
        m_animation->stop();
}

bool MoviePlayer::Playing() const
{
    return m_animation && m_animation->state() == QMovie::Running;
}

QString MoviePlayer::Message() const
{
    return m_animation ? QString() : m_screen->text();
}

void MoviePlayer::FitMovie()
{
    if (!m_animation)
        return;
    m_animation->setScaledSize(QSize());
    const QSize own = m_animation->currentImage().size();
    if (own.isEmpty() || width() <= 0 || height() <= 0)
        return;
    QSize target = own;
    if (m_scaleMode == 0 || own.width() > width() || own.height() > height())
        target = own.scaled(size(), Qt::KeepAspectRatio);
    m_animation->setScaledSize(target);
}

void MoviePlayer::resizeEvent(QResizeEvent *e)
{
    QFrame::resizeEvent(e);
    FitMovie();
}

// ---- the window -----------------------------------------------------------------------------

frmVideo::frmVideo()
{
    using namespace modMain;
    setObjectName("frmVideo");
    setWindowTitle(QStringLiteral("Video"));
    resize(forms::TwipsToPixels(kWidth), forms::TwipsToPixels(kHeight));

    mnuBar = new QMenuBar(this);
    mnuBar->setObjectName("mnuBar");
    mnuClose = mnuBar->addAction(QStringLiteral("Close"));
    mnuClose->setObjectName("mnuClose");
    connect(mnuClose, &QAction::triggered, this, &frmVideo::mnuClose_Click);
    forms::Move(mnuBar, 0, 0, kWidth, kMenuHeight);

    flash = new MoviePlayer(this);
    flash->setObjectName("flash");
    forms::Move(flash, 0, kMenuHeight, kWidth, kHeight - kMenuHeight);
    connect(flash, &MoviePlayer::OnReadyStateChange, this, &frmVideo::flash_OnReadyStateChange);

    frAbout = new QGroupBox(QStringLiteral("About Tarvelo Desktop"), this);
    frAbout->setObjectName("frAbout");
    forms::SetTag(frAbout, QStringLiteral("1204"));
    forms::Move(frAbout, kAboutLeft, kAboutTop, kAboutWidth, kAboutHeight);
    frAbout->installEventFilter(this);

    Image1 = new QLabel(frAbout);
    Image1->setObjectName("Image1");
    Image1->setPixmap(res::Picture(QStringLiteral("CLOCK")).scaled(48, 48, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    Image1->setAlignment(Qt::AlignCenter);
    forms::Move(Image1, 150, 420, 900, 900);

    static const char *const captions[5] = {"File:", "Version:", "Copyright:", "Web Site:", "eMail:"};
    static const char *const tags[5] = {"1200", "1201", "", "1202", "1203"};
    for (int i = 0; i < 5; ++i) {
        const int top = 330 + i * 330;
        lbl[i] = new QLabel(QString::fromLatin1(captions[i]), frAbout);
        lbl[i]->setObjectName(QStringLiteral("lbl_%1").arg(i));
        if (*tags[i])
            forms::SetTag(lbl[i], QString::fromLatin1(tags[i]));
        forms::Move(lbl[i], 1200, top, 1500, 285);
        lTxt[i] = new forms::Label(frAbout);
        lTxt[i]->setObjectName(QStringLiteral("lTxt_%1").arg(i));
        forms::Move(lTxt[i], 2760, top, kAboutWidth - 2760 - 120, 285);
        connect(lTxt[i], &forms::Label::Click, this, [this, i] { lTxt_Click(i); });
    }
    lTxt[0]->SetCaption(QStringLiteral("TarveloPC"));
    lTxt[1]->SetCaption(QStringLiteral("Version"));
    lTxt[2]->SetCaption(kNotice);
    lTxt[3]->SetCaption(helplinks::WebSiteAddress());
    lTxt[4]->SetCaption(kSupportAddress);
    lTxt[4]->setTextInteractionFlags(Qt::TextSelectableByMouse);

    PlaceInMainWindow(QStringLiteral("frmVideoSub"));
    // Load: the window and its player at the top left corner, its frame holding the whole
    // window.
    if (m_sub) {
        m_sub->adjustSize();
        m_sub->move(0, 0);
    }
    ApplyLang();
    // The web site opens in the browser: only while there is a connection.
    lTxt[3]->setCursor(helplinks::HandCursor());
    lTxt[3]->setEnabled(IsConnected);
    QFont link = lTxt[3]->font();
    link.setUnderline(true);
    lTxt[3]->setFont(link);
    lTxt[3]->setStyleSheet(IsConnected ? QStringLiteral("color: #1a4fa0;") : QString());
    lTxt[1]->SetCaption(VersionText());
    MarkMainWindow(true);
    Layout();
    FormLoaded[fiVideo] = true;
}

frmVideo::~frmVideo()
{
    if (!Peek() || Peek() == this) {
        MarkMainWindow(false);
        modMain::FormLoaded[modMain::fiVideo] = false;
    }
    Forget(this);
}

void frmVideo::MarkMainWindow(bool open)
{
    // The main window's cover picture stays out of the document area: moved into it, beside
    // this window, it would reach past the area's right edge and scroll it.
    frmMain *main = frmMain::Peek();
    if (main && main->picCover && !open)
        forms::Move(main->picCover, -12000, forms::Top(main->picCover));
}

QSize frmVideo::sizeHint() const
{
    // Laid out by position, not by a layout: the frame in the document area takes this size.
    return QSize(forms::TwipsToPixels(kWidth), forms::TwipsToPixels(kHeight));
}

void frmVideo::mnuClose_Click()
{
    flash->Stop();
    MarkMainWindow(false);
    modMain::FormLoaded[modMain::fiVideo] = false;
    Forget(this);
    hide();
    // The frame goes with the window once the menu's handler has returned.
    deleteLater();
}

void frmVideo::lTxt_Click(int index)
{
    if (index == 3 && lTxt[3]->isEnabled())
        helplinks::OpenWebSite(this);
}

void frmVideo::flash_OnReadyStateChange(int state)
{
    (void)state;
    lTxt[1]->SetCaption(modMain::VersionText());
}

void frmVideo::Layout()
{
    const int top = mnuBar->height();
    if (forms::Left(frAbout) >= 0 && frAbout->x() < width()) {
        // The about panel in view: the player keeps the height its caller gave it.
        flash->setGeometry(0, top, width(), std::max(1, flash->height()));
        frAbout->raise();
    } else {
        flash->setGeometry(0, top, width(), std::max(1, height() - top));
    }
}

bool frmVideo::eventFilter(QObject *watched, QEvent *e)
{
    if (watched == frAbout && e->type() == QEvent::Move)
        Layout();
    return ChildWindow::eventFilter(watched, e);
}

void frmVideo::resizeEvent(QResizeEvent *e)
{
    ChildWindow::resizeEvent(e);
    mnuBar->resize(width(), mnuBar->height());
    Layout();
}

void frmVideo::ApplyLang()
{
    using namespace modMain;
    if (LangTableText.isEmpty())
        return;
    try {
        ApplyTagCaptions(this);
        mnuClose->setText(GetLangString(905));
    } catch (...) {
        ShowMsg(QStringLiteral("Error applying language settings!"), 16);
    }
}
