#pragma once
// "Notes": the text the table viewer writes into the foot of every table.

#include <QDialog>

class QPlainTextEdit;

namespace kv::app {

class CNotes final : public QDialog {
  Q_OBJECT
public:
  explicit CNotes(const QString& notes, QWidget* parent = nullptr);
  // Lines separated by "\r\n".
  QString Notes() const;
  QPlainTextEdit* Field() const { return m_text; }

private:
  QPlainTextEdit* m_text;
};

}  // namespace kv::app
