#pragma once
// File dialogs behind a seam, so that tests can answer them. Filters are
// given in the program's own form, "Dive Plans (*.ccp)|*.ccp||".

#include <QString>
#include <QWidget>

namespace kv::app {

struct SFileRequest {
  QString title;            // empty: the platform's default title
  QString filter;           // "Description (*.ext)|*.ext||"
  QString defaultExtension; // "*.ccp" or "ccp": appended to a name typed without one
  QString folder;           // starting folder, empty for the current one
  QString fileName;         // suggested name
};

class IFileChooser {
public:
  virtual ~IFileChooser() = default;
  // The chosen path, or an empty text when the user cancelled.
  virtual QString OpenFile(QWidget* parent, const SFileRequest& request) = 0;
  // Asks before replacing an existing file.
  virtual QString SaveFile(QWidget* parent, const SFileRequest& request) = 0;
};

class CQtFileChooser final : public IFileChooser {
public:
  QString OpenFile(QWidget* parent, const SFileRequest& request) override;
  QString SaveFile(QWidget* parent, const SFileRequest& request) override;
};

// "Dive Plans (*.ccp)|*.ccp||" -> "Dive Plans (*.ccp)"; several pairs give
// several lines.
QString QtFilterOf(const QString& filter);
// Adds the default extension to a path whose file name has none.
QString WithDefaultExtension(const QString& path, const QString& defaultExtension);
// The folder of a path (the part before the last separator), or an empty text.
QString FolderOf(const QString& path);

}  // namespace kv::app
