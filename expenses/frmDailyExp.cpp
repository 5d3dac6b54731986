#include "expenses/frmDailyExp.h"
#include "core/frmMain.h"
#include "core/modMain.h"
#include "platform/forms/Tag.h"
#include "platform/forms/Units.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>

frmDailyExp::frmDailyExp()
{
    setObjectName("frmDailyExp");
    setWindowTitle(QStringLiteral("Daily Expenses"));
    resize(forms::TwipsToPixels(10500), forms::TwipsToPixels(6900));
    m_sub = frmMain::Get()->mdi->addSubWindow(this);
    m_sub->setObjectName("frmDailyExpSub");
    ApplyLang();
    modMain::FormLoaded[modMain::fiDailyExp] = true;
}

frmDailyExp::~frmDailyExp()
{
    modMain::FormLoaded[modMain::fiDailyExp] = false;
    Forget(this);
    // The frame in the main window goes with the window (when the frame itself is being
    // destroyed, the request is dropped with it).
    if (m_sub)
        m_sub->deleteLater();
}

void frmDailyExp::setVisible(bool visible)
{
    if (visible && m_sub && !m_sub->isVisible())
        m_sub->show();
    QWidget::setVisible(visible);
}

void frmDailyExp::ApplyLang()
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
