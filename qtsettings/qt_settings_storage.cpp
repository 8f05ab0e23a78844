#include "qtsettings/qt_settings_storage.h"

#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <cstdint>

namespace kv {
namespace {

constexpr const char* kOrganisation = "Kestrun";
constexpr const char* kApplication = "KestrunVarnadel";
constexpr const char* kGroup = "Settings";

QString ToQt(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

std::string FromQt(const QString& s) {
  const QByteArray bytes = s.toUtf8();
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// A value as text. An INI line with unquoted commas ("0.00,21.00,0.00,1,0.70,1",
// typed by hand) comes back from QSettings as a list; it is joined again.
QString TextOf(const QVariant& v) {
  if (v.typeId() == QMetaType::QStringList) return v.toStringList().join(',');
  return v.toString();
}

}  // namespace

CQtSettingsStorage::CQtSettingsStorage()
    : m_settings(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, kOrganisation,
                                             kApplication)) {}

CQtSettingsStorage::CQtSettingsStorage(const std::string& iniPath)
    : m_settings(std::make_unique<QSettings>(ToQt(iniPath), QSettings::IniFormat)) {}

CQtSettingsStorage::~CQtSettingsStorage() = default;

bool CQtSettingsStorage::IsReadable() const { return m_settings->status() != QSettings::FormatError; }

std::string CQtSettingsStorage::KeyOf(const std::string& path) {
  std::string key = std::string(kGroup) + "/" + path;
  for (char& c : key)
    if (c == '\\') c = '/';
  return key;
}

std::optional<std::uint32_t> CQtSettingsStorage::ReadNumber(const std::string& path) {
  const QVariant v = m_settings->value(ToQt(KeyOf(path)));
  if (!v.isValid()) return std::nullopt;
  bool ok = false;
  qlonglong n = 0;
  switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
      n = v.toLongLong(&ok);
      break;
    default:
      n = TextOf(v).trimmed().toLongLong(&ok, 10);
      break;
  }
  // The registry's DWORD: a value read back as a signed 32-bit number is the
  // same 32 bits.
  if (!ok || n < INT32_MIN || n > static_cast<qlonglong>(UINT32_MAX)) return std::nullopt;
  if (n < 0) n += 0x100000000LL;
  return static_cast<std::uint32_t>(n);
}

std::optional<std::string> CQtSettingsStorage::ReadText(const std::string& path) {
  const QVariant v = m_settings->value(ToQt(KeyOf(path)));
  if (!v.isValid()) return std::nullopt;
  return FromQt(TextOf(v));
}

bool CQtSettingsStorage::WriteNumber(const std::string& path, std::uint32_t value) {
  // The registry keeps a 32-bit int as a DWORD; the same 32 bits read back as
  // a negative number are turned into the unsigned value again (ReadNumber).
  m_settings->setValue(ToQt(KeyOf(path)), QVariant(static_cast<int>(value)));
  m_settings->sync();
  return m_settings->status() == QSettings::NoError;
}

bool CQtSettingsStorage::WriteText(const std::string& path, const std::string& value) {
  m_settings->setValue(ToQt(KeyOf(path)), ToQt(value));
  m_settings->sync();
  return m_settings->status() == QSettings::NoError;
}

}  // namespace kv
