#include <gtest/gtest.h>

#include "app/ui/FileFilters.h"

namespace orlisk {
namespace {

TEST(QtNameFilters, VideoDialogFilterKeepsEveryLabelInOrder) {
  const QStringList filters = QtNameFilters(
      "All Support Format|*.avi;*.mpg;*.mpeg;*.wmv;*.asf;*.asx;*.mov;*.dat;*.qt;|WMV Format|*.wmv;|MPEG "
      "Format|*.mpg;*.mpeg;|AVI Format|*.avi;|Quick Time Format|*.qt;*.mov;|VCD Format|*.dat;|ASF "
      "Format|*.asf;|ASX Format|*.asx;|All File|*.*;");
  const QStringList expected{
      "All Support Format (*.avi *.mpg *.mpeg *.wmv *.asf *.asx *.mov *.dat *.qt)",
      "WMV Format (*.wmv)",
      "MPEG Format (*.mpg *.mpeg)",
      "AVI Format (*.avi)",
      "Quick Time Format (*.qt *.mov)",
      "VCD Format (*.dat)",
      "ASF Format (*.asf)",
      "ASX Format (*.asx)",
      "All File (*)",
  };
  EXPECT_EQ(filters, expected);
}

struct FilterRow {
  const char* windows;
  QStringList qt;
};

TEST(QtNameFilters, EdgeRows) {
  const FilterRow rows[] = {
      // A label that already holds a pattern in brackets; Qt reads the last bracket.
      {"SubTitle Files(*.srt);|*.srt;", {"SubTitle Files(*.srt); (*.srt)"}},
      {"Subtitle Files(*.srt);|*.srt", {"Subtitle Files(*.srt); (*.srt)"}},
      {"Text|*.txt;|", {"Text (*.txt)"}},
      {"Empty|;;", {"Empty (*)"}},
      {"Only a label", {"Only a label (*)"}},
      {"Spaced| *.a ; *.b ;", {"Spaced (*.a *.b)"}},
      {"", {}},
  };
  for (const FilterRow& row : rows) {
    EXPECT_EQ(QtNameFilters(row.windows), row.qt) << row.windows;
  }
}

}  // namespace
}  // namespace orlisk
