#include <gtest/gtest.h>

#include "online/UpdateDescription.h"
#include "tests/support/TempFolder.h"

namespace orlisk::testing {
namespace {

// Writes a file into `folder` and gives its path.
std::filesystem::path WriteFile(const TempFolder& folder, const std::string& name, const std::string& bytes) {
  WriteBytes(folder / name, bytes);
  return folder / name;
}

TEST(ReadDescriptionVersion, IsAWholeNumberOrZero) {
  struct Row {
    const char* file;
    std::int32_t version;
  };
  for (Row row : {Row{"[versinon]\r\nversinon=6\r\n", 6}, Row{"[VERSINON]\nVersinon = 12\n", 12},
                  Row{"[versinon]\nversinon=six\n", 0}, Row{"[versinon]\nversinon=6a\n", 0},
                  Row{"[versinon]\nversinon=\n", 0}, Row{"[versinon]\nother=6\n", 0},
                  Row{"[version]\nversion=6\n", 0}, Row{"", 0}, Row{"<html>not found</html>", 0},
                  Row{"[versinon]\nversinon=-3\n", -3}}) {
    TempFolder folder;
    EXPECT_EQ(ReadDescriptionVersion(WriteFile(folder, "update.ini", row.file)), row.version) << row.file;
  }
  TempFolder folder;
  EXPECT_EQ(ReadDescriptionVersion(folder.path() / "missing.ini"), 0);
}

TEST(ReadUpdateNotice, TakesTheTextAndLinkOrTheirDefaults) {
  TempFolder folder;
  const auto full = WriteFile(folder, "full.ini",
                                 "[versinon]\nversinon=6\n[update]\nContent=Version 6: faster writing\n"
                                 "downloadlink=https://example.org/get\n");
  UpdateNotice notice = ReadUpdateNotice(full, "https://site/orlisk/");
  EXPECT_EQ(notice.Content, "Version 6: faster writing");
  EXPECT_EQ(notice.DownloadLink, "https://example.org/get");

  const auto bare = WriteFile(folder, "bare.ini", "[versinon]\nversinon=6\n");
  notice = ReadUpdateNotice(bare, "https://site/orlisk/");
  EXPECT_EQ(notice.Content, "Have a new version, please download.");
  EXPECT_EQ(notice.DownloadLink, "https://site/orlisk/");
}

TEST(IsSafeDownloadLink, OnlyWebAddressesReachTheBrowser) {
  struct Row {
    const char* link;
    bool safe;
  };
  for (Row row : {
           Row{"http://example.org/orlisk/setup.exe", true},
           Row{"https://example.org/", true},
           Row{"HTTPS://Example.org/Get?v=6#top", true},
           Row{"http://127.0.0.1:8080/dl", true},
           Row{"https://user@example.org/", true},
           Row{"http://[::1]:8080/", true},
           Row{"file:///etc/passwd", false},
           Row{"javascript:alert(1)", false},
           Row{"/usr/bin/xterm", false},
           Row{"setup.exe", false},
           Row{"~/.bashrc", false},
           Row{"ftp://example.org/setup.exe", false},
           Row{"data:text/html,<b>hi</b>", false},
           Row{"mailto:someone@example.org", false},
           Row{"http://", false},
           Row{"https:///path", false},
           Row{"http://:80/", false},
           Row{"http//example.org", false},
           Row{"http:example.org", false},
           Row{"http://example.org/a\nfile:///etc/passwd", false},
           Row{"http://example.org/a\r\n", false},
           Row{"http://example.org/a b", false},
           Row{" http://example.org/", false},
           Row{"http://example.org\\@evil.org/", false},
           Row{"http://example.org/\x01", false},
           Row{"http://ex\xC3\xA4mple.org/", false},
           Row{"", false},
       }) {
    EXPECT_EQ(IsSafeDownloadLink(row.link), row.safe) << row.link;
    EXPECT_EQ(ChooseDownloadLink(row.link, "https://site/orlisk/"), row.safe ? row.link : "https://site/orlisk/")
        << row.link;
  }
}

}  // namespace
}  // namespace orlisk::testing
