#pragma once
// The synchronisation window: a child window of the main window in which the person
// downloads the reference tables on demand ("Update Tables"), with a connection log of every
// step and a result summary. A download stores what the service sends and then removes the
// projects, tasks and categories it no longer sends.
#include "core/ChildWindow.h"
#include "core/FormInstance.h"
#include "core/ReferenceReader.h"

#include <QMdiSubWindow>
#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>

class QLabel;
class QLineEdit;
class QPushButton;
namespace modDBchr {
struct DownloadSummary;
}
namespace forms {
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
    // back to 0. The outcome goes to the connection log. Refused while a request of the
    // program is under way; the button stays disabled as long as one is.
    void btnConnect_Click(int16_t Index);
    // 0 sends the projects request, 1 the expense categories request; the reply lands in LastReply.
    void GetItem(int16_t Index);
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

    // One line of the connection log, its looks by kind (0 plain, 1 heading, 2 counted item,
    // 3 error, 4 progress; any other kind keeps the grid's looks).
    void UpdateLog(const QString &text, int32_t kind);
    // The connection label: connected or not; lets the event loop run once.
    void conStatus(bool connected);
    // Shows the tree of received data over the log, or the log again.
    void ShowTree(bool show);
    void ApplyLang();

    QSize sizeHint() const override;

    // ---- controls
    QWidget *picHeader = nullptr;
    forms::Label *lblStatus = nullptr;   // connection state
    forms::Label *lblCon = nullptr;      // title of the pane below
    forms::FlexGrid *lstLog = nullptr;   // the connection log
    forms::TreeView *MyTree = nullptr;   // received data, over the log while shown
    QLineEdit *txtFull = nullptr;        // whole text of the clicked log line
    QWidget *picFooter = nullptr;
    std::array<QPushButton *, 2> btnConnect{};   // 0 "Update Tables"
    QPushButton *btnExit = nullptr;

    // ---- window state
    QString LastReply;          // reply of the request just sent
    QString ProjectsReply;      // whole reply to the last projects request
    QString ExpensesReply;      // whole reply to the last expenses request
    bool ReceivingProjects = false;
    bool ReceivingExpenses = false;
    QString LogText;

protected:
    void closeEvent(QCloseEvent *e) override;

private:
    void btnExit_Click();
    void lstLog_Click();
    // Logs why a reply cannot be stored; true when it can.
    bool LogReply(const reference::ReplyRead &read);
    // Adds the error reports that came before item index (all that are left for -1).
    void AddReportNodes(const reference::ReplyRead &read, int index, int *next);

    bool m_receiving = false;   // a receive of this window is under way
};
