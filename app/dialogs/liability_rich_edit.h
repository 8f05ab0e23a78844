#pragma once
// The liability warning shown at every start: "I Agree" goes on to the
// program, "Exit" ends it. Its size and position are kept under
// "KestrunVarnadelLiability".

#include <QDialog>

class QTextEdit;

namespace kv::app {

class CLiabilityRichEdit final : public QDialog {
  Q_OBJECT
public:
  explicit CLiabilityRichEdit(QWidget* parent = nullptr);
  QTextEdit* Text() const { return m_text; }

  // The warning as rich text, paragraph by paragraph.
  static QString WarningHtml();

protected:
  void done(int result) override;

private:
  QTextEdit* m_text;
};

}  // namespace kv::app
