#include "gui/QtUi.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QMetaObject>
#include <QScreen>
#include <QSortFilterProxyModel>

#include "gui/FormViews.h"
#include "gui/ViewKit.h"

namespace vantrel::gui {

namespace {
QColor toQColor(std::uint32_t c) {
  return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}
std::uint32_t fromQColor(const QColor& c) {
  return std::uint32_t(c.red()) | (std::uint32_t(c.green()) << 8) |
         (std::uint32_t(c.blue()) << 16);
}
}  // namespace

QString qtFilter(const std::string& filter) {
  const QStringList parts = q(filter).split('|');
  QStringList out;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString desc = parts[i];
    const QString patterns = QString(parts[i + 1]).replace(';', ' ');
    if (!desc.contains(patterns)) desc += " (" + patterns + ")";
    out << desc;
  }
  return out.join(";;");
}

QWidget* QtUi::dialogParent() const {
  // A dialog owned by a minimized window may stay hidden with it (a start from the
  // command line minimizes first), so it then stands on its own.
  if (!mainWindow_ || !mainWindow_->isVisible() || mainWindow_->isMinimized()) return nullptr;
  return mainWindow_;
}

ModalResult QtUi::messageBox(MsgType type, const std::string& text, MsgButtons buttons,
                             ModalResult defaultButton) {
  if (quiet_) {
    if (buttons == MsgButtons::OK) return ModalResult::OK;
    return defaultButton == ModalResult::Yes ? ModalResult::Yes : ModalResult::No;
  }
  prompting();
  QMessageBox box(dialogParent());
  box.setWindowTitle(QApplication::applicationDisplayName());
  box.setText(q(text));
  switch (type) {
    case MsgType::Information: box.setIcon(QMessageBox::Information); break;
    case MsgType::Warning: box.setIcon(QMessageBox::Warning); break;
    case MsgType::Confirmation: box.setIcon(QMessageBox::Question); break;
    case MsgType::Error: box.setIcon(QMessageBox::Critical); break;
    case MsgType::Plain: box.setIcon(QMessageBox::NoIcon); break;
  }
  if (buttons == MsgButtons::OK) {
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return ModalResult::OK;
  }
  box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
  box.setDefaultButton(defaultButton == ModalResult::No ? QMessageBox::No : QMessageBox::Yes);
  if (defaultButton == ModalResult::No) box.setEscapeButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes ? ModalResult::Yes : ModalResult::No;
}

bool QtUi::inputBox(const std::string& caption, const std::string& prompt, std::string& value) {
  prompting();
  bool ok = false;
  const QString text =
      QInputDialog::getText(dialogParent(), q(caption), q(prompt), QLineEdit::Normal, q(value), &ok);
  if (ok) value = text.toStdString();
  return ok;
}

namespace {

// Lets through folders and files that may be run while its filter is the chosen one;
// otherwise everything the dialog's own name filters let through.
class ExecutablesProxy : public QSortFilterProxyModel {
 public:
  using QSortFilterProxyModel::QSortFilterProxyModel;
  void setActive(bool active) {
    if (active == active_) return;
    active_ = active;
    invalidateFilter();
  }

 protected:
  bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
    if (!active_) return true;
    auto* files = qobject_cast<QFileSystemModel*>(sourceModel());
    if (!files) return true;
    const QFileInfo info = files->fileInfo(files->index(row, 0, parent));
    return info.isDir() || info.isExecutable();
  }

 private:
  bool active_ = false;
};

}  // namespace

static bool runFileDialog(QWidget* parent, const FileDialogOptions& o, std::string& path,
                          bool save) {
  QFileDialog dialog(parent, q(o.title), q(o.initialDir));
  QStringList filters;
  if (!o.filter.empty()) filters = qtFilter(o.filter).split(";;");
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  // Export replaces an existing archive without a question.
  if (save) dialog.setOption(QFileDialog::DontConfirmOverwrite);
  QString suffix = q(o.defaultExt);
  if (suffix.startsWith('.')) suffix.remove(0, 1);
  if (!o.executablesFilter.empty()) {
    // Programs without an extension: every file is listed by name and the proxy keeps
    // those that may be run. Only the dialog's own widgets take a proxy.
    const QString programs = q(o.executablesFilter) + " (*)";
    filters << programs;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    auto* proxy = new ExecutablesProxy(&dialog);
    dialog.setProxyModel(proxy);
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog, proxy, programs, suffix](const QString& filter) {
                       const bool on = filter == programs;
                       proxy->setActive(on);
                       // A program chosen by its bare name must not get ".exe" added.
                       dialog.setDefaultSuffix(on ? QString() : suffix);
                     });
  }
  if (!filters.isEmpty()) dialog.setNameFilters(filters);
  if (!suffix.isEmpty()) dialog.setDefaultSuffix(suffix);
  if (!o.fileName.empty()) dialog.selectFile(q(o.fileName));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  path = dialog.selectedFiles().first().toStdString();
  return true;
}

bool QtUi::openFileDialog(const FileDialogOptions& options, std::string& path) {
  prompting();
  return runFileDialog(dialogParent(), options, path, false);
}

bool QtUi::saveFileDialog(const FileDialogOptions& options, std::string& path) {
  prompting();
  return runFileDialog(dialogParent(), options, path, true);
}

bool QtUi::chooseColor(ColorChooser& chooser) {
  for (int i = 0; i < 16; ++i) QColorDialog::setCustomColor(i, toQColor(chooser.CustomColors[i]));
  QColorDialog dialog(toQColor(chooser.Color), dialogParent());
  const bool ok = dialog.exec() == QDialog::Accepted;
  for (int i = 0; i < 16; ++i) chooser.CustomColors[i] = fromQColor(QColorDialog::customColor(i));
  if (ok) chooser.Color = fromQColor(dialog.selectedColor());
  return ok;
}

ModalResult QtUi::showModal(TForm& form) {
  prompting();
  form.modalResult = showFormView(form, dialogParent(), *this);
  return form.modalResult;
}

void QtUi::setBusyCursor(bool busy) {
  if (busy)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
}

std::vector<MonitorInfo> QtUi::monitors() {
  std::vector<MonitorInfo> out;
  for (QScreen* s : QGuiApplication::screens()) {
    const QRect g = s->geometry();
    const qreal r = s->devicePixelRatio();
    out.push_back({int(g.left() * r), int(g.top() * r), int(g.width() * r), int(g.height() * r)});
  }
  return out;
}

MonitorInfo QtUi::desktop() { return boundingBox(monitors()); }

void QtUi::minimizeMainWindow() {
  if (mainWindow_) mainWindow_->showMinimized();
}

void QtUi::restoreMainWindow() {
  if (mainWindow_) mainWindow_->showNormal();
}

void QtUi::runOnUiThread(std::function<void()> work) {
  QMetaObject::invokeMethod(qApp, std::move(work), Qt::QueuedConnection);
}

}  // namespace vantrel::gui
