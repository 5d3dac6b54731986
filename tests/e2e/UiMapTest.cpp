// The window map's aim at the tray icon: a balloon shown over the icon takes the clicks that
// land on it, so a double click meant for the icon must go to the part left free.
#include "Desk.h"

#include <gtest/gtest.h>

namespace {

using e2e::UiItem;
using e2e::UiMap;

UiItem Item(const char *kind, const char *cls, QRect rect)
{
    UiItem i;
    i.kind = QString::fromLatin1(kind);
    i.cls = QString::fromLatin1(cls);
    i.rect = rect;
    return i;
}

TEST(UiMapTrayPoint, AimsAtThePartOfTheIconNoBalloonCovers)
{
    const QRect icon(1001, 1, 22, 30);
    struct Case {
        const char *what;
        QList<QRect> balloons;
    };
    const Case cases[] = {
        {"nothing over the icon", {}},
        {"a balloon below the icon's middle", {QRect(911, 15, 110, 65)}},
        {"a balloon over its left half", {QRect(900, 0, 110, 40)}},
        {"a balloon elsewhere on the screen", {QRect(100, 100, 110, 65)}},
        {"two balloons, above and below", {QRect(990, 0, 40, 6), QRect(990, 20, 40, 40)}},
    };
    for (const Case &c : cases) {
        UiMap map;
        map.items << Item("window", "QSystemTrayIconSys", icon) << Item("tray", "QSystemTrayIcon", icon);
        for (const QRect &b : c.balloons)
            map.items << Item("window", "QBalloonTip", b);
        const QPoint p = map.TrayPoint();
        EXPECT_TRUE(icon.contains(p)) << c.what;
        for (const QRect &b : c.balloons)
            EXPECT_FALSE(b.contains(p)) << c.what;
    }
}

TEST(UiMapTrayPoint, AWhollyCoveredIconIsAimedAtItsCentreAndNoIconAtNothing)
{
    UiMap map;
    const QRect icon(1001, 1, 22, 30);
    map.items << Item("tray", "QSystemTrayIcon", icon) << Item("window", "QBalloonTip", QRect(950, 0, 100, 60));
    EXPECT_EQ(map.TrayPoint(), icon.center());
    EXPECT_TRUE(UiMap().TrayPoint().isNull());
}

} // namespace
