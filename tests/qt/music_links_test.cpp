// Music names on a real file system: a link in the music folder counts only while it
// leads to an ordinary file that still lies below that folder.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/qt/qt_platform.h"

namespace tessaron::qt::music_links_test {
namespace {

TEST(MusicLinks, OnlyOrdinaryFilesBelowTheFolderOnceLinksAreFollowed) {
  QTemporaryDir root;
  const QString music = root.filePath("music"), outside = root.filePath("outside");
  // A sibling whose name starts with the folder's: below it by the letters, not the path.
  const QString sibling = root.filePath("music-old");
  ASSERT_TRUE(QDir().mkpath(music + "/sub") && QDir().mkpath(outside) && QDir().mkpath(sibling));
  for (const QString& path :
       {music + "/tune.wav", music + "/sub/deep.wav", outside + "/x.wav", sibling + "/old.wav"}) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("RIFF");
  }
  ASSERT_TRUE(QFile::link("tune.wav", music + "/relative.wav"));
  ASSERT_TRUE(QFile::link(music + "/sub/deep.wav", music + "/absolute.wav"));
  ASSERT_TRUE(QFile::link(outside + "/x.wav", music + "/leads-out.wav"));
  ASSERT_TRUE(QFile::link("../outside/x.wav", music + "/climbs-out.wav"));
  ASSERT_TRUE(QFile::link("/etc/passwd", music + "/passwd.wav"));
  ASSERT_TRUE(QFile::link(outside, music + "/linked-folder"));
  ASSERT_TRUE(QFile::link("../music-old/old.wav", music + "/into-sibling.wav"));

  struct Case {
    const char* name;
    const char* file;
    bool found;
  };
  const Case cases[] = {
      {"a file in the folder", "tune.wav", true},
      {"a file in a subfolder", "sub/deep.wav", true},
      {"a relative link to a file beside it", "relative.wav", true},
      {"an absolute link to a file below the folder", "absolute.wav", true},
      {"a link to a file elsewhere", "leads-out.wav", false},
      {"a relative link that climbs out", "climbs-out.wav", false},
      {"a link to /etc/passwd", "passwd.wav", false},
      {"a file through a linked folder outside", "linked-folder/x.wav", false},
      {"a link into a sibling folder named like it", "into-sibling.wav", false},
      {"a folder", "sub", false},
      {"nothing of that name", "missing.wav", false},
  };
  QtPlatform platform;
  const std::string folder = music.toStdString() + "/";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(platform.isOrdinaryFileBelow(folder + c.file, folder), c.found);
  }
}

}  // namespace
}  // namespace tessaron::qt::music_links_test
