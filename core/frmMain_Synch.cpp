// The daily download of the reference tables: once a day per person, at start-up and only
// online, the projects with their tasks and categories and the expense categories are
// requested, read into the hidden tree MyTree and written to the reference tables.
#include "core/frmMain.h"

#include "core/CCrypto.h"
#include "core/ReceivedBatch.h"
#include "core/clsTagParser.h"
#include "core/modHttp.h"
#include "core/modMain.h"
#include "platform/forms/TreeView.h"
#include "platform/registry/Registry.h"
#include "recorder/frmStart.h"
#include "recorder/frmSysTray.h"
#include "store/modDBchr.h"

#include <QDate>

#include <limits>
#include <stdexcept>

using namespace modMain;

namespace {

const QString CheckTablesDateKey = QStringLiteral("CheckTablesDate");
using downloadtree::FieldNumber;
using downloadtree::Sep;

// Whole days from the day key last to today; a key that is no date counts as long ago.
qint64 DaysSince(long last, const QDate &today)
{
    QDate day;
    if (last >= 10000101 && last <= 99991231)
        day = QDate(int(last / 10000), int(last / 100 % 100), int(last % 100));
    if (!day.isValid())
        return std::numeric_limits<qint64>::max();
    return day.daysTo(today);
}

} // namespace

clsTagParser *frmMain::TagParser()
{
    if (!m_TagParser) {
        m_TagParser = new clsTagParser(this);
        connect(m_TagParser, &clsTagParser::InteriorTag, this, &frmMain::m_TagParser_InteriorTag);
        connect(m_TagParser, &clsTagParser::LeafTag, this, &frmMain::m_TagParser_LeafTag);
        connect(m_TagParser, &clsTagParser::ParseError, this, &frmMain::m_TagParser_ParseError);
    }
    return m_TagParser;
}

forms::TreeView *frmMain::DownloadTree()
{
    if (!MyTree) {
        MyTree = new forms::TreeView(this);
        MyTree->setObjectName(QStringLiteral("MyTree"));
        MyTree->setVisible(false);
    }
    return MyTree;
}

void frmMain::SynchTables()
{
    const QString section = QString::number(CurrentUserID);
    bool ok = false;
    long last = registry::GetSetting(SettingsApp, section, CheckTablesDateKey, QStringLiteral("0")).trimmed().toLong(&ok);
    if (!ok)
        last = 0;
    const QDate today = QDate::currentDate();
    const long todayKey = DateToLong(today);

    if (IsConnected && last != todayKey) {
        AnnounceDownload(121);
        if (!UpdateTables()) {
            AnnounceDownload(123);
        } else {
            try {
                registry::SaveSetting(SettingsApp, section, CheckTablesDateKey, QString::number(todayKey));
                last = todayKey;
            } catch (const registry::RegistryError &) {
                // Not remembered: the next start downloads again, which does no harm.
            }
            AnnounceDownload(122);
        }
    }

    // The reminder counts real days since the last complete download, so that neither the
    // turn of a month nor a download that has just succeeded calls fresh tables old.
    if (DaysSince(last, today) > 7)
        ShowMsg(GetLangString(124) + QStringLiteral(" 7 ") + GetLangString(125), 64);
}

void frmMain::AnnounceDownload(int16_t id)
{
    frmStart *timers = frmStart::Peek();
    if (isMinimized() && ShowBalloons == 1 && timers && timers->m_frmSysTray) {
        timers->m_frmSysTray->HideBalloonTip();
        timers->m_frmSysTray->ShowBalloonTip(GetLangString(id), QStringLiteral("Tarvelo"), 1, 10000);
    } else {
        SetStatus(id, QString());
    }
}

bool frmMain::UpdateTables()
{
    bool result = false;
    try {
        if (!Crypto)
            Crypto = std::make_unique<CCrypto>();
        PasswordURL = modHttp::URLEncode(Crypto->Decrypt(StoredPassword, CryptoPassPhrase, false, CCrypto::TypeRC2));
        UserNameURL = modHttp::URLEncode(Crypto->Decrypt(StoredUserName, CryptoPassPhrase, false, CCrypto::TypeRC2));
        m_ProjectsText.clear();
        m_ExpensesText.clear();

        // The first 22 characters of a download reply are its head; a shorter reply has no body.
        Reply = modHttp::HttpRequest(QStringLiteral("action=projects&username=") + UserNameURL
                                         + QStringLiteral("&password=") + PasswordURL,
                                     modHttp::KindStatusLine, false, this);
        if (Reply.size() >= 22) {
            m_ProjectsText = Reply.mid(22);
            Reply = modHttp::HttpRequest(QStringLiteral("action=expenses&username=") + UserNameURL
                                             + QStringLiteral("&password=") + PasswordURL,
                                         modHttp::KindStatusLine, false, this);
            if (Reply.size() >= 22) {
                m_ExpensesText = Reply.mid(22);
                result = SaveReceived();
            }
        }
    } catch (const std::exception &) {
        result = false;
    }
    m_ProjectsText.clear();
    m_ExpensesText.clear();
    return result;
}

bool frmMain::WalkReply(QString &text)
{
    m_ParseFailed = false;
    m_HandlerFailed = false;
    m_TopElements = 0;
    m_LastInterior.clear();
    m_Task.node = 0;
    const clsTagParser::ParseResult walked = TagParser()->ParseTags(text);
    // Only a whole tag tree counts: a reply that is no tree at all (a garbled or cut one)
    // must fail the download rather than pass as "nothing received".
    return walked == clsTagParser::Complete && m_TopElements > 0 && !m_ParseFailed && !m_HandlerFailed;
}

bool frmMain::SaveReceived()
{
    bool result = false;
    ReceivedBatch batch;
    try {
        forms::TreeView *tree = DownloadTree();
        tree->Clear();
        m_Project.node = 0;
        QString text = m_ProjectsText;
        if (WalkReply(text)) {
            for (int i = 1; i <= tree->Count(); ++i) {
                const forms::Node *node = tree->Nodes(i);
                const QString tag = node->Tag();
                const QString kind = GetField(tag, 1, Sep);
                const double id = FieldNumber(tag, 2);
                const QString name = node->Text();
                if (kind == u"isProj") {
                    modDBchr::SaveProject(id, name, GetField(tag, 3, Sep));
                } else if (kind == u"isTask" || kind == u"isCateg") {
                    const forms::Node *parent = node->Parent();
                    if (!parent)
                        throw std::invalid_argument("no parent");
                    const double parentId = FieldNumber(parent->Tag(), 2);
                    if (kind == u"isTask")
                        modDBchr::SaveTask(id, name, parentId, GetField(tag, 3, Sep));
                    else
                        modDBchr::SaveCategory(id, name, parentId);
                }
            }

            m_Project.node = 0;
            tree->Clear();
            text = m_ExpensesText;
            if (WalkReply(text)) {
                for (int i = 1; i <= tree->Count(); ++i) {
                    const forms::Node *node = tree->Nodes(i);
                    modDBchr::SaveExpCategory(FieldNumber(node->Tag(), 2), node->Text());
                }
                result = true;
            }
        }
    } catch (const std::exception &) {
        // What was written before the failing item stays.
        result = false;
    }
    if (!batch.Commit())
        result = false;
    m_ParseFailed = false;
    return result;
}

// ---- the parser's events --------------------------------------------------------------------

void frmMain::m_TagParser_InteriorTag(const QString &name, const QString &content, int16_t level)
{
    (void)content;
    if (level == 0)
        ++m_TopElements;
    m_LastInterior = name;
    if (name == u"PROJECT")
        m_ProjectNamed = false;
}

void frmMain::m_TagParser_ParseError(int16_t code)
{
    m_ParseFailed = true;
    SetStatus(821, modHttp::GetErrMsg(code));
}

void frmMain::m_TagParser_LeafTag(const QString &name, const QString &value, int16_t level)
{
    if (level == 0)
        ++m_TopElements;
    if (level < 1 || level > 4)
        return;
    forms::TreeView *tree = DownloadTree();

    auto addProjectNode = [&] {
        forms::Node *node = tree->Add(nullptr, forms::TreeView::Last, QString(), m_Project.name);
        node->SetTag(QStringLiteral("isProj;") + m_Project.id + Sep + m_Project.flag);
        m_Project.node = node->Index();
    };

    switch (level) {
    case 1:
        if (name == u"CODE") {
            // An error report inside the reply: two nodes without a tag, which fail the walk
            // that stores the tree.
            const QString text = GetLangString(979) + QStringLiteral(": ") + value + QStringLiteral(" ");
            forms::Node *current = m_Project.node ? tree->Nodes(m_Project.node) : nullptr;
            forms::Node *node = current ? tree->Add(current, forms::TreeView::Next, QString(), text)
                                        : tree->Add(nullptr, forms::TreeView::Last, QString(), text);
            m_Project.node = node->Index();
            bool ok = false;
            const int code = value.toInt(&ok);
            tree->Add(node, forms::TreeView::Child, QString(),
                      modHttp::GetErrMsg(ok && code >= -32768 && code <= 32767 ? int16_t(code) : int16_t(UnreadableCode)));
        }
        break;
    case 2:
        if (m_LastInterior == u"PROJECT") {
            if (name == u"ID") {
                m_Project.id = value;
            } else if (name == u"NAME") {
                m_Project.name = value;
                addProjectNode();
                m_ProjectNamed = true;
            } else {
                // The project's expense flag follows its name: it goes into the node made at
                // the name, so that the project is stored with its own flag (the flag is
                // rewritten at every download, and an ignored one would allow expenses on
                // every project each day).
                m_Project.flag = value;
                if (m_ProjectNamed && m_Project.node) {
                    if (forms::Node *node = tree->Nodes(m_Project.node))
                        node->SetTag(QStringLiteral("isProj;") + m_Project.id + Sep + m_Project.flag);
                }
            }
        } else {
            if (name == u"ID") {
                m_Project.id = value;
            } else if (name == u"NAME") {
                m_Project.name = value;
            } else {
                m_Project.flag = value;
                addProjectNode();
            }
        }
        break;
    case 3:
    case 4:
        if (!downloadtree::ReadTaskOrCategoryLeaf(tree, level, name, value, m_Project, m_Task, m_Category))
            m_HandlerFailed = true;
        break;
    }
}
