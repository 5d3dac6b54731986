#pragma once
// One message box: builds its FMessage window from a style number and returns the number of
// the button pressed. modMain::ShowMsg makes one for every box.
#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>

class FMessage;

class CMessage : public QObject {
    Q_OBJECT
public:
    // Reads the captions Yes, No, Cancel, Abort, Retry and Ignore (strings 1500 to 1505) in the
    // current language, so every later box follows a change of language.
    CMessage();
    ~CMessage() override;

    // Style: button set (style & 7: 0 OK; 1 OK, Cancel; 2 Abort, Retry, Ignore; 3 Yes, No,
    // Cancel; 4 Yes, No; 5 Retry, Cancel; 6 and 7 as 0) + 16384 Help button + icon (16 critical,
    // 32 question, 48 exclamation, 64 information) + default button (256 second, 512 third,
    // 768 fourth) + 65536 top-most + 524288 right-aligned text.
    // Returns 1 OK, 2 Cancel, 3 Abort, 4 Retry, 5 Ignore, 6 Yes, 7 No, 0 for none. The window's
    // close command counts as the set's Cancel or No button, or as OK in the OK-only set; a box
    // with Abort, Retry and Ignore closes only through one of them.
    // The buttons are named "btnOK", "btnCancel", "btnAbort", "btnRetry", "btnIgnore",
    // "btnYes", "btnNo" and "btnHelp".
    int32_t MsgBox(const QString &prompt, int32_t style, const QString &title,
                   const QString &helpFile, int32_t helpContext);

    // An error box with "Close" ("btnClose"), "Copy" ("btnCopy", puts the text on the clipboard)
    // and, with showHelp, "Help" ("btnHelp"); the critical icon.
    void DisplayError(const QString &errorText, bool showHelp, int32_t helpContext);

    void m_frmError_ButtonClicked(int32_t index);
    void m_frmMessage_ButtonClicked(int32_t index);

    // Opens the help of the program: the help file of the open box when it names one that
    // exists, else the help index page when it exists; otherwise nothing happens. While the
    // program's help window is linked in (HelpWindow), the page opens there instead, in the
    // person's language.
    static void OpenHelp();
    static inline void (*HelpWindow)(const QString &page) = nullptr;

private:
    QString m_Yes, m_No, m_Cancel, m_Abort, m_Retry, m_Ignore;
    QString m_CopyText;
    std::unique_ptr<FMessage> m_frmMessage;
    std::unique_ptr<FMessage> m_frmError;
};
