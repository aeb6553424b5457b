// The output folder dialog through its tree and buttons.
#include <gtest/gtest.h>

#include <QFileSystemModel>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

#include "TestSupport.h"
#include "app/ui/OutputFolderDialog.h"
#include "tests/support/TempFolder.h"

namespace orlisk {
namespace {

class OutputFolderDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::TestApplication();
    std::filesystem::create_directories(home / "Videos");
    std::filesystem::create_directories(home / ".hidden");
    testing::WriteBytes(home / "notes.txt", "not a folder");
    dialog = std::make_unique<Tfm_dir>(nullptr, home);
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
  }

  // The tree's rows under `folder`, once the model has read them.
  QStringList Children(const std::filesystem::path& folder) {
    auto* model = qobject_cast<QFileSystemModel*>(dialog->ShellTreeView1->model());
    const QModelIndex parent = model->index(QString::fromStdString(folder.string()));
    QStringList names;
    // The model reads folders on a thread of its own.
    for (int waited = 0; model->rowCount(parent) == 0 && waited < 5000; waited += 20) QTest::qWait(20);
    for (int row = 0; row < model->rowCount(parent); ++row) names << model->index(row, 0, parent).data().toString();
    names.sort();
    return names;
  }

  testing::TempFolder tmp{"folder-dialog"};
  std::filesystem::path home = tmp / "home";
  std::unique_ptr<Tfm_dir> dialog;
};

TEST_F(OutputFolderDialogTest, StartsAtHomeWithFoldersOnly) {
  EXPECT_EQ(dialog->windowTitle(), "Output Directory");
  EXPECT_EQ(dialog->size(), QSize(287, 248));
  EXPECT_EQ(dialog->btn_ok->text(), "Ok");
  EXPECT_EQ(dialog->btn_cancel->text(), "Cancel");
  EXPECT_EQ(dialog->SelectedFolder(), home.string());
  EXPECT_EQ(Children(home), QStringList{"Videos"});  // no files, no hidden folders
}

TEST_F(OutputFolderDialogTest, OkTakesTheSelectedFolderCancelNothingTheCloseBoxKeepsTheLast) {
  dialog->SelectFolder(home / "Videos");
  QTest::mouseClick(dialog->btn_ok, Qt::LeftButton);
  EXPECT_EQ(dialog->ChosenFolder(), (home / "Videos").string());
  EXPECT_EQ(dialog->result(), QDialog::Accepted);

  dialog->show();
  dialog->close();  // the close box
  EXPECT_EQ(dialog->ChosenFolder(), (home / "Videos").string());

  dialog->show();
  QTest::keyClick(dialog->ShellTreeView1, Qt::Key_Escape);  // Escape is "Cancel"
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(dialog->ChosenFolder(), "");

  dialog->show();
  dialog->ShellTreeView1->clearSelection();
  QTest::mouseClick(dialog->btn_ok, Qt::LeftButton);
  EXPECT_EQ(dialog->ChosenFolder(), "");
}

TEST_F(OutputFolderDialogTest, ARightClickSelectsAndEnterIsOk) {
  QTreeView* tree = dialog->ShellTreeView1;
  auto* model = qobject_cast<QFileSystemModel*>(tree->model());
  Children(home);
  const QModelIndex videos = model->index(QString::fromStdString((home / "Videos").string()));
  tree->scrollTo(videos);
  const QRect row = tree->visualRect(videos);
  ASSERT_FALSE(row.isEmpty());
  QTest::mouseClick(tree->viewport(), Qt::RightButton, {}, row.center());
  EXPECT_EQ(dialog->SelectedFolder(), (home / "Videos").string());
  QTest::keyClick(dialog->btn_ok, Qt::Key_Return);
  EXPECT_EQ(dialog->ChosenFolder(), (home / "Videos").string());
}

}  // namespace
}  // namespace orlisk
