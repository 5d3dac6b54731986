#include "core/frmSplash.h"
#include "core/modMain.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QTimer>

namespace {
constexpr int kTwipsPerPixel = 15;

QPixmap SplashPicture(QSize size)
{
    QPixmap pm(size);
    QPainter p(&pm);
    QLinearGradient g(0, 0, size.width(), size.height());
    g.setColorAt(0, QColor(0x1f, 0x4e, 0x79));
    g.setColorAt(1, QColor(0x2e, 0x86, 0xab));
    p.fillRect(pm.rect(), g);
    // A clock face on the left: the program records time.
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(size.width() * 0.18, size.height() * 0.45);
    const qreal r = size.height() * 0.22;
    p.setPen(QPen(QColor(255, 255, 255, 230), 6));
    p.setBrush(QColor(255, 255, 255, 40));
    p.drawEllipse(c, r, r);
    p.drawLine(c, c + QPointF(0, -r * 0.7));
    p.drawLine(c, c + QPointF(r * 0.5, 0));
    return pm;
}
} // namespace

frmSplash::frmSplash()
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName("frmSplash");
    // Form_Load: every step goes on whatever the one before did.
    modMain::FormLoaded[modMain::fiSplash] = true;
    const QSize size(7380 / kTwipsPerPixel, 4080 / kTwipsPerPixel);
    setFixedSize(size);

    Image1 = new QLabel(this);
    Image1->setObjectName("Image1");
    Image1->setGeometry(QRect(QPoint(0, 0), size));
    Image1->setPixmap(SplashPicture(size));

    Frame1 = new QFrame(this);
    Frame1->setObjectName("Frame1");
    Frame1->setGeometry(QRect(QPoint(0, 0), size));
    Frame1->installEventFilter(this);

    auto label = [this](const char *name, const QString &text, QRect r, int pt, bool bold) {
        auto *l = new QLabel(text, Frame1);
        l->setObjectName(name);
        l->setGeometry(r);
        QFont f(QStringLiteral("Arial"), pt);
        f.setBold(bold);
        l->setFont(f);
        l->setStyleSheet("color: white; background: transparent;");
        return l;
    };
    const int w = size.width();
    lblProduct = label("lblProduct", QStringLiteral("Tarvelo Desktop Companion"), QRect(150, 40, w - 165, 70), 20, true);
    lblProduct->setWordWrap(true);
    lblVersion = label("lblVersion", QStringLiteral("Version"), QRect(150, 120, 200, 20), 9, false);
    lblVersion->hide(); // the version line below says it in full
    lblPlatform = label("lblPlatform", QStringLiteral("Platform: Linux desktop"), QRect(150, 140, 300, 20), 9, false);
    lblVer = label("lblVer", QString(), QRect(150, 118, 300, 22), 10, true);
    lblCopyr = label("lblCopyr", QString(), QRect(150, 200, w - 165, 60), 8, false);

    modMain::MakeLayered(this);
    modMain::SetAlpha(this, 0);
    lblVer->setText(QStringLiteral("Version ") + modMain::VersionText());
    lblCopyr->setText(QStringLiteral("Copyright \u00A9 Tarvelo Web Service\nAll rights reserved."));

    tmrFadeIn = new QTimer(this);
    tmrFadeIn->setInterval(50);
    connect(tmrFadeIn, &QTimer::timeout, this, &frmSplash::tmrFadeIn_Timer);
    tmr = new QTimer(this);
    tmr->setInterval(250);
    connect(tmr, &QTimer::timeout, this, &frmSplash::tmr_Timer);
    tmrFadeIn->start();
    tmr->start();
}

frmSplash::~frmSplash()
{
    modMain::FormLoaded[modMain::fiSplash] = false;
    Forget(this);
}

void frmSplash::Form_Unload()
{
    // Unloading from one of the window's own handlers: the flag drops at once (start-up waits
    // on it), the object goes when the event loop next runs.
    modMain::FormLoaded[modMain::fiSplash] = false;
    tmrFadeIn->stop();
    tmr->stop();
    Forget(this);
    hide();
    deleteLater();
}

void frmSplash::tmrFadeIn_Timer()
{
    if (!m_fadingOut) {
        m_opacity += 20;
        if (m_opacity >= 255) {
            m_opacity = 255;
            tmrFadeIn->stop();
        }
        modMain::SetAlpha(this, static_cast<uint8_t>(m_opacity));
    } else {
        m_opacity = std::max<int16_t>(0, m_opacity - 20);
        modMain::SetAlpha(this, static_cast<uint8_t>(m_opacity));
        if (m_opacity == 0) {
            tmrFadeIn->stop();
            Form_Unload();
        }
    }
}

void frmSplash::tmr_Timer()
{
    if (m_ticks == 14) {
        m_ticks = 0;
        m_fadingOut = true;
        tmr->stop();
        tmrFadeIn->start();
    }
    ++m_ticks;
}

void frmSplash::Frame1_Click()
{
    Form_Unload();
}

void frmSplash::keyPressEvent(QKeyEvent *e)
{
    Form_Unload();
}

bool frmSplash::eventFilter(QObject *obj, QEvent *e)
{
    if (obj == Frame1 && e->type() == QEvent::MouseButtonRelease) {
        Frame1_Click();
        return true;
    }
    return QWidget::eventFilter(obj, e);
}
