#pragma once
// How long work tells the person how far it got, without knowing who shows it: the transport's
// request lines, the steps of the database creation. The caller hands in whatever shows the
// steps (the sign-in window, the main window's status line and progress bar); the work itself
// never looks for a window. Every operation paints at once: the work usually pauses right
// after it, and the pause must show what it painted.
#include <QString>

#include <memory>

namespace modMain {

class Progress {
public:
    Progress() = default;
    Progress(const Progress &) {}
    Progress &operator=(const Progress &) { return *this; }
    virtual ~Progress() = default;

    // One step: caption is the main line; a detail that is not "" replaces the detail line
    // (an empty one leaves the detail line as it was). Shows where there is no detail line
    // ignore the detail.
    virtual void ShowStep(const QString &caption, const QString &detail) = 0;
    // The progress bar: its value on the 0..100 scale, and whether it is shown.
    virtual void SetBarValue(int value) { (void)value; }
    virtual void SetBarVisible(bool visible) { (void)visible; }
    // The busy (hourglass) pointer over the program while the work runs.
    virtual void SetBusy(bool busy);

private:
    friend class ProgressWatch;
    // Expires with the object: work that lets the event loop turn sees that the display went.
    std::shared_ptr<char> m_alive = std::make_shared<char>();
};

// Holds a progress for work that lets the event loop turn: the window that shows the steps
// may close meanwhile, and the work then goes on without a display.
class ProgressWatch {
public:
    explicit ProgressWatch(Progress *progress)
        : m_progress(progress), m_alive(progress ? progress->m_alive : std::shared_ptr<char>())
    {
    }
    // The progress while it still exists, else nullptr.
    Progress *get() const { return m_alive.expired() ? nullptr : m_progress; }
    explicit operator bool() const { return get() != nullptr; }
    Progress *operator->() const { return get(); }

private:
    Progress *m_progress;
    std::weak_ptr<char> m_alive;
};

// A designed pause of long work, secs long (as WaitSecs). Unlike WaitSecs it lets through
// what must never wait for the work: a termination signal, the end of the desktop session,
// and the painting of the windows. The person's input stays out, so nothing the person does
// starts while the work runs.
void PauseSecs(double secs);

// True once the program is ending (the shutdown is past its questions). Long work that
// paused checks it and gives up at once: the windows it reported to may be gone.
bool ProgramEnding();
void SetProgramEnding(bool ending);

} // namespace modMain
