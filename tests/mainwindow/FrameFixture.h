#pragma once
// What the main window's and the timers window's tests share: a program folder of their own
// with the shipped string table, a database holding the person's profile (and, when asked,
// projects, tasks and categories), a shutdown that ends no process, mouse events sent to the
// real controls, and a watcher that answers the message boxes and keeps what they said.
#include <QPoint>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <deque>
#include <vector>

class QTimer;
class QWidget;
class QPixmap;

namespace frametest {

// One message box as the watcher saw it.
struct Box {
    QString text;    // the prompt, line breaks as "\n"
    int icon = 0;    // 16, 32, 48, 64 or 0
    QString pressed; // objectName of the button pressed
};

// Answers every message box that opens while it lives: with the next button of its queue, or
// with the box's first shown button when the queue is empty.
class BoxWatcher {
public:
    BoxWatcher();
    ~BoxWatcher();
    void Answer(const QString &buttonName) { m_answers.push_back(buttonName); }
    const std::vector<Box> &Boxes() const { return m_boxes; }

private:
    QTimer *m_timer;
    std::deque<QString> m_answers;
    std::vector<Box> m_boxes;
};

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Projects of the person: "Alpha" (expenses allowed when withExpenses) with task "Design"
    // and its categories "Drawing" and "Meetings".
    void AddReferenceData(bool withExpenses);
    // How often the shutdown reached the end of the process.
    int Ended() const { return m_ended; }

    QString m_dir;     // the program folder
    int m_ended = 0;
};

// Mouse events as the window system delivers them, at the middle of the widget.
void Press(QWidget *w);
void Release(QWidget *w);
void Move(QWidget *w);
void Click(QWidget *w);   // press and release

// The same picture, pixel by pixel.
bool SamePicture(const QPixmap &a, const QPixmap &b);

// Text of a string id as a message box shows it (multi-line form, line breaks as "\n").
QString BoxText(int16_t id);

} // namespace frametest

// Readable QString values in the test output.
inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}
