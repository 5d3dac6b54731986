#pragma once
// A child window of the main window: it lives in a frame of the main window's document area,
// the frame shows with it and goes with it.
#include "core/Captions.h"

#include <QPointer>
#include <QString>
#include <QWidget>

class QMdiSubWindow;

class ChildWindow : public QWidget {
public:
    // Showing the window shows its frame in the main window too.
    void setVisible(bool visible) override;

protected:
    ChildWindow() = default;
    // The frame goes with the window (when the frame itself is being destroyed, the request
    // is dropped with it).
    ~ChildWindow() override;

    // Puts the window into a new frame of the main window's document area, named subName.
    void PlaceInMainWindow(const QString &subName, Qt::WindowFlags flags = {});

    QPointer<QMdiSubWindow> m_sub;
};
