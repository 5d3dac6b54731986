#pragma once
// The main window: the multiple-document frame of the program.
#include "core/FormInstance.h"
#include "core/Progress.h"

#include <QMainWindow>
// what the frame needs
#include "platform/forms/ImageList.h"
#include "platform/forms/Label.h"
#include <array>
#include <cstdint>
class QTimer;

class QMdiArea;
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
    // Moves the toolbar marker beside toolbar entry index (0 timers .. 3 synchronisation),
    // as a click on the entry does.
    void MarkToolbarEntry(int16_t index);
    // Minimises the window and hides it: it lives on in the tray until shown again.
    void GoToTray();
    // Shows the window in its normal state, from the tray or the taskbar; toFront also
    // raises and activates it.
    void ShowFromTray(bool toFront);

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
    bool m_lastConnected = false;   // state seen at the previous connection check
    int16_t m_iconFrame = 0;        // frame of the icon animation, 105..112 (0 at rest)
    bool m_resizing = false;
    // Hidden while minimised: the window lives on in the tray.
    bool m_inTray = false;
    // ---- daily download
    void AnnounceDownload(int16_t id);
    clsTagParser *m_TagParser = nullptr;
    QString m_ProjectsReply;            // whole replies of the download under way
    QString m_ExpensesReply;
};
