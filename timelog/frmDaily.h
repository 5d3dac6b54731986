#pragma once
// The daily time-log window: a child window of the main window for one day's time-log
// entries. The grid lstLog is the day's working copy: one row per entry (columns in
// timelog/DailyRules.h), edited in the editor strip below it and written by Save.
#include "core/ChildWindow.h"
#include "core/FormInstance.h"

#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;
class QToolButton;
namespace modDBchr { struct DailyValues; }
namespace forms {
class ComboBox;
class FlexGrid;
class Label;
class Node;
class TreeView;
} // namespace forms

class frmDaily : public ChildWindow, public FormInstance<frmDaily> {
    Q_OBJECT
public:
    frmDaily();
    ~frmDaily() override;

    // Every caption of the window in the current language; a failure is told and LangID goes
    // back to PrevLangID.
    void ApplyLang();
    // Send-state pictures and colours of one row, or of every row for -1.
    void SetColorsAndPics(int row);

    // Refills the grid with the shown day's recorded entries in order of start. false on
    // success, true when the day could not be read (the rows read so far stay).
    bool LoadDailyLog();
    // Shows the day chosen in the day list.
    void ClickDay();

    // Sends the entry of a grid row to the service and keeps the reply as its send state.
    void SynchTimeLog(int row);

    // Saving and deleting.
    void btnSave_Click();
    // Inserts the entry of the row; the new id, or -1 when nothing was written.
    double AddDaily(int row);
    // Updates the entry of the row; 0 or the engine's error number.
    int32_t UpdateDaily(int row);
    // Deletes the entry of the current row and removes the row; 0 or the error number.
    int32_t DeleteDaily();
    // The editor becomes read-only (an entry the service has accepted).
    void DisableAll();
    // True when a start or end at secs of the shown day conflicts with the running timer.
    bool CheckRecording(double secs);

    // The editor strip.
    void lstLog_Click();
    void MyTree_NodeClick(forms::Node *node);
    void ClearAll();
    // Rows with unsaved edits.
    int16_t CheckChanged() const;
    // Asks before rows with unsaved edits are dropped; true when the window may close.
    bool QueryUnload();

    // Commands.
    void btnAdd_Click();
    void btnDel_Click();
    void btnExit_Click();
    void btnDown_Click();
    void mnuSynch_Item_Click();

    // ---- controls ----
    QMenuBar *mnuBar = nullptr;
    QMenu *mnuLogs = nullptr;
    QAction *mnuLogs_Add = nullptr;
    QAction *mnuLogs_Save = nullptr;
    QAction *mnuLogs_Del = nullptr;
    QAction *mnuLogs_FreeBusy = nullptr;
    QAction *mnuLogs_Exit = nullptr;
    QMenu *mnuSynch = nullptr;
    QAction *mnuSynch_Item = nullptr;

    forms::Label *lblDay = nullptr;          // caption: the shown day; tag: its day key
    forms::ComboBox *cmbDays = nullptr;      // the days with entries, and today
    std::array<QPushButton *, 2> btnNP{};    // previous / next day with entries
    QPushButton *btnNewDate = nullptr;
    QPushButton *btnDelDate = nullptr;
    QPushButton *btnAdd = nullptr;
    QPushButton *btnSave = nullptr;
    QPushButton *btnDel = nullptr;
    QPushButton *btnExit = nullptr;
    forms::FlexGrid *lstLog = nullptr;
    QGroupBox *frEdit = nullptr;
    forms::Label *lProj = nullptr;
    forms::Label *lTask = nullptr;
    QToolButton *btnDown = nullptr;
    forms::TreeView *MyTree = nullptr;
    forms::Label *lblStart = nullptr;
    forms::Label *lblEnd = nullptr;
    QLineEdit *txtStart = nullptr;
    QLineEdit *txtEnd = nullptr;
    std::array<QLineEdit *, 3> txtH{};       // duration: hours, minutes, seconds
    QPlainTextEdit *txtComments = nullptr;

    QString NewEntryName;
    bool NewEntryMode = false;
    bool DaySetFromList = false;
    bool LoadingRow = false;

protected:
    void closeEvent(QCloseEvent *e) override;

private:
    void CreateControls();
    void CreateMenus();
    void Form_Activate();
    void cmbDays_Click();
    void lblDay_Change();
    void EditorChanged();
    void SetSaveEnabled(bool on);
    // Tells the person that a write failed, with the engine's description.
    void TellWriteFailure(int32_t error);
    // The editor's values for the row (name, task, category from the row; times, duration
    // and comment from the boxes); false after telling the person what is wrong.
    bool ReadEditor(int row, double &start, double &end, double &sec);
    // What a save writes for the row.
    modDBchr::DailyValues ValuesOf(int row) const;

    int32_t m_lastWriteError = 0;   // of the last AddDaily

    QWidget *m_lastActive = nullptr;
    bool m_closing = false;
};
