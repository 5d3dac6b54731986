#include "options_help/frmVideo.h"
#include "core/modMain.h"
#include "platform/forms/Units.h"

#include <QFileInfo>
#include <QLabel>
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
    PlaceInMainWindow(QStringLiteral("frmVideoSub"));
    ApplyLang();
    modMain::FormLoaded[modMain::fiVideo] = true;
}

frmVideo::~frmVideo()
{
    modMain::FormLoaded[modMain::fiVideo] = false;
    Forget(this);
}

void frmVideo::ApplyLang()
{
    modMain::ApplyLangOrTell([&] {
        modMain::ApplyTagCaptions(this);
    });
}
