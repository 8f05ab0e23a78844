#include "app/platform/file_chooser.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

namespace kv::app {

QString QtFilterOf(const QString& filter) {
  // Pairs of description and pattern, separated by "|"; the description carries
  // the pattern already, as Qt wants it.
  const QStringList parts = filter.split('|');
  QStringList lines;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
    if (!parts[i].isEmpty()) lines << parts[i];
  return lines.join(QStringLiteral(";;"));
}

QString WithDefaultExtension(const QString& path, const QString& defaultExtension) {
  if (path.isEmpty()) return path;
  QString ext = defaultExtension;
  if (ext.startsWith('*')) ext.remove(0, 1);
  if (!ext.isEmpty() && !ext.startsWith('.')) ext.prepend('.');
  if (ext.isEmpty() || !QFileInfo(path).suffix().isEmpty()) return path;
  return path + ext;
}

QString FolderOf(const QString& path) {
  const qsizetype slash = std::max(path.lastIndexOf('/'), path.lastIndexOf('\\'));
  return slash < 0 ? QString() : path.left(slash);
}

namespace {

QString StartPath(const SFileRequest& r) {
  if (r.fileName.isEmpty()) return r.folder;
  return r.folder.isEmpty() ? r.fileName : r.folder + '/' + r.fileName;
}

}  // namespace

QString CQtFileChooser::OpenFile(QWidget* parent, const SFileRequest& r) {
  return QFileDialog::getOpenFileName(parent, r.title, StartPath(r), QtFilterOf(r.filter));
}

QString CQtFileChooser::SaveFile(QWidget* parent, const SFileRequest& r) {
  QFileDialog dialog(parent, r.title, StartPath(r), QtFilterOf(r.filter));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  QString ext = r.defaultExtension;
  if (ext.startsWith(QStringLiteral("*."))) ext.remove(0, 2);
  dialog.setDefaultSuffix(ext);
  // The dialog asks before replacing an existing file (its default).
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return WithDefaultExtension(dialog.selectedFiles().front(), r.defaultExtension);
}

}  // namespace kv::app
