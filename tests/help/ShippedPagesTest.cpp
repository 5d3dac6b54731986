// The help pages and videos shipped in data/: every page in the four languages, nothing empty,
// every link leading to a page, a video or a window that exists, and the build's copies beside
// the program.
#include "options_help/HelpRules.h"
#include "options_help/frmVideo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMovie>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <gtest/gtest.h>

namespace {

const QString kData = QStringLiteral(TARV_SOURCE_DIR "/data");

// The pages the program opens by name: the index, the fixed pages and one per window.
const QStringList kPages = {
    QStringLiteral("hlp_index"),    QStringLiteral("hlp_WhatIs"),      QStringLiteral("hlp_Login"),
    QStringLiteral("hlp_frmStart"), QStringLiteral("hlp_frmDaily"),    QStringLiteral("hlp_frmDailyExp"),
    QStringLiteral("hlp_frmSynch"), QStringLiteral("hlp_frmOptions"),
};
// The windows a ">>" link may bring.
const QSet<QString> kWindows = {
    QStringLiteral("frmLogin"), QStringLiteral("frmStart"),    QStringLiteral("frmDaily"),
    QStringLiteral("frmDailyExp"), QStringLiteral("frmSynch"), QStringLiteral("frmOptions"),
};
const QStringList kVideos = {QStringLiteral("hlp_RecordTime"), QStringLiteral("hlp_LiveRecording"),
                             QStringLiteral("hlp_One_Desktop")};

QString ReadText(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(f.readAll());
}

// Every link of a page, in the order they stand.
QStringList Links(const QString &html)
{
    QTextDocument doc;
    doc.setHtml(html);
    QStringList links;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (const QString href = it.fragment().charFormat().anchorHref(); !href.isEmpty()
                && (links.isEmpty() || links.last() != href))
                links << href;
    return links;
}

QString PlainText(const QString &html)
{
    QTextDocument doc;
    doc.setHtml(html);
    return doc.toPlainText().simplified();
}

QStringList AllPageFiles()
{
    QStringList files;
    for (const QString &page : kPages)
        for (int lang = 0; lang < 4; ++lang)
            files << helprules::LanguagePage(kData + "/" + page + ".htm", lang);
    for (int lang = 0; lang < 4; ++lang)
        files << helprules::ErrorPage(kData, lang);
    return files;
}

TEST(ShippedPages, EveryPageStandsInTheFourLanguagesWithText)
{
    for (const QString &file : AllPageFiles()) {
        ASSERT_TRUE(QFileInfo(file).isFile()) << file.toStdString();
        const QString html = ReadText(file);
        EXPECT_TRUE(html.contains(QStringLiteral("<meta charset=\"utf-8\">"))) << file.toStdString();
        EXPECT_TRUE(html.contains(QStringLiteral("</html>"))) << file.toStdString();
        // A title and some sentences, not an empty shell.
        EXPECT_GT(PlainText(html).size(), 120) << file.toStdString();
        const QRegularExpression title(QStringLiteral("<title>([^<]+)</title>"));
        EXPECT_TRUE(title.match(html).hasMatch()) << file.toStdString();
    }
}

TEST(ShippedPages, TheLanguagesOfAPageAreTranslationsOfEachOther)
{
    for (const QString &page : kPages) {
        const QStringList english = Links(ReadText(kData + "/" + page + "_0.htm"));
        QSet<QString> texts;
        for (int lang = 0; lang < 4; ++lang) {
            const QString html = ReadText(helprules::LanguagePage(kData + "/" + page + ".htm", lang));
            // the same links in the same order in every language
            EXPECT_EQ(Links(html), english) << page.toStdString() << " " << lang;
            texts << PlainText(html);
        }
        // and four different texts
        EXPECT_EQ(texts.size(), 4) << page.toStdString();
    }
}

TEST(ShippedPages, EveryLinkLeadsToAPageAVideoOrAWindowThatExists)
{
    int commands[3] = {0, 0, 0};
    for (const QString &file : AllPageFiles()) {
        const QStringList links = Links(ReadText(file));
        for (const QString &href : links) {
            SCOPED_TRACE(file.toStdString() + " -> " + href.toStdString());
            const helprules::Link link = helprules::ParseAddress(kData, kData + "/" + href);
            switch (link.command) {
            case helprules::Command::WebSite:
                ++commands[0];
                break;
            case helprules::Command::Video:
                ++commands[1];
                EXPECT_TRUE(helprules::IsBareFileName(link.argument));
                EXPECT_FALSE(MoviePlayer::FindMovieFile(kData + "/" + link.argument).isEmpty());
                break;
            case helprules::Command::Window:
                ++commands[2];
                EXPECT_TRUE(kWindows.contains(link.argument));
                break;
            case helprules::Command::Page:
                // a page of the program named without its language, present in every language
                EXPECT_FALSE(href.contains(QLatin1Char('/')) || href.contains(QLatin1Char(':')));
                ASSERT_TRUE(href.endsWith(QStringLiteral(".htm")));
                for (int lang = 0; lang < 4; ++lang)
                    EXPECT_TRUE(QFileInfo(helprules::LanguagePage(kData + "/" + href, lang)).isFile()) << lang;
                break;
            }
        }
    }
    // The pages use each command.
    EXPECT_GT(commands[0], 0);
    EXPECT_GT(commands[1], 0);
    EXPECT_GT(commands[2], 0);
}

TEST(ShippedPages, EachWindowPageLinksToItsWindow)
{
    for (const QString &window : kWindows) {
        if (window == QStringLiteral("frmLogin"))
            continue;
        const QStringList links = Links(ReadText(kData + "/hlp_" + window + "_0.htm"));
        EXPECT_TRUE(links.contains(QStringLiteral(">>") + window)) << window.toStdString();
    }
    EXPECT_TRUE(Links(ReadText(kData + "/hlp_Login_0.htm")).contains(QStringLiteral(">>frmLogin")));
}

TEST(ShippedVideos, EachVideoIsASmallAnimationOfSeveralFrames)
{
    for (const QString &video : kVideos) {
        const QString file = MoviePlayer::FindMovieFile(kData + "/" + video + ".swf");
        ASSERT_FALSE(file.isEmpty()) << video.toStdString();
        EXPECT_TRUE(file.endsWith(QStringLiteral(".gif")));
        QMovie movie(file);
        ASSERT_TRUE(movie.isValid()) << video.toStdString();
        EXPECT_GE(movie.frameCount(), 3) << video.toStdString();
        EXPECT_LE(QFileInfo(file).size(), 600 * 1024) << video.toStdString();
    }
}

TEST(ShippedPages, TheBuildPutsThemBesideTheProgram)
{
    QStringList files = AllPageFiles();
    for (const QString &video : kVideos)
        files << kData + "/" + video + ".gif";
    for (const QString &file : files) {
        const QString copy = QStringLiteral(TARV_BIN_DIR "/") + QFileInfo(file).fileName();
        ASSERT_TRUE(QFileInfo(copy).isFile()) << copy.toStdString();
        QFile a(file), b(copy);
        ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        EXPECT_EQ(a.readAll(), b.readAll()) << copy.toStdString();
    }
}

} // namespace
