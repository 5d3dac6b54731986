// The main window on a real X server with a window manager: the close box as the desktop
// sends it, a size the desktop gives the window, and the real mouse over the toolbar and the
// flags.
#include "tests/mainwindow/FrameFixture.h"

#include "core/frmMain.h"
#include "core/modMain.h"
#include "platform/forms/Units.h"
#include "resources/Pictures.h"
#include "tests/support/TestEnv.h"
#include "tests/xserver/XServer.h"

#include <QApplication>

#include <functional>
#include <QResizeEvent>
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

TEST_F(MainWindowX, TheCloseBoxMinimisesWhileAutostartIsOn)
{
    AutoStart = 1;
    frmMain *m = ShownAndActive();
    // Gone from the desktop to the tray, and it stays there.
    ASSERT_TRUE(CloseBox([m] { return !m->isVisible(); })) << "state " << int(m->windowState());
    testenv::WaitFor([] { return false; }, 700);
    EXPECT_FALSE(m->isVisible());
    EXPECT_TRUE(m->isMinimized());
    EXPECT_EQ(Ended(), 0);
    EXPECT_EQ(frmMain::Peek(), m);
}

TEST_F(MainWindowX, TheCloseBoxEndsTheProgramWhileAutostartIsOff)
{
    AutoStart = 0;
    ShownAndActive();
    ASSERT_TRUE(CloseBox([this] { return Ended() == 1; }));
    EXPECT_FALSE(DB);
}

TEST_F(MainWindowX, ASizeFromTheDesktopIsUndone)
{
    frmMain *m = ShownAndActive();
    const QSize keep(forms::TwipsToPixels(7695), forms::TwipsToPixels(7320));
    SizeSeen seen(m, keep);
    Xdo({QStringLiteral("windowsize"), Id(m), QStringLiteral("900"), QStringLiteral("700")});
    ASSERT_TRUE(testenv::WaitFor([&] { return seen.other; }, 10000)) << "the desktop never resized the window";
    ASSERT_TRUE(testenv::WaitFor([&] { return m->size() == keep && !m->isMaximized(); }, 10000))
        << m->width() << "x" << m->height();
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
}

} // namespace

int main(int argc, char **argv)
{
    return xtest::RunAllTestsOnX(argc, argv, {.windowManager = true, .trayHost = false});
}
