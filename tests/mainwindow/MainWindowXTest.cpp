// The main window on a real X server with a window manager: the close box as the desktop
// sends it, a size the desktop gives the window, and the real mouse over the toolbar and the
// flags.
#include "tests/mainwindow/FrameFixture.h"

#include "core/frmMain.h"
#include "core/modMain.h"
#include "platform/forms/Units.h"
#include "recorder/frmLoad.h"
#include "recorder/frmStart.h"
#include "resources/Pictures.h"
#include "tests/support/TestEnv.h"
#include "tests/xserver/XServer.h"

#include <QApplication>

#include <functional>
#include <QResizeEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollBar>
#include <QWindow>

using namespace modMain;

namespace {

// Notes that the window got a size other than the one it keeps.
class SizeSeen : public QObject {
public:
    SizeSeen(QWidget *w, QSize keep) : m_keep(keep) { w->installEventFilter(this); }
    bool other = false;

protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Resize && static_cast<QResizeEvent *>(e)->size() != m_keep)
            other = true;
        return false;
    }

private:
    QSize m_keep;
};

class MainWindowX : public frametest::FrameTest {
protected:
    void SetUp() override
    {
        FrameTest::SetUp();
        x = xtest::Current();
        ASSERT_NE(x, nullptr);
        ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
    }

    frmMain *ShownAndActive()
    {
        frmMain *m = frmMain::Get();
        m->show();
        EXPECT_TRUE(testenv::WaitFor([m] { return m->windowHandle() && m->windowHandle()->isExposed(); }, 10000));
        Xdo({QStringLiteral("windowactivate"), QStringLiteral("--sync"), Id(m)});
        EXPECT_TRUE(testenv::WaitFor([m] { return m->isActiveWindow(); }, 10000));
        return m;
    }

    static QString Id(QWidget *w) { return QString::number(w->winId()); }

    // The window's state as the desktop keeps it: "Normal", "Iconic", or "" while unmapped.
    QString WmState(QWidget *w)
    {
        const xtest::RunResult r = x->Run(QStringLiteral("xprop"), {QStringLiteral("-id"), Id(w), QStringLiteral("WM_STATE")});
        const qsizetype at = r.out.indexOf(QLatin1String("window state: "));
        return at < 0 ? QString() : r.out.mid(at + 14).section(QLatin1Char('\n'), 0, 0).trimmed();
    }

    void Xdo(const QStringList &args)
    {
        const xtest::RunResult r = x->Run(QStringLiteral("xdotool"), args);
        ASSERT_TRUE(r.finished && r.exitCode == 0) << r.err.toStdString();
    }

    // The pointer to the middle of a control, as the person moves it there.
    void Point(QWidget *w)
    {
        const QPoint c = w->mapToGlobal(w->rect().center());
        Xdo({QStringLiteral("mousemove"), QString::number(c.x()), QString::number(c.y())});
    }

    // Alt+F4 as the person presses it, until done holds: on a loaded machine the desktop can
    // miss a key press now and then.
    bool CloseBox(const std::function<bool()> &done)
    {
        for (int attempt = 0; attempt < 3; ++attempt) {
            Xdo({QStringLiteral("key"), QStringLiteral("alt+F4")});
            if (testenv::WaitFor(done, 4000))
                return true;
        }
        return false;
    }

    xtest::XServer *x = nullptr;
};
using MainWindowXTray = MainWindowX;

#ifndef TARV_TRAY_HOST
// This desktop has no tray: the close box minimises the window, which stays on the desktop
// for the person to bring back.
TEST_F(MainWindowX, TheCloseBoxMinimisesWhileAutostartIsOn)
{
    AddReferenceData(false);
    AutoStart = 1;
    frmMain *m = ShownAndActive();
    frmStart::Get()->ShowForm();
    ASSERT_TRUE(CloseBox([m] { return m->isMinimized(); })) << "state " << int(m->windowState());
    testenv::WaitFor([] { return false; }, 700);
    EXPECT_TRUE(m->isMinimized());
    EXPECT_TRUE(m->isVisible());
    EXPECT_EQ(Ended(), 0);
    EXPECT_EQ(frmMain::Peek(), m);

    EXPECT_TRUE(testenv::WaitFor([&] { return WmState(m) == QLatin1String("Iconic"); }, 5000)) << WmState(m).toStdString();

    // A later start (or the tray, were there one) brings it back to the desktop.
    m->ShowFromTray(true);
    EXPECT_TRUE(testenv::WaitFor([&] { return WmState(m) == QLatin1String("Normal"); }, 10000)) << WmState(m).toStdString();
    EXPECT_FALSE(m->isMinimized());
}

TEST_F(MainWindowX, TheCloseBoxEndsTheProgramWhileAutostartIsOff)
{
    AutoStart = 0;
    ShownAndActive();
    ASSERT_TRUE(CloseBox([this] { return Ended() == 1; }));
    EXPECT_FALSE(DB);
}

// On the desktop, at the default size, the task loader stands whole in the document area.
TEST_F(MainWindowX, TheTaskLoaderShowsItsButtonsAtTheDefaultSize)
{
    AddReferenceData(false);
    frmMain *m = ShownAndActive();
    frmStart::Get()->ShowForm();
    // The timers window puts the cover aside when it becomes active.
    forms::Move(m->picCover, -12000, forms::Top(m->picCover));
    frmLoad *loader = frmLoad::Get();
    loader->ShowForm();
    ASSERT_TRUE(testenv::WaitFor([loader] { return loader->isVisible(); }));
    // The pointer over the loader and away, as the person moves it, and the timers' ticks.
    Point(loader->btnLoad);
    testenv::WaitFor([] { return false; }, 300);
    Point(m->lblUser);
    testenv::WaitFor([] { return false; }, 1500);

    std::string where;
    for (QObject *o : m->mdi->viewport()->children())
        if (auto *w = qobject_cast<QWidget *>(o); w && w->isVisible())
            where += w->objectName().toStdString() + "@" + std::to_string(w->x()) + "," + std::to_string(w->y()) + " "
                     + std::to_string(w->width()) + "x" + std::to_string(w->height()) + "; ";
    for (QMdiSubWindow *sub : m->mdi->subWindowList())
        where += sub->objectName().toStdString() + " " + std::to_string(sub->x()) + "," + std::to_string(sub->y()) + " "
                 + std::to_string(sub->width()) + "x" + std::to_string(sub->height()) + "; ";
    where += "viewport " + std::to_string(m->mdi->viewport()->width()) + "x" + std::to_string(m->mdi->viewport()->height());
    EXPECT_FALSE(m->mdi->verticalScrollBar()->isVisible()) << where;
    EXPECT_FALSE(m->mdi->horizontalScrollBar()->isVisible()) << where;
    const QRect area = m->mdi->viewport()->rect();
    for (QPushButton *b : {loader->btnSelAll, loader->btnLoad, loader->btnClose}) {
        const QRect r(b->mapTo(m->mdi->viewport(), QPoint(0, 0)), b->size());
        EXPECT_TRUE(area.contains(r)) << b->objectName().toStdString() << " " << where;
    }
}

// The person enlarges the window from the desktop: it keeps the size, the document area takes
// it; a smaller size is not given.
TEST_F(MainWindowX, TheDesktopCanEnlargeTheWindowButNotShrinkIt)
{
    frmMain *m = ShownAndActive();
    const QSize normal(forms::TwipsToPixels(7695), forms::TwipsToPixels(8400));
    ASSERT_EQ(m->size(), normal);
    SizeSeen seen(m, normal);
    Xdo({QStringLiteral("windowsize"), Id(m), QStringLiteral("900"), QStringLiteral("700")});
    ASSERT_TRUE(testenv::WaitFor([&] { return seen.other; }, 10000)) << "the desktop never resized the window";
    ASSERT_TRUE(testenv::WaitFor([&] { return m->size() == QSize(900, 700); }, 10000)) << m->width() << "x" << m->height();
    testenv::WaitFor([] { return false; }, 500);
    EXPECT_EQ(m->size(), QSize(900, 700));
    EXPECT_EQ(m->mdi->width(), 900 - forms::TwipsToPixels(1095));

    Xdo({QStringLiteral("windowsize"), Id(m), QStringLiteral("300"), QStringLiteral("200")});
    testenv::WaitFor([m, normal] { return m->size() == normal; }, 5000);
    testenv::WaitFor([] { return false; }, 500);
    EXPECT_GE(m->width(), normal.width());
    EXPECT_GE(m->height(), normal.height());
}

TEST_F(MainWindowX, TheMouseLightsTheToolbarAndTheFlags)
{
    frmMain *m = ShownAndActive();
    Point(m->btn[2]);
    ASSERT_TRUE(testenv::WaitFor([m] { return m->btn[2]->ForeColor() == 16777215; }));
    EXPECT_EQ(m->btn[0]->ForeColor(), 16312534);

    Point(m->imgOver[1]);
    ASSERT_TRUE(testenv::WaitFor([m] { return m->btn[2]->ForeColor() == 16312534; }));

    Point(m->imgFlag[3]);
    ASSERT_TRUE(testenv::WaitFor([m] { return frametest::SamePicture(m->imgFlag[3]->pixmap(), res::Picture(237)); }));
    EXPECT_EQ(m->lblMsg->text(), QStringLiteral(" ") + GetLangString(111, true) + QStringLiteral(" ") + GetLangString(115, true));

    // A real click switches the language.
    Xdo({QStringLiteral("click"), QStringLiteral("1")});
    ASSERT_TRUE(testenv::WaitFor([] { return LangID == 3; }));
    EXPECT_EQ(m->btn[0]->text(), GetLangString(100));
    // The hint under the pointer is in the new language, not the one just left.
    EXPECT_EQ(m->lblMsg->text(), QStringLiteral(" ") + GetLangString(111, true) + QStringLiteral(" ") + GetLangString(115, true));

    // The pointer jumps off the window without crossing the strip around the flags: the light
    // and the hint go all the same.
    const QPoint outside = m->frameGeometry().bottomRight() + QPoint(20, 20);
    Xdo({QStringLiteral("mousemove"), QString::number(outside.x()), QString::number(outside.y())});
    ASSERT_TRUE(testenv::WaitFor([m] { return frametest::SamePicture(m->imgFlag[3]->pixmap(), res::Picture(233)); }));
    EXPECT_TRUE(m->lblMsg->text().trimmed().isEmpty()) << m->lblMsg->text().toStdString();
}

#else
// The desktop's tray holds the timers window's icon: minimising, the close box and the leave
// button hide the window to it, and the tray brings it back.
TEST_F(MainWindowXTray, WithATrayTheWindowGoesToIt)
{
    AddReferenceData(false);
    AutoStart = 1;
    ShowBalloons = 1;
    frmMain *m = ShownAndActive();
    frmStart::Get()->ShowForm();
    ASSERT_TRUE(testenv::WaitFor([m] { return m->TrayHoldsIcon(); }, 10000)) << "the tray never held the icon";

    ASSERT_TRUE(CloseBox([m] { return !m->isVisible(); })) << "state " << int(m->windowState());
    testenv::WaitFor([] { return false; }, 700);
    EXPECT_FALSE(m->isVisible());
    EXPECT_EQ(Ended(), 0);

    m->ShowFromTray(true);
    ASSERT_TRUE(testenv::WaitFor([m] { return m->isVisible() && !m->isMinimized(); }, 10000));
    EXPECT_TRUE(testenv::WaitFor([&] { return WmState(m) == QLatin1String("Normal"); }, 10000)) << WmState(m).toStdString();

    // The leave button, clicked as the person clicks it.
    ShownAndActive();
    Point(m->btn[4]);
    Xdo({QStringLiteral("click"), QStringLiteral("1")});
    ASSERT_TRUE(testenv::WaitFor([m] { return !m->isVisible(); }, 10000)) << "state " << int(m->windowState());
    EXPECT_EQ(Ended(), 0);
}


// Started with the desktop: the main window is minimised before the timers window has put its
// icon in the tray; once the icon is there the window goes to the tray.
TEST_F(MainWindowXTray, MinimisedAtTheStartItGoesToTheTrayOnceTheIconIsThere)
{
    AddReferenceData(false);
    AutoStart = 1;
    ShowBalloons = 1;
    frmMain *m = frmMain::Get();
    m->setWindowState(Qt::WindowMinimized);
    m->showMinimized();
    ASSERT_TRUE(testenv::WaitFor([&] { return WmState(m) == QLatin1String("Iconic"); }, 10000)) << WmState(m).toStdString();
    EXPECT_TRUE(m->isVisible());
    frmStart::Get()->ShowForm();
    ASSERT_TRUE(testenv::WaitFor([m] { return m->TrayHoldsIcon(); }, 10000)) << "the tray never held the icon";
    m->SettleInTray();
    ASSERT_TRUE(testenv::WaitFor([m] { return !m->isVisible(); }, 10000));

    m->ShowFromTray(true);
    EXPECT_TRUE(testenv::WaitFor([&] { return WmState(m) == QLatin1String("Normal"); }, 10000)) << WmState(m).toStdString();
}
#endif

} // namespace

int main(int argc, char **argv)
{
#ifdef TARV_TRAY_HOST
    return xtest::RunAllTestsOnX(argc, argv, {.windowManager = true, .trayHost = true});
#else
    return xtest::RunAllTestsOnX(argc, argv, {.windowManager = true, .trayHost = false});
#endif
}
