#include "core/modMain.h"

#include "core/CMessage.h"

namespace modMain {

int32_t ShowMsg(const QString &prompt, int32_t style, const QString &title,
                const QString &helpFile, int32_t helpContext)
{
    const QString boxTitle = title.isEmpty() ? QStringLiteral("Tarvelo Desktop") : title;
    CMessage msg;
    return msg.MsgBox(prompt, style, boxTitle, helpFile, helpContext);
}

} // namespace modMain
