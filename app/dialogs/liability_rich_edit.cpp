#include "app/dialogs/liability_rich_edit.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

#include "app/help/help.h"
#include "app/platform/qt_text.h"
#include "app/platform/user_profile.h"

namespace kv::app {

namespace {
const char* kPlacement = "KestrunVarnadelLiability";
}

QString CLiabilityRichEdit::WarningHtml() {
  const char* paragraphs[] = {
      "This program is a development tool for creating experimental dive profiles. It is no substitute for "
      "dive planning, training or experience.",
      "The software may contain programming or calculation errors.",
      "It only computes dive profiles. Individual susceptibility to decompression sickness (DCS) varies "
      "widely, and no calculation can allow for it.",
      "All dive profiles carry a risk of DCS, whatever model or settings produced them.",
      "Combining gradient factors, rates, gases and other parameters inappropriately can raise that risk.",
      "Following the tables can result in neurological dysfunction, paralysis or death.",
      "No advice is given on gradient factors, ascent and descent rates or the algorithm. The only constraint "
      "built into the program is that gradient factors are at most 100 %. The default settings are not safe "
      "for every dive or every diver.",
      "Use of this program is entirely at your own risk.",
      "Planning and conducting decompression dives needs expertise and training that this program does "
      "not give.",
      "Your susceptibility varies from day to day with hydration, exercise, multi-day diving, fatigue, cold "
      "and your position in the water.",
  };
  QString html = QStringLiteral("<h2 align=\"center\" style=\"color:#b00000\">%1</h2>").arg(Tr("WARNING!"));
  for (const char* p : paragraphs) html += QStringLiteral("<p>%1</p>").arg(Tr(p).toHtmlEscaped());
  html += QStringLiteral("<h2 align=\"center\">%1</h2>").arg(Tr("DISCLAIMER"));
  html += QStringLiteral("<p>%1</p>")
              .arg(Tr("By selecting \"I Agree\" you agree that the maker of this program, its authors and "
                      "distributors are not liable for any injury, death, loss or damage arising from its use, "
                      "and you accept full responsibility for every dive you plan with it.")
                       .toHtmlEscaped());
  return html;
}

CLiabilityRichEdit::CLiabilityRichEdit(QWidget* parent) : QDialog(parent), m_text(new QTextEdit(this)) {
  setWindowTitle(QStringLiteral("Kestrun Varnadel"));
  setWindowFlag(Qt::WindowMaximizeButtonHint);
  CHelp::SetTopic(this, QStringLiteral("liability"));
  m_text->setReadOnly(true);
  m_text->setHtml(WarningHtml());
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_text, 1);
  auto* buttons = new QHBoxLayout;
  auto* agree = new QPushButton(Tr("I Agree"), this);
  auto* exit = new QPushButton(Tr("Exit"), this);
  agree->setObjectName(QStringLiteral("agree"));
  exit->setObjectName(QStringLiteral("exit"));
  agree->setDefault(true);
  buttons->addStretch(1);
  buttons->addWidget(agree);
  buttons->addWidget(exit);
  layout->addLayout(buttons);
  connect(agree, &QPushButton::clicked, this, &QDialog::accept);
  connect(exit, &QPushButton::clicked, this, &QDialog::reject);
  resize(620, 560);
  RestoreWindowPlacement(kPlacement, *this);
}

void CLiabilityRichEdit::done(int result) {
  SaveWindowPlacement(kPlacement, *this);
  QDialog::done(result);
}

}  // namespace kv::app
