#include "app/ui/OutputFolderDialog.h"

#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace orlisk {

Tfm_dir::Tfm_dir(QWidget* parent, const std::filesystem::path& startFolder)
    : QDialog(parent),
      ShellTreeView1(new QTreeView(this)),
      btn_ok(new QPushButton(QStringLiteral("Ok"), this)),
      btn_cancel(new QPushButton(QStringLiteral("Cancel"), this)),
      folders_(std::make_unique<QFileSystemModel>()) {
  setWindowTitle(QStringLiteral("Output Directory"));
  setModal(true);
  setFixedSize(287, 248);
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setObjectName(QStringLiteral("Tfm_dir"));
  ShellTreeView1->setObjectName(QStringLiteral("ShellTreeView1"));
  btn_ok->setObjectName(QStringLiteral("btn_ok"));
  btn_cancel->setObjectName(QStringLiteral("btn_cancel"));

  // Folders only, hidden ones left out, with the desktop's icons; the tree
  // starts at the root of the file system.
  folders_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
  folders_->setReadOnly(true);
  folders_->setIconProvider(&icons_);
  folders_->setRootPath(QStringLiteral("/"));
  ShellTreeView1->setModel(folders_.get());
  for (int column = 1; column < folders_->columnCount(); ++column) ShellTreeView1->hideColumn(column);
  ShellTreeView1->setHeaderHidden(true);
  ShellTreeView1->setRootIsDecorated(false);
  ShellTreeView1->setSelectionMode(QAbstractItemView::SingleSelection);
  ShellTreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  SelectFolder(startFolder);

  btn_ok->setDefault(true);
  connect(btn_ok, &QPushButton::clicked, this, &Tfm_dir::btn_okClick);
  connect(btn_cancel, &QPushButton::clicked, this, &Tfm_dir::btn_cancelClick);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btn_ok);
  buttons->addWidget(btn_cancel);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->addWidget(ShellTreeView1);
  layout->addLayout(buttons);
}

Tfm_dir::~Tfm_dir() = default;

bool Tfm_dir::ShowCentredOn(const QWidget& over) {
  const QRect here = over.frameGeometry();
  // A window never shown has no frame yet: it gets one like `over`'s.
  const QSize frame = here.size() - over.size();
  const QSize there = size() + frame;
  move(here.left() + (here.width() - there.width()) / 2, here.top() + (here.height() - there.height()) / 2);
  ShellTreeView1->setVisible(true);
  btn_ok->setVisible(true);
  btn_cancel->setText(QStringLiteral("Cancel"));
  setWindowTitle(QStringLiteral("Output Directory"));
  return exec() == QDialog::Accepted;
}

std::string Tfm_dir::SelectedFolder() const {
  const QModelIndexList selected = ShellTreeView1->selectionModel()->selectedIndexes();
  if (selected.isEmpty()) return {};
  return folders_->filePath(selected.first()).toStdString();
}

void Tfm_dir::SelectFolder(const std::filesystem::path& folder) {
  const QModelIndex index = folders_->index(QString::fromStdString(folder.string()));
  if (!index.isValid()) return;
  for (QModelIndex above = index; above.isValid(); above = above.parent()) ShellTreeView1->expand(above);
  ShellTreeView1->setCurrentIndex(index);
  ShellTreeView1->scrollTo(index);
}

void Tfm_dir::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Laid out only now: bring the selected folder into the middle of the view.
  const QModelIndex current = ShellTreeView1->currentIndex();
  if (current.isValid()) ShellTreeView1->scrollTo(current, QAbstractItemView::PositionAtCenter);
}

void Tfm_dir::btn_okClick() {
  chosenFolder_ = SelectedFolder();
  accept();
}

void Tfm_dir::btn_cancelClick() {
  chosenFolder_.clear();
  reject();
}

void Tfm_dir::keyPressEvent(QKeyEvent* event) {
  // Escape is the "Cancel" button; only the close box keeps the last choice.
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    btn_cancelClick();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace orlisk
