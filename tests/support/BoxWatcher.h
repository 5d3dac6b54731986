#pragma once
// Records every one of the program's message boxes that opens while it lives (its text and its
// icon) and closes it with its OK button, or as closed when it has none. Header only: a suite
// that uses it links the core, where the box lives.
#include "core/FMessage.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <vector>

namespace testenv {

class BoxWatcher {
public:
    struct Box {
        QString text;
        int icon;
    };
    BoxWatcher()
    {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            auto *box = qobject_cast<FMessage *>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            boxes.push_back({box->lblMessage->text(), box->Icon()});
            if (auto *ok = box->findChild<QPushButton *>(QStringLiteral("btnOK")); ok && ok->isVisible())
                ok->click();
            else
                box->done(0);
        });
        m_timer.start();
    }
    std::vector<Box> boxes;

private:
    QTimer m_timer;
};

} // namespace testenv
