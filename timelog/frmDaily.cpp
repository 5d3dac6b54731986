#include "timelog/frmDaily.h"
#include "core/modMain.h"
#include "platform/forms/Units.h"

frmDaily::frmDaily()
{
    setObjectName("frmDaily");
    setWindowTitle(QStringLiteral("Daily Time Log"));
    resize(forms::TwipsToPixels(10500), forms::TwipsToPixels(6900));
    PlaceInMainWindow(QStringLiteral("frmDailySub"));
    ApplyLang();
    modMain::FormLoaded[modMain::fiDaily] = true;
}

frmDaily::~frmDaily()
{
    modMain::FormLoaded[modMain::fiDaily] = false;
    Forget(this);
}

void frmDaily::ApplyLang()
{
    modMain::ApplyLangOrTell([&] {
        // The day label keeps its day key in its tag.
        modMain::ApplyTagCaptions(this, false, [](const QWidget *w) { return w->objectName() == QLatin1String("lblDay"); });
    });
}
