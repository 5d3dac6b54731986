#include "options_help/frmVideo.h"
#include "core/frmMain.h"
#include "core/modMain.h"
#include "platform/forms/Tag.h"
#include "platform/forms/Units.h"

#include <QAbstractButton>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QVBoxLayout>

MoviePlayer::MoviePlayer(QWidget *parent) : QFrame(parent)
{
    setFrameShape(QFrame::StyledPanel);
    auto *layout = new QVBoxLayout(this);
    m_name = new QLabel(this);
    m_name->setObjectName("lblMovie");
    m_name->setAlignment(Qt::AlignCenter);
    layout->addWidget(m_name);
}

void MoviePlayer::SetHeight(int twips)
{
    resize(width(), forms::TwipsToPixels(twips));
}

void MoviePlayer::LoadMovie(int layer, const QString &path)
{
    if (layer != 0)
        return;
    m_playing = false;
    m_movie = path;
    m_name->setText(QFileInfo(path).fileName());
}

frmVideo::frmVideo()
{
    setObjectName("frmVideo");
    setWindowTitle(QStringLiteral("Tarvelo Desktop"));
    resize(forms::TwipsToPixels(7200), forms::TwipsToPixels(5400));
    flash = new MoviePlayer(this);
    flash->setObjectName("flash");
    forms::Move(flash, 0, 0, 7200, 5400);
    frAbout = new QFrame(this);
    frAbout->setObjectName("frAbout");
    forms::Move(frAbout, -12000, 2250, 7000, 3000);
    m_sub = frmMain::Get()->mdi->addSubWindow(this);
    m_sub->setObjectName("frmVideoSub");
    ApplyLang();
    modMain::FormLoaded[modMain::fiVideo] = true;
}

frmVideo::~frmVideo()
{
    modMain::FormLoaded[modMain::fiVideo] = false;
    Forget(this);
    // The frame in the main window goes with the window (when the frame itself is being
    // destroyed, the request is dropped with it).
    if (m_sub)
        m_sub->deleteLater();
}

void frmVideo::setVisible(bool visible)
{
    if (visible && m_sub && !m_sub->isVisible())
        m_sub->show();
    QWidget::setVisible(visible);
}

void frmVideo::ApplyLang()
{
    if (modMain::LangTableText.isEmpty())
        return;
    try {
        for (QWidget *w : findChildren<QWidget *>()) {
            bool numeric = false;
            const int id = forms::Tag(w).toInt(&numeric);
            if (!numeric)
                continue;
            const QString text = modMain::GetLangString(static_cast<int16_t>(id));
            if (auto *b = qobject_cast<QAbstractButton *>(w))
                b->setText(text);
            else if (auto *l = qobject_cast<QLabel *>(w))
                l->setText(text);
        }
    } catch (...) {
        modMain::ShowMsg(QStringLiteral("Error applying language settings!"), 16);
        modMain::LangID = modMain::PrevLangID;
    }
}
