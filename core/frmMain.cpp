// The main window's frame: the toolbar down the left, the document area, the person's line with
// the language flags, and the status bar with the connection indicator.
#include "core/frmMain.h"

#include "core/ChildWindow.h"
#include "core/Captions.h"
#include "core/WindowRegistry.h"

#include "core/frmLogin.h"
#include "core/modMain.h"
#include "core/modMain_ShutDown.h"
#include "expenses/frmDailyExp.h"
#include "options_help/frmHlp.h"
#include "options_help/frmOptions.h"
#include "options_help/frmVideo.h"
#include "platform/forms/TopWindow.h"
#include "platform/forms/Units.h"
#include "recorder/frmLoad.h"
#include "recorder/frmStart.h"
#include "recorder/frmSysTray.h"
#include "platform/tray/TrayIcon.h"
#include "resources/Pictures.h"
#include "sync/frmSynch.h"
#include "timelog/frmDaily.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QScreen>
#include <QShowEvent>
#include <QPainter>
#include <QPainterPath>
#include <QGroupBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <stdexcept>

namespace {

const QString kTitle = QStringLiteral("Tarvelo Desktop Companion");

// Where things stand at the window's default size (twips of its client area). The document
// area is as wide as the timers window, which opens at its top left corner without a frame of
// its own, and as high as the task loader with its frame, so that the loader's buttons show
// without scrolling. The person may make the window larger, never smaller: the document area
// takes what is added.
constexpr int kPaneWidth = 1095;
constexpr int kDocWidth = 6600;
constexpr int kDocHeight = 7290;
constexpr int kUserHeight = 660;
constexpr int kStatusHeight = 450;
constexpr int kWidth = kPaneWidth + kDocWidth;                     // 7695
constexpr int kHeight = kDocHeight + kUserHeight + kStatusHeight;  // 8400
constexpr int kButtonLeft = 30;
constexpr int kButtonWidth = kPaneWidth - 60;
constexpr int kButtonHeight = 1020;
constexpr int kButtonTop0 = 180;
constexpr int kButtonStep = 1080;
constexpr int kFlagWidth = 390;   // 26 by 18 pixels
constexpr int kFlagHeight = 270;
constexpr int kFlagGap = 90;

const char *const kToolPictures[5] = {"TOOL_TIMERS", "TOOL_TIMELOG", "TOOL_EXPENSES", "TOOL_SYNC", "TOOL_LEAVE"};
// Names of the flags' languages: English, Greek, French, German.
const int16_t kLanguageNames[4] = {112, 114, 113, 115};

QFont ArialFont(double points, bool bold = false)
{
    // "Arial" is matched by fontconfig to a metric-compatible face that also has Greek letters.
    QFont f(QStringLiteral("Arial"));
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

// The icons of the window: "ARUNNOT" at rest, 105..112 while recording; loaded once.
const QIcon &FrameIcon(int number)
{
    static QIcon rest;
    static QIcon frames[8];
    if (number >= 105 && number <= 112) {
        QIcon &i = frames[number - 105];
        if (i.isNull())
            i = res::Icon(number);
        return i;
    }
    if (rest.isNull())
        rest = res::Icon(QStringLiteral("ARUNNOT"));
    return rest;
}

QCursor HandCursor()
{
    const QPixmap hand = res::Picture(QStringLiteral("HAND"));
    if (hand.isNull())
        return QCursor(Qt::PointingHandCursor);
    // the tip of the index finger
    return QCursor(hand, 12, 1);
}

// A toolbar button: a label with its picture above its caption. The caption wraps onto two
// lines and takes a smaller type when a word would not fit the button's width, so that no
// language's caption is cut.
class ToolLabel : public forms::Label {
public:
    ToolLabel(const QPixmap &picture, QWidget *parent) : forms::Label(parent), m_picture(picture)
    {
        setFont(ArialFont(8.25, true));
    }

    // The type the caption is drawn in.
    QFont CaptionFont() const
    {
        QFont f = font();
        const QRect area = TextArea();
        const QStringList words = text().split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
        for (double pt = f.pointSizeF(); pt >= 6.0; pt -= 0.25) {
            f.setPointSizeF(pt);
            const QFontMetrics fm(f);
            bool fits = true;
            for (const QString &w : words)
                fits = fits && fm.horizontalAdvance(w) <= area.width();
            const QRect need = fm.boundingRect(area, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, text());
            if (fits && need.height() <= area.height())
                break;
        }
        return f;
    }
    QRect TextArea() const { return QRect(1, 33, width() - 2, height() - 34); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setRenderHint(QPainter::TextAntialiasing, true);
        if (!m_picture.isNull()) {
            if (!isEnabled())
                p.setOpacity(0.4);
            p.drawPixmap((width() - m_picture.width()) / 2, 3, m_picture);
            p.setOpacity(1.0);
        }
        QColor ink = forms::ToQColor(ForeColor());
        if (!isEnabled())
            ink = QColor(150, 165, 190);
        p.setPen(ink);
        p.setFont(CaptionFont());
        p.drawText(TextArea(), Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, text());
    }

private:
    QPixmap m_picture;
};

// The toolbar's pane: a deep blue that the light captions stand out on.
class Pane : public QWidget {
public:
    explicit Pane(QWidget *parent) : QWidget(parent) {}

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        QLinearGradient g(0, 0, width(), 0);
        g.setColorAt(0, QColor(24, 52, 104));
        g.setColorAt(1, QColor(38, 76, 140));
        p.fillRect(rect(), g);
        p.setPen(QColor(14, 30, 66));
        p.drawLine(width() - 1, 0, width() - 1, height());
    }
};

// A light strip (the person's line and the status bar).
class Strip : public QWidget {
public:
    Strip(QWidget *parent, QColor top, QColor bottom) : QWidget(parent), m_top(top), m_bottom(bottom) {}

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        QLinearGradient g(0, 0, 0, height());
        g.setColorAt(0, m_top);
        g.setColorAt(1, m_bottom);
        p.fillRect(rect(), g);
        p.setPen(m_bottom.darker(125));
        p.drawLine(0, 0, width(), 0);
    }

private:
    QColor m_top, m_bottom;
};

// The highlight beside the last clicked toolbar button.
class Highlight : public QWidget {
public:
    explicit Highlight(QWidget *parent) : QWidget(parent) { setAttribute(Qt::WA_TransparentForMouseEvents); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(QPen(QColor(150, 190, 240, 160), 1.0));
        p.setBrush(QColor(255, 255, 255, 40));
        p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 200, 60));
        p.drawRoundedRect(QRectF(0, 6, 3, height() - 12), 1.5, 1.5);
    }
};

forms::Label *NewLabel(QWidget *parent, const char *name, int left, int top, int width, int height)
{
    auto *l = new forms::Label(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setFont(ArialFont(8.25));
    forms::Move(l, left, top, width, height);
    return l;
}

// Shows a child window of the document area and brings it to the front.
template <class T>
void ShowChild(bool redraw)
{
    T *w = T::Get();
    ChildWindow::BringToFront(w);
    if (redraw)
        w->update();
}

QString FlagName(int i)
{
    return QStringLiteral("imgFlag_%1").arg(i);
}

} // namespace

// ---- the status line and the progress of long work ------------------------------------------

void frmMain::ShowStep(const QString &caption, const QString &detail)
{
    (void)detail;   // the status line has no detail line
    if (lblMsg)
        lblMsg->SetCaption(caption);
}

void frmMain::SetBarValue(int value)
{
    if (!PgB)
        return;
    PgB->setValue(value);
    PgB->repaint();
}

void frmMain::SetBarVisible(bool visible)
{
    if (PgB)
        PgB->setVisible(visible);
}

// ---- loading ----------------------------------------------------------------------------------

frmMain::frmMain()
{
    setObjectName("frmMain");
    setWindowTitle(kTitle);
    BuildControls();
    modMain::SetStatusLine([this](const QString &text) { ShowStep(text, QString()); });

    // 1. The tag parser the window and the others classify replies with.
    TagParser();

    // 2. The window's icon; it is the program's icon too.
    setWindowIcon(FrameIcon(0));
    if (QApplication::windowIcon().isNull() || QApplication::windowIcon().cacheKey() != FrameIcon(0).cacheKey())
        QApplication::setWindowIcon(FrameIcon(0));
    // 3. Today's date as the system writes it short.
    lblDate->SetCaption(QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat));
    // 4. The toolbar's colours are kToolColors.
    for (forms::Label *b : btn)
        b->SetForeColor(kToolColors[0]);
    // 5. The pointing hand over the buttons and the flags.
    const QCursor hand = HandCursor();
    for (forms::Label *b : btn)
        b->setCursor(hand);
    for (forms::Label *f : imgFlag)
        f->setCursor(hand);
    // 6.
    ApplyLang();

    centralWidget()->setMinimumSize(forms::TwipsToPixels(kWidth), forms::TwipsToPixels(kHeight));
    resize(forms::TwipsToPixels(kWidth), forms::TwipsToPixels(kHeight));
}

frmMain::~frmMain()
{
    modMain::SetStatusLine({});
    if (tmr)
        tmr->stop();
    if (tmrIcon)
        tmrIcon->stop();
    Forget(this);
}

void frmMain::BuildControls()
{
    auto *frame = new QWidget(this);
    frame->setObjectName("frame");
    setCentralWidget(frame);

    // ---- the toolbar pane
    picL = new Pane(frame);
    picL->setObjectName("picL");
    imgOver[0] = new QLabel(picL);
    imgOver[0]->setObjectName("imgOver_0");
    imgOver[1] = new QLabel(picL);
    imgOver[1]->setObjectName("imgOver_1");
    imgOver[1]->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    imgOver[1]->setContentsMargins(0, 0, 0, 4);
    imgOver[1]->setPixmap(res::Picture(QStringLiteral("ARUNNOT")));
    shMenu = new Highlight(picL);
    shMenu->setObjectName("shMenu");
    forms::Move(shMenu, 15, kButtonTop0 - 15, kPaneWidth - 30, kButtonHeight + 30);
    for (int i = 0; i < 5; ++i) {
        auto *b = new ToolLabel(res::Picture(QString::fromLatin1(kToolPictures[i])), picL);
        b->setObjectName(QStringLiteral("btn_%1").arg(i));
        forms::Move(b, kButtonLeft, kButtonTop0 + i * kButtonStep, kButtonWidth, kButtonHeight);
        btn[i] = b;
    }

    // ---- the document area and its cover
    mdi = new QMdiArea(frame);
    mdi->setObjectName("mdi");
    mdi->setBackground(QColor(221, 230, 242));
    mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // A child window larger than the area is scrolled into view.
    mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    picCover = new QLabel(mdi->viewport());
    picCover->setObjectName("picCover");
    picCover->setAlignment(Qt::AlignCenter);
    picCover->setPixmap(res::Picture(QStringLiteral("COVER")));
    picCover->lower();
    picCover->installEventFilter(this);
    mdi->viewport()->installEventFilter(this);

    // ---- the person's line with the flags
    PicUser = new Strip(frame, QColor(246, 249, 253), QColor(222, 231, 243));
    PicUser->setObjectName("PicUser");
    lblUser = NewLabel(PicUser, "lblUser", 120, 60, 5400, 270);
    lblUser->setFont(ArialFont(9, true));
    lblDate = NewLabel(PicUser, "lblDate", 120, 345, 3000, 240);
    for (int i = 0; i < 4; ++i) {
        auto *f = new forms::Label(PicUser);
        f->setObjectName(FlagName(i));
        f->setPixmap(res::Picture(230 + i));
        imgFlag[i] = f;
    }

    // ---- the status bar
    picStatus = new Strip(frame, QColor(232, 238, 247), QColor(208, 219, 235));
    picStatus->setObjectName("picStatus");
    lblMsg = NewLabel(picStatus, "lblMsg", 45, 15, 5640, kStatusHeight - 30);
    lblMsg->setWordWrap(true);
    lblMsg->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    lblMsg->setFont(ArialFont(8));
    PgB = new QProgressBar(picStatus);
    PgB->setObjectName("PgB");
    PgB->setRange(0, 100);
    PgB->setTextVisible(false);
    PgB->setVisible(false);
    imgConn = new QLabel(picStatus);
    imgConn->setObjectName("imgConn");
    imgConn->setAlignment(Qt::AlignCenter);
    imgConn->setPixmap(res::Picture(QStringLiteral("CONN_OFF")));
    lblConn = NewLabel(picStatus, "lblConn", 6060, 15, kWidth - 6060 - 60, kStatusHeight - 30);
    lblConn->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    lblConn->setWordWrap(true);
    lblConn->setFont(ArialFont(8));
    lblConn->SetCaption(QStringLiteral("Not connected"));

    // ---- every place follows the size of the window
    frame->installEventFilter(this);
    LayOut(kWidth, kHeight);

    // ---- the image list other windows' trees show their nodes with
    imgLst.AddFromResources(forms::kProjectTreeImageKeys);

    // ---- timers
    tmr = new QTimer(this);
    tmr->setObjectName("tmr");
    tmr->setInterval(10000);
    connect(tmr, &QTimer::timeout, this, &frmMain::tmr_Timer);
    tmr->start();
    tmrIcon = new QTimer(this);
    tmrIcon->setObjectName("tmrIcon");
    tmrIcon->setInterval(500);
    connect(tmrIcon, &QTimer::timeout, this, &frmMain::tmrIcon_Timer);

    // ---- mouse
    for (QWidget *w : {static_cast<QWidget *>(imgOver[0]), static_cast<QWidget *>(imgOver[1]),
                       static_cast<QWidget *>(imgConn), static_cast<QWidget *>(lblConn), PicUser}) {
        w->setMouseTracking(true);
        w->installEventFilter(this);
    }
    for (int i = 0; i < 5; ++i) {
        btn[i]->setMouseTracking(true);
        btn[i]->installEventFilter(this);
    }
    for (int i = 0; i < 4; ++i) {
        imgFlag[i]->setMouseTracking(true);
        imgFlag[i]->installEventFilter(this);
        connect(imgFlag[i], &forms::Label::Click, this, [this, i] { imgFlag_Click(int16_t(i)); });
    }
}

void frmMain::PlaceCover()
{
    // Other windows move the cover aside (to a negative left) or part of the way (the video
    // window): aside it has no size, so that it gives the document area no scroll range, and
    // in view it ends at the area's right edge. (It stays shown: a hidden widget would not
    // report its next move.)
    if (!picCover || !mdi || m_placingCover)
        return;
    m_placingCover = true;
    const int left = picCover->x();
    const QSize size = left < 0 ? QSize(0, 0)
                                : QSize(std::max(0, mdi->viewport()->width() - left), mdi->viewport()->height());
    if (picCover->size() != size)
        picCover->resize(size);
    m_placingCover = false;
}

void frmMain::LayOut(int width, int height)
{
    // Never smaller than the default: everything keeps its place then.
    width = std::max(width, kWidth);
    height = std::max(height, kHeight);
    const int docHeight = height - kUserHeight - kStatusHeight;
    const int docWidth = width - kPaneWidth;
    const int more = width - kWidth;   // what the person added to the width

    forms::Move(picL, 0, 0, kPaneWidth, docHeight);
    forms::Move(imgOver[0], 0, 0, kPaneWidth, docHeight);
    const int overTop = kButtonTop0 + 5 * kButtonStep;
    forms::Move(imgOver[1], 0, overTop, kPaneWidth, docHeight - overTop);
    forms::Move(mdi, kPaneWidth, 0, docWidth, docHeight);
    PlaceCover();

    forms::Move(PicUser, 0, docHeight, width, kUserHeight);
    const int flagsLeft = width - 120 - 4 * kFlagWidth - 3 * kFlagGap;
    for (int i = 0; i < 4; ++i)
        forms::Move(imgFlag[i], flagsLeft + i * (kFlagWidth + kFlagGap), (kUserHeight - kFlagHeight) / 2, kFlagWidth,
                    kFlagHeight);

    forms::Move(picStatus, 0, docHeight + kUserHeight, width, kStatusHeight);
    forms::Move(lblMsg, 45, 15, 5640 + more, kStatusHeight - 30);
    forms::Move(PgB, 45, 120, 5550 + more, 210);
    forms::Move(imgConn, 5775 + more, (kStatusHeight - 240) / 2, 240, 240);
    forms::Move(lblConn, 6060 + more, 15, kWidth - 6060 - 60, kStatusHeight - 30);
}

// ---- captions -------------------------------------------------------------------------------

void frmMain::ApplyLang()
{
    using namespace modMain;
    modMain::ApplyLangOrTell([&] {
        for (int i = 0; i < 4; ++i) {
            if (!btn[i])
                throw std::runtime_error("toolbar button missing");
            btn[i]->SetCaption(GetLangString(int16_t(100 + i)));
            btn[i]->setToolTip(GetLangString(int16_t(96 + i)));
        }
        if (!btn[4] || !lblConn)
            throw std::runtime_error("control missing");
        btn[4]->SetCaption(GetLangString(AutoStart == 1 ? 980 : 24));
        lblConn->SetCaption(GetLangString(IsConnected ? 105 : 106));
        for (forms::Label *b : btn)
            b->update();
    });
}

// ---- the toolbar ------------------------------------------------------------------------

void frmMain::OnMouseAction(int16_t index, int16_t look)
{
    if (look < 0 || look > 2)
        look = 0;
    for (int k = 0; k < 5; ++k) {
        const int32_t color = kToolColors[k == index ? look : 0];
        if (btn[k]->ForeColor() != color) {
            btn[k]->SetForeColor(color);
            btn[k]->update();
        }
    }
    if (index == 3 && look == 2 && !modMain::IsConnected)
        modMain::SetStatus(126, QString());
}

void frmMain::btn_MouseDown(int16_t index)
{
    OnMouseAction(index, 1);
}

void frmMain::btn_MouseMove(int16_t index)
{
    OnMouseAction(index, 2);
}

void frmMain::imgOver_MouseMove(int16_t)
{
    OnMouseAction(6, 2);
    ResetFlags(-1);
}

void frmMain::btn_MouseUp(int16_t index)
{
    OnMouseAction(index, 0);
    if (index >= 0 && index <= 3) {
        OpenToolbarEntry(index);
        return;
    }
    // 4, the leave button (and any other index).
    if (modMain::AutoStart == 1)
        setWindowState((windowState() & ~Qt::WindowMaximized) | Qt::WindowMinimized);
    else
        RequestShutDown();
}

// ---- opening windows ----------------------------------------------------------------------

bool frmMain::OpenToolbarEntry(int16_t index)
{
    using namespace modMain;
    bool shown = true;
    switch (index) {
    case 0: {
        frmStart::Get()->ShowForm();
        break;
    }
    case 1:
        ShowChild<frmDaily>(true);
        break;
    case 2:
        if (!CountExpenseProjects()) {
            ShowMsg(GetLangString(127), 16);
            shown = false;
        } else {
            ShowChild<frmDailyExp>(false);
        }
        break;
    case 3:
        if (!IsConnected && ShowMsg(GetLangString(120), 4 + 48) == 7)
            return false;
        ShowChild<frmSynch>(false);
        break;
    default:
        return false;
    }
    MarkToolbarEntry(index);
    return shown;
}

bool frmMain::OpenWindow(const QString &name)
{
    using namespace modMain;
    static const QStringList toolbar{QStringLiteral("frmStart"), QStringLiteral("frmDaily"),
                                     QStringLiteral("frmDailyExp"), QStringLiteral("frmSynch")};
    if (const qsizetype entry = toolbar.indexOf(name); entry >= 0)
        return OpenToolbarEntry(int16_t(entry));

    if (name == QLatin1String("frmOptions")) {
        // Options changed while a timer records would not reach the running timer; a dialog
        // that is already open only comes to the front.
        if (TimerRunning && !(FormLoaded[fiOptions] && frmOptions::Peek())) {
            ShowMsg(GetLangString(92), 16);
            return false;
        }
        ShowChild<frmOptions>(false);
        return true;
    }

    if (name == QLatin1String("frmLogin")) {
        if (FormLoaded[fiLogin] && frmLogin::Peek()) {
            frmLogin *login = frmLogin::Peek();
            login->show();
            login->raise();
            login->activateWindow();
            return true;
        }
        // Shown from the help: the person looks at the window, nobody is signed in from it.
        frmLogin::Get()->OpenForReading();
        return true;
    }
    return false;
}

void frmMain::MakeRoomFor(const QRect &childFrame)
{
    if (!mdi || isMaximized() || isFullScreen() || isMinimized())
        return;
    const QSize area = mdi->viewport()->size();
    const int dw = qMax(0, childFrame.x() + childFrame.width() - area.width());
    const int dh = qMax(0, childFrame.y() + childFrame.height() - area.height());
    if (dw == 0 && dh == 0)
        return;
    QSize target(width() + dw, height() + dh);
    if (const QScreen *s = screen()) {
        const QRect avail = s->availableGeometry();
        target = target.boundedTo(avail.size());
    }
    if (target != size())
        resize(target);
}

void frmMain::MakeRoomFor(QMdiSubWindow *childFrame)
{
    if (!childFrame)
        return;
    const QSize before = size();
    MakeRoomFor(childFrame->geometry());
    if (size() == before)
        return;
    if (m_roomFor.isEmpty())
        m_sizeBeforeRoom = before;
    m_sizeWithRoom = size();
    if (!m_roomFor.contains(childFrame)) {
        m_roomFor.append(childFrame);
        // Looked at once the frame's destruction is over.
        connect(childFrame, &QObject::destroyed, this,
                [this] { QTimer::singleShot(0, this, &frmMain::GiveRoomBack); });
    }
}

void frmMain::GiveRoomBack()
{
    // Once the frames themselves are gone: the area measures its scroll bars by its frames.
    m_roomFor.removeAll(QPointer<QMdiSubWindow>());
    if (!m_roomFor.isEmpty() || m_sizeBeforeRoom.isEmpty())
        return;
    const QSize before = m_sizeBeforeRoom;
    m_sizeBeforeRoom = QSize();
    // A size the person chose since stays; so does a maximised or minimised window.
    if (size() != m_sizeWithRoom || isMaximized() || isFullScreen() || isMinimized())
        return;
    resize(before);
    // The children still open keep their room.
    if (mdi)
        for (QMdiSubWindow *sub : mdi->subWindowList())
            if (sub->isVisible() && sub->widget())
                MakeRoomFor(sub->geometry());
}

void frmMain::MarkToolbarEntry(int16_t index)
{
    if (index < 0 || index > 3 || !btn[index] || !shMenu)
        return;
    forms::Move(shMenu, forms::Left(shMenu), forms::Top(btn[index]) - 15);
}

// ---- the language flags --------------------------------------------------------------------

void frmMain::ResetFlags(int16_t index)
{
    for (int k = 0; k < 4; ++k)
        if (k != index)
            imgFlag[k]->setPixmap(res::Picture(230 + k));
}

void frmMain::imgFlag_MouseDown(int16_t index)
{
    imgFlag[index]->setPixmap(res::Picture(238 + index));
    ResetFlags(index);
}

void frmMain::imgFlag_MouseMove(int16_t index)
{
    imgFlag[index]->setPixmap(res::Picture(234 + index));
    ResetFlags(index);
    modMain::SetStatus(111, QStringLiteral(" ") + modMain::GetLangString(kLanguageNames[index], true));
}

void frmMain::imgFlag_Click(int16_t index)
{
    using namespace modMain;
    if (index < 0 || index > 3)
        return;
    // 1. The table may have been missing at start, or put back since.
    if (LangTableText.isEmpty()) {
        LoadLangTable();
        if (LangTableText.isEmpty()) {
            ShowMsg(QStringLiteral("Cannot find the Language file!") + QStringLiteral("\r\n")
                        + QStringLiteral("I will Default to English"),
                    0);
            return;
        }
    }
    // 2.-4.
    PrevLangID = LangID;
    LangID = index;
    lblUser->SetCaption(QStringLiteral(" ") + GetLangString(627) + QStringLiteral(" ") + UserFullName);
    ApplyLang();
    // 5. Every loaded window in its turn; each reports its own failure and puts the previous
    // language back.
    winreg::ApplyLangToLoadedWindows();
    // The pointer is still on the flag: its hint is said again in the language now in force.
    if (imgFlag[index]->underMouse())
        imgFlag_MouseMove(index);
}

// ---- the connection -----------------------------------------------------------------------

void frmMain::CheckConnection()
{
    using namespace modMain;
    int16_t flags = 0;
    IsConnected = IsOnline(flags);
    frmStart *timers = FormLoaded[fiStart] ? frmStart::Peek() : nullptr;
    if (IsConnected != m_lastConnected) {
        const QString text = GetLangString(IsConnected ? 109 : 110);
        if (timers && timers->m_frmSysTray) {
            timers->m_frmSysTray->ShowBalloonTip(text, QString(), 0, 30000);
            emit ConnectionBalloon(text);
        }
    }
    imgConn->setPixmap(res::Picture(IsConnected ? QStringLiteral("CONN_ON") : QStringLiteral("CONN_OFF")));
    lblConn->SetCaption(GetLangString(IsConnected ? 105 : 106));
    btn[3]->setEnabled(IsConnected);
    if (timers && timers->mnuFile_Updates)
        timers->mnuFile_Updates->setEnabled(IsConnected);
    m_lastConnected = IsConnected;
}

void frmMain::tmr_Timer()
{
    CheckConnection();
    // A tray host may have come or gone since.
    SettleInTray();
    QApplication::processEvents();
}

// ---- the icon while a timer records -----------------------------------------------------------

void frmMain::tmrIcon_Timer()
{
    QApplication::processEvents();
    if (!tmrIcon->isActive())
        return;   // switched off while the events ran
    m_iconFrame = (m_iconFrame < 105 || m_iconFrame >= 112) ? 105 : int16_t(m_iconFrame + 1);
    setWindowIcon(FrameIcon(m_iconFrame));
    if (modMain::FormLoaded[modMain::fiStart])
        if (frmStart *timers = frmStart::Peek(); timers && timers->m_frmSysTray)
            timers->m_frmSysTray->IconHandle(windowIcon());
    QApplication::processEvents();
}

// ---- size, state and closing ----------------------------------------------------------------

void frmMain::MDIForm_Resize()
{
    using namespace modMain;
    if (m_resizing)
        return;
    m_resizing = true;
    try {
        const Qt::WindowStates state = windowState();
        if (state & Qt::WindowMinimized) {
            if (!TimerRunning) {
                // Only a tray that holds the icon can give the window back.
                if (AutoStart == 1 && TrayHoldsIcon())
                    GoToTray();
                if (FormLoaded[fiStart])
                    if (frmStart *timers = frmStart::Peek())
                        timers->ShowTime();
            }
        } else if (!isVisible()) {
            // Gone to the tray, the window comes back only through the tray or a later start,
            // which show it themselves (see changeEvent).
        } else {
            // Normal or enlarged by the person (the window is never smaller than its default
            // size): its place on the screen is kept for the windows placed beside it.
            GetFormRect(this);
        }
    } catch (...) {
    }
    m_resizing = false;
}

void frmMain::changeEvent(QEvent *e)
{
    QMainWindow::changeEvent(e);
    if (e->type() == QEvent::WindowStateChange && m_inTray && !isVisible()
        && !(windowState() & Qt::WindowMinimized)) {
        // The window system may still report the state the window had before it went to the
        // tray: it stays hidden and minimised until ShowFromTray or a show of its own.
        setWindowState(windowState() | Qt::WindowMinimized);
        return;
    }
    if (e->type() == QEvent::WindowStateChange)
        // After the state has settled: the window system may still be placing the window.
        QTimer::singleShot(0, this, &frmMain::MDIForm_Resize);
}

bool frmMain::TrayHoldsIcon() const
{
    if (!tray::IsHostAvailable() || !modMain::FormLoaded[modMain::fiStart])
        return false;
    const frmStart *timers = frmStart::Peek();
    const tray::TrayIcon *icon = timers && timers->m_frmSysTray ? timers->m_frmSysTray->TrayIconObject() : nullptr;
    return icon && icon->IsAdded();
}

void frmMain::GoToTray()
{
    // Set first: hiding can bring the window system's report of a state at once.
    m_inTray = true;
    setWindowState((windowState() & ~(Qt::WindowMaximized | Qt::WindowFullScreen)) | Qt::WindowMinimized);
    hide();
}

void frmMain::SettleInTray()
{
    using namespace modMain;
    if (m_inTray && !isVisible()) {
        // The tray has gone (or dropped the icon): the window comes back on the taskbar.
        if (!TrayHoldsIcon()) {
            m_inTray = false;
            setWindowState(windowState() | Qt::WindowMinimized);
            show();
        }
        return;
    }
    if (isVisible() && (windowState() & Qt::WindowMinimized) && AutoStart == 1 && !TimerRunning && TrayHoldsIcon())
        GoToTray();
}

void frmMain::ShowFromTray(bool toFront)
{
    m_inTray = false;
    // A window minimised on the taskbar comes back the way one from the tray does: the desktop
    // does not always bring an iconic window back for a change of its state alone.
    if (isVisible() && (windowState() & Qt::WindowMinimized))
        hide();
    forms::ShowNormal(this);
    if (toFront) {
        raise();
        activateWindow();
    }
}

void frmMain::showEvent(QShowEvent *e)
{
    QMainWindow::showEvent(e);
    // Only a show from this program brings the window back: the window system's own show
    // events come with each change of its state.
    if (!e->spontaneous())
        m_inTray = false;
}

void frmMain::resizeEvent(QResizeEvent *e)
{
    QMainWindow::resizeEvent(e);
    if (isVisible())
        QTimer::singleShot(0, this, &frmMain::MDIForm_Resize);
}

// True cancels the close: with the autostart on, the close box only minimises the window.
bool frmMain::MDIForm_QueryUnload(bool closeBox)
{
    if (closeBox && modMain::AutoStart == 1) {
        try {
            setWindowState((windowState() & ~Qt::WindowMaximized) | Qt::WindowMinimized);
        } catch (...) {
        }
        return true;
    }
    return false;
}

void frmMain::closeEvent(QCloseEvent *e)
{
    // A close from the window system is the close box; a close from code is an unload.
    if (MDIForm_QueryUnload(e->spontaneous())) {
        e->ignore();
        return;
    }
    // Shutdown returns only when the person chose to go on working: the window then stays.
    e->ignore();
    RequestShutDown();
}

// The shutdown closes this window and the ones whose events are on their way: it runs once
// the event that asked for it is done with.
void frmMain::RequestShutDown()
{
    QTimer::singleShot(0, this, [] {
        modMain::ShutDown(true);
    });
}

bool frmMain::eventFilter(QObject *watched, QEvent *e)
{
    const QEvent::Type t = e->type();
    if (watched == picCover || watched == mdi->viewport()) {
        if (t == QEvent::Move || t == QEvent::Resize)
            PlaceCover();
        return QMainWindow::eventFilter(watched, e);
    }
    if (watched == centralWidget()) {
        if (t == QEvent::Resize) {
            const QSize size = static_cast<QResizeEvent *>(e)->size();
            LayOut(forms::PixelsToTwips(size.width()), forms::PixelsToTwips(size.height()));
        }
        return QMainWindow::eventFilter(watched, e);
    }
    const bool move = t == QEvent::MouseMove || t == QEvent::Enter;
    const bool down = t == QEvent::MouseButtonPress && static_cast<QMouseEvent *>(e)->button() == Qt::LeftButton;
    const bool up = t == QEvent::MouseButtonRelease && static_cast<QMouseEvent *>(e)->button() == Qt::LeftButton;
    // A move over a control is its own: it does not reach the surface around it as well.
    const bool consumed = t == QEvent::MouseMove;
    // A pointer that jumps off a control (to another window, or off this one) may never move
    // over the surface around it: the light and the hint go as it leaves.
    const bool leave = t == QEvent::Leave;
    for (int16_t i = 0; i < 5; ++i) {
        if (watched == btn[i]) {
            if (leave)
                OnMouseAction(6, 2);
            else if (down)
                btn_MouseDown(i);
            else if (move && !(QApplication::mouseButtons() & Qt::LeftButton))
                btn_MouseMove(i);
            else if (up)
                btn_MouseUp(i);
            return consumed;
        }
    }
    for (int16_t i = 0; i < 4; ++i) {
        if (watched == imgFlag[i]) {
            if (leave) {
                ResetFlags(-1);
                modMain::SetStatus(-1, QString());
            } else if (down)
                imgFlag_MouseDown(i);
            else if (move && !(QApplication::mouseButtons() & Qt::LeftButton))
                imgFlag_MouseMove(i);
            return consumed;
        }
    }
    if (move) {
        if (watched == imgOver[0] || watched == imgOver[1])
            imgOver_MouseMove(watched == imgOver[0] ? 0 : 1);
        else if (watched == imgConn || watched == lblConn) {
            modMain::SetStatus(modMain::IsConnected ? 107 : 108, QString());
            return consumed;
        }
        else if (watched == PicUser)
            modMain::SetStatus(-1, QString());
    }
    return QMainWindow::eventFilter(watched, e);
}
