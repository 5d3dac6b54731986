#pragma once
// The daily expenses window: a child window of the main window that lists one day's expenses
// of the person in its grid, shows their total, and edits, stores and sends one expense at a
// time in the editor strip below the grid.
//
// The grid lstLog is the day's working copy: one row per expense, every cell text (columns
// below); a save or delete reads its values back from the grid, an upload only the id. The
// window reaches the database only through the store (modDBchr) and the service only through
// the transport (modHttp); its rules live in expenses/ExpenseRules.h.
#include "core/ChildWindow.h"
#include "core/FormInstance.h"
#include "platform/forms/ComboBox.h"
#include "platform/forms/FlexGrid.h"
#include "platform/forms/Label.h"
#include "platform/forms/TreeView.h"

#include <QWidget>
#include <array>
#include <cstdint>

class QAction;
class QCloseEvent;
class QKeyEvent;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;
class QToolButton;
class clsTimePicker;

class frmDailyExp : public ChildWindow, public FormInstance<frmDailyExp> {
    Q_OBJECT
public:
    // The window's load: controls, captions, lists, the day list and the latest day shown.
    frmDailyExp();
    // The window's unload.
    ~frmDailyExp() override;

    // Columns of lstLog. Only the picture, category, payee and amount columns are shown.
    enum ExpColumn : int {
        colPic = 0,       // send-state picture ("PLUS" for a row without category)
        colID = 1,        // cID; empty for a row not saved yet
        colExpID = 2,     // category id
        colExpName = 3,   // category name
        colPayee = 4,     // payee; the prompt text in a new row
        colAmount = 5,    // amount in the locale's number form
        colDate = 6,      // day key
        colTime = 7,      // seconds after midnight
        colProjID = 8,
        colProjName = 9,
        colTaskID = 10,
        colTaskName = 11,
        colCode = 12,     // receipt code; empty for none
        colComment = 13,
        colChk = 14,      // send state "0" to "3"
        colChanged = 15,  // "True" edited and not saved, "False" a new row not edited yet
        colCount = 16
    };

    // ---- controls (names as the window's designer gave them) ----------------------------
    forms::FlexGrid *lstLog = nullptr;
    forms::Label *lblDay = nullptr;           // caption the shown day, tag its day key
    forms::ComboBox *cmbDays = nullptr;       // days with expenses, and today
    std::array<QPushButton *, 2> btnNP{};     // previous / next day
    QPushButton *btnNewDate = nullptr;
    QPushButton *btnDelDate = nullptr;
    forms::ComboBox *cmbExpCat = nullptr;     // item data cExpID
    QLineEdit *txtPayee = nullptr;
    forms::ComboBox *cmbPayee = nullptr;      // payees used before; lies under txtPayee
    QLineEdit *txtAmount = nullptr;
    QLineEdit *txtCodeID = nullptr;
    QPlainTextEdit *txtComments = nullptr;
    forms::Label *lProj = nullptr;
    forms::Label *lTask = nullptr;
    QToolButton *btnDown = nullptr;           // drops the task tree down
    forms::TreeView *MyTree = nullptr;        // projects and tasks that take expenses
    forms::Label *lTime = nullptr;            // time of the expense
    QWidget *picPicker = nullptr;             // the time picker's face
    clsTimePicker *m_TimePicker = nullptr;    // the picker, writing into lTime
    forms::Label *imgCalc = nullptr;          // opens the calculator on the amount
    forms::Label *lTotal = nullptr;           // the day's total
    QPushButton *btnAdd = nullptr;
    QPushButton *btnSave = nullptr;
    QPushButton *btnDel = nullptr;
    QPushButton *btnExit = nullptr;
    std::array<forms::Label *, 2> lbl{};      // day prompt, day list heading
    std::array<forms::Label *, 3> lblHead{};  // headings of the amount, payee, category columns
    forms::Label *lblTime = nullptr;
    forms::Label *lblProj = nullptr;
    forms::Label *lblAmount = nullptr;
    forms::Label *lblExp = nullptr;
    forms::Label *AFLabel1 = nullptr;         // memo
    forms::Label *AFLabel2 = nullptr;         // payee
    forms::Label *AFLabel3 = nullptr;         // receipt code
    forms::Label *AFLabel4 = nullptr;         // total

    QMenuBar *mnuBar = nullptr;
    QMenu *mnuExp = nullptr;
    QAction *mnuExp_Add = nullptr;
    QAction *mnuExp_Save = nullptr;
    QAction *mnuExp_Del = nullptr;
    QAction *mnuExp_DelDaySynch = nullptr;
    QAction *mnuExp_DelAllSynch = nullptr;
    QAction *mnuExp_Exit = nullptr;
    QMenu *mnuDays = nullptr;
    QAction *mnuDays_Add = nullptr;
    QAction *mnuDays_Del = nullptr;
    QAction *mnuDays_DelAll = nullptr;
    QMenu *mnuSynch = nullptr;
    QAction *mnuSynch_Item = nullptr;
    QAction *mnuSynch_Day = nullptr;
    QMenu *mnuHelp = nullptr;
    QAction *mnuHelp_Form = nullptr;

    // ---- window state ---------------------------------------------------------------------
    QString PayeePrompt;          // string 320: the payee a new row starts with
    bool FillingFields = false;   // the program fills the editor: the change handlers keep still
    bool DaySetFromList = false;  // the day label is set from the day list
    bool NewEntryMode = false;    // the editor holds a new expense without id

    // ---- the day ----------------------------------------------------------------------------
    // Loads the day of lblDay's tag into the grid; 0, or the error number (the rows read
    // before a failure stay). An empty or unreadable tag fails before the grid is emptied.
    int32_t LoadDailyExp();
    // Picture and colours of one row, or of every row for -1; the current row stays.
    void SetColorsAndPics(int row);
    // Every caption in the current language (lblDay keeps its date), the menus, PayeePrompt.
    void ApplyLang();
    // Shows the day chosen in cmbDays.
    void ClickDay();
    // The number of rows with unsaved edits.
    int CheckChanged() const;
    // Asks, when rows hold unsaved edits, whether the window may close and drop them; true
    // when it may (also what the program's end asks).
    bool QueryUnload() override;

    // ---- the records --------------------------------------------------------------------------
    // Appends a new expense row for the shown day and opens it in the editor.
    void AddNewExp();
    // True (after telling the person what is missing or wrong) when the editor may not be
    // saved.
    bool CheckFields();
    // Store grid row row as a new expense, or write its edits to the stored one; 0 or the
    // engine's error number, which the person has been told (the row keeps its edits).
    int32_t AddDaily(int row);
    int32_t UpdateDaily(int row);
    // Deletes the current row (and its stored expense with its comment); 0 or the error
    // number, told to the person (the row then stays).
    int32_t DeleteDaily();
    // Saves the open row without sending it.
    void SaveDailyChanged();
    // Enables or disables the editor (a sent row is read-only).
    void SetEnable(bool on);
    // lTotal = the sum of the shown amounts.
    void UpdateTotals();
    // Selects the category whose id is id and returns its name; "" (selection unchanged)
    // when the list has no such category.
    QString GetCatName(const QString &id);
    // Empties the editor.
    void ClearAll();

    // ---- the upload ---------------------------------------------------------------------------
    // Sends the stored expense of grid row row to the service and keeps the outcome as its
    // send state, in the database and in the grid. A row without id, or one the service has
    // already accepted, is not sent.
    void SynchExpLog(int row);
    // The number of rows the service has accepted.
    int CalcSynch() const;

    // ---- event handlers -------------------------------------------------------------------
    void txtPayee_Change();
    void lstLog_Click();
    void cmbExpCat_Click();
    void cmbPayee_Click();
    void txtAmount_Change();
    void txtAmount_LostFocus();
    void txtCodeID_Change();
    void txtComments_Change();
    void lTime_Change();
    void btnDown_Click();
    void MyTree_NodeClick(forms::Node *node);
    void txtAmount_DblClick();
    void imgCalc_Click();
    void txtComments_GotFocus();
    void lTime_Click();
    void lblExit_Click();
    void lProj_Click();
    void cmbDays_Click();
    void lblDay_Change();
    void btnAdd_Click();
    void btnSave_Click();
    void btnDel_Click();
    void btnExit_Click();
    void btnNewDate_Click();
    void btnDelDate_Click();
    void btnNP_Click(int index);
    void Form_Activate();
    void mnuExp_Click();
    void mnuExp_Add_Click();
    void mnuExp_DelDaySynch_Click();
    void mnuExp_DelAllSynch_Click();
    void mnuDays_Click();
    void mnuDays_Add_Click();
    void mnuDays_Del_Click();
    void mnuDays_DelAll_Click();
    void mnuSynch_Click();
    void mnuSynch_Item_Click();
    void mnuSynch_Day_Click();
    void mnuHelp_Form_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void CreateControls();
    void CreateMenus();
    // The save of the open row: the field checks, the insert or update, then (with andSend,
    // when automatic sending is on and the connection up) its upload and the total; the day
    // reloaded and the editor cleared. False when nothing was written.
    bool SaveOpenRow(bool andSend);
    // The editor's Save command and its menu entry follow one another.
    void EnableSave(bool on);
    // Writes a field into the selected row and marks it edited.
    void WriteField(int col, const QString &text, bool markChanged = true);
    // The person is told that the row could not be written (message id and the engine's text).
    void TellWriteFailure(int16_t id, int32_t err, const QString &description);
    // A typed key of the amount box: false when it is dropped or put in as another character.
    bool txtAmount_KeyPress(QKeyEvent *key);
    // Asks, when rows hold unsaved edits, whether another day may be shown instead; true when
    // it may.
    bool MayDropChanges();
    // The question before unsaved rows are dropped, what saying what then happens; true when
    // there are none or the person agrees.
    bool AskToDrop(int16_t what, int16_t whatOne);
    // The day list again: the days with expenses, and today.
    void RefillDays();
    // No day shown: the grid empty, the editor cleared and locked, the day buttons off.
    void ShowNoDay();
    // Deletes the sent expenses of one day (-1 every day) after asking, and shows the day again.
    void DeleteSynced(int32_t dayKey);
    // A row may be sent: saved, without unsaved edits, not accepted yet.
    bool RowSendable(int row) const;
    void TellDeleteFailure(int32_t err);

    bool m_amountCheck = false;   // the amount box's check is showing its message
    bool m_dropAgreed = false;    // the person agreed to drop the edits for this day change
};
