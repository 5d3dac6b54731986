// The day calendar over a real database: today, a day after today, a day with entries in each
// caller's table, parked timers, Cancel, and the look-up of days with entries itself. The
// calendar runs modally for real; the test drives it from inside its own event loop and every
// message box it opens is recorded and closed.
#include "tests/store_queries/StoreFixture.h"
#include "tests/support/BoxWatcher.h"

#include "core/FMessage.h"
#include "platform/forms/Label.h"
#include "timelog/frmCal.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QDate>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <functional>
#include <memory>

namespace {

using storetest::StoreFixture;

class Calendar : public StoreFixture {
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
        today = QDate::currentDate();
        daily = std::make_unique<QWidget>();
        daily->setObjectName(QStringLiteral("frmDaily"));
        expenses = std::make_unique<QWidget>();
        expenses->setObjectName(QStringLiteral("frmDailyExp"));
        lblDay = new forms::Label(daily.get());
        lblDay->setObjectName(QStringLiteral("lblDay"));
        boxWatch = std::make_unique<testenv::BoxWatcher>();
    }

    void TearDown() override
    {
        boxWatch.reset();
        frmCal::Unload();
        StoreFixture::TearDown();
    }

    // Opens the calendar for caller and runs script inside its modal loop; the script ends by
    // closing it. Returns what PickDay returned.
    bool Pick(QWidget *caller, const std::function<void(frmCal *)> &script)
    {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            auto *cal = frmCal::Peek();
            ASSERT_TRUE(cal);
            ASSERT_TRUE(testenv::WaitFor([&] { return cal->isVisible(); }));
            ran = true;
            script(cal);
            // Whatever the script left open is cancelled, so the test never hangs.
            if (frmCal::Peek() && frmCal::Peek()->isVisible())
                frmCal::Peek()->btnCancel->click();
        });
        const bool accepted = frmCal::PickDay(caller, lblDay);
        EXPECT_TRUE(ran);
        return accepted;
    }

    // The day grid of the calendar: the arrow keys move the selection one day.
    static void Key(frmCal *cal, Qt::Key key)
    {
        auto *view = cal->MyCal->findChild<QTableView *>();
        ASSERT_TRUE(view);
        QTest::keyClick(view, key);
    }

    static QString Stripped(QString text) { return text.remove(QLatin1Char('\r')); }
    static QString Text(int id) { return modMain::GetLangString(int16_t(id), false).remove(QLatin1Char('\r')); }
    static int Key(const QDate &d) { return modMain::DateToLong(d); }

    QDate today;
    std::unique_ptr<QWidget> daily;
    std::unique_ptr<QWidget> expenses;
    forms::Label *lblDay = nullptr;
    // Every message box is recorded and closed with its OK button.
    std::unique_ptr<testenv::BoxWatcher> boxWatch;
    const std::vector<testenv::BoxWatcher::Box> &boxes() const { return boxWatch->boxes; }
    void ClearBoxes() { boxWatch->boxes.clear(); }
};

} // namespace

TEST_F(Calendar, TodayIsAcceptedIntoTheDayLabel)
{
    QSignalSpy change(lblDay, &forms::Label::Change);
    const bool accepted = Pick(daily.get(), [&](frmCal *cal) {
        // An empty day label opens the calendar on today.
        EXPECT_EQ(cal->MyCal->selectedDate(), today);
        EXPECT_EQ(cal->windowTitle(), QStringLiteral("Select a Day"));
        cal->btnOK->click();
    });
    EXPECT_TRUE(accepted);
    EXPECT_EQ(lblDay->Caption(), modMain::ShortDateText(today));
    EXPECT_EQ(change.count(), 1);
    EXPECT_TRUE(boxes().empty());
    EXPECT_EQ(frmCal::Peek(), nullptr);
}

TEST_F(Calendar, ADayAfterTodayIsRefusedOnTheClickAndOnOK)
{
    Pick(daily.get(), [&](frmCal *cal) {
        Key(cal, Qt::Key_Right);   // tomorrow
        EXPECT_EQ(cal->MyCal->selectedDate(), today);
        ASSERT_EQ(boxes().size(), 1u);
        EXPECT_EQ(Stripped(boxes()[0].text), Text(365));
        EXPECT_EQ(boxes()[0].icon, 16);
    });
    EXPECT_TRUE(lblDay->Caption().isEmpty());

    // A label that already holds tomorrow opens on it; OK refuses it and the window stays.
    ClearBoxes();
    lblDay->SetCaption(modMain::ShortDateText(today.addDays(1)));
    QSignalSpy change(lblDay, &forms::Label::Change);
    const bool accepted = Pick(expenses.get(), [&](frmCal *cal) {
        EXPECT_EQ(cal->MyCal->selectedDate(), today.addDays(1));
        cal->btnOK->click();
        ASSERT_EQ(boxes().size(), 1u);
        EXPECT_EQ(Stripped(boxes()[0].text), Text(365));
        EXPECT_EQ(boxes()[0].icon, 16);
        EXPECT_TRUE(cal->isVisible());
    });
    EXPECT_FALSE(accepted);
    EXPECT_EQ(change.count(), 0);
}

TEST_F(Calendar, ADayWithTimeLogEntriesIsRefusedToTheDailyLogOnly)
{
    const QDate yesterday = today.addDays(-1);
    AddDaily(1, 1, Key(yesterday));
    // Refused to the daily log on the click.
    Pick(daily.get(), [&](frmCal *cal) {
        Key(cal, Qt::Key_Left);
        EXPECT_EQ(cal->MyCal->selectedDate(), today);
        ASSERT_EQ(boxes().size(), 1u);
        EXPECT_EQ(Stripped(boxes()[0].text), Text(371));
        EXPECT_EQ(boxes()[0].icon, 64);
    });
    EXPECT_TRUE(lblDay->Caption().isEmpty());
    // Accepted by the expenses editor, which has no expenses that day.
    ClearBoxes();
    const bool accepted = Pick(expenses.get(), [&](frmCal *cal) {
        Key(cal, Qt::Key_Left);
        EXPECT_EQ(cal->MyCal->selectedDate(), yesterday);
        cal->btnOK->click();
    });
    EXPECT_TRUE(accepted);
    EXPECT_TRUE(boxes().empty());
    EXPECT_EQ(lblDay->Caption(), modMain::ShortDateText(yesterday));
}

TEST_F(Calendar, ADayWithExpensesIsRefusedToTheExpensesEditorOnly)
{
    const QDate before = today.addDays(-3);
    AddExp(1, 1, Key(before));
    lblDay->SetCaption(modMain::ShortDateText(before));
    // Opened on that day, OK refuses it with the plain box and the window stays.
    Pick(expenses.get(), [&](frmCal *cal) {
        EXPECT_EQ(cal->MyCal->selectedDate(), before);
        cal->btnOK->click();
        ASSERT_EQ(boxes().size(), 1u);
        EXPECT_EQ(Stripped(boxes()[0].text), Text(371));
        EXPECT_EQ(boxes()[0].icon, 0);
        EXPECT_TRUE(cal->isVisible());
        // Moving to it again by the keyboard is refused with the information icon.
        Key(cal, Qt::Key_Right);
        Key(cal, Qt::Key_Left);
        EXPECT_EQ(cal->MyCal->selectedDate(), before.addDays(1));
        ASSERT_EQ(boxes().size(), 2u);
        EXPECT_EQ(boxes()[1].icon, 64);
    });
    EXPECT_EQ(lblDay->Caption(), modMain::ShortDateText(before));
    // The daily log has no entries that day.
    ClearBoxes();
    EXPECT_TRUE(Pick(daily.get(), [&](frmCal *cal) { cal->btnOK->click(); }));
    EXPECT_TRUE(boxes().empty());
}

TEST_F(Calendar, OnlyTheCurrentUsersRecordedEntriesCount)
{
    const QDate day = today.addDays(-2);
    AddDaily(1, 2, Key(day));     // another user's entry
    AddExp(1, 2, Key(day));       // and expense
    // A timer left parked at the end of a run.
    Exec(QStringLiteral("INSERT INTO tblDaily VALUES (2, 1, 'timer', 2, 32400, 60, ?, 7, 8, 0)"), {double(Key(day))});
    lblDay->SetCaption(modMain::ShortDateText(day));
    EXPECT_TRUE(Pick(daily.get(), [&](frmCal *cal) { cal->btnOK->click(); }));
    EXPECT_TRUE(Pick(expenses.get(), [&](frmCal *cal) { cal->btnOK->click(); }));
    EXPECT_TRUE(boxes().empty());

    using modDBchr::DayEntries;
    EXPECT_FALSE(modDBchr::DayHasEntries(Key(day), DayEntries::TimeLog));
    EXPECT_FALSE(modDBchr::DayHasEntries(Key(day), DayEntries::Expenses));
    AddDaily(3, 1, Key(day));
    AddExp(3, 1, Key(day));
    EXPECT_TRUE(modDBchr::DayHasEntries(Key(day), DayEntries::TimeLog));
    EXPECT_TRUE(modDBchr::DayHasEntries(Key(day), DayEntries::Expenses));
    EXPECT_FALSE(modDBchr::DayHasEntries(Key(day.addDays(1)), DayEntries::TimeLog));
    // A database that cannot answer has no entries to refuse.
    modMain::DB->Close();
    EXPECT_FALSE(modDBchr::DayHasEntries(Key(day), DayEntries::TimeLog));
}

TEST_F(Calendar, CancelLeavesTheDayAsItWas)
{
    const QDate before = today.addDays(-5);
    lblDay->SetCaption(modMain::ShortDateText(before));
    QSignalSpy change(lblDay, &forms::Label::Change);
    const bool accepted = Pick(daily.get(), [&](frmCal *cal) {
        Key(cal, Qt::Key_Left);
        EXPECT_EQ(cal->MyCal->selectedDate(), before.addDays(-1));
        cal->btnCancel->click();
    });
    EXPECT_FALSE(accepted);
    EXPECT_EQ(lblDay->Caption(), modMain::ShortDateText(before));
    EXPECT_EQ(change.count(), 0);
    EXPECT_TRUE(boxes().empty());
    EXPECT_EQ(frmCal::Peek(), nullptr);
}

TEST_F(Calendar, BrowsingTheMonthsRefusesNothing)
{
    // The same day a month ago has entries: paging back to its month must not be taken as a
    // pick of that day.
    const QDate monthAgo = today.addMonths(-1);
    AddDaily(1, 1, Key(monthAgo));
    Pick(daily.get(), [&](frmCal *cal) {
        auto *back = cal->MyCal->findChild<QToolButton *>(QStringLiteral("qt_calendar_prevmonth"));
        ASSERT_TRUE(back);
        back->click();
        QApplication::processEvents();
        EXPECT_EQ(cal->MyCal->monthShown(), monthAgo.month());
        EXPECT_TRUE(boxes().empty());
        auto *forward = cal->MyCal->findChild<QToolButton *>(QStringLiteral("qt_calendar_nextmonth"));
        ASSERT_TRUE(forward);
        forward->click();
        forward->click();
        QApplication::processEvents();
        EXPECT_EQ(cal->MyCal->monthShown(), today.addMonths(1).month());
        EXPECT_TRUE(boxes().empty());
        EXPECT_EQ(cal->MyCal->selectedDate(), today);
    });
}
