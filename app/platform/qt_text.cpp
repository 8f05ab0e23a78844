#include "app/platform/qt_text.h"

#include "app/i18n/ui_texts.h"
#include "base/strings.h"

namespace kv::app {

QString ToQt(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QString ToQt(const char* text) { return QString::fromUtf8(text ? text : ""); }

std::string FromQt(const QString& text) {
  const QByteArray bytes = text.toUtf8();
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// The one place that reads the core's string table, whatever type it hands out.
std::string LoadText(int id) { return std::string(kv::LoadString(id)); }

QString Str(int id) { return ToQt(LoadText(id)); }

QString Tr(const char* english) { return CUiTexts::Instance().Translate(english); }

QString FileNameOf(const QString& path) {
  const qsizetype slash = std::max(path.lastIndexOf('/'), path.lastIndexOf('\\'));
  return slash < 0 ? path : path.mid(slash + 1);
}

}  // namespace kv::app
