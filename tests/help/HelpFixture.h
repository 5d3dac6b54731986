#pragma once
// The help tests' program folder: the main window's fixture with the shipped help pages and
// videos copied beside the program, and a catcher for the addresses the desktop would open.
#include "tests/mainwindow/FrameFixture.h"

#include <QObject>
#include <QList>
#include <QUrl>

// Stands in for the person's browser: the addresses the program asks the desktop to open.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    UrlCatcher();
    ~UrlCatcher() override;
    QList<QUrl> urls;

public slots:
    void open(const QUrl &url) { urls << url; }
};

class HelpTest : public frametest::FrameTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // A file of the program folder.
    QString In(const QString &name) const { return m_dir + QStringLiteral("/") + name; }
    // The plain text of a shipped page as the browser shows it.
    static QString TextOf(const QString &file);
};
