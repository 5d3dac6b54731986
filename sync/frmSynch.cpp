#include "sync/frmSynch.h"

#include "core/CCrypto.h"
#include "core/ReceivedBatch.h"
#include "core/RequestGuard.h"
#include "core/ServiceRequests.h"
#include "core/clsTagParser.h"
#include "core/frmMain.h"
#include "core/modHttp.h"
#include "core/modMain.h"
#include "expenses/frmDailyExp.h"
#include "options_help/frmHlp.h"
#include "platform/forms/ComboBox.h"
#include "platform/forms/FlexGrid.h"
#include "platform/forms/Label.h"
#include "platform/forms/Tag.h"
#include "platform/forms/TreeView.h"
#include "platform/forms/Units.h"
#include "platform/registry/Registry.h"
#include "store/modDBchr.h"
#include "sync/SynchRules.h"
#include "timelog/frmDaily.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDate>
#include <QDateTime>
#include <QGroupBox>
#include <QLineEdit>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>

using namespace modMain;
using modHttp::IdText;

namespace {

// The window's size in twips: the menu bar, the log with its header on the left, the two
// frames of days on the right, the footer with the buttons.
constexpr int kMenuHeight = 330;
constexpr int kWidth = 7590, kHeight = kMenuHeight + 4110;
constexpr int kTop = kMenuHeight;
// The right column of the day frames, wide enough for their titles; the log keeps the rest.
constexpr int kFrameLeft = 4530, kFrameWidth = 2985;
constexpr int kLogWidth = kFrameLeft - 60 - 45;
// In a frame: the labels on the left, the day lists beside them.
constexpr int kListLeft = 840;

const QString AllItem = QStringLiteral("<ALL>");

forms::Label *FrameLabel(QWidget *parent, const char *name, int16_t tag, const QString &caption, int left, int top,
                         int width)
{
    auto *l = new forms::Label(caption, parent);
    l->setObjectName(QString::fromLatin1(name));
    forms::SetTag(l, QString::number(tag));
    forms::Move(l, left, top, width, 255);
    return l;
}

// A day list of a frame, on the row of its "From:" or "To:" label, wide enough for a date.
forms::ComboBox *DayList(QWidget *parent, const char *name, int top)
{
    auto *c = new forms::ComboBox(parent);
    c->setObjectName(QString::fromLatin1(name));
    forms::Move(c, kListLeft, top, kFrameWidth - kListLeft - 120, 315);
    return c;
}

// The day key of a list's selected item; 0 for "<ALL>" or nothing.
int32_t SelectedDay(const forms::ComboBox *list)
{
    const int i = list->ListIndex();
    return i > 0 ? list->ItemData(i) : 0;
}

synchrules::PairChoice PairOf(const forms::ComboBox *from, const forms::ComboBox *to)
{
    return {from->ListIndex(), SelectedDay(from), SelectedDay(to)};
}

} // namespace

frmSynch::frmSynch()
{
    setObjectName(QStringLiteral("frmSynch"));
    setWindowTitle(QStringLiteral("Synchronize"));
    forms::Move(this, 0, 0, kWidth, kHeight);
    CreateControls();
    CreateMenus();

    // Place in the main window's document area, at its top left corner.
    PlaceInMainWindow(QStringLiteral("frmSynchSub"));
    m_sub->adjustSize();
    m_sub->move(0, 0);
    OnActivation([this] { Form_Activate(); });
    if (frmMain *main = frmMain::Peek())
        MyTree->SetImageList(&main->imgLst);

    // The log: no rows, one column as wide as the grid.
    lstLog->SetFixedRows(0);
    lstLog->SetFixedCols(0);
    lstLog->SetRows(0);
    lstLog->SetCols(1);
    lstLog->SetColWidth(0, forms::Width(lstLog) - 330);

    ApplyLang();

    MyTree->setVisible(false);
    forms::Move(MyTree, forms::Left(lstLog), forms::Top(lstLog), forms::Width(lstLog), forms::Height(lstLog) - 30);
    mnuView_Collapse->setVisible(false);
    mnuView_Expand->setVisible(false);
    mnuView_Dash1->setVisible(false);

    FillDateLists();

    // No exchange while a request of the program is under way.
    EnableCommands();
    connect(RequestGuard::Notifier(), &RequestBusy::BusyChanged, this, [this](bool busy) {
        EnableCommands();
        // After the turn that released the service: the one who held it has finished its work.
        if (!busy && m_waiting >= 0)
            QTimer::singleShot(0, this, &frmSynch::RunWaiting);
    });

    FormLoaded[fiSynch] = true;
}

frmSynch::~frmSynch()
{
    FormLoaded[fiSynch] = false;
    Forget(this);
}

void frmSynch::CreateControls()
{
    picHeader = new QWidget(this);
    picHeader->setObjectName(QStringLiteral("picHeader"));
    forms::Move(picHeader, 0, kTop, kWidth, 435);
    lblStatus = new forms::Label(QStringLiteral("NOT Connected"), picHeader);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    lblStatus->setAlignment(Qt::AlignCenter);
    forms::SetTag(lblStatus, QStringLiteral("802"));
    forms::Move(lblStatus, kFrameLeft, 60, kFrameWidth, 315);
    lblCon = new forms::Label(QStringLiteral("Connection Log"), picHeader);
    lblCon->setObjectName(QStringLiteral("lblCon"));
    forms::SetTag(lblCon, QStringLiteral("801"));
    forms::Move(lblCon, 60, 120, kLogWidth, 255);

    lstLog = new forms::FlexGrid(this);
    lstLog->setObjectName(QStringLiteral("lstLog"));
    forms::Move(lstLog, 60, kTop + 480, kLogWidth, 2475);
    MyTree = new forms::TreeView(this);
    MyTree->setObjectName(QStringLiteral("MyTree"));

    txtFull = new QLineEdit(this);
    txtFull->setObjectName(QStringLiteral("txtFull"));
    txtFull->setReadOnly(true);
    forms::Move(txtFull, 60, kTop + 3000, kLogWidth, 615);

    // The two frames of days to send, each with its From and To lists and its skip box.
    const auto frame = [this](const char *name, int16_t tag, const QString &caption, int top, int k,
                              forms::ComboBox *&from, forms::ComboBox *&to) {
        auto *fr = new QGroupBox(caption, this);
        fr->setObjectName(QString::fromLatin1(name));
        forms::SetTag(fr, QString::number(tag));
        forms::Move(fr, kFrameLeft, kTop + top, kFrameWidth, 1515);
        lbl[k * 3] = FrameLabel(fr, k ? "lbl_3" : "lbl_0", 804, QStringLiteral("From:"), 120, 345, kListLeft - 180);
        lbl[k * 3 + 1] = FrameLabel(fr, k ? "lbl_4" : "lbl_1", 805, QStringLiteral("To:"), 120, 735, kListLeft - 180);
        from = DayList(fr, k ? "cmbExpFrom" : "cmbTimeFrom", 315);
        to = DayList(fr, k ? "cmbExpTo" : "cmbTimeTo", 705);
        chk[k] = new QCheckBox(fr);
        chk[k]->setObjectName(QStringLiteral("chk_%1").arg(k));
        forms::Move(chk[k], 120, 1110, 255, 255);
        lbl[k * 3 + 2] = FrameLabel(fr, k ? "lbl_5" : "lbl_2", 806, QStringLiteral("Do NOT Synch"), 420, 1110, kFrameWidth - 540);
        return fr;
    };
    frTimeLogs = frame("frTimeLogs", 803, QStringLiteral("Time Logs"), 480, 0, cmbTimeFrom, cmbTimeTo);
    frExpenses = frame("frExpenses", 807, QStringLiteral("Expenses"), 2100, 1, cmbExpFrom, cmbExpTo);

    picFooter = new QWidget(this);
    picFooter->setObjectName(QStringLiteral("picFooter"));
    forms::Move(picFooter, 0, kTop + 3690, kWidth, 420);
    btnConnect[0] = new QPushButton(QStringLiteral("Update Tables"), picFooter);
    btnConnect[0]->setObjectName(QStringLiteral("btnConnect_0"));
    forms::SetTag(btnConnect[0], QStringLiteral("808"));
    forms::Move(btnConnect[0], 30, 45, 2595, 330);
    btnConnect[1] = new QPushButton(QStringLiteral("Synch Time && Expenses"), picFooter);
    btnConnect[1]->setObjectName(QStringLiteral("btnConnect_1"));
    forms::SetTag(btnConnect[1], QStringLiteral("809"));
    forms::Move(btnConnect[1], 2655, 45, 3195, 330);
    btnExit = new QPushButton(QStringLiteral("Close"), picFooter);
    btnExit->setObjectName(QStringLiteral("btnExit"));
    forms::SetTag(btnExit, QStringLiteral("905"));
    forms::Move(btnExit, 5880, 45, 1545, 330);

    connect(btnConnect[0], &QPushButton::clicked, this, [this] { btnConnect_Click(0); });
    connect(btnConnect[1], &QPushButton::clicked, this, [this] { btnConnect_Click(1); });
    connect(btnExit, &QPushButton::clicked, this, &frmSynch::btnExit_Click);
    connect(lstLog, &QTableWidget::cellClicked, this, [this] { lstLog_Click(); });
    for (QCheckBox *c : chk)
        connect(c, &QCheckBox::clicked, this, [this] { chk_Click(); });
    // A pick of the person (not the program's own fills) runs the rule of its pair.
    connect(cmbTimeFrom, &QComboBox::activated, this, [this] { Dodates(cmbTimeFrom, cmbTimeTo); });
    connect(cmbTimeTo, &QComboBox::activated, this, [this] { Dodates(cmbTimeTo, cmbTimeFrom); });
    connect(cmbExpFrom, &QComboBox::activated, this, [this] { Dodates(cmbExpFrom, cmbExpTo); });
    connect(cmbExpTo, &QComboBox::activated, this, [this] { Dodates(cmbExpTo, cmbExpFrom); });
}

void frmSynch::CreateMenus()
{
    mnuBar = new QMenuBar(this);
    mnuBar->setObjectName(QStringLiteral("mnuBar"));
    mnuBar->setNativeMenuBar(false);
    forms::Move(mnuBar, 0, 0, kWidth, kMenuHeight);
    const auto item = [this](QMenu *menu, const char *name, const QString &caption, auto handler) {
        QAction *a = menu->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, handler);
        return a;
    };
    mnuSynch = mnuBar->addMenu(QStringLiteral("Synchronize"));
    mnuSynch->setObjectName(QStringLiteral("mnuSynch"));
    mnuSynch->menuAction()->setObjectName(QStringLiteral("mnuSynch"));
    mnuSynch_Tables = item(mnuSynch, "mnuSynch_Tables", QStringLiteral("Update Tables"), [this] { btnConnect_Click(0); });
    mnuSynch_User = item(mnuSynch, "mnuSynch_User", QStringLiteral("Synch Time && Expenses"), [this] { btnConnect_Click(1); });
    mnuSynch_All = item(mnuSynch, "mnuSynch_All", QStringLiteral("Synchronize ALL"), [this] { mnuSynch_All_Click(); });
    mnuSynch->addSeparator()->setObjectName(QStringLiteral("mnuSynch_Dash0"));
    mnuSynch_Close = item(mnuSynch, "mnuSynch_Close", QStringLiteral("Close"), [this] { btnExit_Click(); });

    mnuView = mnuBar->addMenu(QStringLiteral("View"));
    mnuView->setObjectName(QStringLiteral("mnuView"));
    mnuView->menuAction()->setObjectName(QStringLiteral("mnuView"));
    mnuView_Log = item(mnuView, "mnuView_Log", QStringLiteral("Last Log"), [this] { ShowTree(false); });
    mnuView->addSeparator()->setObjectName(QStringLiteral("mnuView_Dash0"));
    mnuView_Expand = item(mnuView, "mnuView_Expand", QStringLiteral("Expand All"), [this] { mnuView_Expand_Click(); });
    mnuView_Collapse = item(mnuView, "mnuView_Collapse", QStringLiteral("Collapse All"),
                            [this] { mnuView_Collapse_Click(); });
    mnuView_Dash1 = mnuView->addSeparator();
    mnuView_Dash1->setObjectName(QStringLiteral("mnuView_Dash1"));
    mnuView_RecProj = item(mnuView, "mnuView_RecProj", QStringLiteral("Checked Projects etc."),
                           [this] { mnuView_RecProj_Click(); });
    mnuView_RecExp = item(mnuView, "mnuView_RecExp", QStringLiteral("Checked Expence Categories"),
                          [this] { mnuView_RecExp_Click(); });

    mnuHelp = mnuBar->addMenu(QStringLiteral("Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    mnuHelp->menuAction()->setObjectName(QStringLiteral("mnuHelp"));
    mnuHelp_Frm = item(mnuHelp, "mnuHelp_Frm", QStringLiteral("Help on this Form"), [this] { mnuHelp_Frm_Click(); });
}

void frmSynch::FillDateLists()
{
    // Only recorded entries count as days with time logs: the timers' own rows are not sent.
    modDBchr::FillRecordedDatesCombo(cmbTimeFrom);
    modDBchr::FillRecordedDatesCombo(cmbTimeTo);
    modDBchr::FillExpDatesCombo(cmbExpFrom);
    modDBchr::FillExpDatesCombo(cmbExpTo);
    for (forms::ComboBox *list : {cmbTimeFrom, cmbTimeTo, cmbExpFrom, cmbExpTo}) {
        const bool blocked = list->blockSignals(true);
        list->AddItem(AllItem, 0);
        list->SetItemData(0, 0);
        list->SetListIndex(0);
        list->blockSignals(blocked);
    }
}

QSize frmSynch::sizeHint() const
{
    // Laid out by position, not by a layout: the frame in the document area takes this size.
    return QSize(forms::TwipsToPixels(kWidth), forms::TwipsToPixels(kHeight));
}

void frmSynch::closeEvent(QCloseEvent *e)
{
    // Not while its own exchange runs: the exchange goes on in this window's handlers.
    if (m_running) {
        e->ignore();
        return;
    }
    // The frame's close box: the window unloads once the close has been handled.
    e->accept();
    QTimer::singleShot(0, qApp, [] { frmSynch::Unload(); });
}

void frmSynch::btnExit_Click()
{
    if (m_running)
        return;
    frmSynch::Unload();
}

void frmSynch::lstLog_Click()
{
    if (lstLog->Rows() > 0 && lstLog->Row() >= 0)
        txtFull->setText(lstLog->TextMatrix(lstLog->Row(), 0));
}

void frmSynch::chk_Click()
{
    EnableCommands();
}

void frmSynch::EnableCommands()
{
    const bool idle = !m_running && !RequestGuard::Busy();
    btnConnect[0]->setEnabled(idle);
    // The send has nothing to do when both kinds are skipped.
    btnConnect[1]->setEnabled(idle && !(chk[0]->isChecked() && chk[1]->isChecked()));
    for (QAction *a : {mnuSynch_Tables, mnuSynch_User, mnuSynch_All, mnuSynch_Close})
        if (a)
            a->setEnabled(idle);
    btnExit->setEnabled(!m_running);
    // The choice of what is sent does not change while it is being sent.
    for (QWidget *w : std::initializer_list<QWidget *>{cmbTimeFrom, cmbTimeTo, cmbExpFrom, cmbExpTo, chk[0], chk[1]})
        w->setEnabled(!m_running);
}

void frmSynch::Form_Activate()
{
    if (frmMain *main = frmMain::Peek())
        main->MarkToolbarEntry(3);
}

void frmSynch::ApplyLang()
{
    modMain::ApplyLangOrTell([&] {
        ApplyTagCaptions(this);
        setWindowTitle(GetLangString(880, true));
        if (!mnuBar)
            return;
        mnuHelp_Frm->setText(GetLangString(959));
        mnuHelp->setTitle(GetLangString(958));
        mnuSynch->setTitle(GetLangString(880));
        mnuSynch_All->setText(GetLangString(881));
        mnuSynch_Close->setText(GetLangString(905));
        mnuSynch_Tables->setText(GetLangString(808));
        mnuSynch_User->setText(GetLangString(809));
        mnuView->setTitle(GetLangString(907));
        mnuView_Collapse->setText(GetLangString(961));
        mnuView_Expand->setText(GetLangString(960));
        mnuView_Log->setText(GetLangString(882));
        mnuView_RecExp->setText(GetLangString(884));
        mnuView_RecProj->setText(GetLangString(883));
    });
}

// ---- the date lists --------------------------------------------------------------------------

void frmSynch::Dodates(forms::ComboBox *picked, forms::ComboBox *partner)
{
    if (!picked || !partner || partner->ListCount() == 0)
        return;
    const int index = synchrules::PartnerIndex(picked->ListIndex(), partner->ListIndex());
    if (index != partner->ListIndex() && index < partner->ListCount())
        partner->SetListIndex(index);
}

bool frmSynch::CheckDates()
{
    if (!synchrules::DatesWrong(PairOf(cmbTimeFrom, cmbTimeTo), chk[0]->isChecked(), PairOf(cmbExpFrom, cmbExpTo),
                                chk[1]->isChecked()))
        return false;
    ShowMsg(GetLangString(832), 16);
    return true;
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
        lblCon->SetCaption(GetLangString(801));
    mnuView_Collapse->setVisible(show);
    mnuView_Expand->setVisible(show);
    mnuView_Dash1->setVisible(show);
}

void frmSynch::SetAllExpanded(bool expanded)
{
    // Hidden while it changes: one repaint at the end instead of one per node.
    MyTree->setVisible(false);
    for (int i = 1; i <= MyTree->Count(); ++i) {
        forms::Node *node = MyTree->Nodes(i);
        if (node && node->Children() > 0 && node->Expanded() != expanded)
            node->SetExpanded(expanded);
    }
    MyTree->setVisible(true);
}

void frmSynch::mnuView_Expand_Click()
{
    SetAllExpanded(true);
}

void frmSynch::mnuView_Collapse_Click()
{
    SetAllExpanded(false);
}

void frmSynch::ShowReceived(const QString &reply, bool projects)
{
    if (reply.isEmpty()) {
        ShowMsg(GetLangString(822), projects ? 0 : 48);
        return;
    }
    lblCon->SetCaption(GetLangString(projects ? 824 : 822));
    QApplication::processEvents();
    if (projects) {
        QList<ReceivedProject> items;
        const reference::ReplyRead read = reference::ReadProjects(reply, items);
        FillReceivedTree(items, read);
    } else {
        QList<ReceivedExpCategory> items;
        const reference::ReplyRead read = reference::ReadExpenses(reply, items);
        FillReceivedTree(items, read);
    }
    ShowTree(true);
}

void frmSynch::mnuView_RecProj_Click()
{
    ShowReceived(ProjectsReply, true);
}

void frmSynch::mnuView_RecExp_Click()
{
    ShowReceived(ExpensesReply, false);
}

void frmSynch::mnuHelp_Frm_Click()
{
    frmHlp *h = frmHlp::Get();
    h->WBr->Navigate2(HelpPagePath(this, LangID));
    ChildWindow::BringToFront(h);
}

void frmSynch::mnuSynch_All_Click()
{
    btnConnect_Click(0);
    btnConnect_Click(1);
}

// ---- the transport ---------------------------------------------------------------------------

namespace {

// The steps of one request as lines of the connection log.
class LogProgress : public modHttp::RequestProgress {
public:
    explicit LogProgress(frmSynch *window) : m_window(window) {}
    void Starting() override
    {
        if (m_window)
            m_window->UpdateLog(GetLangString(920) + QStringLiteral("..."), 4);
    }
    void Opened() override
    {
        if (!m_window)
            return;
        m_window->conStatus(true);
        if (m_window)
            m_window->UpdateLog(GetLangString(924) + QStringLiteral("..."), 4);
    }

private:
    QPointer<frmSynch> m_window;
};

} // namespace

QString frmSynch::GetXML(const QString &query, bool isPost)
{
    LogProgress progress(this);
    const QString reply = modHttp::Exchange(query, isPost, &progress);
    if (reply.isEmpty()) {
        // Nothing usable came back: the label and the flags do not go on telling of a request.
        UpdateLog(GetLangString(817), 3);
        conStatus(false);
        ReceivingProjects = false;
        ReceivingExpenses = false;
        return QString();
    }
    UpdateLog(GetLangString(ReceivingProjects ? 813 : ReceivingExpenses ? 814 : 815), 4);
    UpdateLog(GetLangString(928), 4);
    conStatus(false);
    ReceivingProjects = false;
    ReceivingExpenses = false;
    UpdateLog(GetLangString(818), 4);
    UpdateLog(GetLangString(819) + QStringLiteral(" ") + QString::number(reply.size()) + QStringLiteral(" ")
                  + GetLangString(820),
              0);
    return reply;
}

// ---- the two commands ------------------------------------------------------------------------

bool frmSynch::LoadCredentials()
{
    try {
        if (!Crypto)
            Crypto = std::make_unique<CCrypto>();
        const QString password = Crypto->Decrypt(StoredPassword, CryptoPassPhrase, false, CCrypto::TypeRC2);
        const QString user = Crypto->Decrypt(StoredUserName, CryptoPassPhrase, false, CCrypto::TypeRC2);
        // A stored text that does not decrypt gives nothing: no request can be signed with it.
        if (!password.isEmpty() && !user.isEmpty()) {
            PasswordURL = modHttp::URLEncode(password);
            UserNameURL = modHttp::URLEncode(user);
            return true;
        }
    } catch (const std::exception &) {
    }
    UpdateLog(GetLangString(821), 1);
    UpdateLog(GetLangString(862), 3);
    return false;
}

void frmSynch::btnConnect_Click(int16_t Index)
{
    if (Index != 0 && Index != 1)
        return;
    if (m_running)
        return;
    if (RequestGuard::Busy()) {
        // Another window holds the service (the day's download at start-up): this command
        // waits for it, and the log says so meanwhile.
        if (m_waiting < 0) {
            lstLog->SetRows(0);
            UpdateLog(GetLangString(1860), 1);
            // Whole below the log, as a clicked line would show it.
            txtFull->setText(GetLangString(1860));
        }
        m_waiting = Index;
        return;
    }
    if (Index == 1 && CheckDates())
        return;
    const RequestGuard busy(RequestGuard::Command);
    if (!busy)
        return;
    m_running = true;
    EnableCommands();
    QApplication::setOverrideCursor(Qt::WaitCursor);

    lstLog->SetRows(0);
    LogText.clear();
    LastReply.clear();
    // This window tells its outcome in its log; a failure left in the status line by an
    // earlier request must not outlive an exchange that reaches the service.
    SetStatus(-1, QString());
    UpdateLog(GetLangString(834) + QStringLiteral(" ")
                  + QLocale().toString(QDateTime::currentDateTime(), QLocale::ShortFormat),
              1);

    if (LoadCredentials()) {
        if (Index == 1) {
            // The editors' rows do not change while they are being sent.
            QWidget *daily = FormLoaded[fiDaily] ? frmDaily::Peek() : nullptr;
            QWidget *exp = FormLoaded[fiDailyExp] ? frmDailyExp::Peek() : nullptr;
            QPointer<QWidget> dailyGuard(daily), expGuard(exp);
            if (daily)
                daily->setEnabled(false);
            if (exp)
                exp->setEnabled(false);
            if (!chk[0]->isChecked())
                SendTimeLogs();
            if (!chk[1]->isChecked())
                SendExpenses();
            if (dailyGuard)
                dailyGuard->setEnabled(true);
            if (expGuard)
                expGuard->setEnabled(true);
            RefreshEditors();
        } else {
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
        }
    }
    QApplication::restoreOverrideCursor();
    m_running = false;
    EnableCommands();
}

void frmSynch::RunWaiting()
{
    if (m_waiting < 0 || m_running || RequestGuard::Busy())
        return;
    const int16_t index = m_waiting;
    m_waiting = -1;
    btnConnect_Click(index);
}

void frmSynch::RefreshEditors()
{
    // The open editors show the new send states; a day with unsaved edits keeps its edits
    // (a row the service has accepted meanwhile refuses to be saved over).
    if (FormLoaded[fiDaily]) {
        if (frmDaily *daily = frmDaily::Peek()) {
            if (daily->CheckChanged() == 0) {
                daily->LoadDailyLog();
                daily->SetColorsAndPics(-1);
            }
        }
    }
    if (FormLoaded[fiDailyExp]) {
        if (frmDailyExp *exp = frmDailyExp::Peek()) {
            if (exp->CheckChanged() == 0)
                exp->LoadDailyExp();
        }
    }
}

void frmSynch::LogRange(forms::ComboBox *from, forms::ComboBox *to, int16_t allId, int16_t dayId, int16_t rangeId)
{
    if (from->ListIndex() <= 0) {
        UpdateLog(GetLangString(allId), 1);
        return;
    }
    if (SelectedDay(from) == SelectedDay(to)) {
        UpdateLog(GetLangString(dayId) + QStringLiteral(" ") + from->Text(), 1);
        return;
    }
    UpdateLog(GetLangString(rangeId) + QStringLiteral(" ") + from->Text() + QStringLiteral(" ") + GetLangString(805)
                  + QStringLiteral(" ") + to->Text(),
              1);
}

namespace {

// Sends the rows of one kind in order: build the request of a row, send it, write the state
// its reply gives, and stop where the reply concerns the account or no reply came.
template <class Row, class Build, class Write>
void SendRows(frmSynch *w, const std::vector<Row> &rows, Build build, Write write)
{
    const qsizetype total = qsizetype(rows.size());
    for (qsizetype n = 1; n <= total; ++n) {
        const Row &row = rows[size_t(n - 1)];
        w->UpdateLog(GetLangString(840) + QStringLiteral(" ") + QString::number(n) + QStringLiteral(" ")
                         + GetLangString(841) + QStringLiteral(" ") + QString::number(total),
                     4);
        const modHttp::ServiceRequest request = build(row);
        w->LastReply = w->GetXML(request.params, request.isPost);
        const int16_t code = modHttp::AddReplyCode(w->LastReply);
        w->LastReply.clear();
        const synchrules::ReplyOutcome outcome = synchrules::OutcomeOf(code);
        if (outcome.writeState) {
            const QString failure = write(row, outcome.state);
            if (!failure.isEmpty()) {
                // The state could not be written: the kind stops here with the engine's reason
                // rather than send on rows whose outcome nobody keeps.
                w->UpdateLog(GetLangString(821), 1);
                w->UpdateLog(failure, 3);
                return;
            }
        }
        if (outcome.stopKind) {
            w->UpdateLog(GetLangString(821), 1);
            w->UpdateLog(modHttp::GetErrMsg(code), 3);
            w->UpdateLog(GetLangString(842), 0);
            return;
        }
        if (code != 0) {
            w->UpdateLog(GetLangString(843) + QStringLiteral(" ") + QString::number(n) + QStringLiteral(" ")
                             + GetLangString(844),
                         0);
            w->UpdateLog(GetLangString(821), 1);
            w->UpdateLog(modHttp::GetErrMsg(code), 3);
        }
    }
}

} // namespace

void frmSynch::SendTimeLogs()
{
    UpdateLog(GetLangString(835) + QStringLiteral(" "), 1);
    LogRange(cmbTimeFrom, cmbTimeTo, 836, 837, 838);
    std::vector<modDBchr::DailyEntry> loaded;
    if (modDBchr::LoadUnsentDaily(synchrules::RangeOf(PairOf(cmbTimeFrom, cmbTimeTo)), loaded) != 0) {
        UpdateLog(GetLangString(821), 1);
        UpdateLog(modDBchr::LastSynchError(), 3);
        return;
    }
    // Only what has ended goes out: an entry still under way would be sent short.
    const std::vector<modDBchr::DailyEntry> rows = synchrules::FinishedEntries(std::move(loaded), QDateTime::currentDateTime());
    if (rows.empty()) {
        UpdateLog(GetLangString(839), 3);
        return;
    }
    SendRows(
        this, rows,
        [](const modDBchr::DailyEntry &e) { return modHttp::AddTimeRequest(modDBchr::UploadValuesOf(e)); },
        [](const modDBchr::DailyEntry &e, int16_t state) {
            return modDBchr::SetDailySendState(e.cID, state) == 0 ? QString() : modDBchr::LastDailyError();
        });
}

void frmSynch::SendExpenses()
{
    UpdateLog(GetLangString(855) + QStringLiteral(" "), 1);
    LogRange(cmbExpFrom, cmbExpTo, 856, 857, 857);
    std::vector<modDBchr::UnsentExpense> rows;
    if (modDBchr::LoadUnsentExpenses(synchrules::RangeOf(PairOf(cmbExpFrom, cmbExpTo)), rows) != 0) {
        UpdateLog(GetLangString(821), 1);
        UpdateLog(modDBchr::LastSynchError(), 3);
        return;
    }
    if (rows.empty()) {
        UpdateLog(GetLangString(839), 3);
        return;
    }
    SendRows(
        this, rows,
        [](const modDBchr::UnsentExpense &e) { return modHttp::AddExpenseRequest(modDBchr::UploadValuesOf(e)); },
        [](const modDBchr::UnsentExpense &e, int16_t state) {
            return modDBchr::SetExpenseState(e.cID, state) == 0 ? QString() : modDBchr::LastExpError();
        });
}

// ---- the download -------------------------------------------------------------------------

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
    LastReply = GetXML(request.params, request.isPost);
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
