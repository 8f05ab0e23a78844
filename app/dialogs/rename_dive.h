#pragma once
// "Rename Dive": one text field holding the dive's name.

#include <QDialog>

class QLineEdit;

namespace kv::app {

class CRenameDive final : public QDialog {
  Q_OBJECT
public:
  CRenameDive(const QString& name, QWidget* parent = nullptr);
  QString Name() const;
  QLineEdit* Field() const { return m_name; }

  // The name part of a tab text: what follows " - ", or empty.
  static QString NameOfTabText(const QString& tabText);

private:
  QLineEdit* m_name;
};

}  // namespace kv::app
