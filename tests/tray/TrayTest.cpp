// The tray icon component where no tray host runs (offscreen): the menu built at run time,
// the texts it keeps, and the shell's notification codes turned into the component's events.
#include "platform/tray/TrayIcon.h"
#include "recorder/frmSysTray.h"
#include "tests/support/TestEnv.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <gtest/gtest.h>

#include <memory>

namespace {

class SysTrayTest : public ::testing::Test {
protected:
    void SetUp() override { tray = std::make_unique<frmSysTray>(); }

    // Captions of items 0 .. upper bound.
    QStringList Captions() const
    {
        QStringList out;
        // A separator shows as a line, which these lists write "-".
        for (int i = 0; i <= tray->mnuSysTrayUBound(); ++i)
            out << (tray->mnuSysTray(i)->isSeparator() ? QStringLiteral("-") : tray->mnuSysTray(i)->text());
        return out;
    }
    QStringList Keys() const
    {
        QStringList out;
        for (int i = 0; i <= tray->mnuSysTrayUBound(); ++i)
            out << tray->mnuSysTray(i)->data().toString();
        return out;
    }
    void AddFour()
    {
        tray->AddMenuItem(QStringLiteral("&Open"), QStringLiteral("open"));
        tray->AddMenuItem(QStringLiteral("&Hide"), QStringLiteral("hide"));
        tray->AddMenuItem(QStringLiteral("-"), QString());
        tray->AddMenuItem(QStringLiteral("&Exit"), QStringLiteral("close"));
    }

    std::unique_ptr<frmSysTray> tray;
};

} // namespace

TEST_F(SysTrayTest, ItemsAreAddedAtRunTimeStartingWithTheDesignItem)
{
    // Before the first item the menu holds only the hidden design item.
    EXPECT_EQ(tray->mnuSysTrayUBound(), 0);
    EXPECT_FALSE(tray->mnuSysTray(0)->isVisible());

    EXPECT_EQ(tray->AddMenuItem(QStringLiteral("&Open"), QStringLiteral("open")), 0);
    EXPECT_EQ(tray->AddMenuItem(QStringLiteral("&Hide"), QStringLiteral("hide")), 1);
    EXPECT_EQ(tray->AddMenuItem(QStringLiteral("-"), QString()), 2);
    EXPECT_EQ(tray->mnuSysTrayUBound(), 2);
    EXPECT_EQ(Captions(), (QStringList{"&Open", "&Hide", "-"}));
    EXPECT_EQ(Keys(), (QStringList{"open", "hide", ""}));
    EXPECT_TRUE(tray->mnuSysTray(0)->isVisible());
    EXPECT_TRUE(tray->mnuSysTray(2)->isSeparator());
    EXPECT_FALSE(tray->mnuSysTray(1)->isSeparator());
    // A separator carries no text: the menu would draw it as a section titled "-".
    EXPECT_EQ(tray->mnuSysTray(2)->text(), QString());
    // Indexes outside the array name no item.
    EXPECT_EQ(tray->mnuSysTray(-1), nullptr);
    EXPECT_EQ(tray->mnuSysTray(3), nullptr);
    // The items are the menu's, in order.
    const QList<QAction *> actions = tray->mnuPopup()->actions();
    ASSERT_EQ(actions.size(), 3);
    EXPECT_EQ(actions[1], tray->mnuSysTray(1));
}

TEST_F(SysTrayTest, RemovingAnItemMovesTheLaterOnesUp)
{
    AddFour();
    tray->RemoveMenuItem(1);
    EXPECT_EQ(Captions(), (QStringList{"&Open", "-", "&Exit"}));
    EXPECT_EQ(Keys(), (QStringList{"open", "", "close"}));
    EXPECT_TRUE(tray->mnuSysTray(1)->isSeparator());
    EXPECT_EQ(tray->mnuSysTray(1)->text(), QString());
    EXPECT_FALSE(tray->mnuSysTray(2)->isSeparator());
    EXPECT_EQ(tray->mnuSysTray(2)->text(), QStringLiteral("&Exit"));
    EXPECT_EQ(tray->mnuPopup()->actions().size(), 3);

    // Item 0 stays, only its caption goes.
    tray->RemoveMenuItem(0);
    EXPECT_EQ(Captions(), (QStringList{"", "-", "&Exit"}));
    EXPECT_EQ(Keys(), (QStringList{"open", "", "close"}));

    // The last item, and indexes that are not there.
    tray->RemoveMenuItem(2);
    tray->RemoveMenuItem(7);
    tray->RemoveMenuItem(-1);
    EXPECT_EQ(Captions(), (QStringList{"", "-"}));
}

TEST_F(SysTrayTest, DefaultItemEnabledStateAndCheckMark)
{
    AddFour();
    // Item 0 is the default until changed; an index outside the array stores 0.
    EXPECT_EQ(tray->DefaultMenuIndex(), 0);
    tray->DefaultMenuIndex(3);
    EXPECT_EQ(tray->DefaultMenuIndex(), 3);
    tray->DefaultMenuIndex(4);
    EXPECT_EQ(tray->DefaultMenuIndex(), 0);
    tray->DefaultMenuIndex(-2);
    EXPECT_EQ(tray->DefaultMenuIndex(), 0);
    EXPECT_EQ(tray->AddMenuItem(QStringLiteral("&Stop"), QStringLiteral("stop"), true), 4);
    EXPECT_EQ(tray->DefaultMenuIndex(), 4);

    tray->ShowMenu();
    EXPECT_EQ(tray->mnuPopup()->defaultAction(), tray->mnuSysTray(4));
    tray->mnuPopup()->hide();
    tray->DefaultMenuIndex(0);
    tray->ShowMenu();
    EXPECT_EQ(tray->mnuPopup()->defaultAction(), tray->mnuSysTray(0));
    tray->mnuPopup()->hide();

    tray->EnableMenuItem(1, false);
    tray->EnableMenuItem(9, false);
    EXPECT_FALSE(tray->mnuSysTray(1)->isEnabled());
    EXPECT_TRUE(tray->mnuSysTray(0)->isEnabled());
    tray->EnableMenuItem(1, true);
    EXPECT_TRUE(tray->mnuSysTray(1)->isEnabled());

    tray->CheckMenuItem(3, true);
    EXPECT_TRUE(tray->mnuSysTray(3)->isChecked());
    tray->CheckMenuItem(3, false);
    EXPECT_FALSE(tray->mnuSysTray(3)->isChecked());
}

TEST_F(SysTrayTest, ChoosingAnItemRaisesMenuClickWithItsIndexAndKeyOnce)
{
    AddFour();
    tray->CheckMenuItem(1, true);
    QStringList clicks;
    QObject::connect(tray.get(), &frmSysTray::MenuClick,
                     [&](int index, const QString &key) { clicks << QStringLiteral("%1 %2").arg(index).arg(key); });
    tray->mnuSysTray(1)->trigger();
    ASSERT_TRUE(testenv::WaitFor([&] { return !clicks.isEmpty(); }, 2000));
    QCoreApplication::processEvents();
    EXPECT_EQ(clicks, QStringList{QStringLiteral("1 hide")});
    // The click does not toggle the mark: the owner sets it.
    EXPECT_TRUE(tray->mnuSysTray(1)->isChecked());
}

TEST_F(SysTrayTest, AMenuWithoutItemsShowsNothing)
{
    tray->ShowMenu();
    EXPECT_FALSE(tray->mnuPopup()->isVisible());
    tray->AddMenuItem(QStringLiteral("&Open"), QStringLiteral("open"));
    tray->ShowMenu();
    EXPECT_TRUE(tray->mnuPopup()->isVisible());
    tray->mnuPopup()->hide();
}

TEST_F(SysTrayTest, TooltipIsCutToItsFieldAndTheIconKeptOnce)
{
    tray->ToolTip(QString(200, QLatin1Char('t')));
    EXPECT_EQ(tray->ToolTip().size(), 127);
    // A text ends at its first NUL, as the field holds it.
    tray->ToolTip(QStringLiteral("Tarvelo Desktop") + QChar(u'\0') + QStringLiteral("rest"));
    EXPECT_EQ(tray->ToolTip(), QStringLiteral("Tarvelo Desktop"));
    EXPECT_EQ(tray->TrayIconObject()->Tip(), QStringLiteral("Tarvelo Desktop"));

    // The icon is there from the first use; a new one replaces it.
    EXPECT_FALSE(tray->IconHandle().isNull());
    QPixmap pm(16, 16);
    pm.fill(Qt::red);
    const QIcon red(pm);
    tray->IconHandle(red);
    EXPECT_EQ(tray->IconHandle().cacheKey(), red.cacheKey());
    EXPECT_EQ(tray->TrayIconObject()->Icon().cacheKey(), red.cacheKey());
    EXPECT_TRUE(tray->TrayIconObject()->IsAdded());
}

TEST_F(SysTrayTest, WithoutATrayHostBalloonsShowNothingAndNothingFails)
{
    ASSERT_FALSE(tray::IsHostAvailable());
    int shown = 0, hidden = 0;
    QObject::connect(tray.get(), &frmSysTray::BalloonShow, [&] { ++shown; });
    QObject::connect(tray.get(), &frmSysTray::BalloonHide, [&] { ++hidden; });
    tray->ShowBalloonTip(QStringLiteral("Tarvelo Desktop"), QString(), 0, 30000);
    tray->HideBalloonTip(QString(), 0, 30000);
    QCoreApplication::processEvents();
    EXPECT_EQ(shown, 0);
    EXPECT_EQ(hidden, 0);
    EXPECT_FALSE(tray->TrayIconObject()->IsBalloonShown());
}

TEST_F(SysTrayTest, NotificationCodesBecomeTheComponentsEvents)
{
    tray->ToolTip(QStringLiteral("load"));
    tray::TrayIcon *icon = tray->TrayIconObject();
    ASSERT_NE(icon, nullptr);

    // Every event, recorded as one text per raise.
    QStringList seen;
    QObject::connect(tray.get(), &frmSysTray::SysTrayMouseDown, [&](int b) { seen << QStringLiteral("down%1").arg(b); });
    QObject::connect(tray.get(), &frmSysTray::SysTrayMouseUp, [&](int b) { seen << QStringLiteral("up%1").arg(b); });
    QObject::connect(tray.get(), &frmSysTray::SysTrayMouseMove, [&] { seen << QStringLiteral("move"); });
    QObject::connect(tray.get(), &frmSysTray::SysTrayDoubleClick, [&](int b) { seen << QStringLiteral("dbl%1").arg(b); });
    QObject::connect(tray.get(), &frmSysTray::BalloonShow, [&] { seen << QStringLiteral("bshow"); });
    QObject::connect(tray.get(), &frmSysTray::BalloonHide, [&] { seen << QStringLiteral("bhide"); });
    QObject::connect(tray.get(), &frmSysTray::BalloonTimeOut, [&] { seen << QStringLiteral("btime"); });
    QObject::connect(tray.get(), &frmSysTray::BalloonClicked, [&] { seen << QStringLiteral("bclick"); });

    struct Case { int code; const char *event; };
    const Case cases[] = {
        {512, "move"}, {513, ""}, {514, "down1"}, {515, "dbl1"}, {516, "down2"}, {517, "up2"},
        {518, "dbl2"}, {519, ""}, {520, ""}, {1026, "bshow"}, {1027, "bhide"}, {1028, "btime"},
        {1029, "bclick"},
    };
    for (const Case &c : cases) {
        seen.clear();
        emit icon->Notify(c.code);
        const QStringList want = *c.event ? QStringList{QString::fromLatin1(c.event)} : QStringList{};
        EXPECT_EQ(seen, want) << "code " << c.code;
    }
}
