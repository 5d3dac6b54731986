#pragma once
// A child window of the main window: it lives in a frame of the main window's document area,
// the frame shows with it and goes with it.
#include "core/Captions.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

class QMdiSubWindow;

class ChildWindow : public QWidget {
public:
    // Showing the window shows its frame in the main window too.
    void setVisible(bool visible) override;

    // Calls activated each time the frame sub becomes the active one of the main window's
    // document area (not when the main window only gets the focus back), once the activation
    // has settled, as a window's own activate event would; for as long as owner lives.
    static void WatchActivation(QWidget *owner, QMdiSubWindow *sub, std::function<void()> activated);

    // Shows the window and brings it to the front, whether it was loaded already or not: a
    // window in a frame of the main window's document area has its frame shown, raised above
    // the other frames and made the active one; a window of its own comes back from being
    // minimised and is raised above the program's other windows.
    static void BringToFront(QWidget *window);

    // Asked before the window closes (its close box, CloseAfterAsking, the program's end); false
    // keeps it open. A window with something to lose asks the person here.
    virtual bool QueryUnload() { return true; }

protected:
    ChildWindow() = default;
    // The frame goes with the window (when the frame itself is being destroyed, the request
    // is dropped with it).
    ~ChildWindow() override;

    // Puts the window into a new frame of the main window's document area, named subName.
    void PlaceInMainWindow(const QString &subName, Qt::WindowFlags flags = {});
    // WatchActivation for this window's frame.
    void OnActivation(std::function<void()> activated);

    // The close box asks QueryUnload, unless the person already agreed.
    void closeEvent(QCloseEvent *e) override;
    // A Close button: asks QueryUnload; once the person agrees, unload runs after the click is
    // over (the window must not go from inside its own button's handler).
    void CloseAfterAsking(void (*unload)());

    QPointer<QMdiSubWindow> m_sub;

private:
    bool m_closeAgreed = false;
};
