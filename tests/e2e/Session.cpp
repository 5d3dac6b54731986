// The sign-in of the first start and the first download, as both end-to-end tests begin.
#include "tests/e2e/Session.h"

namespace e2e {

// 1. The first start: the splash, the sign-in window as the progress screen of the database
// creation, the credentials typed twice, Authenticate, the full name, OK.
void Session::FirstStart()
{
    ASSERT_NO_FATAL_FAILURE(StartProgram(program));

    Expect(QStringLiteral("the splash with the product name and the version"), [](const UiMap &m) {
        return m.Text(QStringLiteral("frmSplash/Frame1/lblProduct")) == QStringLiteral("Tarvelo Desktop Companion")
               && m.Text(QStringLiteral("frmSplash/Frame1/lblVer")).contains(QRegularExpression(QStringLiteral("^Version \\d+\\.\\d+\\.\\d+$")));
    }, kLong);
    desk->Screenshot(step + QStringLiteral("-splash"));

    // After the creation the sign-in window welcomes the logon name; the database exists.
    const QString welcome = S(1010) + QStringLiteral(", ") + kLogon + QStringLiteral(" ") + S(1011);
    UiMap map = Expect(QStringLiteral("the sign-in window after the creation of the database"), [&](const UiMap &m) {
        const UiItem *ok = m.Widget(QStringLiteral("frmLogin/picFooter/btn_0"));
        return m.Text(QStringLiteral("frmLogin/frPCUser/txtPCUserName")) == kLogon && m.Text(QStringLiteral("frmLogin/frInfo/lblInfo")) == welcome
               && ok && !ok->enabled && m.Widget(QStringLiteral("frmLogin/picFooter/btn_1"))
               && m.Widget(QStringLiteral("frmLogin/picFooter/btn_1"))->enabled;
    }, kLong);
    EXPECT_FALSE(map.Widget(QStringLiteral("frmLogin/frMsg"))) << Why(QStringLiteral("the progress frame put away"), map);
    EXPECT_FALSE(map.Widget(QStringLiteral("frmMain"))) << Why(QStringLiteral("no main window before the sign-in"), map);
    EXPECT_TRUE(QFile::exists(programDir + QStringLiteral("/Tarv.crn"))) << "step " << step.toStdString();

    // The person types the account's name and the password twice.
    ASSERT_NO_FATAL_FAILURE(ClickWidget(QStringLiteral("frmLogin/fruser/txtUserName")));
    ASSERT_TRUE(desk->Type(kUser));
    ASSERT_NO_FATAL_FAILURE(ClickWidget(QStringLiteral("frmLogin/fruser/txtPassw")));
    ASSERT_TRUE(desk->Type(kPassword));
    ASSERT_NO_FATAL_FAILURE(ClickWidget(QStringLiteral("frmLogin/fruser/txtPasswR")));
    ASSERT_TRUE(desk->Type(kPassword));
    map = Expect(QStringLiteral("the typed credentials, the passwords masked"), [&](const UiMap &m) {
        return m.Text(QStringLiteral("frmLogin/fruser/txtUserName")) == kUser
               && m.Text(QStringLiteral("frmLogin/fruser/txtPassw")) == kPassword
               && m.Text(QStringLiteral("frmLogin/fruser/txtPasswR")) == kPassword;
    });
    desk->Screenshot(step + QStringLiteral("-credentials"));

    const int before = int(service.requests().size());
    ASSERT_NO_FATAL_FAILURE(ClickWidget(QStringLiteral("frmLogin/fruser/btnLogin")));
    const QString linked = S1(625) + QStringLiteral(" ") + kLogon + QStringLiteral(" ") + S1(628) + QStringLiteral(" ") + kFullName;
    map = Expect(QStringLiteral("the full name from the service and OK usable"), [&](const UiMap &m) {
        const UiItem *ok = m.Widget(QStringLiteral("frmLogin/picFooter/btn_0"));
        return m.Text(QStringLiteral("frmLogin/frInfo/lblResult_1")) == linked && ok && ok->enabled;
    }, kLong);
    EXPECT_EQ(map.Text(QStringLiteral("frmLogin/frInfo/lblResult_2")), S1(630)) << Why(QStringLiteral("the confirmation hint"), map);
    EXPECT_EQ(CountAction(RequestsSince(before), QStringLiteral("name")), 1) << "step " << step.toStdString() << ": one sign-in check";

    ASSERT_NO_FATAL_FAILURE(ClickWidget(QStringLiteral("frmLogin/picFooter/btn_0")));
    map = Expect(QStringLiteral("the main window with the timers window and the person's name"), [&](const UiMap &m) {
        return m.Widget(QStringLiteral("frmMain")) && m.Widget(QStringLiteral("frmMain/frame/mdi/frmStartSub/frmStart"))
               && !m.Widget(QStringLiteral("frmLogin"))
               && m.Text(QStringLiteral("frmMain/frame/PicUser/lblUser")) == QStringLiteral(" ") + S(627) + QStringLiteral(" ") + kFullName;
    }, kLong);
    EXPECT_EQ(map.Widget(QStringLiteral("frmMain"))->text, QStringLiteral("Tarvelo Desktop Companion")) << Why(QStringLiteral("the main window's title"), map);
}

// 2. The first activation of the timers window finds no categories: the notice, then the
// download fills the reference tables.
void Session::FirstDownload()
{
    const int before = int(service.requests().size());
    ASSERT_NO_FATAL_FAILURE(AnswerBox(73, QStringLiteral("btnOK"), step + QStringLiteral("-notice")));

    UiMap map = Expect(QStringLiteral("the synchronisation window reporting the stored download"), [&](const UiMap &m) {
        return m.Widget(QStringLiteral("frmSynch")) && m.Cell(QStringLiteral("frmSynch/lstLog"), S(846));
    }, kLong);
    const QList<QJsonObject> requests = RequestsSince(before);
    EXPECT_EQ(CountAction(requests, QStringLiteral("projects")), 1) << "step " << step.toStdString();
    EXPECT_EQ(CountAction(requests, QStringLiteral("expenses")), 1) << "step " << step.toStdString();
    desk->Screenshot(step + QStringLiteral("-log"));

    // The person closes the window; the timers window is the active one again.
    ASSERT_NO_FATAL_FAILURE(ClickWidget(QStringLiteral("frmSynch/picFooter/btnExit")));
    Expect(QStringLiteral("the synchronisation window closed"), [](const UiMap &m) { return !m.Widget(QStringLiteral("frmSynch")); });
}

// The categories of picks loaded into the timers window with the task loader (each pick's
// project, task and category, as the download stored them).
void Session::LoadTimers(const QList<Pick> &picks)
{
    // The task loader lists what the download stored.
    ASSERT_NO_FATAL_FAILURE(ClickWidget(QStringLiteral("frmStart/btnLoad")));
    UiMap map = Expect(QStringLiteral("the task loader with the four projects of the account"), [](const UiMap &m) {
        QStringList tops;
        for (const UiItem &r : m.TreeRows(kLoaderTree))
            if (r.depth == 0)
                tops << r.text;
        tops.sort();
        return tops == QStringList{QStringLiteral("Café Lumière – rebranding"), QStringLiteral("Internal – administration"),
                                   QStringLiteral("O'Neill & Söhne – audit"), QStringLiteral("Ξενοδοχείο Αιγαίο – νέος ιστότοπος")};
    });
    ASSERT_FALSE(HasFailure());
    // The loader's View menu is found by its caption.
    ASSERT_NO_FATAL_FAILURE(ChooseMenu(S1(907), QStringLiteral("mnuView_Expand")));
    map = Expect(QStringLiteral("the loader's tree expanded"), [&picks](const UiMap &m) {
        for (const Pick &p : picks)
            if (!m.TreeRow(kLoaderTree, p.Path()).has_value())
                return false;
        return true;
    });
    ASSERT_FALSE(HasFailure());
    // The tick box sits at the left end of a row; each tick shows before the next click.
    for (const Pick &p : picks) {
        const std::optional<UiItem> row = map.TreeRow(kLoaderTree, p.Path());
        ASSERT_TRUE(row) << Why(p.Path(), map);
        ASSERT_NO_FATAL_FAILURE(ClickItem(*row, 1, 9));
        map = Expect(QStringLiteral("the box of ") + p.category + QStringLiteral(" ticked"), [&p](const UiMap &m) {
            const std::optional<UiItem> r = m.TreeRow(kLoaderTree, p.Path());
            return r && r->extra.split(QLatin1Char(' ')).contains(QStringLiteral("checked"));
        });
        ASSERT_FALSE(HasFailure());
    }
    desk->Screenshot(step + QStringLiteral("-loader"));
    ASSERT_NO_FATAL_FAILURE(ClickWidget(QStringLiteral("frmLoad/picBody/picFooter/btnLoad")));
    map = Expect(QStringLiteral("the loader gone and a timer row for each category with its project and task"), [&picks](const UiMap &m) {
        if (m.Widget(QStringLiteral("frmLoad")) || m.Cells(kGrid).size() != 4 * picks.size() || m.Widget(QStringLiteral("frmStart/picInfo")))
            return false;
        for (const Pick &p : picks) {
            const int row = m.RowOf(kGrid, p.category, 2);
            if (row < 0 || m.RowOf(kGrid, p.task, 13) != row || !m.Cell(kGrid, p.project, 12))
                return false;
        }
        return true;
    });
    ASSERT_FALSE(HasFailure());
}

void Session::RecordTwoEntries(Moment &designStart, Moment &travelStart, Moment &travelStop)
{
    // The first timer runs.
    ASSERT_NO_FATAL_FAILURE(ClickRow(kDesign.category));
    Expect(QStringLiteral("the Design timer selected"), [](const UiMap &m) {
        return m.Text(QStringLiteral("frmStart/frEdit/lProj")) == kDesign.project && m.Text(QStringLiteral("frmStart/frEdit/lTask")) == kDesign.task
               && m.Widget(QStringLiteral("frmStart/frAct/btnStart"))->enabled;
    });
    ASSERT_FALSE(HasFailure());
    designStart = StartSelected();
    ASSERT_FALSE(HasFailure());
    desk->Screenshot(step + QStringLiteral("-first-timer"));

    // The other one takes over.
    WaitClockPast(designStart.after, 2);
    ASSERT_NO_FATAL_FAILURE(ClickRow(kTravel.category));
    Expect(QStringLiteral("the Travel time timer selected"), [](const UiMap &m) {
        return m.Text(QStringLiteral("frmStart/frEdit/lTask")) == kTravel.task && m.Widget(QStringLiteral("frmStart/frAct/btnStart"))->enabled;
    });
    ASSERT_FALSE(HasFailure());
    travelStart = StartSelected();
    ASSERT_FALSE(HasFailure());

    // It stops with its entry.
    WaitClockPast(travelStart.after, 2);
    travelStop.before = SecsOfDay();
    ASSERT_NO_FATAL_FAILURE(ClickWidget(QStringLiteral("frmStart/frAct/btnStop")));
    Expect(QStringLiteral("the timer stopped"), [](const UiMap &m) {
        const UiItem *start = m.Widget(QStringLiteral("frmStart/frAct/btnStart"));
        const UiItem *stop = m.Widget(QStringLiteral("frmStart/frAct/btnStop"));
        return start && stop && start->enabled && !stop->enabled;
    });
    travelStop.after = SecsOfDay();
}

} // namespace e2e
