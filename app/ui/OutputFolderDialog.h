#pragma once
// `Tfm_dir`, "Output Directory": the folder that receives written videos,
// picked in a tree of the file system's folders. Opened by the "..." button of
// the output settings, which takes `ChosenFolder()` afterwards, and offered
// when a video cannot be written in the output folder.
#include <QDialog>
#include <QFileIconProvider>
#include <filesystem>
#include <memory>
#include <string>

class QFileSystemModel;
class QPushButton;
class QTreeView;

namespace orlisk {

class Tfm_dir : public QDialog {
  Q_OBJECT
 public:
  // The tree starts with `startFolder` (the user's home) expanded and selected.
  Tfm_dir(QWidget* parent, const std::filesystem::path& startFolder);
  ~Tfm_dir() override;

  // "Ok": the selected folder's path (empty with nothing selected); "Cancel":
  // empty; the close box leaves the value of the last showing.
  const std::string& ChosenFolder() const { return chosenFolder_; }
  // Shows the dialog modally, centred on `over`; true when "Ok" closed it.
  bool ShowCentredOn(const QWidget& over);
  // The folder selected in the tree, or "" when none is.
  std::string SelectedFolder() const;
  void SelectFolder(const std::filesystem::path& folder);

  QTreeView* ShellTreeView1;
  QPushButton* btn_ok;
  QPushButton* btn_cancel;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void btn_okClick();
  void btn_cancelClick();

  // The desktop's icons, with the style's folder icon where no theme has one.
  // The model goes before the icon provider it uses.
  QFileIconProvider icons_;
  std::unique_ptr<QFileSystemModel> folders_;
  std::string chosenFolder_;
};

}  // namespace orlisk
