#include "app/ui/QtSeams.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QUrl>
#include <chrono>

#include "app/language/Language.h"
#include "app/ui/FileFilters.h"

namespace orlisk {
namespace {

// Centred on the screen rather than over the parent; the size is only known
// once the box lays itself out, which it does in its own show event.
class CentredMessageBox : public QMessageBox {
 public:
  using QMessageBox::QMessageBox;

 protected:
  void showEvent(QShowEvent* event) override {
    QMessageBox::showEvent(event);
    QScreen* onScreen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (onScreen) move(onScreen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
  }
};

enum class BoxKind { Information, InformationQuestion, InformationWithHelp, Confirmation };

// Texts in Qt's own words follow Qt's translation into the interface's
// language: the buttons ("OK", "&Yes", "&No", "Cancel", "&Help") and the file
// dialogs' captions ("Open", "Save As").
QString QtText(const char* context, const char* english) { return QCoreApplication::translate(context, english); }
QString ButtonText(const char* english) { return QtText("QPlatformTheme", english); }

// "Information" or "Confirm", from the language file when there is one.
QString BoxCaption(const Language* language, const char* english) {
  if (!language) return QString::fromLatin1(english);
  return QString::fromStdString(language->text("MessageBox", english, english));
}

// Shows a box of the kind and answers whether its first button ("OK" or "&Yes") was chosen.
bool ShowBox(QWidget* parent, const Language* language, BoxKind kind, const std::string& text) {
  const bool confirm = kind == BoxKind::Confirmation;
  CentredMessageBox box(confirm ? QMessageBox::Question : QMessageBox::Information,
                        BoxCaption(language, confirm ? "Confirm" : "Information"),
                        QString::fromStdString(text), QMessageBox::NoButton, parent);
  QPushButton* first = nullptr;
  QPushButton* escape = nullptr;
  switch (kind) {
    case BoxKind::Information:
      first = escape = box.addButton(ButtonText("OK"), QMessageBox::AcceptRole);
      break;
    case BoxKind::InformationWithHelp: {
      first = escape = box.addButton(ButtonText("OK"), QMessageBox::AcceptRole);
      QPushButton* help = box.addButton(ButtonText("&Help"), QMessageBox::HelpRole);
      // No help topic is attached to these boxes: the button neither helps nor closes the box.
      if (auto* buttons = box.findChild<QDialogButtonBox*>()) {
        QObject::disconnect(help, &QAbstractButton::clicked, buttons, nullptr);
      }
      break;
    }
    case BoxKind::InformationQuestion:
    case BoxKind::Confirmation:
      first = box.addButton(ButtonText("&Yes"), QMessageBox::YesRole);
      escape = box.addButton(ButtonText("&No"), QMessageBox::NoRole);
      break;
  }
  box.setDefaultButton(first);
  box.setEscapeButton(escape);
  box.exec();
  return box.clickedButton() == first;
}

void SetUpFileDialog(QFileDialog& dialog, const std::string& filter, QFileDialog::AcceptMode acceptMode,
                     QFileDialog::FileMode fileMode, const std::string& proposedName = {}) {
  if (!proposedName.empty()) dialog.selectFile(QFile::decodeName(proposedName.c_str()));
  dialog.setAcceptMode(acceptMode);
  dialog.setFileMode(fileMode);
  dialog.setNameFilters(QtNameFilters(filter));
  // Saving asks its own overwrite question.
  dialog.setOption(QFileDialog::DontConfirmOverwrite, acceptMode == QFileDialog::AcceptSave);
}

std::optional<std::string> ChosenPath(QFileDialog& dialog) {
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty()) return std::nullopt;
  return QFile::encodeName(chosen.first()).toStdString();
}

std::optional<std::string> RunFileDialog(QWidget* parent, const QString& caption, const std::string& startFolder,
                                         const std::string& filter, QFileDialog::AcceptMode acceptMode,
                                         QFileDialog::FileMode fileMode, const std::string& proposedName = {}) {
  QFileDialog dialog(parent, caption, QFile::decodeName(startFolder.c_str()));
  SetUpFileDialog(dialog, filter, acceptMode, fileMode, proposedName);
  return ChosenPath(dialog);
}

QComboBox* EncodingBox(QWidget* parent, const EncodingList& encodings) {
  auto* box = new QComboBox(parent);
  box->setObjectName(QStringLiteral("encoding"));
  for (const std::string& name : encodings.Names) box->addItem(QString::fromStdString(name));
  box->setCurrentIndex(encodings.Chosen);
  return box;
}

QLabel* EncodingLabel(QWidget* parent, const EncodingList& encodings, QComboBox* box) {
  auto* label = new QLabel(QString::fromStdString(encodings.Label), parent);
  label->setBuddy(box);
  return label;
}

QUrl UrlFor(const std::string& address) {
  const QString text = QString::fromStdString(address);
  if (text.contains(QStringLiteral("://"))) return QUrl(text);
  return QUrl::fromLocalFile(QFile::decodeName(address.c_str()));
}

}  // namespace

void QtMessageBoxes::information(const std::string& text) { ShowBox(parent_, language_, BoxKind::Information, text); }

bool QtMessageBoxes::informationQuestion(const std::string& text) {
  return ShowBox(parent_, language_, BoxKind::InformationQuestion, text);
}

void QtMessageBoxes::informationWithHelp(const std::string& text) {
  ShowBox(parent_, language_, BoxKind::InformationWithHelp, text);
}

bool QtMessageBoxes::confirmation(const std::string& text) { return ShowBox(parent_, language_, BoxKind::Confirmation, text); }

MessageBoxes::SaveAnswer QtMessageBoxes::saveQuestion(const std::string& text) {
  CentredMessageBox box(QMessageBox::Question, BoxCaption(language_, "Confirm"), QString::fromStdString(text),
                        QMessageBox::NoButton, parent_);
  QPushButton* save = box.addButton(ButtonText("&Yes"), QMessageBox::YesRole);
  QPushButton* discard = box.addButton(ButtonText("&No"), QMessageBox::NoRole);
  QPushButton* cancel = box.addButton(ButtonText("Cancel"), QMessageBox::RejectRole);
  box.setDefaultButton(save);
  box.setEscapeButton(cancel);
  box.exec();
  if (box.clickedButton() == save) return SaveAnswer::Save;
  if (box.clickedButton() == discard) return SaveAnswer::Discard;
  return SaveAnswer::Cancel;
}

std::optional<std::string> QtFileDialogs::openVideo(const std::string& startFolder, const std::string& filter) {
  return RunFileDialog(parent_, QtText("QFileDialog", "Open"), startFolder, filter, QFileDialog::AcceptOpen,
                       QFileDialog::ExistingFiles);
}

std::optional<ChosenSubtitleFile> QtFileDialogs::openSubtitle(const std::string& startFolder,
                                                              const std::string& filter,
                                                              const EncodingList& encodings) {
  QFileDialog dialog(parent_, QtText("QFileDialog", "Open"), QFile::decodeName(startFolder.c_str()));
  // Qt's own dialog, whose grid takes the encoding's row under the file type's.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  SetUpFileDialog(dialog, filter, QFileDialog::AcceptOpen, QFileDialog::ExistingFile);
  QComboBox* box = EncodingBox(&dialog, encodings);
  if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
    const int row = grid->rowCount();
    grid->addWidget(EncodingLabel(&dialog, encodings, box), row, 0);
    grid->addWidget(box, row, 1);
  }
  std::optional<std::string> path = ChosenPath(dialog);
  if (!path) return std::nullopt;
  return ChosenSubtitleFile{.Path = std::move(*path), .Encoding = box->currentIndex()};
}

std::optional<int> QtFileDialogs::chooseEncoding(const std::string& title, const EncodingList& encodings) {
  QDialog dialog(parent_);
  dialog.setWindowTitle(QString::fromStdString(title));
  QComboBox* box = EncodingBox(&dialog, encodings);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  auto* form = new QFormLayout(&dialog);
  form->addRow(EncodingLabel(&dialog, encodings, box), box);
  form->addRow(buttons);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return box->currentIndex();
}

std::optional<std::string> QtFileDialogs::saveSubtitle(const std::string& startFolder, const std::string& proposedName,
                                                       const std::string& filter) {
  return RunFileDialog(parent_, QtText("QFileDialog", "Save As"), startFolder, filter, QFileDialog::AcceptSave,
                       QFileDialog::AnyFile, proposedName);
}

QtPlaybackTimer::QtPlaybackTimer(std::function<void()> onTick) {
  timer_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer_, &QTimer::timeout, std::move(onTick));
}

void QtPlaybackTimer::start(int intervalMs) { timer_.start(intervalMs); }

std::uint32_t SteadyTickClock::nowMs() const {
  const auto sinceStart = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(sinceStart).count());
}

void QtDesktopShell::openUrl(const std::string& url) { QDesktopServices::openUrl(UrlFor(url)); }

void QtDesktopShell::showInFileManager(const std::string& path) {
  const QString file = QFile::decodeName(path.c_str());
  QDBusMessage call = QDBusMessage::createMethodCall(
      QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
      QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
  call << QStringList{QUrl::fromLocalFile(file).toString()} << QString();
  QDBusConnection bus = QDBusConnection::sessionBus();
  constexpr int kAnswerWaitMs = 3000;
  if (bus.isConnected() && bus.call(call, QDBus::Block, kAnswerWaitMs).type() == QDBusMessage::ReplyMessage) return;
  QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(file).absolutePath()));
}

bool QtMouseButtons::leftButtonDown() const {
  return QGuiApplication::mouseButtons().testFlag(Qt::LeftButton);
}

void QtUserInterfaceThread::post(std::function<void()> task) {
  QMetaObject::invokeMethod(
      context_, [run = run_, task = std::move(task)] { run(task); }, Qt::QueuedConnection);
}

void QtUpdateNotices::showNotice(const std::string& text) {
  CentredMessageBox box(QMessageBox::NoIcon, title_, QString::fromStdString(text), QMessageBox::NoButton, parent_);
  QPushButton* ok = box.addButton(ButtonText("OK"), QMessageBox::AcceptRole);
  box.setDefaultButton(ok);
  box.setEscapeButton(ok);
  box.exec();
}

}  // namespace orlisk
