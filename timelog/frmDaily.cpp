#include "timelog/frmDaily.h"
#include "core/frmMain.h"
#include "core/modMain.h"
#include "platform/forms/Tag.h"
#include "platform/forms/Units.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>

frmDaily::frmDaily()
{
    setObjectName("frmDaily");
    setWindowTitle(QStringLiteral("Daily Time Log"));
    resize(forms::TwipsToPixels(10500), forms::TwipsToPixels(6900));
    m_sub = frmMain::Get()->mdi->addSubWindow(this);
    m_sub->setObjectName("frmDailySub");
    ApplyLang();
    modMain::FormLoaded[modMain::fiDaily] = true;
}

frmDaily::~frmDaily()
{
    modMain::FormLoaded[modMain::fiDaily] = false;
    Forget(this);
    // The frame in the main window goes with the window (when the frame itself is being
    // destroyed, the request is dropped with it).
    if (m_sub)
        m_sub->deleteLater();
}

void frmDaily::setVisible(bool visible)
{
    if (visible && m_sub && !m_sub->isVisible())
        m_sub->show();
    QWidget::setVisible(visible);
}

void frmDaily::ApplyLang()
{
    if (modMain::LangTableText.isEmpty())
        return;
    try {
        for (QWidget *w : findChildren<QWidget *>()) {
            bool numeric = false;
            const int id = forms::Tag(w).toInt(&numeric);
            // The day label keeps its day key in its tag.
            if (!numeric || w->objectName() == QLatin1String("lblDay"))
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
