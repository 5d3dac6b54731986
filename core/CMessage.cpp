#include "core/CMessage.h"

#include "core/FMessage.h"
#include "core/modMain.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QFileInfo>
#include <QLabel>
#include <QUrl>

namespace {

// The help file the program opens on a Help request; a box names its own for as long as it is
// open and puts the earlier one back afterwards.
QString g_AppHelpFile;

enum Button { bOK, bCancel, bAbort, bRetry, bIgnore, bYes, bNo };

struct ButtonKind {
    const char *name;
    int32_t result;
};

constexpr ButtonKind kKinds[] = {
    {"btnOK", 1}, {"btnCancel", 2}, {"btnAbort", 3}, {"btnRetry", 4},
    {"btnIgnore", 5}, {"btnYes", 6}, {"btnNo", 7},
};

struct ButtonSet {
    int count;
    Button buttons[3];
    int closeIndex; // what the window's close command counts as; -1: refused
};

constexpr ButtonSet kSets[6] = {
    {1, {bOK, bOK, bOK}, 0},
    {2, {bOK, bCancel, bOK}, 1},
    {3, {bAbort, bRetry, bIgnore}, -1},
    {3, {bYes, bNo, bCancel}, 2},
    {2, {bYes, bNo, bOK}, 1},
    {2, {bRetry, bCancel, bOK}, 1},
};

} // namespace

CMessage::CMessage()
{
    m_Yes = modMain::GetLangString(1500, false);
    m_No = modMain::GetLangString(1501, false);
    m_Cancel = modMain::GetLangString(1502, false);
    m_Abort = modMain::GetLangString(1503, false);
    m_Retry = modMain::GetLangString(1504, false);
    m_Ignore = modMain::GetLangString(1505, false);
}

CMessage::~CMessage() = default;

int32_t CMessage::MsgBox(const QString &prompt, int32_t style, const QString &title,
                         const QString &helpFile, int32_t helpContext)
{
    // 1.-2.
    m_frmMessage = std::make_unique<FMessage>();
    FMessage *box = m_frmMessage.get();
    connect(box, &FMessage::ButtonClicked, this, &CMessage::m_frmMessage_ButtonClicked);
    connect(box, &FMessage::HelpRequested, this, [] { CMessage::OpenHelp(); });
    m_CopyText = prompt;
    box->MessageTitle(title);
    box->HelpContextID = helpContext;

    // 3. Buttons of the set, then Help.
    int setNo = style & 7;
    if (setNo > 5)
        setNo = 0;
    const ButtonSet &set = kSets[setNo];
    const QString captionOf[] = {QStringLiteral("OK"), m_Cancel, m_Abort, m_Retry,
                                 m_Ignore, m_Yes, m_No};
    QStringList captions, names;
    QList<bool> closes;
    for (int i = 0; i < set.count; ++i) {
        captions << captionOf[set.buttons[i]];
        names << QString::fromLatin1(kKinds[set.buttons[i]].name);
        closes << true;
    }
    if (style & 16384) {
        captions << QStringLiteral("Help");
        names << QStringLiteral("btnHelp");
        closes << false;
    }
    box->ButtonText(captions);
    box->ButtonNames(names);
    box->ButtonsUnload(closes);
    box->CloseButton(set.closeIndex);

    // 4. Icon.
    const int32_t icon = style & 112;
    box->MessageIcon((icon == 16 || icon == 32 || icon == 48 || icon == 64) ? icon : 0);

    // 5. Default button.
    switch (style & 768) {
    case 256: box->ButtonDefault(1); break;
    case 512: box->ButtonDefault(2); break;
    case 768: box->ButtonDefault(3); break;
    default: box->ButtonDefault(0); break;
    }

    // 6. Alignment of the text.
    box->lblMessage->setAlignment(((style & 524288) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop);

    // 7. Every box stays on top.
    box->TopMost((style & 65536) != 0);

    // 8. Show it with its own help file.
    const QString savedHelpFile = g_AppHelpFile;
    g_AppHelpFile = helpFile;
    box->ShowMessage(prompt);
    g_AppHelpFile = savedHelpFile;

    // 9. The pressed button's result; Help and anything past the set give 0.
    const int32_t selected = box->SelectedButton();
    int32_t result = 0;
    if (selected >= 0 && selected < set.count)
        result = kKinds[set.buttons[selected]].result;

    // 10.
    m_frmMessage.reset();
    return result;
}

void CMessage::DisplayError(const QString &errorText, bool showHelp, int32_t helpContext)
{
    m_frmError = std::make_unique<FMessage>();
    FMessage *box = m_frmError.get();
    connect(box, &FMessage::ButtonClicked, this, &CMessage::m_frmError_ButtonClicked);
    connect(box, &FMessage::HelpRequested, this, [] { CMessage::OpenHelp(); });
    m_CopyText = errorText;
    QString title = QApplication::applicationDisplayName();
    if (title.isEmpty())
        title = QApplication::applicationName();
    box->MessageTitle(title);
    box->HelpContextID = helpContext;

    QStringList captions{QStringLiteral("Close"), QStringLiteral("Copy")};
    QStringList names{QStringLiteral("btnClose"), QStringLiteral("btnCopy")};
    QList<bool> closes{true, false};
    if (showHelp) {
        captions << QStringLiteral("Help");
        names << QStringLiteral("btnHelp");
        closes << false;
    }
    box->ButtonText(captions);
    box->ButtonNames(names);
    box->ButtonsUnload(closes);
    box->CloseButton(0);
    box->MessageIcon(16);
    box->ButtonDefault(0);
    box->lblMessage->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    box->TopMost(true);
    box->ShowMessage(errorText);
    m_frmError.reset();
}

void CMessage::m_frmError_ButtonClicked(int32_t index)
{
    if (index == 1) {
        if (QClipboard *cb = QApplication::clipboard()) {
            cb->clear();
            cb->setText(m_CopyText);
        }
    } else if (index == 2) {
        OpenHelp();
    }
}

void CMessage::m_frmMessage_ButtonClicked(int32_t index)
{
    // Only the Help button leaves the box open and reaches here.
    (void)index;
    OpenHelp();
}

void CMessage::OpenHelp()
{
    if (HelpWindow) {
        HelpWindow(!g_AppHelpFile.isEmpty() ? g_AppHelpFile : modMain::HelpIndexPath);
        return;
    }
    QString path;
    if (!g_AppHelpFile.isEmpty() && QFileInfo(g_AppHelpFile).isFile())
        path = g_AppHelpFile;
    else if (!modMain::HelpIndexPath.isEmpty() && QFileInfo(modMain::HelpIndexPath).isFile())
        path = modMain::HelpIndexPath;
    if (!path.isEmpty())
        QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}
