// The upload of one expense against the reference service on loopback HTTPS: the bytes on the
// wire in the four languages' number forms, the send state and picture that each kind of reply
// leaves in the database and the grid, the save that sends at once, and a row that is never
// sent twice.
#include "tests/expenses/ExpensesFixture.h"

#include "core/frmMain.h"
#include "core/modHttp.h"
#include "core/modMain.h"
#include "platform/dao/dao.h"
#include "resources/Pictures.h"
#include "tests/service/ServiceProcess.h"
#include "tests/support/TestEnv.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace modMain;
using exptest::ExpensesTest;
using frametest::SamePicture;
using testsvc::ServiceProcess;
using E = frmDailyExp;

namespace {

constexpr int kDay = 20240315;

const char TestData[] = R"({
  "version": "1.0.0",
  "accounts": [
    { "username": "anna", "password": "secret", "fullname": "Anna",
      "categories": [ { "id": 100, "name": "Work" } ],
      "expenseCategories": [ { "id": 3, "name": "Fuel" }, { "id": 4, "name": "Meals" } ],
      "projects": [ { "id": 1, "name": "Alpha", "expenses": true,
                      "tasks": [ { "id": 10, "name": "Design", "categories": [100], "expenses": true } ] } ] }
  ]
})";

class ExpensesUpload : public ExpensesTest {
protected:
    void SetUp() override
    {
        ExpensesTest::SetUp();
        TimeOut = 15;
        ServerLoggedIn = false;
        UserNameURL = QStringLiteral("anna");
        PasswordURL = QStringLiteral("secret");
        frmMain::Get()->lblMsg->SetCaption(QString());
    }
    void TearDown() override
    {
        ExpensesTest::TearDown();
        qunsetenv("TARV_CA_FILE");
        qputenv("TARV_SERVICE_ENDPOINT", "http://127.0.0.1:9");
    }

    void Start(ServiceProcess &svc, QStringList options = {})
    {
        options << QStringLiteral("--data") << testsvc::WriteDataFile(TestData);
        ASSERT_TRUE(svc.start(options)) << svc.output().toStdString();
        svc.pointProgramHere();
    }

    // The body of the last add-expense request the service saw, without its time stamp.
    static QString LastExpenseBody(const ServiceProcess &svc, int *count = nullptr)
    {
        QString body;
        int n = 0;
        for (const QJsonObject &r : svc.requests())
            if (r.value(QStringLiteral("body")).toString().startsWith(QStringLiteral("action=addExpense"))) {
                body = r.value(QStringLiteral("body")).toString();
                ++n;
            }
        if (count)
            *count = n;
        static const QRegularExpression stamp(QStringLiteral("&tstmp=\\d{6}$"));
        EXPECT_TRUE(body.isEmpty() || stamp.match(body).hasMatch()) << body.toStdString();
        return body.remove(stamp);
    }

    static QString Status() { return frmMain::Get()->lblMsg->Caption(); }
    static int StoredState(double id)
    {
        return Scalar(QStringLiteral("SELECT cChk FROM tblDailyExp WHERE cID = ?"), {id}).toInt();
    }
};

QString Cell(frmDailyExp *w, int row, int col)
{
    return w->lstLog->TextMatrix(row, col);
}

void ShowDay(frmDailyExp *w, int32_t dayKey)
{
    w->cmbDays->SetListIndex(FindComboData(dayKey, w->cmbDays));
}

} // namespace

TEST_F(ExpensesUpload, TheRequestCarriesTheStoredExpenseInEveryLanguagesNumberForm)
{
    ServiceProcess svc;
    Start(svc);
    const struct {
        QLocale::Language language;
        QLocale::Territory territory;
        const char *stored;
        const char *sent;
    } cases[] = {
        {QLocale::English, QLocale::UnitedStates, "1,234.50", "1234.50"},
        {QLocale::Greek, QLocale::Greece, "1.234,50", "1234.50"},
        {QLocale::French, QLocale::France, "0,50", "0.50"},
        {QLocale::German, QLocale::Germany, "12,00", "12.00"},
        {QLocale::English, QLocale::UnitedStates, ".50", "0.50"},   // as an older program stored it
    };
    double id = 1;
    for (const auto &c : cases) {
        InitSeparators(QLocale(c.language, c.territory));
        // 10:00:29 goes as 1000, the comment as UTF-8 bytes, the code Null as nothing; the
        // project comes from the task (the row's own project is 2).
        AddExpense(id, kDay, 0, QStringLiteral("Café 'Le Pont' & Co"), QString::fromUtf8(c.stored), QVariant(),
                   QStringLiteral("a&b é"), 36029, 10, 2, 3);
        frmDailyExp *w = Open();
        ShowDay(w, kDay);
        const int row = w->lstLog->Rows() - 1;
        ASSERT_EQ(Cell(w, row, E::colID), QString::number(id));
        w->SynchExpLog(row);
        EXPECT_EQ(LastExpenseBody(svc),
                  QStringLiteral("action=addExpense&cmt=a%26b+%C3%A9&prj=1&task=10&ec=3&amount=") +
                      QString::fromLatin1(c.sent) +
                      QStringLiteral("&charge=202403151000&payee=Caf%C3%A9+%27Le+Pont%27+%26+Co&code="
                                     "&username=anna&password=secret"))
            << c.stored;
        // Accepted: state 1 in the database and the grid, the accepted picture, status 290.
        EXPECT_EQ(StoredState(id), 1);
        EXPECT_EQ(Cell(w, row, E::colChk), QStringLiteral("1"));
        EXPECT_TRUE(SamePicture(w->lstLog->CellPictureAt(row, E::colPic), res::Picture(QStringLiteral("CHECK"))));
        EXPECT_EQ(w->lstLog->CellBackColorAt(row, E::colPayee), 0xE0E0E0);
        EXPECT_EQ(Status(), QStringLiteral(" ") + GetLangString(290, true));
        frmDailyExp::Unload();
        ++id;
    }
    // What the service accepted, as it logged it.
    const QList<QJsonObject> received = svc.received();
    ASSERT_EQ(received.size(), 5);
    const QJsonObject params = received[1].value(QStringLiteral("params")).toObject();
    EXPECT_EQ(params.value(QStringLiteral("amount")).toString(), QStringLiteral("1234.50"));
    EXPECT_EQ(params.value(QStringLiteral("cmt")).toString(), QStringLiteral("a&b é"));
    EXPECT_EQ(params.value(QStringLiteral("code")).toString(), QString());
    EXPECT_EQ(params.value(QStringLiteral("payee")).toString(), QStringLiteral("Café 'Le Pont' & Co"));
}

TEST_F(ExpensesUpload, ACodeAndAPayeeAreSentEncoded)
{
    ServiceProcess svc;
    Start(svc);
    AddExpense(1, kDay, 0, QStringLiteral("Ταβέρνα"), QStringLiteral("3.00"), QStringLiteral("R 7/é"));
    frmDailyExp *w = Open();
    ShowDay(w, kDay);
    w->SynchExpLog(0);
    EXPECT_EQ(LastExpenseBody(svc),
              QStringLiteral("action=addExpense&cmt=&prj=1&task=10&ec=3&amount=3.00&charge=202403151000"
                             "&payee=%CE%A4%CE%B1%CE%B2%CE%AD%CF%81%CE%BD%CE%B1&code=R+7%2F%C3%A9"
                             "&username=anna&password=secret"));
    EXPECT_EQ(StoredState(1), 1);
}

TEST_F(ExpensesUpload, EachKindOfReplyLeavesItsState)
{
    const struct {
        const char *what;
        QStringList options;
        QString password;
        double task;        // 20 belongs to a project the service does not give this person
        int state;
        const char *picture;
    } cases[] = {
        {"accepted", {}, QStringLiteral("secret"), 10, 1, "CHECK"},
        {"wrong password (code 2)", {}, QStringLiteral("wrong"), 10, 2, "RESEND"},
        {"project not assigned (code 5)", {}, QStringLiteral("secret"), 20, 3, "QUEST"},
        {"404 page", {"--error-page", "404", "--only", "addExpense"}, QStringLiteral("secret"), 10, 2, "RESEND"},
        {"500 page", {"--error-page", "500", "--only", "addExpense"}, QStringLiteral("secret"), 10, 2, "RESEND"},
        {"servlet 404 page", {"--error-page", "servlet-404", "--only", "addExpense"}, QStringLiteral("secret"), 10, 2, "RESEND"},
        {"bytes that are no reply", {"--garbage", "--only", "addExpense"}, QStringLiteral("secret"), 10, 2, "RESEND"},
        {"a cut-off reply", {"--truncate", "30", "--only", "addExpense"}, QStringLiteral("secret"), 10, 2, "RESEND"},
        {"time-out", {"--delay-ms", "3000", "--only", "addExpense"}, QStringLiteral("secret"), 10, 2, "RESEND"},
    };
    double id = 1;
    for (const auto &c : cases) {
        ServiceProcess svc;
        Start(svc, c.options);
        TimeOut = 1;
        ServerLoggedIn = false;
        PasswordURL = c.password;
        AddExpense(id, kDay, 0, QStringLiteral("Shop"), QStringLiteral("2.00"), QVariant(), QString(), 36000, c.task,
                   c.task == 20 ? 2 : 1);
        frmDailyExp *w = Open();
        ShowDay(w, kDay);
        const int row = w->lstLog->Rows() - 1;
        w->SynchExpLog(row);
        EXPECT_EQ(StoredState(id), c.state) << c.what;
        EXPECT_EQ(Cell(w, row, E::colChk), QString::number(c.state)) << c.what;
        EXPECT_TRUE(SamePicture(w->lstLog->CellPictureAt(row, E::colPic), res::Picture(QString::fromLatin1(c.picture))))
            << c.what;
        EXPECT_EQ(Status(), QStringLiteral(" ") + GetLangString(c.state == 1 ? 290 : 291, true)) << c.what;
        frmDailyExp::Unload();
        ++id;
    }
}

TEST_F(ExpensesUpload, NoServiceLeavesTheRowToBeSentAgain)
{
    qputenv("TARV_SERVICE_ENDPOINT", QByteArray("https://127.0.0.1:") + QByteArray::number(testsvc::ClosedPort()));
    AddExpense(1, kDay, 3);
    frmDailyExp *w = Open();
    ShowDay(w, kDay);
    w->SynchExpLog(0);
    EXPECT_EQ(StoredState(1), 2);
    EXPECT_EQ(Cell(w, 0, E::colChk), QStringLiteral("2"));
    EXPECT_EQ(Status(), QStringLiteral(" ") + GetLangString(291, true));
}

TEST_F(ExpensesUpload, ASentRowIsNeverSentTwiceAndARowWithoutIdNotAtAll)
{
    ServiceProcess svc;
    Start(svc);
    AddExpense(1, kDay, 0);
    frmDailyExp *w = Open();
    ShowDay(w, kDay);
    // The bulk upload sent it meanwhile; the grid still shows it unsent.
    DB->Execute(QStringLiteral("UPDATE tblDailyExp SET cChk = 1 WHERE cID = 1"));
    ASSERT_EQ(Cell(w, 0, E::colChk), QStringLiteral("0"));
    w->SynchExpLog(0);
    int sent = 0;
    LastExpenseBody(svc, &sent);
    EXPECT_EQ(sent, 0);
    EXPECT_EQ(Cell(w, 0, E::colChk), QStringLiteral("1"));
    EXPECT_TRUE(SamePicture(w->lstLog->CellPictureAt(0, E::colPic), res::Picture(QStringLiteral("CHECK"))));
    // And a sent row is read-only: its edit is refused and the stored row stays.
    w->lstLog->SetRow(0);
    w->lstLog_Click();
    EXPECT_FALSE(w->txtAmount->isEnabled());

    // A new row has nothing stored to send.
    w->AddNewExp();
    const int row = w->lstLog->Row();
    w->SynchExpLog(row);
    LastExpenseBody(svc, &sent);
    EXPECT_EQ(sent, 0);
    EXPECT_EQ(Status(), QStringLiteral(" ") + GetLangString(289, true) + QStringLiteral(" ") + QString::number(row) +
                            QStringLiteral("..."));
}

TEST_F(ExpensesUpload, OnlyASaveThatWroteTheRowSendsItAtOnce)
{
    ServiceProcess svc;
    Start(svc);
    qputenv("TARV_ONLINE", "1");
    AutoSynch = 1;
    frmDailyExp *w = Open();
    Fill(w, QStringLiteral("Shop"), QStringLiteral("Design"), 0, QStringLiteral("4.20"), QString(), QStringLiteral("x"));
    w->btnSave_Click();
    int sent = 0;
    EXPECT_TRUE(LastExpenseBody(svc, &sent).contains(QStringLiteral("&amount=4.20&")));
    EXPECT_EQ(sent, 1);
    EXPECT_EQ(StoredState(1), 1);
    ASSERT_EQ(w->lstLog->Rows(), 1);
    EXPECT_EQ(Cell(w, 0, E::colChk), QStringLiteral("1"));

    // With automatic sending off, a saved row stays unsent.
    AutoSynch = 0;
    w->AddNewExp();
    Fill(w, QStringLiteral("Kiosk"), QStringLiteral("Design"), 0, QStringLiteral("2.00"));
    w->btnSave_Click();
    EXPECT_EQ(StoredState(2), 0);
    LastExpenseBody(svc, &sent);
    EXPECT_EQ(sent, 1);

    // A save that fails sends nothing.
    AutoSynch = 1;
    w->AddNewExp();
    Fill(w, QStringLiteral("Shop"), QStringLiteral("Design"), 0, QStringLiteral("1.00"));
    DB->Close();
    frametest::BoxWatcher boxes;
    w->btnSave_Click();
    EXPECT_EQ(boxes.Boxes().size(), 1u);
    LastExpenseBody(svc, &sent);
    EXPECT_EQ(sent, 1);
    qputenv("TARV_ONLINE", "0");
}

namespace {

// Keys as the keyboard sends them into a box.
void TypeInto(QWidget *target, const QString &keys)
{
    for (QChar c : keys) {
        QKeyEvent press(QEvent::KeyPress, c.toUpper().unicode(), Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, c.toUpper().unicode(), Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &release);
    }
}

// Opens and closes the Synch menu as a person does before choosing an entry: its entries
// take their states on opening (a request under way disables them until then).
void OpenSynchMenu(frmDailyExp *w)
{
    w->mnuSynch->popup(QPoint(0, 0));
    QApplication::processEvents();
    w->mnuSynch->hide();
}

} // namespace

// What a person types into the amount box, what the box shows once left, what is stored and
// what the service receives, in each language's number form.
TEST_F(ExpensesUpload, TypedAmountsAreStoredInTheLocalesFormAndSentWithAPoint)
{
    ServiceProcess svc;
    Start(svc);
    IsConnected = true;
    const struct {
        QLocale::Language language;
        QLocale::Territory territory;
        const char *typed;
        const char *box;
        const char *sent;
    } cases[] = {
        {QLocale::English, QLocale::UnitedStates, "1234,5", "1,234.50", "1234.50"},
        {QLocale::English, QLocale::UnitedStates, ".5", "0.50", "0.50"},
        {QLocale::English, QLocale::UnitedStates, "12x", "12.00", "12.00"},
        {QLocale::Greek, QLocale::Greece, "1234.5", "1.234,50", "1234.50"},
        {QLocale::Greek, QLocale::Greece, "0,75", "0,75", "0.75"},
        {QLocale::French, QLocale::France, "1000000.1", "1.000.000,10", "1000000.10"},
        {QLocale::French, QLocale::France, ",5", "0,50", "0.50"},
        {QLocale::German, QLocale::Germany, "12", "12,00", "12.00"},
        {QLocale::German, QLocale::Germany, "99.99", "99,99", "99.99"},
    };
    int id = 0;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.typed);
        InitSeparators(QLocale(c.language, c.territory));
        frmDailyExp *w = Open();
        // Today shows the rows of the cases before, all sent: the new expense gets a row of its own.
        if (w->lstLog->Row() < 0 || !Cell(w, w->lstLog->Row(), E::colID).isEmpty())
            w->btnAdd->click();
        ASSERT_TRUE(w->txtAmount->isEnabled());
        Fill(w, QStringLiteral("Shop"), QStringLiteral("Design"), 0, QString());
        w->txtAmount->clear();
        TypeInto(w->txtAmount, QString::fromLatin1(c.typed));
        w->txtAmount_LostFocus();
        EXPECT_EQ(w->txtAmount->text(), QString::fromUtf8(c.box));
        w->btnSave->click();
        ++id;
        EXPECT_EQ(Scalar(QStringLiteral("SELECT cAmount FROM tblDailyExp WHERE cID = ?"), {id}).toString(),
                  QString::fromUtf8(c.box));
        // Sent from the Synch menu, the row selected.
        const int row = w->lstLog->Rows() - 1;
        w->lstLog->SetRow(row);
        w->lstLog_Click();
        w->mnuSynch->popup(QPoint(0, 0));
        QApplication::processEvents();
        w->mnuSynch->hide();
        ASSERT_TRUE(w->mnuSynch_Item->isEnabled());
        w->mnuSynch_Item->trigger();
        EXPECT_TRUE(LastExpenseBody(svc).contains(QStringLiteral("&amount=") + QString::fromLatin1(c.sent) + u'&'))
            << LastExpenseBody(svc).toStdString();
        EXPECT_EQ(StoredState(id), 1);
        frmDailyExp::Unload();
    }
    IsConnected = false;
}

// The day goes from the Synch menu: every saved row not accepted yet, the new and the edited
// ones staying; the count on the status line; nothing to send says so.
TEST_F(ExpensesUpload, TheDayIsSentFromTheSynchMenu)
{
    ServiceProcess svc;
    Start(svc);
    IsConnected = true;
    AddExpense(1, kDay, 0, QStringLiteral("New"));
    AddExpense(2, kDay, 1, QStringLiteral("Accepted"));
    AddExpense(3, kDay, 2, QStringLiteral("Resend"));
    AddExpense(4, kDay, 3, QStringLiteral("Rejected"));
    AddExpense(5, kDay, 0, QStringLiteral("Edited"));
    frmDailyExp *w = Open();
    ShowDay(w, kDay);
    ASSERT_EQ(w->lstLog->Rows(), 5);
    w->lstLog->SetRow(4);
    w->lstLog_Click();
    w->txtPayee->setText(QStringLiteral("Edited again"));
    w->btnAdd->click();
    ASSERT_EQ(w->lstLog->Rows(), 6);

    OpenSynchMenu(w);
    ASSERT_TRUE(w->mnuSynch_Day->isEnabled());
    w->mnuSynch_Day->trigger();
    int sent = 0;
    LastExpenseBody(svc, &sent);
    EXPECT_EQ(sent, 3);
    for (double id : {1.0, 2.0, 3.0, 4.0})
        EXPECT_EQ(StoredState(id), 1) << id;
    EXPECT_EQ(StoredState(5), 0);
    EXPECT_EQ(Status(), QStringLiteral(" ") + GetLangString(331, true) + QStringLiteral(" 3"));
    for (int r = 0; r < 4; ++r)
        EXPECT_TRUE(SamePicture(w->lstLog->CellPictureAt(r, E::colPic), res::Picture(QStringLiteral("CHECK")))) << r;
    // The edit is kept in the grid, unsent.
    EXPECT_EQ(Cell(w, 4, E::colPayee), QStringLiteral("Edited again"));

    // Saved, the edited row goes too; then there is nothing left.
    w->lstLog->SetRow(4);
    w->lstLog_Click();
    w->btnSave->click();
    OpenSynchMenu(w);
    w->mnuSynch_Day->trigger();
    LastExpenseBody(svc, &sent);
    EXPECT_EQ(sent, 4);
    EXPECT_EQ(Status(), QStringLiteral(" ") + GetLangString(331, true) + QStringLiteral(" 1"));
    OpenSynchMenu(w);
    w->mnuSynch_Day->trigger();
    EXPECT_EQ(Status(), QStringLiteral(" ") + GetLangString(330, true));
    IsConnected = false;
}
