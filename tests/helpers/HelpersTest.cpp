// The main module's shared helpers: the overlap check of a time span (with its real message
// boxes), the two day and project queries, list and tree look-ups, window placement, the help
// page, opening files and the fixed pause.
#include "tests/store_queries/StoreFixture.h"
#include "tests/support/BoxWatcher.h"

#include "core/FMessage.h"
#include "platform/forms/ComboBox.h"
#include "platform/forms/TreeView.h"

#include <QApplication>
#include <QDate>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

#include <memory>

class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl &url) { urls << url; }
};

namespace {

using modMain::CurrentUserID;
using storetest::StoreFixture;

using testenv::BoxWatcher;

class Overlap : public StoreFixture {
protected:
    static void SetUpTestSuite()
    {
        StoreFixture::SetUpTestSuite();
        modMain::LoadLangTable(QStringLiteral(TARV_SOURCE_DIR "/data/StringTables.csv"));
        modMain::LangID = 0;
    }
    void SetUp() override
    {
        StoreFixture::SetUp();
        AddDaily(5, 1, kDay, 9 * 3600, 3600);   // 09:00-10:00
    }
    static constexpr int kDay = 20240105;
};

TEST_F(Overlap, TheFirstRuleThatHoldsDecidesAndTellsThePerson)
{
    const double h = 3600;
    const struct {
        const char *what;
        double start, end;
        int rule;
        int icon;
        int msg;
    } cases[] = {
        {"after, touching the end", 10 * h, 11 * h, 0, 0, 0},
        {"before, touching the start", 8 * h, 9 * h, 0, 0, 0},
        // A timer starting the moment the last one was stopped and saved.
        {"an instant at the end", 10 * h, 10 * h, 0, 0, 0},
        {"an instant before", 8 * h, 8 * h, 0, 0, 0},
        {"an instant at the start", 9 * h, 9 * h, 1, 16, 1003},
        {"start inside", 9.5 * h, 9.75 * h, 1, 16, 1003},
        {"start on the entry's start", 9 * h, 11 * h, 1, 16, 1003},
        {"an instant inside", 9.5 * h, 9.5 * h, 1, 16, 1003},
        {"end inside", 8 * h, 9.5 * h, 2, 0, 1004},
        {"end on the entry's end", 8 * h, 10 * h, 2, 0, 1004},
        {"covers it", 8 * h, 11 * h, 3, 0, 1005},
        {"backwards span inside", 10.5 * h, 8 * h, 4, 0, 1006},
    };
    for (const auto &c : cases) {
        BoxWatcher watch;
        const int16_t rule = modDBchr::CheckTimeOverlap(kDay, c.start, c.end, -1);
        EXPECT_EQ(rule, c.rule) << c.what;
        if (c.rule == 0) {
            EXPECT_TRUE(watch.boxes.empty()) << c.what;
            continue;
        }
        ASSERT_EQ(watch.boxes.size(), 1u) << c.what;
        EXPECT_EQ(watch.boxes[0].text.remove('\r'), modMain::GetLangString(c.msg, false).remove('\r')) << c.what;
        EXPECT_EQ(watch.boxes[0].icon, c.icon) << c.what;
    }
}

TEST_F(Overlap, OnlyOtherEntriesOfThisUserOnThatDayCount)
{
    AddDaily(6, 2, kDay, 12 * 3600, 3600);        // another user's 12:00-13:00
    AddDaily(7, 1, kDay + 1, 12 * 3600, 3600);    // the next day's 12:00-13:00
    BoxWatcher watch;
    EXPECT_EQ(modDBchr::CheckTimeOverlap(kDay, 12.25 * 3600, 12.5 * 3600, -1), 0);
    // Editing the day's only entry: it never matches itself, and the day has no other entry.
    EXPECT_EQ(modDBchr::CheckTimeOverlap(kDay, 9.25 * 3600, 9.5 * 3600, 5), -1);
    // An empty day.
    EXPECT_EQ(modDBchr::CheckTimeOverlap(20240301, 0, 3600, -1), -1);
    EXPECT_TRUE(watch.boxes.empty());

    // The entries are taken in start order: the earliest one that matches decides.
    AddDaily(8, 1, kDay, 7 * 3600, 3600);   // 07:00-08:00
    EXPECT_EQ(modDBchr::CheckTimeOverlap(kDay, 7.5 * 3600, 9.5 * 3600, -1), 1);
    ASSERT_EQ(watch.boxes.size(), 1u);
}

TEST_F(Overlap, AcrossMidnightTheEarlierAndTheNextDaysEntriesCount)
{
    const double h = 3600;
    // A timer segment of the day before, stored there with its whole length: 23:00 to 01:00.
    AddDaily(10, 1, kDay - 1, 23 * h, 2 * h);
    // The next day's 00:15 - 00:45.
    AddDaily(11, 1, kDay + 1, 0.25 * h, 0.5 * h);
    const struct {
        const char *what;
        int32_t day;
        double start, end;
        int rule;
    } cases[] = {
        {"inside the earlier day's part past midnight", kDay, 0.25 * h, 0.75 * h, 1},
        {"an instant there", kDay, 0.5 * h, 0.5 * h, 1},
        {"touching its end", kDay, 1 * h, 2 * h, 0},
        {"a span past 24:00 over the next day's entry", kDay, 23.5 * h, 24.5 * h, 2},
        {"a span past 24:00 covering it", kDay, 23.5 * h, 25 * h, 3},
        {"a span ending at the next day's entry", kDay, 23.5 * h, 24.25 * h, 0},
        // Seen from the day it was stored on, the segment is that day's own.
        {"the day before, into the segment", kDay - 1, 22 * h, 23.5 * h, 2},
    };
    for (const auto &c : cases) {
        BoxWatcher watch;
        EXPECT_EQ(modDBchr::CheckTimeOverlap(c.day, c.start, c.end, -1), c.rule) << c.what;
        EXPECT_EQ(watch.boxes.size(), c.rule == 0 ? 0u : 1u) << c.what;
    }
    // The segment itself, edited on its own day, meets only others.
    BoxWatcher watch;
    EXPECT_EQ(modDBchr::CheckTimeOverlap(kDay - 1, 23 * h, 25 * h, 10), -1);
    EXPECT_TRUE(watch.boxes.empty());
}

TEST_F(Overlap, ADatabaseFailureReachesTheCaller)
{
    modMain::DB->Close();
    EXPECT_THROW(modDBchr::CheckTimeOverlap(kDay, 0, 1, -1), dao::DaoError);
}

using Queries = StoreFixture;

TEST_F(Queries, DayHasRecordsLooksAtThisUsersRowsOfThatDay)
{
    AddDaily(1, 1, 20240105);
    AddDaily(2, 2, 20240106);
    AddExp(1, 1, 20240107);
    EXPECT_TRUE(modMain::DayHasRecords(20240105, QStringLiteral("tblDaily")));
    EXPECT_FALSE(modMain::DayHasRecords(20240106, QStringLiteral("tblDaily")));
    EXPECT_FALSE(modMain::DayHasRecords(20240107, QStringLiteral("tblDaily")));
    EXPECT_TRUE(modMain::DayHasRecords(20240107, QStringLiteral("tblDailyExp")));
    EXPECT_FALSE(modMain::DayHasRecords(20240105, QStringLiteral("tblNoSuchTable")));
    modMain::DB->Close();
    EXPECT_FALSE(modMain::DayHasRecords(20240105, QStringLiteral("tblDaily")));
}

TEST_F(Queries, CountExpenseProjectsNeedsOneProjectOfThisUserThatAllowsExpenses)
{
    EXPECT_FALSE(modMain::CountExpenseProjects());
    Exec("INSERT INTO tblProjects VALUES (1, 1, 'No', 0, -1)");
    Exec("INSERT INTO tblProjects VALUES (2, 2, 'Theirs', 0, 0)");
    EXPECT_FALSE(modMain::CountExpenseProjects());
    Exec("INSERT INTO tblProjects VALUES (3, 1, 'Yes', 0, 0)");
    EXPECT_TRUE(modMain::CountExpenseProjects());
    modMain::DB->Close();
    EXPECT_FALSE(modMain::CountExpenseProjects());
}

// ---- lists and trees ---------------------------------------------------------------------

TEST(ComboHelpers, DateItemsAndLookUpsByTextAndData)
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    forms::ComboBox combo;
    EXPECT_EQ(modMain::AddDateItem(20240105, &combo), 0);
    EXPECT_EQ(modMain::AddDateItem(20231231, &combo), 1);
    EXPECT_EQ(modMain::AddDateItem(20240105, &combo), 2);   // no look for an existing item
    EXPECT_EQ(combo.List(0), QStringLiteral("1/5/2024"));
    EXPECT_EQ(combo.List(1), QStringLiteral("12/31/2023"));
    EXPECT_EQ(combo.ItemData(1), 20231231);
    EXPECT_EQ(combo.ListIndex(), -1);   // adding chooses nothing

    EXPECT_EQ(modMain::FindComboText(QStringLiteral("  12/31/2023 "), &combo), 1);
    EXPECT_EQ(modMain::FindComboText(QStringLiteral("1/5/2024"), &combo), 0);
    EXPECT_EQ(modMain::FindComboText(QStringLiteral("1/6/2024"), &combo), -1);
    EXPECT_EQ(modMain::FindComboData(20240105, &combo), 0);
    EXPECT_EQ(modMain::FindComboData(20231231, &combo), 1);
    EXPECT_EQ(modMain::FindComboData(1, &combo), -1);

    combo.AddItem(QStringLiteral("Greek"));
    EXPECT_EQ(modMain::FindComboText(QStringLiteral("greek"), &combo), -1);   // case counts
    EXPECT_EQ(modMain::FindComboText(QStringLiteral("Greek"), &combo), 3);

    // Dates as the lists show them read back into the same day.
    EXPECT_EQ(modMain::ShortDateToDate(modMain::ShortDateText(QDate(2031, 2, 3))), QDate(2031, 2, 3));
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(modMain::ShortDateText(QDate(2024, 1, 5)), QStringLiteral("05.01.2024"));
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

TEST(TreeHelpers, NodeLevelAndSelectionFollowTheTreeNotOnlyTheIndexOrder)
{
    forms::TreeView tree;
    using R = forms::TreeView::Relationship;
    forms::Node *p1 = tree.Add(nullptr, R::Last, {}, "P1");
    p1->SetTag("1");
    forms::Node *t1 = tree.Add(p1, R::Child, {}, "T1");
    t1->SetTag("10");
    forms::Node *p2 = tree.Add(nullptr, R::Last, {}, "P2");
    p2->SetTag("2");
    forms::Node *t2 = tree.Add(p2, R::Child, {}, "T2");
    t2->SetTag("10");
    forms::Node *c1 = tree.Add(t2, R::Child, {}, "C1");
    c1->SetTag("100");
    forms::Node *c2 = tree.Add(t1, R::Child, {}, "C2");   // added last, child of the first task
    c2->SetTag("100");

    EXPECT_EQ(modMain::NodeLevel(nullptr), 0);
    EXPECT_EQ(modMain::NodeLevel(p1), 0);
    EXPECT_EQ(modMain::NodeLevel(t2), 1);
    EXPECT_EQ(modMain::NodeLevel(c1), 2);

    // The first node tagged "10" is T1; its own child C2 is the one selected.
    modMain::SelectNodeByTag(&tree, "10", "100");
    EXPECT_EQ(tree.SelectedItem(), c2);
    EXPECT_TRUE(c2->Expanded());
    EXPECT_TRUE(p1->Expanded());
    EXPECT_FALSE(tree.isHidden());
}

// ---- windows -----------------------------------------------------------------------------

TEST(WindowHelpers, SetFormPosPlacesSizesAndStacksAndGetFormRectReadsItBack)
{
    QWidget w;
    w.setObjectName("frmHlp");
    w.show();
    ASSERT_TRUE(testenv::WaitFor([&] { return w.isVisible(); }));
    modMain::SetFormPos(&w, -1, 100, 120, 300, 200, 0);
    EXPECT_TRUE(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(w.isVisible());
    testenv::WaitFor([&] { return w.frameGeometry().topLeft() == QPoint(100, 120); }, 1000);
    modMain::GetFormRect(&w);
    EXPECT_EQ(modMain::FormRect.Left, 100);
    EXPECT_EQ(modMain::FormRect.Top, 120);
    EXPECT_EQ(modMain::FormRect.Right, 400);
    EXPECT_EQ(modMain::FormRect.Bottom, 320);

    // Keep size, place and stacking: nothing changes.
    modMain::SetFormPos(&w, -2, 0, 0, 10, 10, 0x1 | 0x2 | 0x4);
    EXPECT_TRUE(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    modMain::GetFormRect(&w);
    EXPECT_EQ(modMain::FormRect.Right, 400);
    modMain::SetFormPos(&w, -2, 0, 0, 0, 0, 0x1 | 0x2 | 0x80);
    EXPECT_FALSE(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(w.isVisible());
}

TEST(WindowHelpers, HelpPageAndShellOpenUseTheProgramFolder)
{
    const QString dir = testenv::MakeTempDir("prog");
    qputenv("TARV_PROGRAM_DIR", dir.toLocal8Bit());
    QWidget w;
    w.setObjectName("frmDaily");
    EXPECT_EQ(modMain::HelpPagePath(&w, 3), dir + "/hlp_frmDaily.htm");

    UrlCatcher catcher;
    QDesktopServices::setUrlHandler("file", &catcher, "open");
    QDesktopServices::setUrlHandler("https", &catcher, "open");
    modMain::ShellOpen(&w, "hlp_index.htm");
    modMain::ShellOpen(&w, "https://127.0.0.1/web/action.do?null");
    QDesktopServices::unsetUrlHandler("file");
    QDesktopServices::unsetUrlHandler("https");
    qunsetenv("TARV_PROGRAM_DIR");
    ASSERT_EQ(catcher.urls.size(), 2);
    EXPECT_EQ(catcher.urls[0].toLocalFile(), dir + "/hlp_index.htm");
    EXPECT_EQ(catcher.urls[1].toString(), "https://127.0.0.1/web/action.do?null");
}

TEST(WaitSecs, OneSecondReturnsAfterOneToTwoSecondsWithoutRunningTheEventLoop)
{
    qunsetenv("TARV_NO_PAUSES");
    bool fired = false;
    QTimer::singleShot(0, [&] { fired = true; });
    QElapsedTimer t;
    t.start();
    modMain::WaitSecs(1);
    const qint64 ms = t.elapsed();
    EXPECT_GE(ms, 1000);
    EXPECT_LE(ms, 2100);
    EXPECT_FALSE(fired);
    QApplication::processEvents();
    EXPECT_TRUE(fired);

    qputenv("TARV_NO_PAUSES", "1");
    t.restart();
    modMain::WaitSecs(5);
    EXPECT_LT(t.elapsed(), 500);
}

} // namespace

#include "HelpersTest.moc"
