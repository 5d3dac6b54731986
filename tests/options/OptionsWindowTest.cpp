// The options window through its real controls: the tree's nodes and their frames, saving
// every option and reading it back after a new start, cancelling and restoring defaults, the
// working-day times through the picker, the time-out list, the hot key capture, the language
// switch and the failures a save tells.
#include "tests/options/OptionsFixture.h"

#include "core/frmMain.h"
#include "options_help/frmHlp.h"
#include "core/modMain.h"
#include "platform/forms/ComboBox.h"
#include "platform/forms/Label.h"
#include "platform/forms/TreeView.h"
#include "platform/forms/Units.h"
#include "platform/shell/Shell.h"
#include "recorder/frmStart.h"
#include "resources/Pictures.h"
#include "tests/support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QApplication>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTest>

using namespace modMain;
using frametest::BoxText;
using frametest::BoxWatcher;
using optiontest::OptionsTest;

namespace {

// A key event as the window system delivers it to the box.
void Send(QWidget *to, QEvent::Type type, int key, Qt::KeyboardModifiers mods)
{
    QKeyEvent e(type, key, mods);
    QApplication::sendEvent(to, &e);
}

QString Entry()
{
    return shell::AutostartEntryPath(QStringLiteral("Tarvelo Desktop"));
}

// The frame in view (Left 120 twips); every other one is out of view.
QString FrameInView(const frmOptions *w)
{
    QString in;
    for (QGroupBox *f : {w->frchk, w->frWork, w->frLang, w->frHotKey, w->frCon}) {
        if (forms::Left(f) == frmOptions::kFrameInView) {
            EXPECT_TRUE(in.isEmpty()) << "two frames in view";
            in = f->objectName();
        } else {
            EXPECT_EQ(forms::Left(f), frmOptions::kFrameOutOfView) << f->objectName().toStdString();
        }
    }
    return in;
}

} // namespace

TEST_F(OptionsTest, EveryNodeShowsItsFrameAndValue)
{
    AutoSynch = 0;
    TimeOut = 30;
    WorkDayStart = 8 * 3600;
    WorkDayEnd = 16 * 3600 + 30 * 60;
    LangID = 1;
    ASSERT_TRUE(Open());
    EXPECT_EQ(w->sTab->tabText(0), GetLangString(719));
    EXPECT_EQ(w->sTab->tabText(1), GetLangString(707));
    EXPECT_EQ(w->lstOptions->Count(), 13);

    struct Case { const char *key; const char *frame; int16_t info; int on; };   // on: -1 group
    const Case cases[] = {
        {"start", "frchk", 727, -1},  {"autostart", "frchk", 729, 1}, {"autosynch", "frchk", 731, 0},
        {"autocheck", "frchk", 733, 1}, {"hotkey", "frHotKey", 735, 1}, {"appear", "frchk", 736, -1},
        {"balloons", "frchk", 738, 1}, {"org", "frchk", 741, -1}, {"times", "frWork", 743, 0},
        {"setlang", "frchk", 745, -1}, {"lang", "frLang", 747, 0}, {"setcon", "frchk", 749, -1},
        {"timeout", "frCon", 751, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.key);
        ClickNode(c.key);
        EXPECT_EQ(FrameInView(w), c.frame);
        EXPECT_EQ(w->lblInfo->text(), GetLangString(c.info));
        if (QString(c.frame) == "frchk") {
            const bool group = c.on < 0;
            EXPECT_EQ(w->Opt[0]->isChecked(), c.on == 1);
            EXPECT_EQ(w->Opt[1]->isChecked(), c.on == 0);
            EXPECT_EQ(w->Opt[0]->isEnabled(), !group);
            EXPECT_EQ(w->frchk->isEnabled(), !group);
            if (!group) {
                EXPECT_EQ(Node(c.key)->Image(), c.on ? "chk_on" : "chk_off");
            }
        }
    }
    // The values of the frames.
    EXPECT_EQ(w->lblStartTime->Caption(), "08:00:00");
    EXPECT_EQ(w->lblEndTime->Caption(), "16:30:00");
    EXPECT_EQ(w->cmbLang->Text(), GetLangString(114, true));
    EXPECT_EQ(w->cmbLang->ItemData(w->cmbLang->ListIndex()), 1);
    EXPECT_EQ(Node("lang")->Image(), "fl_gr");
    EXPECT_EQ(Node("lang")->Text(), GetLangString(746, true) + " " + GetLangString(114, true));
    EXPECT_EQ(Node("times")->Image(), "act_chk");
    EXPECT_EQ(w->imgFlag->pixmap().cacheKey() != 0, true);
    EXPECT_EQ(w->txtHotKeyPre->text(), "CTRL+F10");
    EXPECT_EQ(w->txtHotKey->text(), "");
    EXPECT_EQ(w->cmbTimeOut->Text(), "30");
    // The language list in its order, each with its index.
    ASSERT_EQ(w->cmbLang->ListCount(), 4);
    const int order[] = {0, 2, 3, 1};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(w->cmbLang->ItemData(i), order[i]);
    EXPECT_TRUE(FormLoaded[fiOptions]);
    EXPECT_EQ(w->parentWidget()->pos(), QPoint(0, 0));
}

TEST_F(OptionsTest, EachOptionIsSavedAndReadBackAfterANewStart)
{
    shell::CreateAutostartEntry("Tarvelo Desktop", "x", "y");
    ASSERT_TRUE(QFile::exists(Entry()));
    ASSERT_TRUE(Open());
    BoxWatcher boxes;

    ClickNode("autostart");
    w->Opt[1]->click();
    EXPECT_EQ(Node("balloons")->Image(), "chk_off");   // the balloons follow
    ClickNode("autosynch");
    w->Opt[1]->click();
    ClickNode("autocheck");
    w->Opt[1]->click();
    ClickNode("times");
    PickTime(w->lblStartTime, "0830");
    EXPECT_EQ(w->lblStartTime->Caption(), "08:30:00");
    PickTime(w->lblEndTime, "1615", true);
    EXPECT_EQ(w->lblEndTime->Caption(), "16:15:00");
    ClickNode("lang");
    w->cmbLang->SetListIndex(1);   // French
    EXPECT_EQ(Node("lang")->Image(), "fl_fr");
    ClickNode("hotkey");
    PressKey(Qt::Key_F9, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(w->txtHotKey->text(), "SHIFT+CTRL+F9");
    ClickNode("timeout");
    w->cmbTimeOut->SetListIndex(3);

    // Nothing changed before Save.
    EXPECT_EQ(AutoStart, 1);
    EXPECT_EQ(Setting("org", "timestart"), "09:00:00");
    w->btnSave->click();
    EXPECT_TRUE(boxes.Boxes().empty()) << boxes.Boxes()[0].text.toStdString();
    EXPECT_EQ(Status(), GetLangString(631, true));
    EXPECT_FALSE(QFile::exists(Entry()));

    EXPECT_EQ(Setting("org", "timestart"), "08:30:00");
    EXPECT_EQ(Setting("org", "timeend"), "16:15:00");
    Close();
    NewStart();
    EXPECT_EQ(SavedUser(), optiontest::kUser);
    EXPECT_EQ(SavedPassword(), optiontest::kPassword);
    EXPECT_EQ(AutoStart, 0);
    EXPECT_EQ(AutoSynch, 0);
    EXPECT_EQ(AutoCheck, 0);
    EXPECT_EQ(ShowBalloons, 0);
    EXPECT_EQ(WorkDayStart, 30600);
    EXPECT_EQ(WorkDayEnd, 58500);
    EXPECT_EQ(LangID, 2);
    EXPECT_EQ(HotKeyCode, 120);
    EXPECT_EQ(HotKeyMask, 3);
    EXPECT_EQ(TimeOut, 60);

    // The window shows them again.
    ASSERT_TRUE(Open());
    EXPECT_EQ(w->lblStartTime->Caption(), "08:30:00");
    EXPECT_EQ(w->cmbLang->ItemData(w->cmbLang->ListIndex()), 2);
    EXPECT_EQ(w->txtHotKeyPre->text(), "SHIFT+CTRL+F9");
    EXPECT_EQ(w->cmbTimeOut->Text(), "60");
    EXPECT_FALSE(Node("autostart")->Checked());
    EXPECT_EQ(Node("autocheck")->Image(), "chk_off");

    // And on again: the entry comes back, the tray icon with it.
    ClickNode("autostart");
    w->Opt[0]->click();
    ClickNode("balloons");
    w->Opt[0]->click();
    w->btnSave->click();
    EXPECT_EQ(Status(), GetLangString(631, true));
    EXPECT_TRUE(QFile::exists(Entry()));
    EXPECT_EQ(Setting("tarv", "autostart"), "1");
    EXPECT_EQ(Setting("tarv", "showballoons"), "1");
    EXPECT_TRUE(frmStart::Peek()->m_frmSysTray);
}

TEST_F(OptionsTest, TheTrayIconGoesWithTheDesktopStart)
{
    frmStart *timers = frmStart::Peek();
    timers->setSysTray();
    ASSERT_TRUE(timers->m_frmSysTray);
    ASSERT_TRUE(Open());
    ClickNode("autostart");
    w->Opt[1]->click();
    w->btnSave->click();
    EXPECT_FALSE(timers->m_frmSysTray);
    EXPECT_EQ(AutoStart, 0);
}

TEST_F(OptionsTest, BalloonsNeedTheDesktopStart)
{
    ASSERT_TRUE(Open());
    BoxWatcher boxes;
    ClickNode("autostart");
    w->Opt[1]->click();
    ClickNode("balloons");
    EXPECT_TRUE(w->Opt[1]->isChecked());
    w->Opt[0]->click();
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, BoxText(723));
    EXPECT_EQ(boxes.Boxes()[0].icon, 16);
    EXPECT_FALSE(w->Opt[0]->isChecked());
    EXPECT_TRUE(w->Opt[1]->isChecked());
    EXPECT_EQ(Node("balloons")->Image(), "chk_off");
    EXPECT_EQ(w->PendingChoices().balloons, 0);
}

TEST_F(OptionsTest, RestoreDefaultsThenCloseChangesNothing)
{
    WorkDayStart = 7 * 3600;
    AutoSynch = 0;
    TimeOut = 45;
    HotKeyCode = 116;
    HotKeyMask = 5;
    SaveSettings();
    const QString fileBefore = [] {
        QFile f(QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)).filePath("Tarv/Tarv.ini"));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }();
    ASSERT_FALSE(fileBefore.isEmpty());
    ASSERT_TRUE(Open());
    BoxWatcher boxes;
    boxes.Answer("btnYes");
    w->btnRestore->click();
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, BoxText(722));
    EXPECT_EQ(boxes.Boxes()[0].icon, 32);
    // The defaults are in the controls...
    EXPECT_EQ(w->lblStartTime->Caption(), "09:00:00");
    EXPECT_EQ(w->cmbTimeOut->Text(), "15");
    EXPECT_EQ(w->txtHotKey->text(), "CTRL+F10");
    EXPECT_EQ(Node("autosynch")->Image(), "chk_on");
    EXPECT_EQ(w->KeyCode(), 121);
    // ...and nowhere else.
    EXPECT_EQ(WorkDayStart, 7 * 3600);
    EXPECT_EQ(AutoSynch, 0);
    EXPECT_EQ(TimeOut, 45);
    EXPECT_EQ(HotKeyCode, 116);
    Close();
    QFile f(QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)).filePath("Tarv/Tarv.ini"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(f.readAll()), fileBefore);
    EXPECT_EQ(HotKeyMask, 5);

    // Restored and saved: the defaults hold.
    ASSERT_TRUE(Open());
    boxes.Answer("btnYes");
    w->btnRestore->click();
    w->btnSave->click();
    EXPECT_EQ(Status(), GetLangString(631, true));
    EXPECT_EQ(Setting("org", "timestart"), "09:00:00");
    EXPECT_EQ(Setting("tarv", "autosynch"), "1");
    EXPECT_EQ(Setting("tarv", "timeout"), "15");
    EXPECT_EQ(Setting("tarv", "vkey"), "121");
    EXPECT_EQ(Setting("tarv", "vmask"), "2");

    // No keeps the controls as they are.
    ClickNode("autocheck");
    w->Opt[1]->click();
    boxes.Answer("btnNo");
    w->btnRestore->click();
    EXPECT_EQ(Node("autocheck")->Image(), "chk_off");
}

TEST_F(OptionsTest, UndoShowsTheSettingsInForceAgain)
{
    ASSERT_TRUE(Open());
    BoxWatcher boxes;
    ClickNode("autocheck");
    w->Opt[1]->click();
    PickTime(w->lblStartTime, "1000");
    boxes.Answer("btnCancel");
    w->btnReset->click();
    EXPECT_EQ(w->lblStartTime->Caption(), "10:00:00");
    boxes.Answer("btnOK");
    w->btnReset->click();
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(boxes.Boxes()[0].text, BoxText(720));
    EXPECT_EQ(boxes.Boxes()[0].icon, 48);
    EXPECT_EQ(w->lblStartTime->Caption(), "09:00:00");
    EXPECT_EQ(Node("autocheck")->Image(), "chk_on");
    // The node stays chosen and shows its value again.
    EXPECT_EQ(w->lstOptions->SelectedItem(), Node("autocheck"));
    EXPECT_TRUE(w->Opt[0]->isChecked());
}

TEST_F(OptionsTest, WorkingDayTimesThroughThePicker)
{
    ASSERT_TRUE(Open());
    BoxWatcher boxes;
    ClickNode("times");
    // The close key writes the picked minute, never the old caption's characters.
    PickTime(w->lblEndTime, "1745", true);    // Enter: hh:mm, shown with its seconds
    EXPECT_EQ(w->lblEndTime->Caption(), "17:45:00");
    PickTime(w->lblEndTime, "1850");
    EXPECT_EQ(w->lblEndTime->Caption(), "18:50:00");
    w->btnSave->click();
    EXPECT_EQ(Setting("org", "timeend"), "18:50:00");
    EXPECT_EQ(WorkDayEnd, 18 * 3600 + 50 * 60);

    // A working day that does not start before it ends is refused; nothing is written.
    PickTime(w->lblStartTime, "1850");
    w->btnSave->click();
    PickTime(w->lblStartTime, "1900");
    w->btnSave->click();
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(boxes.Boxes()[0].text, BoxText(624));
    EXPECT_EQ(boxes.Boxes()[0].icon, 16);
    EXPECT_EQ(Status(), GetLangString(629, true));
    EXPECT_EQ(Setting("org", "timestart"), "09:00:00");
    EXPECT_EQ(WorkDayStart, 9 * 3600);
}

TEST_F(OptionsTest, TheTimeOutList)
{
    TimeOut = 20;   // not one of the list's
    SaveSettings();
    ASSERT_TRUE(Open());
    ClickNode("timeout");
    ASSERT_EQ(w->cmbTimeOut->ListCount(), 4);
    EXPECT_EQ(w->cmbTimeOut->List(0), "15");
    EXPECT_EQ(w->cmbTimeOut->List(3), "60");
    EXPECT_EQ(w->cmbTimeOut->ListIndex(), -1);
    w->btnSave->click();
    EXPECT_EQ(Status(), GetLangString(631, true));
    EXPECT_EQ(TimeOut, 20);
    EXPECT_EQ(Setting("tarv", "timeout"), "20");
    w->cmbTimeOut->SetListIndex(2);
    w->btnSave->click();
    EXPECT_EQ(Setting("tarv", "timeout"), "45");
}

TEST_F(OptionsTest, CredentialFaultsStopTheSave)
{
    IsConnected = true;
    ASSERT_TRUE(Open());
    BoxWatcher boxes;
    w->txtPassw->setText("");
    w->txtPasswR->setText("");
    w->btnSave->click();
    w->txtPassw->setText("new");
    w->btnSave->click();
    w->txtPasswR->setText("NEW");
    w->btnSave->click();
    ASSERT_EQ(boxes.Boxes().size(), 3u);
    EXPECT_EQ(boxes.Boxes()[0].text, BoxText(621));
    EXPECT_EQ(boxes.Boxes()[1].text, BoxText(622));
    EXPECT_EQ(boxes.Boxes()[2].text, BoxText(623));
    EXPECT_EQ(Status(), GetLangString(629, true));
    // New credentials that the service has not accepted are not kept.
    w->txtPasswR->setText("new");
    w->btnSave->click();
    ASSERT_EQ(boxes.Boxes().size(), 4u);
    EXPECT_EQ(boxes.Boxes()[3].text, BoxText(763));
    EXPECT_EQ(SavedPassword(), optiontest::kPassword);
    EXPECT_EQ(PasswordURL, optiontest::kPassword);
}

TEST_F(OptionsTest, OfflineTheBoxesHoldTheStoredCredentials)
{
    ASSERT_TRUE(Open());
    EXPECT_FALSE(w->txtPassw->isEnabled());
    EXPECT_FALSE(w->txtPasswR->isEnabled());
    EXPECT_FALSE(w->btnVerify->isEnabled());
    EXPECT_TRUE(w->txtUserName->isEnabled());
    EXPECT_EQ(w->txtUserName->text(), optiontest::kUser);
    EXPECT_EQ(w->txtPassw->text(), optiontest::kPassword);
    EXPECT_EQ(w->txtPasswR->text(), optiontest::kPassword);
    EXPECT_EQ(w->lbl[13]->text(), GetLangString(757));
    EXPECT_EQ(w->lbl[3]->text(), "");
    w->btnSave->click();
    EXPECT_EQ(Status(), GetLangString(631, true));
    EXPECT_EQ(SavedUser(), optiontest::kUser);
}

TEST_F(OptionsTest, HotKeyCapture)
{
    ASSERT_TRUE(Open());
    BoxWatcher boxes;
    ClickNode("hotkey");
    EXPECT_EQ(w->txtHotKeyPre->text(), "CTRL+F10");

    PressKey(Qt::Key_F5, Qt::ShiftModifier | Qt::AltModifier);
    EXPECT_EQ(w->txtHotKey->text(), "SHIFT+ALT+F5");
    EXPECT_EQ(w->KeyCode(), 116);
    EXPECT_EQ(w->KeyMask(), 5);

    // A modifier alone shows what is held and is never taken: let go, the box shows the key.
    Send(w->txtHotKey, QEvent::KeyPress, Qt::Key_Control, Qt::NoModifier);
    EXPECT_EQ(w->txtHotKey->text(), "CTRL+");
    Send(w->txtHotKey, QEvent::KeyPress, Qt::Key_Shift, Qt::ControlModifier);
    EXPECT_EQ(w->txtHotKey->text(), "SHIFT+CTRL+");
    Send(w->txtHotKey, QEvent::KeyRelease, Qt::Key_Shift, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(w->txtHotKey->text(), "SHIFT+CTRL+");
    Send(w->txtHotKey, QEvent::KeyRelease, Qt::Key_Control, Qt::ControlModifier);
    EXPECT_EQ(w->txtHotKey->text(), "SHIFT+ALT+F5");
    EXPECT_EQ(w->KeyCode(), 116);
    EXPECT_EQ(w->KeyMask(), 5);
    // Given up by leaving the box, the same.
    Send(w->txtHotKey, QEvent::KeyPress, Qt::Key_Alt, Qt::NoModifier);
    EXPECT_EQ(w->txtHotKey->text(), "ALT+");
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(w->txtHotKey, &out);
    EXPECT_EQ(w->txtHotKey->text(), "SHIFT+ALT+F5");
    EXPECT_TRUE(boxes.Boxes().empty());

    // A function key without a modifier, a letter: refused, the captured key stays.
    PressKey(Qt::Key_F12, Qt::NoModifier);
    PressKey(Qt::Key_A, Qt::ControlModifier);
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(boxes.Boxes()[0].text, BoxText(724));
    EXPECT_EQ(boxes.Boxes()[0].icon, 16);
    EXPECT_EQ(w->txtHotKey->text(), "SHIFT+ALT+F5");
    EXPECT_EQ(w->KeyCode(), 116);
    EXPECT_EQ(Node("hotkey")->Image(), "chk_on");

    // Saved: the key is the settings'.
    w->btnSave->click();
    EXPECT_EQ(Status(), GetLangString(631, true));
    EXPECT_EQ(Setting("tarv", "vkey"), "116");
    EXPECT_EQ(Setting("tarv", "vmask"), "5");
    EXPECT_EQ(w->txtHotKeyPre->text(), "SHIFT+ALT+F5");

    // Delete removes it, as the Remove button does.
    PressKey(Qt::Key_Delete, Qt::NoModifier);
    EXPECT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(w->KeyCode(), 0);
    EXPECT_EQ(w->txtHotKeyPre->text(), "<Removed>");
    EXPECT_EQ(Node("hotkey")->Image(), "chk_off");
    PressKey(Qt::Key_F2, Qt::ControlModifier);
    EXPECT_EQ(w->KeyCode(), 113);
    w->btnRemove->click();
    EXPECT_EQ(w->txtHotKey->text(), "");
    EXPECT_EQ(w->KeyCode(), 0);
    EXPECT_EQ(w->KeyMask(), 0);
    w->btnSave->click();
    EXPECT_EQ(Setting("tarv", "vkey"), "0");
    EXPECT_EQ(Setting("tarv", "vmask"), "0");
    EXPECT_FALSE(frmStart::Peek()->m_Hotkey);
    EXPECT_EQ(w->txtHotKeyPre->text(), GetLangString(725, true));
}

TEST_F(OptionsTest, ALanguageSwitchKeepsTheChoicesNotSaved)
{
    ASSERT_TRUE(Open());
    ClickNode("autosynch");
    w->Opt[1]->click();
    ClickNode("lang");
    w->cmbLang->SetListIndex(3);   // Greek
    ClickNode("hotkey");
    PressKey(Qt::Key_F7, Qt::AltModifier);
    PickTime(w->lblStartTime, "0745");

    frametest::Click(frmMain::Get()->imgFlag[3]);   // German
    ASSERT_EQ(LangID, 3);
    EXPECT_EQ(w->btnSave->text(), GetLangString(903));
    EXPECT_EQ(w->sTab->tabText(1), GetLangString(707));
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Optionen"));
    auto *frame = frmMain::Get()->findChild<QMdiSubWindow *>(QStringLiteral("frmOptionsSub"));
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Optionen"));
    EXPECT_EQ(Node("autosynch")->Text(), GetLangString(730, true));
    EXPECT_EQ(Node("autosynch")->Image(), "chk_off");
    EXPECT_FALSE(Node("autosynch")->Checked());
    EXPECT_EQ(w->cmbLang->ItemData(w->cmbLang->ListIndex()), 1);
    EXPECT_EQ(Node("lang")->Image(), "fl_gr");
    EXPECT_EQ(w->txtHotKey->text(), "ALT+F7");
    EXPECT_EQ(w->KeyCode(), 118);
    EXPECT_EQ(w->lblStartTime->Caption(), "07:45:00");
    // The node the person was on stays chosen with its frame.
    EXPECT_EQ(w->lstOptions->SelectedItem(), Node("hotkey"));
    EXPECT_EQ(FrameInView(w), "frHotKey");

    w->btnSave->click();
    EXPECT_EQ(Setting("tarv", "autosynch"), "0");
    EXPECT_EQ(Setting("user", "langid"), "1");
    EXPECT_EQ(LangID, 1);
    NewStart();
    EXPECT_EQ(LangID, 1);
}

TEST_F(OptionsTest, ASaveThatFailsIsToldWithItsCause)
{
    ASSERT_TRUE(Open());
    BoxWatcher boxes;
    // The autostart folder cannot be made: a file stands in its place.
    const QString folder = shell::StartupFolder();
    QDir(folder).removeRecursively();
    QDir().mkpath(QFileInfo(folder).path());
    {
        QFile blocker(folder);
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }
    ClickNode("autocheck");
    w->Opt[1]->click();
    w->btnSave->click();
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_TRUE(boxes.Boxes()[0].text.startsWith(BoxText(765))) << boxes.Boxes()[0].text.toStdString();
    EXPECT_TRUE(boxes.Boxes()[0].text.contains("autostart")) << boxes.Boxes()[0].text.toStdString();
    EXPECT_NE(Status(), GetLangString(631, true));
    EXPECT_EQ(Status(), GetLangString(768, true));
    // What could be written was.
    EXPECT_EQ(Setting("tarv", "autocheck"), "0");
    QFile::remove(folder);

    // The settings file cannot be written: a folder stands in its place.
    const QString ini = QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)).filePath("Tarv/Tarv.ini");
    ASSERT_TRUE(QFile::remove(ini));
    ASSERT_TRUE(QDir().mkpath(ini));
    ClickNode("autosynch");
    w->Opt[1]->click();
    w->btnSave->click();
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_TRUE(boxes.Boxes()[1].text.startsWith(BoxText(767))) << boxes.Boxes()[1].text.toStdString();
    EXPECT_TRUE(boxes.Boxes()[1].text.contains("Tarv.ini")) << boxes.Boxes()[1].text.toStdString();
    EXPECT_EQ(Status(), GetLangString(768, true));
}

TEST_F(OptionsTest, HelpAndHints)
{
    ASSERT_TRUE(Open());
    frametest::Move(w->btnSave);
    EXPECT_EQ(Status(), GetLangString(759, true));
    frametest::Move(w->btnReset);
    EXPECT_EQ(Status(), GetLangString(760, true));
    frametest::Move(w->btnRestore);
    EXPECT_EQ(Status(), GetLangString(758, true));
    EXPECT_EQ(w->mnuHelp->title(), GetLangString(287));
    EXPECT_EQ(w->mnuHelp_options->text(), GetLangString(718));
    ASSERT_TRUE(QFile::copy(QStringLiteral(TARV_SOURCE_DIR "/data/hlp_frmOptions_0.htm"), m_dir + "/hlp_frmOptions_0.htm"));
    w->mnuHelp_options->trigger();
    ASSERT_NE(frmHlp::Peek(), nullptr);
    EXPECT_TRUE(frmHlp::Peek()->WBr->LocationPath().endsWith("hlp_frmOptions_0.htm"));
}

TEST_F(OptionsTest, NotOpenedWhileATimerRunsFromAnyPath)
{
    BoxWatcher boxes;
    TimerRunning = true;
    EXPECT_FALSE(Open());
    EXPECT_FALSE(frmMain::Get()->OpenWindow("frmOptions"));
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    for (const auto &b : boxes.Boxes()) {
        EXPECT_EQ(b.text, BoxText(92));
        EXPECT_EQ(b.icon, 16);
    }
    EXPECT_EQ(frmOptions::Peek(), nullptr);
    TimerRunning = false;
    ASSERT_TRUE(Open());
    EXPECT_TRUE(w->isVisible());
}
