#include "tests/help/HelpFixture.h"

#include "core/modMain.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QTextDocument>

UrlCatcher::UrlCatcher()
{
    for (const char *scheme : {"http", "https", "mailto"})
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "open");
}

UrlCatcher::~UrlCatcher()
{
    for (const char *scheme : {"http", "https", "mailto"})
        QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
}

void HelpTest::SetUp()
{
    FrameTest::SetUp();
    if (HasFatalFailure())
        return;
    const QDir data(QStringLiteral(TARV_SOURCE_DIR "/data"));
    for (const QString &name : data.entryList({QStringLiteral("hlp_*")}, QDir::Files))
        ASSERT_TRUE(QFile::copy(data.filePath(name), In(name))) << name.toStdString();
    modMain::HelpIndexPath = In(QStringLiteral("hlp_index.htm"));
}

void HelpTest::TearDown()
{
    modMain::HelpIndexPath.clear();
    FrameTest::TearDown();
}

QString HelpTest::TextOf(const QString &file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    QTextDocument doc;
    doc.setHtml(QString::fromUtf8(f.readAll()));
    return doc.toPlainText();
}
