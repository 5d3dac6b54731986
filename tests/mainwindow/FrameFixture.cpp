#include "tests/mainwindow/FrameFixture.h"

#include "core/FMessage.h"
#include "core/frmLogin.h"
#include "core/frmMain.h"
#include "core/modMain.h"
#include "core/modMain_ShutDown.h"
#include "expenses/frmDailyExp.h"
#include "options_help/frmHlp.h"
#include "options_help/frmOptions.h"
#include "options_help/frmVideo.h"
#include "platform/dao/dao.h"
#include "recorder/frmLoad.h"
#include "recorder/frmStart.h"
#include "store/modDBchr.h"
#include "sync/frmSynch.h"
#include "tests/support/TestEnv.h"
#include "timelog/frmDaily.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>

namespace frametest {

BoxWatcher::BoxWatcher() : m_timer(new QTimer)
{
    m_timer->setInterval(10);
    QObject::connect(m_timer, &QTimer::timeout, [this] {
        auto *box = qobject_cast<FMessage *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        Box seen;
        seen.text = box->lblMessage->text();
        seen.text.remove(QLatin1Char('\r'));
        seen.icon = box->Icon();
        QPushButton *button = nullptr;
        if (!m_answers.empty()) {
            button = box->findChild<QPushButton *>(m_answers.front());
            m_answers.pop_front();
        } else {
            for (QPushButton *b : box->cmdButton)
                if (b && b->isVisible()) {
                    button = b;
                    break;
                }
        }
        seen.pressed = button ? button->objectName() : QString();
        m_boxes.push_back(seen);
        if (button)
            button->click();
        else
            box->done(0);
    });
    m_timer->start();
}

BoxWatcher::~BoxWatcher()
{
    delete m_timer;
}

void FrameTest::SetUp()
{
    using namespace modMain;
    qputenv("TARV_NO_PAUSES", "1");
    m_dir = testenv::MakeTempDir(QStringLiteral("prog"));
    qputenv("TARV_PROGRAM_DIR", m_dir.toLocal8Bit());
    qputenv("TARV_LOGON_NAME", "maria");
    qputenv("TARV_ONLINE", "0");
    // No service answers here: a request fails at once.
    qputenv("TARV_SERVICE_ENDPOINT", "http://127.0.0.1:9");
    ASSERT_TRUE(QFile::copy(QStringLiteral(TARV_SOURCE_DIR "/data/StringTables.csv"), m_dir + "/StringTables.csv"));
    ASSERT_TRUE(LoadLangTable());

    LangID = 0;
    PrevLangID = 0;
    AutoStart = 1;
    ShowBalloons = 1;
    TimerRunning = false;
    IsConnected = false;
    FormLoaded.fill(false);
    PCUserName = QStringLiteral("maria");
    UserFullName = QStringLiteral("Maria O'Brien");
    StoredUserName = QStringLiteral("x1");
    StoredPassword = QStringLiteral("x2");
    ASSERT_EQ(modDBchr::CreateDB(m_dir + "/Tarv.crn"), 0);
    CurrentUserID = modDBchr::CreateUser();
    ASSERT_GT(CurrentUserID, 0);
    SetEndProcess([this] { ++m_ended; });
}

void FrameTest::TearDown()
{
    using namespace modMain;
    frmVideo::Unload();
    frmOptions::Unload();
    frmHlp::Unload();
    frmSynch::Unload();
    frmLoad::Unload();
    frmDailyExp::Unload();
    frmDaily::Unload();
    frmLogin::Unload();
    frmStart::Unload();
    frmMain::Unload();
    if (DB)
        DB->Close();
    DB.reset();
    SetEndProcess({});
    FormLoaded.fill(false);
    TimerRunning = false;
    QApplication::processEvents();
}

void FrameTest::AddReferenceData(bool withExpenses)
{
    modDBchr::SaveProject(1, QStringLiteral("Alpha"), withExpenses ? QStringLiteral("TRUE") : QStringLiteral("FALSE"));
    modDBchr::SaveTask(10, QStringLiteral("Design"), 1, withExpenses ? QStringLiteral("TRUE") : QStringLiteral("FALSE"));
    modDBchr::SaveCategory(100, QStringLiteral("Drawing"), 10);
    modDBchr::SaveCategory(101, QStringLiteral("Meetings"), 10);
}

namespace {

void Send(QWidget *w, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    const QPointF local(w->width() / 2.0, w->height() / 2.0);
    QMouseEvent e(type, local, w->mapToGlobal(local), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

} // namespace

void Press(QWidget *w)
{
    Send(w, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton);
}

void Release(QWidget *w)
{
    Send(w, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton);
}

void Move(QWidget *w)
{
    Send(w, QEvent::MouseMove, Qt::NoButton, Qt::NoButton);
}

void Click(QWidget *w)
{
    Press(w);
    Release(w);
}

bool SamePicture(const QPixmap &a, const QPixmap &b)
{
    if (a.isNull() || b.isNull())
        return false;
    return a.toImage().convertToFormat(QImage::Format_ARGB32) == b.toImage().convertToFormat(QImage::Format_ARGB32);
}

QString BoxText(int16_t id)
{
    QString t = modMain::GetLangString(id);
    t.remove(QLatin1Char('\r'));
    return t;
}

} // namespace frametest
