#include "platform/recent_files.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>
#include "tests/support/test_pictures.h"

namespace orv {

namespace {

QString ReadText(const QString& path) { return QString::fromUtf8(test::ReadAll(path)); }

// A list as another desktop program leaves it: a comment, an entry of another file with its
// own application, and an entry of our file used by another program.
const char* const kOtherList = R"(<?xml version="1.0" encoding="UTF-8"?>
<xbel version="1.0"
      xmlns:bookmark="http://www.freedesktop.org/standards/desktop-bookmarks"
      xmlns:mime="http://www.freedesktop.org/standards/shared-mime-info"
>
  <!-- kept -->
  <bookmark href="file:///home/u/notes%20a.txt" added="2023-01-02T03:04:05.000000Z" modified="2023-01-02T03:04:05.000000Z" visited="2023-01-02T03:04:05.000000Z">
    <info>
      <metadata owner="http://freedesktop.org">
        <mime:mime-type type="text/plain"/>
        <bookmark:applications>
          <bookmark:application name="Text Editor" exec="&apos;gnome-text-editor %u&apos;" modified="2023-01-02T03:04:05.000000Z" count="3"/>
        </bookmark:applications>
      </metadata>
    </info>
  </bookmark>
  <bookmark href="PICTURE" added="2022-05-05T00:00:00Z" modified="2022-05-05T00:00:00Z" visited="2022-05-05T00:00:00Z">
    <info>
      <metadata owner="http://freedesktop.org">
        <mime:mime-type type="image/bmp"/>
        <bookmark:applications>
          <bookmark:application name="Viewer" exec="&apos;viewer %u&apos;" modified="2022-05-05T00:00:00Z" count="1"/>
        </bookmark:applications>
      </metadata>
    </info>
  </bookmark>
</xbel>
)";

} // namespace

TEST(RecentFiles, ANewListHoldsTheFileWithOurApplication)
{
    QTemporaryDir dir;
    const QString list = dir.filePath("share/recently-used.xbel");   // the folder is made too
    const QString picture = dir.filePath("my pic.bmp");
    QString error;
    ASSERT_TRUE(AddToRecentFiles(picture, list, &error)) << error.toStdString();
    const QString text = ReadText(list);
    EXPECT_TRUE(text.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
    for (const QString& part : {QString("xmlns:bookmark=\"http://www.freedesktop.org/standards/desktop-bookmarks\""),
                                "<bookmark href=\"file://" + dir.path() + "/my%20pic.bmp\"",
                                QString("<mime:mime-type type=\"image/bmp\"/>"), QString("name=\"Orvane\""), QString("count=\"1\"")})
        EXPECT_TRUE(text.contains(part)) << part.toStdString();
    // Opened again: still one entry, counted twice.
    ASSERT_TRUE(AddToRecentFiles(picture, list, &error));
    EXPECT_EQ(ReadText(list).count("<bookmark "), 1);
    EXPECT_TRUE(ReadText(list).contains("count=\"2\""));
    EXPECT_EQ(QDir(dir.filePath("share")).entryList(QDir::Files | QDir::Hidden), QStringList{"recently-used.xbel"});
}

TEST(RecentFiles, OtherEntriesAreKeptAndAnEntryOfTheFileGetsOurUse)
{
    QTemporaryDir dir;
    const QString list = dir.filePath("recently-used.xbel");
    const QString picture = dir.filePath("p.bmp");
    const QString uri = QUrl::fromLocalFile(picture).toString(QUrl::FullyEncoded);
    test::WriteAll(list, QString::fromUtf8(kOtherList).replace("PICTURE", uri).toUtf8());
    QString error;
    ASSERT_TRUE(AddToRecentFiles(dir.filePath("new.jpg"), list, &error)) << error.toStdString();
    ASSERT_TRUE(AddToRecentFiles(picture, list, &error)) << error.toStdString();
    const QString text = ReadText(list);
    EXPECT_TRUE(text.contains("<!-- kept -->"));
    // The same entry (the apostrophes may be written plainly: the same XML).
    EXPECT_TRUE(text.contains(R"(<bookmark:application name="Text Editor" exec="'gnome-text-editor %u'" modified="2023-01-02T03:04:05.000000Z" count="3"/>)"))
        << text.toStdString();
    EXPECT_TRUE(text.contains(R"(<bookmark href="file:///home/u/notes%20a.txt" added="2023-01-02T03:04:05.000000Z")"));
    EXPECT_EQ(text.count("<bookmark "), 3);
    EXPECT_TRUE(text.contains(R"(name="Viewer")"));
    // Our file's entry keeps its added time, gets new modified and visited times and our use.
    const qsizetype entry = text.indexOf("<bookmark href=\"" + uri + "\"");
    ASSERT_GE(entry, 0);
    const QString ours = text.mid(entry, text.indexOf("</bookmark>", entry) - entry);
    EXPECT_TRUE(ours.contains(R"(added="2022-05-05T00:00:00Z")"));
    EXPECT_FALSE(ours.contains(R"(modified="2022-05-05T00:00:00Z" visited)"));
    EXPECT_TRUE(ours.contains(R"(name="Orvane")"));
    EXPECT_TRUE(text.contains("new.jpg"));
    EXPECT_TRUE(text.trimmed().endsWith("</xbel>"));
}

TEST(RecentFiles, AListThatIsNotXbelIsLeftAlone)
{
    QTemporaryDir dir;
    const QString list = dir.filePath("recently-used.xbel");
    for (const QByteArray& content : {QByteArray("<xbel><bookmark href="), QByteArray("<html></html>")}) {
        test::WriteAll(list, content);
        QString error;
        EXPECT_FALSE(AddToRecentFiles(dir.filePath("a.bmp"), list, &error));
        EXPECT_TRUE(error.contains("recently-used.xbel")) << error.toStdString();
        EXPECT_EQ(test::ReadAll(list), content);
    }
    // A list in a place that cannot be written reports it.
    QString error;
    EXPECT_FALSE(AddToRecentFiles(dir.filePath("a.bmp"), "/proc/no/recently-used.xbel", &error));
    EXPECT_FALSE(error.isEmpty());
}

} // namespace orv
