#pragma once
// "Kestrun Varnadel - Viewer": shows a table document (dive tables, gas
// consumption tables, generated tables), adds notes to every table's foot,
// prints and previews it without page header or footer, and saves it.

#include <QDialog>
#include <QStringList>

#include <memory>
#include <string>

class QPaintDevice;
class QPrinter;
class QTextDocument;
class QPushButton;
class QTextBrowser;

namespace kv::app {

class IFileChooser;

class CViewer final : public QDialog {
  Q_OBJECT
public:
  // document: a complete HTML document held in UTF-8.
  CViewer(const std::string& document, IFileChooser* chooser, QWidget* parent = nullptr);
  ~CViewer() override;

  const std::string& Document() const { return m_document; }
  QTextBrowser* Browser() const { return m_browser; }

  void PrintPreview();
  void Print();
  // Asks for a file and writes the document to it; true when written.
  bool Save();
  // Opens the notes dialog; true when the notes changed.
  bool EditNotes();
  // What OK in the notes dialog does.
  void ApplyNotes(const QString& notes);

  // The document as the program's HTML engine shows and prints it like a
  // browser: a table footer written before the table's body goes after it,
  // and the narrow depth and gradient factor cells of a table's head grow to
  // their text instead of breaking it. The saved document stays as it is.
  static QString DisplayHtml(const std::string& document);

  // Prints the document one table to a page: no page numbers, titles or
  // addresses, only the tables. A table is laid out on the page's width
  // without breaking a word; one that is still wider or taller than the page
  // is scaled down to fit it.
  static void PrintDocument(const std::string& document, QPrinter* printer);
  // The tables of a document, each a complete document of its own (the head,
  // one table, and after the last table the document's footer).
  static QStringList TablePages(const std::string& document);
  // Turns the printer sideways when the widest table then needs less
  // shrinking (a generated table of many bottom times); true when turned.
  static bool TurnToFit(const std::string& document, QPrinter* printer);
  // One table page laid out on a width (device pixels of device); without
  // wrapLines every cell keeps its text on one line.
  static std::unique_ptr<QTextDocument> LayOutTablePage(const QString& html, QPaintDevice* device, double width,
                                                        bool wrapLines = true);
  // Asks for a file and writes the document to it unchanged (atomically);
  // a file that cannot be written is reported to the user. False when
  // nothing was written.
  static bool SaveDocumentAs(QWidget* parent, IFileChooser* chooser, const std::string& document);

protected:
  void done(int result) override;

private:
  void Show();

  std::string m_document;
  IFileChooser* m_chooser;
  QTextBrowser* m_browser;
};

}  // namespace kv::app
