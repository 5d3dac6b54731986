#include "tests/options/OptionsFixture.h"

#include "core/CCrypto.h"
#include "core/frmMain.h"
#include "core/modMain.h"
#include "platform/forms/Label.h"
#include "platform/forms/TreeView.h"
#include "platform/registry/Registry.h"
#include "recorder/frmStart.h"
#include "tests/support/ProgramFixture.h"
#include "tests/support/TestEnv.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

using namespace modMain;

namespace optiontest {

void OptionsTest::SetUp()
{
    FrameTest::SetUp();
    if (HasFatalFailure())
        return;
    if (!Crypto)
        Crypto = std::make_unique<CCrypto>();
    testenv::StoreCredentials(kUser, kPassword);
    UserNameURL = kUser;
    PasswordURL = kPassword;
    SetDefaultSettings();
    SaveSettings();
    frmMain *m = frmMain::Get();
    m->show();
    frmStart::Get()->ShowForm();
    ASSERT_TRUE(testenv::WaitFor([m] { return m->isVisible(); }));
}

void OptionsTest::TearDown()
{
    frmOptions::Unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    FrameTest::TearDown();
}

frmOptions *OptionsTest::Open()
{
    frmStart::Get()->mnuOptions_Form->trigger();
    w = frmOptions::Peek();
    if (w)
        QApplication::processEvents();
    return w;
}

void OptionsTest::Close()
{
    ASSERT_NE(frmOptions::Peek(), nullptr);
    w->btnExit->click();
    ASSERT_TRUE(testenv::WaitFor([] { return frmOptions::Peek() == nullptr; }));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    w = nullptr;
}

forms::Node *OptionsTest::Node(const QString &key) const
{
    return frmOptions::Peek() ? frmOptions::Peek()->lstOptions->Nodes(key) : nullptr;
}

void OptionsTest::ClickNode(const QString &key)
{
    ASSERT_NE(w, nullptr);
    w->sTab->setCurrentIndex(1);
    QApplication::processEvents();
    forms::Node *node = Node(key);
    ASSERT_NE(node, nullptr) << key.toStdString();
    w->lstOptions->scrollToItem(node);
    const QRect r = w->lstOptions->visualItemRect(node);
    ASSERT_TRUE(r.isValid()) << key.toStdString();
    // On the text, past the expand sign and the picture.
    const QPoint at(r.left() + std::min(r.width() - 2, 40), r.center().y());
    QTest::mouseClick(w->lstOptions->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QApplication::processEvents();
    ASSERT_EQ(w->lstOptions->SelectedItem(), node) << key.toStdString();
}

void OptionsTest::PickTime(QWidget *label, const char *digits, bool enter)
{
    frametest::Click(label);
    auto *key = w->findChild<QLineEdit *>(QStringLiteral("txtKey"));
    ASSERT_NE(key, nullptr);
    ASSERT_TRUE(w->picPicker->isVisible());
    QTest::keyClicks(key, QLatin1String(digits));
    if (enter) {
        QTest::keyClick(key, Qt::Key_Return);
    } else {
        auto *exit = w->findChild<forms::Label *>(QStringLiteral("lblExit"));
        ASSERT_NE(exit, nullptr);
        frametest::Click(exit);
    }
    QApplication::processEvents();
    EXPECT_FALSE(w->picPicker->isVisible());
}

void OptionsTest::PressKey(int qtKey, Qt::KeyboardModifiers mods)
{
    QTest::keyPress(w->txtHotKey, Qt::Key(qtKey), mods);
    QTest::keyRelease(w->txtHotKey, Qt::Key(qtKey), mods);
}

QString OptionsTest::Status() const
{
    return frmMain::Get()->lblMsg->text().mid(1);
}

QString OptionsTest::Setting(const QString &section, const QString &key)
{
    return registry::GetSetting(SettingsApp, section, key, QStringLiteral("(none)"));
}

void OptionsTest::NewStart()
{
    StoredUserName.clear();
    StoredPassword.clear();
    UserNameURL.clear();
    PasswordURL.clear();
    UserFullName.clear();
    WorkDayStart = WorkDayEnd = 0;
    AutoStart = AutoSynch = AutoCheck = ShowBalloons = -1;
    TimeOut = HotKeyCode = HotKeyMask = -1;
    LangID = -1;
    LoadSettings();
}

QString OptionsTest::SavedUser()
{
    return Crypto->Decrypt(Setting("user", "user"), CryptoPassPhrase, false, CCrypto::TypeRC2);
}

QString OptionsTest::SavedPassword()
{
    return Crypto->Decrypt(Setting("user", "passw"), CryptoPassPhrase, false, CCrypto::TypeRC2);
}

} // namespace optiontest
