#include "app/viewer/viewer.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QHBoxLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

#include "app/dialogs/notes.h"
#include "app/help/help.h"
#include "app/platform/file_chooser.h"
#include "app/platform/qt_text.h"
#include "app/platform/user_profile.h"
#include "report/table_notes.h"
#include "base/prompt.h"
#include "report/latin1.h"

namespace kv::app {

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
  // A wide table scrolls sideways rather than breaking its numbers apart.
  m_browser->setWordWrapMode(QTextOption::WordWrap);
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

QStringList CViewer::TablePages(const std::string& document) {
  const QString html = DisplayHtml(document);
  // Every table after the first starts after this page break.
  const QStringList parts = html.split(QStringLiteral("<div class=\"breakafter\"><br></div>"));
  const qsizetype body = html.indexOf(QStringLiteral("<body>"), 0, Qt::CaseInsensitive);
  const QString head = body < 0 ? QString() : html.left(body + 6);
  QStringList pages;
  for (qsizetype i = 0; i < parts.size(); ++i) {
    QString page = i == 0 ? parts[i] : head + parts[i];
    if (i + 1 < parts.size()) page += QStringLiteral("</body></html>");
    pages << page;
  }
  return pages;
}

std::unique_ptr<QTextDocument> CViewer::LayOutTablePage(const QString& html, QPaintDevice* device, double width,
                                                        bool wrapLines) {
  auto doc = std::make_unique<QTextDocument>();
  doc->documentLayout()->setPaintDevice(device);
  // Words are never broken: a table too wide for the page grows past it
  // (and is scaled down to fit) rather than splitting "14" into "1" and "4".
  QTextOption option = doc->defaultTextOption();
  option.setWrapMode(wrapLines ? QTextOption::WordWrap : QTextOption::NoWrap);
  doc->setDefaultTextOption(option);
  doc->setHtml(html);
  doc->setTextWidth(width);
  return doc;
}

namespace {

class CTablePage {
public:
  CTablePage(const QString& html, QPaintDevice* device, double width)
      : m_doc(CViewer::LayOutTablePage(html, device, width)) {}
  QSizeF Size() const { return m_doc->documentLayout()->documentSize(); }
  // The shrinking that makes it fit a page (1 when it fits as it is).
  double ScaleFor(const QSizeF& page) const {
    const QSizeF size = Size();
    double scale = 1.0;
    if (size.width() > page.width()) scale = std::min(scale, page.width() / size.width());
    if (size.height() > page.height()) scale = std::min(scale, page.height() / size.height());
    return scale;
  }
  void Draw(QPainter& painter, double scale) {
    painter.save();
    painter.scale(scale, scale);
    m_doc->drawContents(&painter);
    painter.restore();
  }

private:
  std::unique_ptr<QTextDocument> m_doc;
};

// The smallest scale any table of the document needs on a page of that size
// to show every cell on one line.
double SmallestScale(const QStringList& pages, QPaintDevice* device, const QSizeF& page) {
  double smallest = 1.0;
  for (const QString& html : pages) {
    const auto doc = CViewer::LayOutTablePage(html, device, page.width(), false);
    const QSizeF size = doc->documentLayout()->documentSize();
    smallest = std::min({smallest, page.width() / size.width(), page.height() / size.height()});
  }
  return smallest;
}

}  // namespace

bool CViewer::TurnToFit(const std::string& document, QPrinter* printer) {
  const QStringList pages = TablePages(document);
  const QSizeF page = printer->pageRect(QPrinter::DevicePixel).size();
  const QSizeF turned(page.height(), page.width());
  const bool landscape = page.width() > page.height();
  const double asIs = SmallestScale(pages, printer, page);
  if (asIs >= 1.0 || SmallestScale(pages, printer, turned) <= asIs * 1.05) return false;
  printer->setPageOrientation(landscape ? QPageLayout::Portrait : QPageLayout::Landscape);
  return true;
}

void CViewer::PrintDocument(const std::string& document, QPrinter* printer) {
  const QStringList pages = TablePages(document);
  QPainter painter(printer);
  if (!painter.isActive()) return;
  const QSizeF page = printer->pageRect(QPrinter::DevicePixel).size();
  for (qsizetype i = 0; i < pages.size(); ++i) {
    if (i > 0) printer->newPage();
    CTablePage table(pages[i], printer, page.width());
    table.Draw(painter, table.ScaleFor(page));
  }
}

void CViewer::PrintPreview() {
  QPrinter printer(QPrinter::HighResolution);
  TurnToFit(m_document, &printer);
  QPrintPreviewDialog preview(&printer, this);
  preview.setWindowTitle(Tr("Print Preview"));
  connect(&preview, &QPrintPreviewDialog::paintRequested, this,
          [this](QPrinter* p) { PrintDocument(m_document, p); });
  preview.resize(size());
  preview.exec();
}

void CViewer::Print() {
  QPrinter printer(QPrinter::HighResolution);
  TurnToFit(m_document, &printer);
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

}  // namespace kv::app
