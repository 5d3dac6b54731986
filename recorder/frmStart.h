#pragma once
// The timers window: a child window of the main window that lists the loaded timers and
// records time with them. Its members are grouped by area; each area's code lives in its own
// source file (named in the area's heading).
#include "core/FormInstance.h"
// what the controls, recording, display and hand-over areas need
#include "platform/forms/FlexGrid.h"
#include "platform/forms/Label.h"
#include "platform/forms/TreeView.h"
#include "recorder/RecArr.h"

#include <QPixmap>
#include <QWidget>
#include <array>
#include <cstdint>
#include <vector>

class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTimer;
class QToolButton;

class QMdiSubWindow;

class frmStart : public QWidget, public FormInstance<frmStart> {
    Q_OBJECT
public:
    frmStart();
    ~frmStart() override;

    QMdiSubWindow *subWindow() const { return m_sub; }

    // ==== controls of the window, as a designer would lay them out (frmStart_Controls.cpp) ==
    // Creates every control of the window except the menus; the constructor calls it first.
    void CreateControls();

    forms::FlexGrid *lstTimers = nullptr;   // the timers, one row each (columns: recording)
    forms::TreeView *MyTree = nullptr;      // task tree dropped down by btnDown, hidden at rest
    QWidget *picInfo = nullptr;             // notice over the grid while it has no rows
    forms::Label *lblInfo = nullptr;        // its text
    QGroupBox *frAct = nullptr;             // the selected timer and its recording
    QGroupBox *frEdit = nullptr;            // editing of the selected timer
    // Labels 1..10 (element 0 is unused); each carries its string id in its Tag.
    std::array<forms::Label *, 11> lbl{};
    QPushButton *btnStart = nullptr;
    QPushButton *btnStop = nullptr;
    QPushButton *btnCancel = nullptr;
    QPushButton *btnQ = nullptr;            // quick record
    QPushButton *btnLoad = nullptr;         // add timers through the task loader
    QPushButton *btnUnload = nullptr;       // remove the selected timer
    QToolButton *btnDown = nullptr;         // drops the task tree down
    forms::Label *lProj = nullptr;          // project of the selected timer
    forms::Label *lTask = nullptr;          // task of the selected timer
    forms::Label *lStart1 = nullptr;        // start of its segment
    QPlainTextEdit *txtComments = nullptr;  // its comment
    // Elapsed time as digit pictures: element 0 the tens, 1 the units.
    std::array<QLabel *, 2> hr{};
    std::array<QLabel *, 2> mn{};
    std::array<QLabel *, 2> sc{};
    std::array<QLineEdit *, 3> txtP{};      // hours, minutes, seconds boxes (read by CalcSecs)
    QTimer *tmr = nullptr;                  // the display tick, 500 ms, off at rest
    // ==== end of controls ===============================================================

    // ==== window frame: load, activation, menus, texts (frmStart.cpp) ====================
    // Shows the window inside the main window and makes it the active one there.
    void ShowForm();
    // Captions of the window (labels, frames, buttons, menus, tray menu) in the current
    // language; a failure is told and LangID goes back to PrevLangID.
    void ApplyLang();
    // Reports the outcome of a version check; showAlways false reports a newer version only.
    void DisplayUpdatesResult(bool showAlways);
    // Runs every time the window becomes the active child of the main window: shows the
    // notice over an empty grid, and when the person has no categories yet has them
    // downloaded (or, asked a second time and refused, ends the program).
    void Form_Activate();

    // The menus: File, Options, Help.
    class QMenuBar *mnuBar = nullptr;
    class QMenu *mnuFile = nullptr;
    class QAction *mnuFile_Updates = nullptr;
    class QAction *mnuFile_About = nullptr;
    class QAction *mnuFile_Dash = nullptr;
    class QAction *mnuFile_Exit = nullptr;
    class QMenu *mnuOptions = nullptr;
    class QAction *mnuOptions_Form = nullptr;
    class QAction *mnuMan_Dash1 = nullptr;
    class QMenu *mnuHelp = nullptr;
    class QAction *mnuHelp_Help = nullptr;
    class QAction *mnuHelp_Form = nullptr;
    class QAction *mnuHelp_Dash0 = nullptr;
    class QAction *mnuHelp_video = nullptr;
    void mnuFile_Click();
    void mnuFile_Updates_Click();
    void mnuFile_About_Click();
    void mnuFile_Exit_Click();
    void mnuOptions_Form_Click();
    void mnuHelp_Help_Click();
    void mnuHelp_Form_Click();
    void mnuHelp_video_Click();

    // The path of the service's download page, after its address.
    static inline const QString DownloadPagePath = QStringLiteral("/web/action.do?tile=supp_3downloads");
    // ==== end of window frame ===========================================================

    // ==== recording: timers grid, start/stop, saving (frmStart_Recording.cpp) =============
    // A row argument of -10 means the selected row. Results: 0 success, -1 failure or none.
    //
    // Ends the row's segment; with save writes it (SaveDaily) and passes its result on.
    void StopAction(int16_t row, bool save, int16_t &result);
    int16_t StopAction(int16_t row, bool save);
    // state 1 starts, 0 stops: buttons, TimerRunning, the row's state and mark. row -10 is
    // replaced by the selected row.
    void Started(int16_t state, int16_t &row);
    void Started(int16_t state, int16_t &&row) { Started(state, row); }
    // Hours, minutes and seconds of the boxes txtP as seconds.
    void CalcSecs(int32_t &secs);
    // Writes the row's segment as a tblDaily row (cStarted = the row's state); -1 when the row
    // has no category (nothing written).
    void SaveDaily(int16_t row, int16_t &result);
    int16_t SaveDaily(int16_t row);
    // The first running row, or -1.
    void GetRunning(int16_t &row);
    int16_t GetRunning();
    // Stops the running timer and starts a new, still unnamed one.
    void QuickRec();
    // Fills RecArr from the row.
    void LoadRecArr(int16_t row);

    void btnStart_Click();
    void btnStop_Click();
    void btnCancel_Click();
    void btnQ_Click();
    void btnUnload_Click();
    void btnLoad_Click();
    void btnDown_Click();
    void MyTree_NodeClick(forms::Node *node);
    void txtComments_Change();
    void txtComments_Click();
    void lstTimers_Click();

    // The name of every quick-record row (string 25, set by ApplyLang).
    QString QuickRecName = QStringLiteral("Quick Record");

    // Grid columns of a timer row.
    enum TimerColumn : int {
        colPic = 0, colID = 1, colName = 2, colState = 3, colStart = 4, colSecs = 5,
        colDay = 6, colTaskID = 7, colCatID = 8, colMark = 9, colComment = 10,
        colProjID = 11, colProjName = 12, colTaskName = 13, colCount = 18
    };
    static constexpr int kRowHeight = 300;              // twips
    static constexpr int32_t kRunColor = 0x80FFFF;      // light yellow (red in the low byte)
    static constexpr int32_t kOtherColor = 0xF8E8D6;    // light blue
    // ==== end of recording ==============================================================

    // ==== display: the running time in digits (frmStart_Display.cpp) ======================
    // Shows the selected row in the edit panel.
    void DoClick();
    // Brings the selected row's seconds up to date and draws them.
    void ShowTime();
    // Draws hours, minutes and seconds (decimal texts) on the digits, and the running time in
    // the minimised main window's caption and the tray balloon.
    void DisplayTime(const QString &h, const QString &m, const QString &s);
    // Repaints every row by its state and sets every row mark; row is the one that may keep
    // the running colour.
    void SetColorsAndPics(int32_t runColor, int32_t otherColor, int16_t row);
    void tmr_Timer();
    // The ten digit pictures (resources 216..225 for 0..9), loaded by LoadDigitPictures, which
    // also shows 0 on every digit.
    std::array<QPixmap, 10> DigitPics;
    void LoadDigitPictures();
    // ==== end of display ================================================================

    // ==== hand-over of timers across runs (frmStart_HandOver.cpp) =========================
    // Every loaded timer stands in tblDaily as a parked record (cStarted 1 for the running
    // one, 2 for the others) from the moment it is loaded, and is written again whenever it
    // changes: whatever ends the run, the next load finds the timers. A stopped timer whose
    // last segment is not saved is parked with that segment.
    //
    // What becomes of the unsaved last segment of a stopped timer with an activity at exit.
    enum class HeldSegments {
        Keep,     // parked with the timer: it comes back with it, to be saved or dropped then
        Record,   // written as an ordinary entry; the timer is not parked (it does not come back)
        Drop,     // the timer is parked at zero (the person chose not to record that time)
    };
    // Parks the timers for the end of the run. Timers without an activity always keep their
    // unsaved segment (nobody was asked about them). Returns 0, or -1 when a timer could not
    // be stored (LastStoreError() tells why); a segment that could not be recorded is parked
    // with its timer instead.
    int16_t ParkTimers(HeldSegments held);
    // At exit after the question about unsaved segments: saveFlag records them, otherwise
    // they are dropped. errResult -1 when a timer could not be stored, else 0.
    void SaveRunning(bool saveFlag, int16_t &errResult);
    int16_t SaveRunning(bool saveFlag);
    // Parks every timer without asking anybody (the tray menu's Close, the end of the session,
    // a termination signal): unsaved segments are kept for the next run.
    int16_t ParkForNextRun() { return ParkTimers(HeldSegments::Keep); }
    // After an exit that was abandoned once the timers were parked: the timers are parked
    // again as they stand, and go on being parked as they change.
    void ResumeParking();
    // At load, on an empty grid: the parked timers of the person come back (the running one
    // with its start, the others stopped, with an unsaved segment when they held one).
    // runningRow is the row of the restored running timer, or -1.
    void LoadRunning(int32_t &runningRow);
    int32_t LoadRunning();
    // The engine's message of the last write of a timer that failed ("" after a success).
    QString LastStoreError() const { return m_storeError; }
    // ==== end of hand-over ==============================================================

    // ==== what other windows and the shutdown ask of the timers (frmStart_Recording.cpp) ==
    // A timer the task loader adds: the names and ids of its category, task and project.
    struct NewTimer {
        QString category, categoryId, task, taskId, project, projectId;
    };
    // True when a loaded timer records this category of this task (ids as decimal text).
    bool IsLoaded(const QString &taskId, const QString &categoryId) const;
    // Appends the timers as stopped rows, passing over those already loaded; the rows keep
    // their colours (the running one its own) and the edit panel shows the selected row.
    // Returns the number of rows added.
    int AddTimers(const std::vector<NewTimer> &timers);
    // The first timer with an activity whose last segment was stopped without being saved,
    // or -1: the one the shutdown asks about.
    int16_t FirstUnsavedSegment() const;
    // ==== end of what others ask ========================================================

    // ==== tray menu and hot key (frmStart_Tray.cpp) ======================================
    // The tray icon component and the hot-key object (the classes are declared in
    // recorder/frmSysTray.h and recorder/CHotKey.h). Dropping either (reset()) takes its icon
    // out of the tray or unregisters its key.
    std::shared_ptr<class frmSysTray> m_frmSysTray;
    std::shared_ptr<class CHotKey> m_Hotkey;
    // The window's load makes its tray component here: a new frmSysTray whose events go to
    // the handlers below (a component made elsewhere would not be heard).
    void CreateSysTray();
    // Builds the tray menu (open, hide, recording, start, stop, close), the tooltip and the
    // icon. A component that already has its menu is replaced by a new one first, so that
    // calling this again never doubles the items.
    void setSysTray();
    // Brings the tray icon in line with TimerRunning (only while ShowBalloons is 1).
    void SetTaskbarIcon();
    // Registers the stored hot key (HotKeyCode, HotKeyMask) on this window with a new key
    // object; a key or mask of 0 leaves the program without a hot key.
    void SetHotKey();

    void m_frmSysTray_MenuClick(int Index, const QString &Key);
    void m_frmSysTray_SysTrayMouseDown(int Button);
    void m_frmSysTray_SysTrayDoubleClick(int Button);
    void m_Hotkey_Hotkey();
    // ==== end of tray menu and hot key ==================================================

private:
    QMdiSubWindow *m_sub = nullptr;

    // ==== private members: each area keeps its own below its heading ====================
    // ---- controls
    void ConnectControls();
    // ---- window frame
    void CreateMenus();
    bool eventFilter(QObject *watched, QEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    // Set by the first activation that finds no categories, cleared by one that finds some.
    bool m_categNotice = false;
    // ---- recording
    void ResetEditPanel();
    bool IsStartRefused(const QDateTime &now);
    // ---- display
    void ShowDigits(const std::array<QLabel *, 2> &pair, const QString &value, QString &twoChars);
    // True when the row is stopped with a last segment that is not saved (row mark 3).
    bool HoldsUnsavedSegment(int row) const;
    // Tells the person that a segment could not be saved (the engine's message); the segment
    // stays in its row, to be saved again.
    void TellSaveFailure();
    int32_t m_saveError = 0;   // the engine's error number of the last SaveDaily (0 none)
    QString m_storeError;
    // ---- hand-over
    // Writes the parked records of the loaded timers as they stand now (unless the exit has
    // parked them for good).
    void ParkLoaded();
    bool m_parkedForExit = false;   // the exit wrote the final records: no live parking
    QTimer *m_parkLater = nullptr;  // parks a little after typing in the comment box
    // ---- tray menu and hot key
};
