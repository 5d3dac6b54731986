#pragma once
// The main window: the multiple-document frame of the program.
#include "core/FormInstance.h"
#include "core/Progress.h"

#include <QMainWindow>
#include <QList>
#include <QPointer>
// what the frame needs
#include "platform/forms/ImageList.h"
#include "platform/forms/Label.h"
#include <array>
#include <cstdint>
class QTimer;

class QMdiArea;
class QMdiSubWindow;
class QProgressBar;
class QLabel;
class QTreeWidget;
// daily download
class clsTagParser;

// As a progress display the main window shows the steps in its status line and the value in
// its progress bar PgB.
class frmMain : public QMainWindow, public FormInstance<frmMain>, public modMain::Progress {
    Q_OBJECT
public:
    frmMain();
    ~frmMain() override;

    // ==== progress of long work (the transport's lines, the bar of the creation) ==========
    void ShowStep(const QString &caption, const QString &detail) override;
    void SetBarValue(int value) override;
    void SetBarVisible(bool visible) override;

    // ==== the frame: toolbar, flags, connection indicator, status, icon (frmMain.cpp) =====
    // Captions of this window in the current language.
    void ApplyLang();
    // Every flag but element index shows its normal picture; -1 resets all four.
    void ResetFlags(int16_t index);
    // Toolbar button index gets the look (0 normal, 1 pressed, 2 hover), every other button
    // the normal look.
    void OnMouseAction(int16_t index, int16_t look);
    // Checks the connection and keeps the result in modMain::IsConnected; a change is told in
    // a balloon once the timers window is loaded.
    void CheckConnection();
    // Minimises the window and hides it: it lives on in the tray until shown again (asked from
    // the tray itself). Minimising the window, its close box and its leave button hide it so
    // only while the desktop's tray holds the program's icon; otherwise the window stays
    // minimised on the taskbar, within the person's reach.
    void GoToTray();
    // After the tray icon came or went (the timers window adds it when it loads; a tray host
    // may start or end): a minimised window goes to the tray as minimising would have taken it
    // there, and a window hidden to a tray that is gone comes back on the taskbar.
    void SettleInTray();
    // True while the desktop's tray holds the timers window's icon (the way back to a window
    // hidden to the tray).
    bool TrayHoldsIcon() const;
    // Shows the window in its normal state, from the tray or the taskbar; toFront also
    // raises and activates it.
    void ShowFromTray(bool toFront);

    // ---- what other windows ask of the main window
    // Opens the window of toolbar entry index (0 timers, 1 daily log, 2 daily expenses,
    // 3 synchronisation) or brings it to the front, as a click on the entry does: the daily
    // expenses are refused (string 127) while no project takes expenses, the synchronisation
    // window asks first (string 120) while there is no connection. The marker then moves to
    // the entry (also after the refusal of the expenses; not when the person answered No).
    // True when the window is shown.
    bool OpenToolbarEntry(int16_t index);
    // Opens the window of that name or brings it to the front: "frmStart", "frmDaily",
    // "frmDailyExp" and "frmSynch" as their toolbar entries do, "frmOptions" as the timers
    // window's menu does (refused with string 92 while a timer records), "frmLogin" as a view
    // of the sign-in window that signs nobody in. Any other name does nothing. True when the
    // window is shown.
    bool OpenWindow(const QString &name);
    // Places the toolbar marker shMenu beside entry index (0 timers .. 3 synchronisation): its
    // top 15 twips above the entry's, as a click on the entry does. Each window calls it when it
    // becomes active; any other index leaves the marker where it is.
    void MarkToolbarEntry(int16_t index);
    // A child window that does not fit the document area at the window's present size makes
    // the main window grow by what is missing, as far as the screen allows (a window the
    // person cannot see whole would hide its commands behind a scroll bar).
    void MakeRoomFor(const QRect &childFrame);
    // The same for a child window's frame; once every frame the window grew for has gone, the
    // window takes back the size it had before (unless the person has changed it since).
    void MakeRoomFor(QMdiSubWindow *childFrame);

    // Mouse handlers of the toolbar and the flags, by element.
    void btn_MouseDown(int16_t index);
    void btn_MouseMove(int16_t index);
    void btn_MouseUp(int16_t index);
    void imgOver_MouseMove(int16_t index);
    void imgFlag_MouseDown(int16_t index);
    void imgFlag_MouseMove(int16_t index);
    void imgFlag_Click(int16_t index);
    void tmrIcon_Timer();
    void tmr_Timer();

    QMdiArea *mdi = nullptr;
    std::array<forms::Label *, 5> btn{};    // toolbar: timers, time log, expenses, sync, leave
    QWidget *shMenu = nullptr;              // highlight beside the last clicked button
    std::array<QLabel *, 2> imgOver{};      // surfaces around the toolbar
    std::array<forms::Label *, 4> imgFlag{};   // English, Greek, French, German
    forms::Label *lblMsg = nullptr;         // the status line
    forms::Label *lblUser = nullptr;        // the person's name line
    forms::Label *lblDate = nullptr;        // today's date
    forms::Label *lblConn = nullptr;        // connection indicator: text
    QLabel *imgConn = nullptr;              //   and picture
    QWidget *picL = nullptr;                // left pane with the toolbar
    QLabel *picCover = nullptr;             // cover of the empty document area
    QWidget *picStatus = nullptr;           // status bar
    QWidget *PicUser = nullptr;             // person area with the flags
    forms::ImageList imgLst;                // the project tree's pictures, for other windows' trees
    QProgressBar *PgB = nullptr;            // progress bar of long operations, hidden at rest
    QTimer *tmr = nullptr;                  // connection check, every 10 s
    QTimer *tmrIcon = nullptr;              // icon animation while a timer records, 500 ms

    // Toolbar text colours by look, red in the low byte: normal, pressed, hover.
    static constexpr std::array<int32_t, 3> kToolColors{16312534, 12582912, 16777215};

signals:
    // A balloon went to the tray for a change of the connection (its text).
    void ConnectionBalloon(const QString &text);

public:
    // ==== end of the frame ==============================================================

    // ==== daily download of the reference tables (frmMain_Synch.cpp) =====================
    // The daily check at start-up: downloads the reference tables when the connection is up
    // and today's download has not happened yet for this person, announces the outcome, and
    // reminds the person when the last download is more than 7 days old.
    void SynchTables();
    // Requests the projects and the expense categories and stores them; true only when both
    // replies arrived and were stored completely.
    bool UpdateTables();
    // Reads the two kept replies and writes them to the reference tables in one go; true only
    // when both were read and stored completely.
    bool SaveReceived();
    // The window's tag parser (made on first use); other windows classify replies with it.
    clsTagParser *TagParser();

    QString Reply;                          // the reply of the current request
    // ==== end of daily download =========================================================

private:
    // ---- the frame
    void MDIForm_Resize();
    bool MDIForm_QueryUnload(bool closeBox);
    void RequestShutDown();
    void changeEvent(QEvent *e) override;
    void showEvent(QShowEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;
    void BuildControls();
    // Places the controls for a client area of that size (twips).
    void LayOut(int width, int height);
    void PlaceCover();
    bool m_placingCover = false;
    bool m_lastConnected = false;   // state seen at the previous connection check
    int16_t m_iconFrame = 0;        // frame of the icon animation, 105..112 (0 at rest)
    bool m_resizing = false;
    // The frames the window grew for, its size before and the size it grew to.
    void GiveRoomBack();
    QList<QPointer<QMdiSubWindow>> m_roomFor;
    QSize m_sizeBeforeRoom;
    QSize m_sizeWithRoom;
    // Hidden while minimised: the window lives on in the tray.
    bool m_inTray = false;
    // ---- daily download
    void AnnounceDownload(int16_t id);
    clsTagParser *m_TagParser = nullptr;
    QString m_ProjectsReply;            // whole replies of the download under way
    QString m_ExpensesReply;
};
