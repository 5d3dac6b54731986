#include "core/Captions.h"

#include "core/modMain.h"
#include "platform/forms/Label.h"
#include "platform/forms/Tag.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>

namespace modMain {

void ApplyLangOrTell(const std::function<void()> &apply)
{
    if (LangTableText.isEmpty())
        return;
    try {
        apply();
    } catch (...) {
        ShowMsg(QStringLiteral("Error applying language settings!"), 16);
        LangID = PrevLangID;
    }
}

void ApplyTagCaptions(QWidget *root, bool oneLine, const std::function<bool(const QWidget *)> &skip)
{
    for (QWidget *w : root->findChildren<QWidget *>()) {
        bool numeric = false;
        const int id = forms::Tag(w).toInt(&numeric);
        if (!numeric || (skip && skip(w)))
            continue;
        const QString text = GetLangString(static_cast<int16_t>(id), oneLine);
        if (auto *fr = qobject_cast<QGroupBox *>(w))
            fr->setTitle(text);
        else if (auto *b = qobject_cast<QAbstractButton *>(w))
            b->setText(text);
        else if (auto *caption = qobject_cast<forms::Label *>(w))
            caption->SetCaption(text);
        else if (auto *l = qobject_cast<QLabel *>(w))
            l->setText(text);
    }
}

}
