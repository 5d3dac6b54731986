#include "options_help/frmOptions.h"
#include "core/frmMain.h"
#include "core/modMain.h"
#include "platform/forms/Tag.h"
#include "platform/forms/TreeView.h"
#include "platform/forms/Units.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>

frmOptions::frmOptions()
{
    setObjectName("frmOptions");
    setWindowTitle(QStringLiteral("Options"));
    resize(forms::TwipsToPixels(7800), forms::TwipsToPixels(6000));
    lstOptions = new forms::TreeView(this);
    lstOptions->setObjectName("lstOptions");
    forms::Move(lstOptions, 120, 120, 3600, 5700);
    m_sub = frmMain::Get()->mdi->addSubWindow(this);
    m_sub->setObjectName("frmOptionsSub");
    m_sub->move(0, 0);
    ApplyLang();
    LoadLstOptions();
    modMain::FormLoaded[modMain::fiOptions] = true;
}

frmOptions::~frmOptions()
{
    modMain::FormLoaded[modMain::fiOptions] = false;
    Forget(this);
    // The frame in the main window goes with the window (when the frame itself is being
    // destroyed, the request is dropped with it).
    if (m_sub)
        m_sub->deleteLater();
}

void frmOptions::setVisible(bool visible)
{
    if (visible && m_sub && !m_sub->isVisible())
        m_sub->show();
    QWidget::setVisible(visible);
}

void frmOptions::ApplyLang()
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
            if (auto *fr = qobject_cast<QGroupBox *>(w))
                fr->setTitle(text);
            else if (auto *b = qobject_cast<QAbstractButton *>(w))
                b->setText(text);
            else if (auto *l = qobject_cast<QLabel *>(w))
                l->setText(text);
        }
    } catch (...) {
        modMain::ShowMsg(QStringLiteral("Error applying language settings!"), 16);
        modMain::LangID = modMain::PrevLangID;
    }
}

void frmOptions::LoadLstOptions()
{
    // The option nodes come with the dialog's own controls; until then the tree stays empty.
    lstOptions->Clear();
}
