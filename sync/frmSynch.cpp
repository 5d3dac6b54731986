#include "sync/frmSynch.h"

#include "core/CCrypto.h"
#include "core/ReceivedBatch.h"
#include "core/clsTagParser.h"
#include "core/frmMain.h"
#include "core/modHttp.h"
#include "core/modMain.h"
#include "platform/dao/dao.h"
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

#include <stdexcept>

using namespace modMain;

namespace {

using downloadtree::FieldNumber;
using downloadtree::Sep;

// The window's size in twips: the log with its header and footer.
constexpr int kWidth = 4815, kHeight = 4110;

// Runs one statement of the summary or the sweep; a failed one leaves the others to run.
void ExecuteQuietly(const QString &sql)
{
    try {
        if (DB)
            DB->Execute(sql);
    } catch (const std::exception &) {
    }
}

} // namespace

frmSynch::frmSynch()
{
    setObjectName(QStringLiteral("frmSynch"));
    setWindowTitle(QStringLiteral("Synchronize"));
    forms::Move(this, 0, 0, kWidth, kHeight);

    m_TagParser = new clsTagParser(this);
    connect(m_TagParser, &clsTagParser::InteriorTag, this, &frmSynch::m_TagParser_InteriorTag);
    connect(m_TagParser, &clsTagParser::LeafTag, this, &frmSynch::m_TagParser_LeafTag);
    connect(m_TagParser, &clsTagParser::ParseError, this, &frmSynch::m_TagParser_ParseError);

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
    // The frame's close box: the window unloads once the close has been handled.
    e->accept();
    QTimer::singleShot(0, qApp, [] { frmSynch::Unload(); });
}

void frmSynch::btnExit_Click()
{
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
}

void frmSynch::GetItem(int16_t Index)
{
    LastReply.clear();
    ShowTree(false);
    QString request;
    if (Index == 0) {
        request = QStringLiteral("action=projects&username=");
        ReceivingProjects = true;
        ProjectsReply.clear();
        UpdateLog(QStringLiteral("===") + GetLangString(885), 1);
    } else {
        request = QStringLiteral("action=expenses&username=");
        ReceivingExpenses = true;
        ExpensesReply.clear();
        UpdateLog(QStringLiteral("===") + GetLangString(886), 1);
    }
    request += UserNameURL + QStringLiteral("&password=") + PasswordURL;
    conStatus(true);
    LastReply = modHttp::HttpRequest(request, 0, false);
    if (!LastReply.isEmpty()) {
        conStatus(false);
        ReceivingProjects = false;
        ReceivingExpenses = false;
    }
}

bool frmSynch::WalkReply(const QString &reply)
{
    ParseFailed = false;
    m_HandlerFailed = false;
    m_TopElements = 0;
    m_ErrorNodes = 0;
    CurrentElement.clear();
    if (reply.size() < 22) {
        UpdateLog(GetLangString(821), 1);
        UpdateLog(GetLangString(1416), 3);
        return false;
    }
    QString text = reply.mid(22);
    const clsTagParser::ParseResult walked = m_TagParser->ParseTags(text);
    if (walked == clsTagParser::Rejected || ParseFailed)
        return false;   // the parser's event has logged it
    // A tree with its enclosing element, and no error report inside: only then does the
    // reply say what the person has (an empty enclosing element: no projects at all).
    const bool tree = walked == clsTagParser::Complete && m_TopElements > 0 && !m_HandlerFailed;
    if (!tree && m_ErrorNodes == 0) {
        UpdateLog(GetLangString(821), 1);
        UpdateLog(GetLangString(1416), 3);
    }
    return tree && m_ErrorNodes == 0;
}

bool frmSynch::SaveReceived()
{
    // The summary and the sweep are part of the batch: they see the marks just written, and
    // the file takes the whole receive at once.
    ReceivedBatch batch;
    try {
        UpdateLog(GetLangString(845) + QStringLiteral("..."), 1);
        MyTree->Clear();
        PendingProject.node = 0;
        PendingTask.node = 0;
        UpdateLog(GetLangString(847) + QStringLiteral("..."), 1);
        if (!WalkReply(ProjectsReply))
            return false;
        UpdateLog(GetLangString(848), 0);
        for (int i = 1; i <= MyTree->Count(); ++i) {
            const forms::Node *node = MyTree->Nodes(i);
            const QString tag = node->Tag();
            const QString marker = GetField(tag, 1, Sep);
            const double id = FieldNumber(tag, 2);
            if (marker == u"isProj") {
                modDBchr::SaveProject(id, node->Text(), GetField(tag, 3, Sep));
            } else if (marker == u"isTask" || marker == u"isCateg") {
                const forms::Node *parent = node->Parent();
                if (!parent)
                    throw std::invalid_argument("no parent");
                const double parentId = FieldNumber(parent->Tag(), 2);
                if (marker == u"isTask")
                    modDBchr::SaveTask(id, node->Text(), parentId, GetField(tag, 3, Sep));
                else
                    modDBchr::SaveCategory(id, node->Text(), parentId);
            }
        }

        PendingProject.node = 0;
        PendingTask.node = 0;
        MyTree->Clear();
        UpdateLog(GetLangString(825) + QStringLiteral("..."), 1);
        if (!WalkReply(ExpensesReply))
            return false;
        UpdateLog(GetLangString(826), 0);
        for (int i = 1; i <= MyTree->Count(); ++i) {
            const forms::Node *node = MyTree->Nodes(i);
            modDBchr::SaveExpCategory(FieldNumber(node->Tag(), 2), node->Text());
        }

        UpdateLog(GetLangString(846), 0);
        UpdateResults();
        if (!batch.Commit())
            throw std::runtime_error("the database did not take the receive");
        try {
            registry::SaveSetting(SettingsApp, QString::number(CurrentUserID), QStringLiteral("CheckTablesDate"),
                                  QString::number(DateToLong(QDate::currentDate())));
        } catch (const registry::RegistryError &) {
        }
        return true;
    } catch (const std::exception &) {
        ParseFailed = false;
        UpdateLog(GetLangString(821), 1);
        UpdateLog(GetLangString(1416), 3);
        return false;
    }
}

void frmSynch::UpdateResults()
{
    const QString user = QString::number(CurrentUserID);
    auto count = [&](const QString &sql) {
        try {
            if (!DB)
                return 0;
            auto rs = DB->OpenRecordset(sql);
            const int n = rs->RecordCount();
            rs->Close();
            return n;
        } catch (const std::exception &) {
            return 0;
        }
    };

    LogText += QStringLiteral("\r\n");
    UpdateLog(QStringLiteral("=============Result Summary=========================="), 1);
    const struct {
        const char *sql;
        int16_t id;
    } added[] = {
        {"SELECT cName FROM tblProjects WHERE cUsrID = %1 AND cChk = 2", 827},
        {"SELECT cTaskName FROM tblProjTasks WHERE cUsrID = %1 AND cChk = 2", 828},
        {"SELECT cCatID FROM tblCategs WHERE cUsrID = %1 AND cChk = 2", 829},
        {"SELECT cCatID FROM tblTaskCategs WHERE cUsrID = %1 AND cChk = 2", 830},
        {"SELECT cExpName FROM tblExpCategs WHERE cUsrID = %1 AND cChk = 2", 831},
    };
    for (const auto &a : added)
        UpdateLog(GetLangString(a.id) + QStringLiteral(" ") + QString::number(count(QString::fromLatin1(a.sql).arg(user))), 2);

    try {
        if (DB) {
            auto rs = DB->OpenRecordset(QStringLiteral("SELECT cName FROM tblProjects WHERE cUsrID = %1 AND cChk = 0").arg(user));
            if (rs->RecordCount() > 0) {
                UpdateLog(QStringLiteral("You have been unAssigned from the following Projects: "), 0);
                for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext())
                    UpdateLog(QStringLiteral("- ") + rs->Value(0).toString(), 0);
            }
            rs->Close();
        }
    } catch (const std::exception &) {
    }

    ExecuteQuietly(QStringLiteral("Delete from tblProjects WHERE cUsrID = %1 AND cChk = 0").arg(user));
    ExecuteQuietly(QStringLiteral("UPDATE tblProjects SET cChk = 0 WHERE cUsrID = %1 AND cChk <> 0").arg(user));
    try {
        if (DB) {
            auto rs = DB->OpenRecordset(QStringLiteral("SELECT cTaskID from tblProjTasks WHERE cUsrID = %1 AND cChk = 0").arg(user));
            QStringList tasks;
            for (; !rs->Eof(); rs->MoveNext())
                tasks << QString::number(rs->Value(0).toDouble(), 'f', 0);
            rs->Close();
            for (const QString &task : tasks)
                ExecuteQuietly(QStringLiteral("Delete from tblTaskCategs WHERE cUsrID = %1 AND cTaskID = %2").arg(user, task));
        }
    } catch (const std::exception &) {
    }
    ExecuteQuietly(QStringLiteral("Delete from tblProjTasks WHERE cUsrID = %1 AND cChk = 0").arg(user));
    ExecuteQuietly(QStringLiteral("UPDATE tblProjTasks SET cChk = 0 WHERE cUsrID = %1 AND cChk <> 0").arg(user));
    ExecuteQuietly(QStringLiteral("Delete from tblCategs WHERE cUsrID = %1 AND cChk = 0").arg(user));
    ExecuteQuietly(QStringLiteral("UPDATE tblCategs SET cChk = 0 WHERE cUsrID = %1 AND cChk <> 0").arg(user));
    ExecuteQuietly(QStringLiteral("UPDATE tblTaskCategs SET cChk = 0 WHERE cUsrID = %1 AND cChk <> 0").arg(user));
    ExecuteQuietly(QStringLiteral("UPDATE tblExpCategs SET cChk = 0 WHERE cUsrID = %1 AND cChk <> 0").arg(user));
}

// ---- the parser's events --------------------------------------------------------------------

void frmSynch::m_TagParser_InteriorTag(const QString &name, const QString &content, int16_t level)
{
    (void)content;
    if (level == 0)
        ++m_TopElements;
    CurrentElement = name;
}

void frmSynch::m_TagParser_ParseError(int16_t code)
{
    ParseFailed = true;
    UpdateLog(GetLangString(821), 1);
    UpdateLog(modHttp::GetErrMsg(code), 3);
}

void frmSynch::AddProjectNode()
{
    forms::Node *relative = PendingProject.node ? MyTree->Nodes(PendingProject.node) : nullptr;
    forms::Node *node = relative ? MyTree->Add(relative, forms::TreeView::Last, QString(), PendingProject.name)
                                 : MyTree->Add(nullptr, forms::TreeView::Last, QString(), PendingProject.name);
    node->SetTag(QStringLiteral("isProj;") + PendingProject.id + Sep + PendingProject.flag);
    PendingProject.node = node->Index();
}

void frmSynch::m_TagParser_LeafTag(const QString &name, const QString &value, int16_t level)
{
    if (level == 0)
        ++m_TopElements;
    switch (level) {
    case 1:
        if (name == u"CODE") {
            ++m_ErrorNodes;
            forms::Node *relative = PendingProject.node ? MyTree->Nodes(PendingProject.node) : nullptr;
            const QString text = GetLangString(979) + QStringLiteral(": ") + value + QStringLiteral(" ");
            forms::Node *node = relative ? MyTree->Add(relative, forms::TreeView::Last, QString(), text)
                                         : MyTree->Add(nullptr, forms::TreeView::Last, QString(), text);
            PendingProject.node = node->Index();
            bool ok = false;
            const int code = value.toInt(&ok);
            const QString explanation =
                modHttp::GetErrMsg(ok && code >= -32768 && code <= 32767 ? int16_t(code) : int16_t(UnreadableCode));
            MyTree->Add(node, forms::TreeView::Child, QString(), explanation);
            UpdateLog(GetLangString(821), 1);
            UpdateLog(explanation, 3);
        }
        break;
    case 2:
        if (name == u"ID") {
            PendingProject.id = value;
        } else if (name == u"NAME") {
            PendingProject.name = value;
            if (CurrentElement != u"PROJECT")
                AddProjectNode();
        } else if (CurrentElement == u"PROJECT") {
            PendingProject.flag = value;
            AddProjectNode();
        }
        break;
    case 3:
    case 4:
        if (!downloadtree::ReadTaskOrCategoryLeaf(MyTree, level, name, value, PendingProject, PendingTask, PendingCategory))
            m_HandlerFailed = true;
        break;
    default:
        break;
    }
}
