#include "tests/timelog/DailyFixture.h"

#include "core/frmMain.h"
#include "core/modMain.h"
#include "platform/dao/dao.h"
#include "platform/forms/Forms.h"
#include "recorder/RecArr.h"
#include "tests/support/TestEnv.h"
#include "timelog/DailyRules.h"
#include "timelog/frmDaily.h"

#include <QApplication>
#include <QMouseEvent>

#include <QLineEdit>
#include <QPlainTextEdit>

using namespace modMain;

namespace dailytest {

void DailyTest::SetUp()
{
    FrameTest::SetUp();
    AddReferenceData(false);
    AutoSynch = 0;
    WorkDayStart = 9 * 3600;
    WorkDayEnd = 17 * 3600;
    m_today = DateToLong(QDate::currentDate());
    m_yesterday = DateToLong(QDate::currentDate().addDays(-1));
}

void DailyTest::TearDown()
{
    AutoSynch = 1;
    WorkDayStart = 32400;
    WorkDayEnd = 61200;
    RecStart = QDateTime();
    FrameTest::TearDown();
}

void DailyTest::Entry(double id, int32_t day, double start, double sec, const QString &comment, int chk, int started,
                      const QString &name)
{
    DB->Execute(QStringLiteral("INSERT INTO tblDaily (cName, cID, cUsrID, cStarted, cStarttime, cSec, cDate, cTaskID, "
                               "cCatID, cChk) VALUES (?, ?, ?, ?, ?, ?, ?, 10, 100, ?)"),
                dao::dbFailOnError, {name, id, CurrentUserID, started, start, sec, double(day), chk});
    if (!comment.isEmpty())
        DB->Execute(QStringLiteral("INSERT INTO tblDailyComments (cID, cUsrID, cComments) VALUES (?, ?, ?)"),
                    dao::dbFailOnError, {id, CurrentUserID, comment});
}

frmDaily *DailyTest::Open()
{
    frmMain *m = frmMain::Get();
    m->show();
    m->btn_MouseUp(1);
    testenv::WaitFor([] { return false; }, 30);
    return frmDaily::Peek();
}

void DailyTest::ShowDay(frmDaily *w, int32_t day)
{
    const int16_t i = FindComboData(day, w->cmbDays);
    ASSERT_GE(i, 0) << day;
    w->cmbDays->SetListIndex(i);
}

forms::Node *DailyTest::Category(frmDaily *w, const QString &tag)
{
    for (int i = 1; i <= w->MyTree->Count(); ++i)
        if (w->MyTree->Nodes(i)->Tag() == tag && NodeLevel(w->MyTree->Nodes(i)) == 2)
            return w->MyTree->Nodes(i);
    return nullptr;
}

void DailyTest::Edit(frmDaily *w, int r, const QString &start, const QString &end, const QString &comment)
{
    w->lstLog->SetRow(r);
    w->lstLog_Click();
    w->txtStart->setText(start);
    w->txtEnd->setText(end);
    w->txtComments->setPlainText(comment);
}

void DailyTest::ClickRow(frmDaily *w, int r)
{
    QWidget *vp = w->lstLog->viewport();
    const QPointF at = w->lstLog->visualRect(w->lstLog->model()->index(r, dailyrules::ColName)).center();
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent e(type, at, vp->mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(vp, &e);
    }
    ASSERT_EQ(w->lstLog->Row(), r);
}

QString DailyTest::Rows(frmDaily *w)
{
    using namespace dailyrules;
    QStringList out;
    for (int r = 0; r < w->lstLog->Rows(); ++r) {
        const auto cell = [&](int c) { return w->lstLog->TextMatrix(r, c); };
        out << (cell(ColTask).isEmpty() ? QStringLiteral("+") : QString()) + cell(ColStartText) + u'-'
                   + cell(ColEndText);
    }
    return out.join(u' ');
}

int DailyTest::Count(const QString &sql)
{
    auto rs = DB->OpenRecordset(sql);
    rs->MoveFirst();
    return rs->Value(0).toInt();
}

QString DailyTest::CommentOf(double id)
{
    auto rs = DB->OpenRecordset(QStringLiteral("SELECT cComments FROM tblDailyComments WHERE cID = ?"), dao::dbOpenDefault, {id});
    if (rs->RecordCount() == 0)
        return QStringLiteral("<none>");
    rs->MoveFirst();
    return rs->Value(0).toString();
}

} // namespace dailytest
