#include "options_help/frmHlp.h"
#include "core/frmMain.h"
#include "core/modMain.h"
#include "platform/forms/Tag.h"

#include <QAbstractButton>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QUrl>
#include <QVBoxLayout>

HelpBrowser::HelpBrowser(QWidget *parent) : QTextBrowser(parent)
{
    setOpenLinks(true);
}

void HelpBrowser::Navigate2(const QString &path)
{
    m_location = path;
    setSource(QUrl::fromLocalFile(path));
}

frmHlp::frmHlp()
{
    setObjectName("frmHlp");
    setWindowTitle(QStringLiteral("Tarvelo Desktop help"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    mnuBar = new QMenuBar(this);
    mnuBar->setObjectName("mnuBar");
    layout->setMenuBar(mnuBar);
    WBr = new HelpBrowser(this);
    WBr->setObjectName("WBr");
    layout->addWidget(WBr);
    resize(640, 480);
    m_sub = frmMain::Get()->mdi->addSubWindow(this);
    m_sub->setObjectName("frmHlpSub");
    ApplyLang();
    modMain::FormLoaded[modMain::fiHlp] = true;
}

frmHlp::~frmHlp()
{
    modMain::FormLoaded[modMain::fiHlp] = false;
    Forget(this);
    // The frame in the main window goes with the window (when the frame itself is being
    // destroyed, the request is dropped with it).
    if (m_sub)
        m_sub->deleteLater();
}

void frmHlp::setVisible(bool visible)
{
    if (visible && m_sub && !m_sub->isVisible())
        m_sub->show();
    QWidget::setVisible(visible);
    if (visible && WBr->LocationPath().isEmpty() && !m_startPage.isEmpty())
        WBr->Navigate2(m_startPage);
}

void frmHlp::SetStartPage(const QString &path)
{
    m_startPage = path;
    if (isVisible())
        WBr->Navigate2(path);
}

void frmHlp::ApplyLang()
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
