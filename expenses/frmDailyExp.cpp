#include "expenses/frmDailyExp.h"
#include "core/modMain.h"
#include "platform/forms/Units.h"

frmDailyExp::frmDailyExp()
{
    setObjectName("frmDailyExp");
    setWindowTitle(QStringLiteral("Daily Expenses"));
    resize(forms::TwipsToPixels(10500), forms::TwipsToPixels(6900));
    PlaceInMainWindow(QStringLiteral("frmDailyExpSub"));
    ApplyLang();
    modMain::FormLoaded[modMain::fiDailyExp] = true;
}

frmDailyExp::~frmDailyExp()
{
    modMain::FormLoaded[modMain::fiDailyExp] = false;
    Forget(this);
}

void frmDailyExp::ApplyLang()
{
    modMain::ApplyLangOrTell([&] {
        // The day label keeps its day key in its tag.
        modMain::ApplyTagCaptions(this, false, [](const QWidget *w) { return w->objectName() == QLatin1String("lblDay"); });
    });
}
