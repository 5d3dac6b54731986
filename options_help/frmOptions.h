#pragma once
// The options window: a child window of the main window in which the person changes the
// settings of the profile. Tab 0 holds the service credentials with their check against the
// service; tab 1 the option tree lstOptions, whose node chooses which of five frames stands
// beside it (on/off, working day, language, hot key, time-out). Changes live in the controls
// until Save, which writes the settings file and applies the tray icon, the hot key and the
// start-with-the-desktop entry at once.
//
// While the window is loaded the timers window's hot key is not registered, so that the
// combination reaches the new-key box; Save registers the saved key, and the window's unload
// registers the key in force again.
#include "core/ChildWindow.h"
#include "core/FormInstance.h"
#include "options_help/OptionsRules.h"

#include <QPointer>
#include <QWidget>
#include <array>
#include <cstdint>

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QToolButton;
class clsTimePicker;
namespace forms {
class ComboBox;
class Label;
class Node;
class TreeView;
} // namespace forms

class frmOptions : public ChildWindow, public FormInstance<frmOptions> {
    Q_OBJECT
public:
    frmOptions();    // Form_Load
    ~frmOptions() override;   // Form_Unload

    // ---- public operations -------------------------------------------------------------
    // True when the credential boxes are not acceptable (the message has been shown).
    bool CheckUserPassw();
    // The settings in force into the controls (also what "cancel changes" does).
    void init();
    // Fills the tree again, captioned in the current language, with the choices the controls
    // hold (a language switch keeps what is not saved yet); the node selected stays selected.
    void LoadLstOptions();
    // The tree's flag picture of a language index ("" for none).
    static QString GetLangIcon(int16_t langId);
    // Fills the language list, the language chosen in the window selected.
    void LoadLang();
    // One key pressed in a key box: a function key with a modifier becomes the key Save
    // stores and the box shows it; Shift, Ctrl or Alt alone only show the prefix held so far;
    // Delete and Backspace remove the key; any other key is refused (string 724).
    void ShowKey(int16_t &keyCode, int16_t &shift, QLineEdit *target);
    // Captions in the current language; a failure is told and LangID goes back to PrevLangID.
    void ApplyLang();

    // ---- event handlers ----------------------------------------------------------------
    void btnSave_Click();
    void btnReset_Click();
    void btnRestore_Click();
    void btnExit_Click();
    void btnOpen_Click(int index);
    void btnVerify_Click();
    void btnRemove_Click();
    void txtHotKey_KeyDown(int keyCode, int shift);
    void cmbLang_Click();
    void lstOptions_NodeClick(forms::Node *node);
    void Opt_Click(int index);
    void lblStartTime_Click();
    void lblEndTime_Click();
    void lblExit_Click();
    void mnuHelp_options_Click();

    // The key Save will store.
    int16_t KeyCode() const { return m_KeyCode; }
    int16_t KeyMask() const { return m_KeyMask; }
    // The choices the tree holds now (not saved yet).
    const optrules::Choices &PendingChoices() const { return m_choices; }

    // ---- controls ----------------------------------------------------------------------
    QMenuBar *mnuBar = nullptr;
    QMenu *mnuHelp = nullptr;
    QAction *mnuHelp_options = nullptr;
    QLabel *lblTitle = nullptr;            // header strip
    QTabWidget *sTab = nullptr;
    // tab 0
    QGroupBox *frUser = nullptr;
    std::array<QLabel *, 14> lbl{};        // 3 note under the boxes, 13 note above them
    QLabel *lblUserName = nullptr;         // captions of the boxes
    QLabel *lblPassw = nullptr;
    QLabel *lblPasswR = nullptr;
    QLineEdit *txtUserName = nullptr;
    QLineEdit *txtPassw = nullptr;
    QLineEdit *txtPasswR = nullptr;
    QPushButton *btnVerify = nullptr;
    // tab 1
    QLabel *lblTree = nullptr;             // caption over the tree
    forms::TreeView *lstOptions = nullptr;
    std::array<QToolButton *, 2> btnOpen{};   // 0 expands every node, 1 collapses them
    QGroupBox *frinfo = nullptr;
    QLabel *lblInfo = nullptr;
    QWidget *picFrames = nullptr;          // holds the five frames, one in view
    QGroupBox *frchk = nullptr;
    std::array<QRadioButton *, 2> Opt{};   // 0 Yes, 1 No
    QLabel *lblOptSet = nullptr;
    QGroupBox *frWork = nullptr;
    QLabel *lblStartCap = nullptr;
    QLabel *lblEndCap = nullptr;
    forms::Label *lblStartTime = nullptr;
    forms::Label *lblEndTime = nullptr;
    QLabel *lblWorkHint = nullptr;
    QWidget *picPicker = nullptr;
    QGroupBox *frLang = nullptr;
    QLabel *lblLang = nullptr;
    forms::ComboBox *cmbLang = nullptr;
    QLabel *imgFlag = nullptr;
    QGroupBox *frHotKey = nullptr;
    QLabel *lblKeyPre = nullptr;
    QLabel *lblKey = nullptr;
    QLineEdit *txtHotKeyPre = nullptr;
    QLineEdit *txtHotKey = nullptr;
    QPushButton *btnRemove = nullptr;
    QGroupBox *frCon = nullptr;
    forms::ComboBox *cmbTimeOut = nullptr;
    QLabel *lblConHint = nullptr;
    // footer strip
    QPushButton *btnRestore = nullptr;
    QPushButton *btnReset = nullptr;
    QPushButton *btnSave = nullptr;
    QPushButton *btnExit = nullptr;

    // The frames by the tree's choice, and where they stand (twips) in and out of view.
    static constexpr int kFrameInView = 120;
    static constexpr int kFrameOutOfView = -6000;

protected:
    bool eventFilter(QObject *watched, QEvent *e) override;
    void closeEvent(QCloseEvent *e) override;

private:
    void CreateControls();
    void CreateMenus();
    // One frame into view, the four others out of it.
    void ShowFrame(const QString &name);
    void OpenPicker(forms::Label *label);
    // The captured key and the current-key box as the settings in force have them.
    void ShowKeyInForce();
    // The hotkey node's picture and flag by the key Save will store.
    void MarkHotKeyNode();
    // Lets go of the timers window's hot key while the window is open.
    void ReleaseHotKey();
    // Enables what may start a request or change the settings (not while one is under way).
    void EnableCommands(bool enabled);
    // What the controls hold for a save.
    optrules::Entered EnteredValues() const;
    // Puts entered values back into the controls (restore defaults).
    void ShowEntered(const optrules::Entered &e);
    // The stored credentials in plain text ("" when none is stored or it cannot be read).
    static QString StoredPlain(const QString &stored);
    // True when no other program holds the combination (always when there is no global grab).
    static bool HotKeyFree(int16_t code, int16_t mask);

    QPointer<clsTimePicker> m_Picker;
    QPointer<forms::Label> m_PickerLabel;
    int16_t m_KeyCode = 0;
    int16_t m_KeyMask = 0;
    QString m_capturedText;        // what the new-key box shows for the captured key
    bool m_modifiersShown = false; // the new-key box shows a modifier prefix only
    optrules::Choices m_choices;   // the on/off options as the tree holds them
    int m_langChoice = 0;          // the language chosen in the list
    bool m_fillingLang = false;
    bool m_keyReleased = false;    // the timers window's hot key was let go by this window
    // The credentials the service accepted in this window (Save stores changed credentials
    // only once they are verified).
    bool m_verified = false;
    QString m_verifiedUser;
    QString m_verifiedPassword;
};
