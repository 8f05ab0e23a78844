#pragma once
// "About Kestrun Varnadel": the program's name and version, the maker's
// addresses (from the profile's "Addresses" section) and where the status
// log is written.

#include <QDialog>

class QLabel;

namespace kv::app {

class CAboutDlg final : public QDialog {
  Q_OBJECT
public:
  CAboutDlg(const QString& logPath, QWidget* parent = nullptr);
  QString VersionText() const;

private:
  QLabel* m_version;
};

// The version text of the About box and the status log: the program version
// with every "," turned into "." and blanks removed.
QString ProgramVersionString();

}  // namespace kv::app
