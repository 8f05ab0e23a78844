#include "app/viewer/viewer.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QHBoxLayout>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

#include "app/dialogs/notes.h"
#include "app/help/help.h"
#include "app/platform/file_chooser.h"
#include "app/platform/qt_text.h"
#include "app/platform/user_profile.h"
#include "report/table_notes.h"
#include "base/prompt.h"
#include "report/latin1.h"

namespace {

const char* kPlacement = "KestrunVarnadelViewer";

QPushButton* Button(QWidget* parent, const char* text, const char* tip) {
  auto* b = new QPushButton(Tr(text), parent);
  b->setToolTip(Tr(tip));
  b->setAutoDefault(false);
  return b;
}

}  // namespace

CViewer::CViewer(const std::string& document, IFileChooser* chooser, QWidget* parent)
    : QDialog(parent), m_document(document), m_chooser(chooser), m_browser(new QTextBrowser(this)) {
  setWindowTitle(Tr("Kestrun Varnadel - Viewer"));
  setWindowFlag(Qt::WindowMaximizeButtonHint);
  CHelp::SetTopic(this, QStringLiteral("viewer"));
  m_browser->setOpenLinks(false);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_browser, 1);
  auto* buttons = new QHBoxLayout;
  QPushButton* preview = Button(this, "Print Pre&view", "Preview the current document");
  QPushButton* print = Button(this, "&Print", "Print the current document");
  QPushButton* save = Button(this, "&Save", "Save the current document");
  QPushButton* notes = Button(this, "&Edit Notes", "Add notes to the tables");
  QPushButton* exit = Button(this, "E&xit", "Exit the Dive Table Viewer");
  for (QPushButton* b : {preview, print, save, notes}) buttons->addWidget(b);
  buttons->addStretch(1);
  buttons->addWidget(exit);
  layout->addLayout(buttons);
  connect(preview, &QPushButton::clicked, this, &CViewer::PrintPreview);
  connect(print, &QPushButton::clicked, this, &CViewer::Print);
  connect(save, &QPushButton::clicked, this, [this] { Save(); });
  connect(notes, &QPushButton::clicked, this, [this] { EditNotes(); });
  connect(exit, &QPushButton::clicked, this, &QDialog::accept);
  resize(900, 700);
  RestoreWindowPlacement(kPlacement, *this);
  Show();
}

CViewer::~CViewer() = default;

void CViewer::done(int result) {
  SaveWindowPlacement(kPlacement, *this);
  QDialog::done(result);
}

void CViewer::Show() {
  // Keep the reader's place when the notes change.
  const int scroll = m_browser->verticalScrollBar() ? m_browser->verticalScrollBar()->value() : 0;
  m_browser->setHtml(DisplayHtml(m_document));
  if (m_browser->verticalScrollBar()) m_browser->verticalScrollBar()->setValue(scroll);
}

QString CViewer::DisplayHtml(const std::string& document) {
  QString html = ToQt(document);
  static const QRegularExpression footerFirst(
      QStringLiteral("(<TFOOT[^>]*>.*?</TFOOT>)(\\s*)(<TBODY>.*?</TBODY>)"),
      QRegularExpression::DotMatchesEverythingOption | QRegularExpression::CaseInsensitiveOption);
  html.replace(footerFirst, QStringLiteral("\\3\\2\\1"));
  html.replace(QStringLiteral(" width=\"10%\""), QString());
  // The tables write "&nbsp" without its semicolon (the heading
  // "Depths&nbsp\&nbspTimes", empty cells); browsers read that as a space,
  // the Qt rich text reader shows it as text. The saved document keeps it.
  static const QRegularExpression bareNbsp(QStringLiteral("&nbsp(?!;)"));
  html.replace(bareNbsp, QStringLiteral("&nbsp;"));
  return html;
}

void CViewer::PrintDocument(const std::string& document, QPrinter* printer) {
  QTextDocument doc;
  doc.documentLayout()->setPaintDevice(printer);
  doc.setHtml(DisplayHtml(document));
  // A document with a page size of its own is printed as laid out, without
  // the page numbers QTextDocument adds to one it paginates itself.
  doc.setPageSize(printer->pageRect(QPrinter::DevicePixel).size());
  doc.print(printer);
}

void CViewer::PrintPreview() {
  QPrinter printer(QPrinter::HighResolution);
  QPrintPreviewDialog preview(&printer, this);
  preview.setWindowTitle(Tr("Print Preview"));
  connect(&preview, &QPrintPreviewDialog::paintRequested, this,
          [this](QPrinter* p) { PrintDocument(m_document, p); });
  preview.resize(size());
  preview.exec();
}

void CViewer::Print() {
  QPrinter printer(QPrinter::HighResolution);
  QPrintDialog dialog(&printer, this);
  if (dialog.exec() != QDialog::Accepted) return;
  PrintDocument(m_document, &printer);
}

bool CViewer::Save() { return SaveDocumentAs(this, m_chooser, m_document); }

bool CViewer::SaveDocumentAs(QWidget* parent, IFileChooser* chooser, const std::string& document) {
  if (!chooser) return false;
  SFileRequest r{Tr("Save HTML file as..."), QStringLiteral("HTML Files (*.html)|*.html|"), QStringLiteral("html"),
                 QString(), QString()};
  const QString path = chooser->SaveFile(parent, r);
  if (path.isEmpty()) return false;
  // The documents declare ISO-8859-1 and are written in it.
  if (kv::WriteHtmlDocument(FromQt(path), document)) return true;
  kv::UserPrompt().ShowMessage(FromQt(Tr("Unable to write the file %1.").arg(QDir::toNativeSeparators(path))),
                               kv::EIcon::Warning);
  return false;
}

bool CViewer::EditNotes() {
  const std::optional<std::string> notes = kv::TableNotes(m_document);
  if (!notes) return false;
  QString current = ToQt(*notes);
  current.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace('\r', '\n');
  CNotes dialog(current, this);
  if (dialog.exec() != QDialog::Accepted) return false;
  const std::string before = m_document;
  ApplyNotes(dialog.Notes());
  return m_document != before;
}

void CViewer::ApplyNotes(const QString& notes) {
  // Lines reach the document as "<br>" followed by the line feed the field keeps.
  QString text = notes;
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace('\n', QStringLiteral("\r\n"));
  m_document = kv::WithTableNotes(m_document, FromQt(text));
  Show();
}
