#pragma once
// A person with a profile in the settings file, the main window and the timers window open as
// after a normal start, and the options window opened the way the timers window's menu opens
// it. The tests drive the window through its real controls: clicks on the tree's nodes, the
// buttons and the picker's keys, key presses in the key box.
#include "options_help/frmOptions.h"
#include "tests/mainwindow/FrameFixture.h"

#include <QString>

class QWidget;
namespace forms { class Node; class TreeView; }

namespace optiontest {

class OptionsTest : public frametest::FrameTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Opens the options window (the main window's one way in); nullptr when refused.
    frmOptions *Open();
    // Unloads the window as its Close button does, and waits until it has gone.
    void Close();
    // Clicks the node of that key with the mouse, on the settings tab.
    void ClickNode(const QString &key);
    forms::Node *Node(const QString &key) const;
    // Picks a time for one of the time labels with the picker: typed digits, then the close
    // key (or Enter when enter is true).
    void PickTime(QWidget *label, const char *digits, bool enter = false);
    // A key pressed in the new-key box, released again.
    void PressKey(int qtKey, Qt::KeyboardModifiers mods);
    // What the main window's status line shows (without its leading blank).
    QString Status() const;
    // One value of the settings file.
    static QString Setting(const QString &section, const QString &key);
    // The program starting again: every profile value wiped and read back from the file.
    static void NewStart();
    // The credentials of the profile as the settings file holds them, in plain text.
    static QString SavedUser();
    static QString SavedPassword();

    frmOptions *w = nullptr;
};

// The two credentials the profile starts with.
inline const QString kUser = QStringLiteral("maria.o");
inline const QString kPassword = QStringLiteral("s3cret");

} // namespace optiontest
