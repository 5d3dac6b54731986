// The splash window: its fade in thirteen steps, its hold, its fade out and its early close.
#include "core/frmSplash.h"
#include "core/modMain.h"
#include "tests/support/TestEnv.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QTimer>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using modMain::FormLoaded;
using modMain::fiSplash;

namespace {

class SplashTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        frmSplash::Unload();
        // Objects unloaded by their own handlers go once the loop runs.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    static int Alpha(const QWidget *w) { return int(std::lround(w->windowOpacity() * 255.0)); }
};

} // namespace

TEST_F(SplashTest, FadesInHoldsFadesOutAndIsGoneAfterAboutFourAndAHalfSeconds)
{
    QElapsedTimer clock;
    clock.start();
    frmSplash *splash = frmSplash::Get();
    splash->show();
    EXPECT_TRUE(FormLoaded[fiSplash]);
    EXPECT_EQ(Alpha(splash), 0);

    // The opacity after every tick of the fade timer (this slot runs after the splash's own).
    std::vector<int> steps;
    qint64 opaqueAt = -1, fadeOutAt = -1;
    QObject::connect(splash->tmrFadeIn, &QTimer::timeout, splash, [&] {
        steps.push_back(Alpha(splash));
        if (opaqueAt < 0 && steps.back() == 255)
            opaqueAt = clock.elapsed();
        if (fadeOutAt < 0 && steps.back() < 255 && opaqueAt >= 0)
            fadeOutAt = clock.elapsed();
    });

    ASSERT_TRUE(testenv::WaitFor([] { return !FormLoaded[fiSplash]; }, 8000));
    const qint64 goneAt = clock.elapsed();
    EXPECT_GE(goneAt, 4000);
    EXPECT_LE(goneAt, 5500);
    EXPECT_EQ(frmSplash::Peek(), nullptr);

    const std::vector<int> fadeIn = {20, 40, 60, 80, 100, 120, 140, 160, 180, 200, 220, 240, 255};
    const std::vector<int> fadeOut = {235, 215, 195, 175, 155, 135, 115, 95, 75, 55, 35, 15, 0};
    std::vector<int> want = fadeIn;
    want.insert(want.end(), fadeOut.begin(), fadeOut.end());
    EXPECT_EQ(steps, want);
    // Opaque from about 0.65 s, fading out from the fifteenth quarter second (3.75 s).
    EXPECT_GE(opaqueAt, 550);
    EXPECT_LE(opaqueAt, 1500);
    EXPECT_GE(fadeOutAt, 3650);
    EXPECT_LE(fadeOutAt, 4800);
}

TEST_F(SplashTest, AKeyPressOrAClickOnTheFrameClosesItAtOnce)
{
    for (int way = 0; way < 2; ++way) {
        frmSplash *splash = frmSplash::Get();
        splash->show();
        ASSERT_TRUE(testenv::WaitFor([&] { return splash->windowOpacity() > 0; }, 2000));
        ASSERT_TRUE(FormLoaded[fiSplash]);
        if (way == 0) {
            QKeyEvent key(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
            QApplication::sendEvent(splash, &key);
        } else {
            const QPointF at(10, 10);
            QMouseEvent press(QEvent::MouseButtonPress, at, splash->Frame1->mapToGlobal(at), Qt::LeftButton,
                              Qt::LeftButton, Qt::NoModifier);
            QMouseEvent release(QEvent::MouseButtonRelease, at, splash->Frame1->mapToGlobal(at), Qt::LeftButton,
                                Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(splash->Frame1, &press);
            QApplication::sendEvent(splash->Frame1, &release);
        }
        // At once: start-up's wait ends on the flag, before any timer runs.
        EXPECT_FALSE(FormLoaded[fiSplash]) << "way " << way;
        EXPECT_EQ(frmSplash::Peek(), nullptr);
        EXPECT_FALSE(splash->isVisible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

TEST_F(SplashTest, ShowsTheProductAndTheVersionWithoutLeadingZeros)
{
    frmSplash *splash = frmSplash::Get();
    EXPECT_EQ(splash->lblProduct->text(), QStringLiteral("Tarvelo Desktop Companion"));
    EXPECT_EQ(splash->lblVer->text(), QStringLiteral("Version ") + modMain::VersionText());
    const QRegularExpression plain(QStringLiteral("^Version (0|[1-9][0-9]*)\\.(0|[1-9][0-9]*)\\.(0|[1-9][0-9]*)$"));
    EXPECT_TRUE(plain.match(splash->lblVer->text()).hasMatch()) << splash->lblVer->text().toStdString();
    // The maker's notice is two lines; the client area is 7380 by 4080 twips.
    EXPECT_EQ(splash->lblCopyr->text().count(QLatin1Char('\n')), 1);
    EXPECT_EQ(splash->size(), QSize(7380 / 15, 4080 / 15));
}
