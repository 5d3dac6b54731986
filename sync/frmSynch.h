#pragma once
// The synchronisation window: a child window of the main window in which the person downloads
// the reference tables on demand ("Update Tables") and sends every time-log entry and expense
// the service has not accepted yet over chosen ranges of days ("Synch Time & Expenses"), with a
// connection log of every step, a result summary and the tree of the received data.
#include "core/ChildWindow.h"
#include "core/FormInstance.h"
#include "core/ReferenceReader.h"

#include <QMdiSubWindow>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>

class QAction;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
namespace modDBchr {
struct DownloadSummary;
}
namespace forms {
class ComboBox;
class FlexGrid;
class Label;
class TreeView;
} // namespace forms

class frmSynch : public ChildWindow, public FormInstance<frmSynch> {
    Q_OBJECT
public:
    frmSynch();
    ~frmSynch() override;

    QMdiSubWindow *subWindow() const { return m_sub; }

    // Index 0 downloads the reference tables: the projects (with their tasks and categories)
    // and the expense categories, with the stored credentials; stores them, and after two
    // complete replies removes what the service no longer lists and sets every download mark
    // back to 0. Index 1 sends the time-log entries and the expenses of the chosen days that
    // the service has not accepted yet (unless their skip box is ticked), writing each row's
    // send state as its reply comes. The outcome goes to the connection log. Refused while a
    // request of the program is under way; the commands stay disabled as long as one is.
    void btnConnect_Click(int16_t Index);
    // One kind of the send; each logs its rows and stops at a reply that concerns the account
    // or at no reply.
    void SendTimeLogs();
    void SendExpenses();
    // 0 sends the projects request, 1 the expense categories request; the reply lands in LastReply.
    void GetItem(int16_t Index);
    // Sends one request and waits for its reply, logging each step; the reply text, or "" when
    // nothing usable came back (the log then says so and the connection label is reset).
    QString GetXML(const QString &query, bool isPost);
    // Reads both replies into MyTree and writes them in one go with the sweep, then the summary
    // and the date of the download; true when all of it ran.
    bool SaveReceived();
    // The result summary of a stored download: new rows and the projects it removed.
    void UpdateResults(const modDBchr::DownloadSummary &summary);
    // The received tree: the projects reply's projects, tasks and categories, or the expenses
    // reply's categories, each node tagged "isProj;id;flag", "isTask;id;flag" or "isCateg;id",
    // with the service's error reports as untagged nodes in their place.
    void FillReceivedTree(const QList<ReceivedProject> &projects, const reference::ReplyRead &read);
    void FillReceivedTree(const QList<ReceivedExpCategory> &categories, const reference::ReplyRead &read);

    // The rule of a From/To pair after the person picked an item in picked.
    void Dodates(forms::ComboBox *picked, forms::ComboBox *partner);
    // One line of the connection log, its looks by kind (0 plain, 1 heading, 2 counted item,
    // 3 error, 4 progress; any other kind keeps the grid's looks).
    void UpdateLog(const QString &text, int32_t kind);
    // The connection label: connected or not; lets the event loop run once.
    void conStatus(bool connected);
    // Shows the tree of received data over the log, or the log again.
    void ShowTree(bool show);
    // True ("stop") when a range to send ends before it starts; tells the person.
    bool CheckDates();
    void ApplyLang();

    QSize sizeHint() const override;

    // ---- controls
    QMenuBar *mnuBar = nullptr;
    QWidget *picHeader = nullptr;
    forms::Label *lblStatus = nullptr;   // connection state
    forms::Label *lblCon = nullptr;      // title of the pane below
    forms::FlexGrid *lstLog = nullptr;   // the connection log
    forms::TreeView *MyTree = nullptr;   // received data, over the log while shown
    QLineEdit *txtFull = nullptr;        // whole text of the clicked log line
    QGroupBox *frTimeLogs = nullptr;
    QGroupBox *frExpenses = nullptr;
    forms::ComboBox *cmbTimeFrom = nullptr;
    forms::ComboBox *cmbTimeTo = nullptr;
    forms::ComboBox *cmbExpFrom = nullptr;
    forms::ComboBox *cmbExpTo = nullptr;
    std::array<forms::Label *, 6> lbl{};   // From, To, Do NOT Synch of each frame
    std::array<QCheckBox *, 2> chk{};      // 0 skip the time logs, 1 skip the expenses
    QWidget *picFooter = nullptr;
    std::array<QPushButton *, 2> btnConnect{};   // 0 "Update Tables", 1 "Synch Time & Expenses"
    QPushButton *btnExit = nullptr;

    QMenu *mnuSynch = nullptr;
    QAction *mnuSynch_Tables = nullptr;
    QAction *mnuSynch_User = nullptr;
    QAction *mnuSynch_All = nullptr;
    QAction *mnuSynch_Close = nullptr;
    QMenu *mnuView = nullptr;
    QAction *mnuView_Log = nullptr;
    QAction *mnuView_Expand = nullptr;
    QAction *mnuView_Collapse = nullptr;
    QAction *mnuView_Dash1 = nullptr;
    QAction *mnuView_RecProj = nullptr;
    QAction *mnuView_RecExp = nullptr;
    QMenu *mnuHelp = nullptr;
    QAction *mnuHelp_Frm = nullptr;

    // ---- window state
    QString LastReply;          // reply of the request just sent
    QString ProjectsReply;      // whole reply to the last projects request
    QString ExpensesReply;      // whole reply to the last expenses request
    bool ReceivingProjects = false;
    bool ReceivingExpenses = false;
    QString LogText;

    // Menu handlers (public so that the help's link commands and tests reach them).
    void mnuSynch_All_Click();
    void mnuView_RecProj_Click();
    void mnuView_RecExp_Click();
    void mnuView_Expand_Click();
    void mnuView_Collapse_Click();
    void mnuHelp_Frm_Click();
    void Form_Activate();

protected:
    void closeEvent(QCloseEvent *e) override;

private:
    void CreateControls();
    void CreateMenus();
    void FillDateLists();
    void btnExit_Click();
    void lstLog_Click();
    void chk_Click();
    // Enables the commands that start an exchange when none is under way.
    void EnableCommands();
    // Logs why a reply cannot be stored; true when it can.
    bool LogReply(const reference::ReplyRead &read);
    // Adds the error reports that came before item index (all that are left for -1).
    void AddReportNodes(const reference::ReplyRead &read, int index, int *next);
    // The stored credentials, decrypted and URL-encoded into UserNameURL and PasswordURL;
    // false (with a log line) when they cannot be decrypted.
    bool LoadCredentials();
    // The log lines of a kind's chosen days.
    void LogRange(forms::ComboBox *from, forms::ComboBox *to, int16_t allId, int16_t dayId, int16_t rangeId);
    // Tells the open editors that send states changed.
    void RefreshEditors();
    // Expand or collapse every node whose state differs.
    void SetAllExpanded(bool expanded);
    // The received view of one reply in the tree, with its pane title.
    void ShowReceived(const QString &reply, bool projects);

    bool m_running = false;   // an exchange of this window is under way
    // The command (0 receive, 1 send) asked for while another exchange of the program held
    // the service; it runs once that one has ended. -1 none.
    int16_t m_waiting = -1;
    void RunWaiting();
};
