#pragma once
// The daily time-log window: a child window of the main window for one day's time-log
// entries. The grid lstLog is the day's working copy: one row per entry (columns in
// timelog/DailyRules.h), edited in the editor strip below it and written by Save.
#include "core/ChildWindow.h"
#include "core/FormInstance.h"

#include <QPixmap>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <array>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

class QAction;
class QGroupBox;
class QLabel;

class clsTimePicker;
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
    // True when the span start..end of the shown day (an end past 24:00 on the next day)
    // reaches into the running timer's time.
    bool CheckRecording(double start, double end);

    // The editor strip: a grid row opened in it, its task picked in the tree, its start, end
    // and comment edited (each edit goes into the row at once).
    void lstLog_Click();
    // The row under the mouse tells its send state on the status line.
    void lstLog_MouseMove(int button, int shift, double x, double y);
    void MyTree_NodeClick(forms::Node *node);
    void txtStart_Change();
    void txtEnd_Change();
    void txtComments_Change();
    // Redraws the six duration digits from the three duration boxes.
    void txtH_Change(int index);
    // The first other entry row that the start (or end) t, seconds after midnight, falls
    // inside, after telling the person; -1 when the time is free.
    int CheckTimeStart(double t, int row);
    int CheckTimeEnd(double t, int row);
    // The Save command and the edited mark of the row after an edit.
    void ValidateChange(int row);
    // Empties the comment and sets the duration to zero, touching no row.
    void ClearAll();
    // Rows with unsaved edits.
    int16_t CheckChanged() const;
    // The free stretches of the shown working day as rows without a task between the entries.
    void AddFreeTime();
    // The time picker opened on the start or the end box, and its close label.
    void lblStart_Click();
    void lblEnd_Click();
    void lblExit_Click();
    // Asks before rows with unsaved edits are dropped; true when the window may close.
    bool QueryUnload() override;

    // ---- commands: toolbar, Logs, Days, Synch and Help menus ----
    void btnAdd_Click();
    // The status-line hint of the new-entry button.
    void btnAdd_MouseMove();
    // Deletes the open entry after asking.
    void btnDel_Click();
    void btnExit_Click();
    void btnDown_Click();
    void btnNewDate_Click();
    void btnDelDate_Click();
    // Previous (0) or next (1) day that has entries.
    void btnNP_Click(int index);
    // The Logs menu drops down: delete-all only while the grid has rows.
    void mnuLogs_Click();
    // A new entry: the first free slot of the day, else after the last entry.
    void mnuLogs_Add_Click();
    void mnuLogs_Save_Click();
    void mnuLogs_Del_Click();
    // Deletes every entry of the shown day after asking.
    void mnuLogs_DelAll_Click();
    void mnuLogs_FreeBusy_Click();
    void mnuDays_Click();
    // A day from the calendar.
    void mnuDays_Add_Click();
    // Deletes the shown day, or every day, after asking.
    void mnuDays_Del_Click();
    void mnuDays_DelAll_Click();
    // The Synch menu drops down: its entries follow the connection and the current row.
    void mnuSynch_Click();
    void mnuSynch_Item_Click();
    // Sends every saved entry of the day that the service has not accepted yet.
    void mnuSynch_Day_Click();
    void mnuHelp_Form_Click();
    void mnuHelp_video_Click();

    // ---- controls ----
    QMenuBar *mnuBar = nullptr;
    QMenu *mnuLogs = nullptr;
    QAction *mnuLogs_Add = nullptr;
    QAction *mnuLogs_Save = nullptr;
    QAction *mnuLogs_Del = nullptr;
    QAction *mnuLogs_DelAll = nullptr;
    QAction *mnuLogs_FreeBusy = nullptr;
    QAction *mnuLogs_Exit = nullptr;
    QMenu *mnuDays = nullptr;
    QAction *mnuDays_Add = nullptr;
    QAction *mnuDays_Del = nullptr;
    QAction *mnuDays_DelAll = nullptr;
    QMenu *mnuSynch = nullptr;
    QAction *mnuSynch_Item = nullptr;
    QAction *mnuSynch_Day = nullptr;
    QMenu *mnuHelp = nullptr;
    QAction *mnuHelp_Form = nullptr;
    QAction *mnuHelp_Video = nullptr;

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
    std::array<QLineEdit *, 3> txtH{};       // duration: hours, minutes, seconds (hidden)
    QWidget *picTimer = nullptr;             // the duration drawn with digit pictures
    std::array<QLabel *, 2> hr{};
    std::array<QLabel *, 2> mn{};
    std::array<QLabel *, 2> sc{};
    QPlainTextEdit *txtComments = nullptr;
    QWidget *picPicker = nullptr;            // the time picker's face
    clsTimePicker *m_Picker = nullptr;

    QString NewEntryName;
    bool NewEntryMode = false;
    bool DaySetFromList = false;
    // Set while the editor's boxes are filled by the window itself: their change handlers
    // then leave the grid alone.
    bool LoadingRow = false;
    QLineEdit *PickerBox = nullptr;          // the box the picker was opened on last
    QString PickerOldText;                   // what that box held then

protected:
    // The boxes of the editor getting the focus close the task tree.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void CreateControls();
    void CreateMenus();
    void Form_Activate();
    void cmbDays_Click();
    void lblDay_Change();
    void CreateEditor(int editTop);
    void FitTopRows();
    // The editor shows no row: cleared, its boxes empty, its commands off.
    void CloseEditor();
    void CalcDuration();
    // The seconds from the start text to the end text of the row: whether its end lies on a
    // later day comes from its start and length (none for a new row).
    std::optional<double> SpanOf(int row, const QString &startText, const QString &endText) const;
    // The spans of the entries of other days that reach into the shown day, and those of the
    // next day, in seconds after the shown day's midnight (none when they cannot be read).
    std::vector<std::pair<double, double>> OtherDaysSpans() const;
    // A row's start in seconds after midnight: its start cell, else its start text.
    std::optional<double> RowStart(int row) const;
    // Puts the grid's rows in order of start, the current and the open row going with theirs.
    void PutInStartOrder();
    // Sets a box's text without its change handler touching the grid.
    void SetBoxQuietly(QLineEdit *box, const QString &text);
    // The row may not be changed: the service has accepted it.
    bool IsSentRow(int row) const;
    void OpenPicker(QLineEdit *box);
    // The Save and the Delete commands (button and menu entry together). While a request
    // to the service is under way both stay off; they come back as the editor last set them.
    void SetSaveEnabled(bool on);
    void SetDelEnabled(bool on);
    // The commands that change or delete stored rows follow the busy state of the requests.
    void ApplyBusy();
    // Tells the person that a write (or, with 1033, a delete) failed, with the engine's
    // description.
    void TellWriteFailure(int32_t error, int16_t what = 1032);
    // True when no row has unsaved edits, or the person agrees to drop them (No keeps them).
    // closing chooses the question's ending: the window closes, or the rows are read again.
    bool MayDropUnsaved(bool closing);
    // Selects the whole row, scrolls it to the top and opens it in the editor.
    void SelectRow(int row);
    // The free-time rows made again around the rows as they stand (edits stay).
    void RefreshFreeTime();
    // The day list again: every day with entries, and today.
    void RefillDays();
    // No day shown: empty grid, empty day label, cleared editor.
    void ShowNoDay();
    // The shown day read again from the database (after a failed delete: what it holds).
    void ReloadDay();
    // Deletes the shown day's entries; false after telling the person that it failed.
    bool DeleteShownDay();
    // Keys on the grid: Enter opens the row, Delete deletes it after asking; a row left with
    // the arrow keys closes the editor, so that no edit reaches a row it does not show.
    bool GridKey(int key);
    // The start, end and duration that the row holds (its start and end texts, the end on a
    // later day where the row runs past midnight); false after telling the person what is wrong.
    bool ReadEditor(int row, double &start, double &end, double &sec);
    // What a save writes for the row: everything from its cells.
    modDBchr::DailyValues ValuesOf(int row) const;

    int32_t m_lastWriteError = 0;   // of the last AddDaily
    bool m_saveWanted = false;      // what the editor last asked of the Save command
    bool m_delWanted = false;       // and of the Delete command
    bool m_sending = false;         // one of this window's sends is under way
    bool m_dropAgreed = false;      // the person already agreed to drop unsaved rows
    int m_openRow = -1;             // the row the editor shows, -1 for none

    std::array<QPixmap, 10> m_digits;       // pictures 216 to 225: the digits 0 to 9
};
