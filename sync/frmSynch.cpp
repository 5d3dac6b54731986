#include "sync/frmSynch.h"

#include "core/CCrypto.h"
#include "core/ReceivedBatch.h"
#include "core/RequestGuard.h"
#include "core/ServiceRequests.h"
#include "core/modHttp.h"
#include "core/modMain.h"
#include "platform/forms/FlexGrid.h"
#include "platform/forms/Label.h"
#include "platform/forms/Tag.h"
#include "platform/forms/TreeView.h"
#include "platform/forms/Units.h"
#include "platform/registry/Registry.h"
#include "store/modDBchr.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QDateTime>
#include <QLineEdit>
#include <QLocale>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTimer>

using namespace modMain;
using modHttp::IdText;

namespace {

// The window's size in twips: the log with its header and footer.
constexpr int kWidth = 4815, kHeight = 4110;

} // namespace

frmSynch::frmSynch()
{
    setObjectName(QStringLiteral("frmSynch"));
    setWindowTitle(QStringLiteral("Synchronize"));
    forms::Move(this, 0, 0, kWidth, kHeight);

    picHeader = new QWidget(this);
    picHeader->setObjectName(QStringLiteral("picHeader"));
    forms::Move(picHeader, 0, 0, kWidth, 435);
    lblStatus = new forms::Label(QStringLiteral("NOT Connected"), picHeader);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    lblStatus->setAlignment(Qt::AlignCenter);
    forms::SetTag(lblStatus, QStringLiteral("802"));
    forms::Move(lblStatus, 2820, 60, 1935, 315);
    lblCon = new forms::Label(QStringLiteral("Connection Log"), picHeader);
    lblCon->setObjectName(QStringLiteral("lblCon"));
    forms::SetTag(lblCon, QStringLiteral("801"));
    forms::Move(lblCon, 60, 120, 2700, 255);

    lstLog = new forms::FlexGrid(this);
    lstLog->setObjectName(QStringLiteral("lstLog"));
    forms::Move(lstLog, 60, 480, 4695, 2475);
    MyTree = new forms::TreeView(this);
    MyTree->setObjectName(QStringLiteral("MyTree"));

    txtFull = new QLineEdit(this);
    txtFull->setObjectName(QStringLiteral("txtFull"));
    txtFull->setReadOnly(true);
    forms::Move(txtFull, 60, 3000, 4695, 615);

    picFooter = new QWidget(this);
    picFooter->setObjectName(QStringLiteral("picFooter"));
    forms::Move(picFooter, 0, 3690, kWidth, 420);
    btnConnect[0] = new QPushButton(QStringLiteral("Update Tables"), picFooter);
    btnConnect[0]->setObjectName(QStringLiteral("btnConnect_0"));
    forms::SetTag(btnConnect[0], QStringLiteral("808"));
    forms::Move(btnConnect[0], 30, 45, 2895, 330);
    btnExit = new QPushButton(QStringLiteral("Close"), picFooter);
    btnExit->setObjectName(QStringLiteral("btnExit"));
    forms::SetTag(btnExit, QStringLiteral("905"));
    forms::Move(btnExit, 3210, 45, 1545, 315);

    connect(btnConnect[0], &QPushButton::clicked, this, [this] { btnConnect_Click(0); });
    // No second download while a request of the program is under way.
    btnConnect[0]->setEnabled(!RequestGuard::Busy());
    connect(RequestGuard::Notifier(), &RequestBusy::BusyChanged, btnConnect[0],
            [this](bool busy) { btnConnect[0]->setEnabled(!busy); });
    connect(btnExit, &QPushButton::clicked, this, &frmSynch::btnExit_Click);
    connect(lstLog, &QTableWidget::cellClicked, this, [this] { lstLog_Click(); });

    // Place in the main window's document area, at its top left corner.
    PlaceInMainWindow(QStringLiteral("frmSynchSub"));
    m_sub->adjustSize();
    m_sub->move(0, 0);

    // The log: no rows, one column as wide as the grid.
    lstLog->SetFixedRows(0);
    lstLog->SetFixedCols(0);
    lstLog->SetRows(0);
    lstLog->SetCols(1);
    lstLog->SetColWidth(0, forms::Width(lstLog) - 330);

    ApplyLang();

    MyTree->setVisible(false);
    forms::Move(MyTree, forms::Left(lstLog), forms::Top(lstLog), forms::Width(lstLog), forms::Height(lstLog) - 30);

    FormLoaded[fiSynch] = true;
}

frmSynch::~frmSynch()
{
    FormLoaded[fiSynch] = false;
    Forget(this);
}

QSize frmSynch::sizeHint() const
{
    // Laid out by position, not by a layout: the frame in the document area takes this size.
    return QSize(forms::TwipsToPixels(kWidth), forms::TwipsToPixels(kHeight));
}

void frmSynch::closeEvent(QCloseEvent *e)
{
    // Not while its own receive runs: the receive goes on in this window's handlers.
    if (m_receiving) {
        e->ignore();
        return;
    }
    // The frame's close box: the window unloads once the close has been handled.
    e->accept();
    QTimer::singleShot(0, qApp, [] { frmSynch::Unload(); });
}

void frmSynch::btnExit_Click()
{
    if (m_receiving)
        return;
    frmSynch::Unload();
}

void frmSynch::lstLog_Click()
{
    if (lstLog->Rows() > 0 && lstLog->Row() >= 0)
        txtFull->setText(lstLog->TextMatrix(lstLog->Row(), 0));
}

void frmSynch::ApplyLang()
{
    modMain::ApplyLangOrTell([&] {
        ApplyTagCaptions(this);
        setWindowTitle(GetLangString(880, true));
    });
}

// ---- the log, the connection label, the tree -------------------------------------------------

void frmSynch::UpdateLog(const QString &text, int32_t kind)
{
    const int row = lstLog->Rows();
    lstLog->SetRows(row + 1);
    lstLog->SetRow(row);
    lstLog->SetCol(0);
    struct Look {
        int back, fore;
        bool bold;
    };
    static const Look looks[] = {
        {0xF8E8D6, 0x000000, false}, {0xF2D6B7, 0x000000, true}, {0xF2D6B7, 0x000000, false},
        {0x0000FF, 0xFFFFFF, false}, {0xF8E8D6, 0x0000FF, false},
    };
    if (kind >= 0 && kind <= 4) {
        lstLog->SetCellBackColor(looks[kind].back);
        lstLog->SetCellForeColor(looks[kind].fore);
        lstLog->SetCellFontBold(looks[kind].bold);
    }
    lstLog->SetTextMatrix(row, 0, text);
    LogText += text + QStringLiteral("\r\n");
    lstLog->SetTopRow(row);
    lstLog->repaint();
}

void frmSynch::conStatus(bool connected)
{
    if (connected) {
        lblStatus->SetCaption(QStringLiteral("Connected"));
        lblStatus->SetBackColor(0x0000FF);
        lblStatus->SetForeColor(0x00FFFF);
    } else {
        lblStatus->SetCaption(GetLangString(928));
        lblStatus->SetBackColor(0x00FFFF);
        lblStatus->SetForeColor(0x0000FF);
    }
    QApplication::processEvents();
}

void frmSynch::ShowTree(bool show)
{
    MyTree->setVisible(show);
    if (show)
        MyTree->repaint();
    else
        lblCon->SetCaption(QStringLiteral("Connection Log"));
}

// ---- the download -------------------------------------------------------------------------

void frmSynch::btnConnect_Click(int16_t Index)
{
    if (Index != 0)
        return;
    const RequestGuard busy(RequestGuard::Command);
    if (!busy)
        return;
    m_receiving = true;
    btnExit->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        if (!Crypto)
            Crypto = std::make_unique<CCrypto>();
        PasswordURL = modHttp::URLEncode(Crypto->Decrypt(StoredPassword, CryptoPassPhrase, false, CCrypto::TypeRC2));
        UserNameURL = modHttp::URLEncode(Crypto->Decrypt(StoredUserName, CryptoPassPhrase, false, CCrypto::TypeRC2));
    } catch (const std::exception &) {
        // No stored credentials: the service answers with its error, which the log shows.
    }
    lstLog->SetRows(0);
    LogText.clear();
    LastReply.clear();
    // This window tells its outcome in its log; a failure left in the status line by an
    // earlier request must not outlive a receive that reaches the service.
    SetStatus(-1, QString());
    UpdateLog(GetLangString(834) + QStringLiteral(" ")
                  + QLocale().toString(QDateTime::currentDateTime(), QLocale::ShortFormat),
              1);

    GetItem(0);
    ProjectsReply = LastReply;
    if (ProjectsReply.isEmpty())
        UpdateLog(GetLangString(1411), 3);
    GetItem(1);
    ExpensesReply = LastReply;
    if (ExpensesReply.isEmpty())
        UpdateLog(GetLangString(1411), 3);
    conStatus(false);

    // Both replies are needed: the sweep after the download must never run on half of it.
    if (!ProjectsReply.isEmpty() && !ExpensesReply.isEmpty())
        SaveReceived();
    QApplication::restoreOverrideCursor();
    btnExit->setEnabled(true);
    m_receiving = false;
}

void frmSynch::GetItem(int16_t Index)
{
    LastReply.clear();
    ShowTree(false);
    modHttp::ServiceRequest request;
    if (Index == 0) {
        request = modHttp::ProjectsRequest();
        ReceivingProjects = true;
        ProjectsReply.clear();
        UpdateLog(QStringLiteral("===") + GetLangString(885), 1);
    } else {
        request = modHttp::ExpensesRequest();
        ReceivingExpenses = true;
        ExpensesReply.clear();
        UpdateLog(QStringLiteral("===") + GetLangString(886), 1);
    }
    conStatus(true);
    LastReply = modHttp::SendRequest(request, 0);
    if (!LastReply.isEmpty()) {
        conStatus(false);
        ReceivingProjects = false;
        ReceivingExpenses = false;
    }
}

bool frmSynch::LogReply(const reference::ReplyRead &read)
{
    using reference::ReplyRead;
    switch (read.outcome) {
    case ReplyRead::Read:
        return true;
    case ReplyRead::Rejected:
        UpdateLog(GetLangString(821), 1);
        UpdateLog(modHttp::GetErrMsg(read.code), 3);
        break;
    case ReplyRead::ErrorReported:
        for (const ReplyRead::Report &report : read.reports) {
            UpdateLog(GetLangString(821), 1);
            UpdateLog(modHttp::GetErrMsg(reference::ReportCode(report.code)), 3);
        }
        break;
    case ReplyRead::Unreadable:
        UpdateLog(GetLangString(821), 1);
        UpdateLog(GetLangString(1416), 3);
        break;
    }
    return false;
}

bool frmSynch::SaveReceived()
{
    using reference::ReplyRead;
    ReceivedBatch batch;
    const ReplyRead projects = reference::ReadProjects(ProjectsReply, batch.projects);
    // An error page, the service's error or a reply that is no whole tree holds nothing to save.
    FillReceivedTree(batch.projects, projects);
    if (!LogReply(projects))
        return false;

    UpdateLog(GetLangString(845) + QStringLiteral("..."), 1);
    UpdateLog(GetLangString(847) + QStringLiteral("..."), 1);
    UpdateLog(GetLangString(848), 0);

    UpdateLog(GetLangString(825) + QStringLiteral("..."), 1);
    const ReplyRead expenses = reference::ReadExpenses(ExpensesReply, batch.expCategories);
    FillReceivedTree(batch.expCategories, expenses);
    QString failure;
    if (!LogReply(expenses)) {
        // The projects came whole and stay stored; without the expense categories the download
        // is not complete: no sweep, no summary, no date.
        batch.expCategories.clear();
        if (modDBchr::SaveReferenceDownload(batch, false, nullptr, &failure) != 0) {
            UpdateLog(GetLangString(821), 1);
            UpdateLog(failure, 3);
        }
        return false;
    }
    UpdateLog(GetLangString(826), 0);

    modDBchr::DownloadSummary summary;
    if (modDBchr::SaveReferenceDownload(batch, true, &summary, &failure) != 0) {
        UpdateLog(GetLangString(821), 1);
        UpdateLog(failure, 3);
        return false;
    }
    UpdateLog(GetLangString(846), 0);
    UpdateResults(summary);
    try {
        registry::SaveSetting(SettingsApp, QString::number(CurrentUserID), QStringLiteral("CheckTablesDate"),
                              QString::number(DateToLong(QDate::currentDate())));
    } catch (const registry::RegistryError &) {
    }
    return true;
}

void frmSynch::UpdateResults(const modDBchr::DownloadSummary &summary)
{
    LogText += QStringLiteral("\r\n");
    UpdateLog(QStringLiteral("=============Result Summary=========================="), 1);
    const struct {
        int count;
        int16_t id;
    } added[] = {
        {summary.newProjects, 827}, {summary.newTasks, 828},    {summary.newCategs, 829},
        {summary.newLinks, 830},    {summary.newExpCategs, 831},
    };
    for (const auto &a : added)
        UpdateLog(GetLangString(a.id) + QStringLiteral(" ") + QString::number(a.count), 2);
    if (!summary.unassigned.isEmpty()) {
        UpdateLog(QStringLiteral("You have been unAssigned from the following Projects: "), 0);
        for (const QString &name : summary.unassigned)
            UpdateLog(QStringLiteral("- ") + name, 0);
    }
}

// ---- the received tree ----------------------------------------------------------------------

void frmSynch::AddReportNodes(const reference::ReplyRead &read, int index, int *next)
{
    for (; *next < read.reports.size() && (index < 0 || read.reports[*next].before <= index); ++*next) {
        const QString code = read.reports[*next].code;
        forms::Node *node = MyTree->Add(nullptr, forms::TreeView::Last, QString(),
                                        GetLangString(979) + QStringLiteral(": ") + code + QStringLiteral(" "));
        MyTree->Add(node, forms::TreeView::Child, QString(), modHttp::GetErrMsg(reference::ReportCode(code)));
    }
}

void frmSynch::FillReceivedTree(const QList<ReceivedProject> &projects, const reference::ReplyRead &read)
{
    MyTree->Clear();
    int next = 0;
    for (int i = 0; i < projects.size(); ++i) {
        AddReportNodes(read, i, &next);
        const ReceivedProject &p = projects[i];
        forms::Node *pn = MyTree->Add(nullptr, forms::TreeView::Last, QString(), p.name);
        pn->SetTag(QStringLiteral("isProj;") + IdText(p.id) + u';' + p.expFlag);
        for (const ReceivedTask &t : p.tasks) {
            forms::Node *tn = MyTree->Add(pn, forms::TreeView::Child, QString(), t.name);
            tn->SetTag(QStringLiteral("isTask;") + IdText(t.id) + u';' + t.expFlag);
            for (const ReceivedCategory &c : t.categories) {
                forms::Node *cn = MyTree->Add(tn, forms::TreeView::Child, QString(), c.name);
                cn->SetTag(QStringLiteral("isCateg;") + IdText(c.id));
            }
        }
    }
    AddReportNodes(read, -1, &next);
}

void frmSynch::FillReceivedTree(const QList<ReceivedExpCategory> &categories, const reference::ReplyRead &read)
{
    MyTree->Clear();
    int next = 0;
    for (int i = 0; i < categories.size(); ++i) {
        AddReportNodes(read, i, &next);
        forms::Node *node = MyTree->Add(nullptr, forms::TreeView::Last, QString(), categories[i].name);
        node->SetTag(QStringLiteral("isProj;") + IdText(categories[i].id) + u';');
    }
    AddReportNodes(read, -1, &next);
}
