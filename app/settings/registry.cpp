#include "app/settings/registry.h"

#include <QSettings>
#include <QString>
#include <QStringList>

#include <memory>

namespace vemo::settings {

namespace {

// "Software\Tessaly\VEMO" -> QSettings("Tessaly", "VEMO"): the organisation
// and application names are what QSettings turns back into that key.
std::unique_ptr<QSettings> OpenKey(const std::string& key) {
  QStringList parts = QString::fromStdString(key).split(u'\\', Qt::SkipEmptyParts);
  if (!parts.isEmpty() && parts.first().compare(u"Software", Qt::CaseInsensitive) == 0) {
    parts.removeFirst();
  }
  if (parts.isEmpty()) return nullptr;
  const QString organisation = parts.takeFirst();
  const QString application = parts.join(u'/');
  return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, organisation,
                                     application);
}

// The store's own message for a status, like the system message the
// registry functions append (kept within 100 characters).
std::string StatusMessage(QSettings::Status status) {
  switch (status) {
    case QSettings::NoError: return "The operation completed successfully.";
    case QSettings::AccessError: return "Access is denied.";
    case QSettings::FormatError: return "The settings file is not in a readable format.";
  }
  return "Unknown error.";
}

}  // namespace

std::string RegistryReadString(RegistryRoot, const std::string& key, const std::string& name,
                               std::string& value) {
  if (key.empty()) return "1 Key not found or is empty.";
  const auto settings = OpenKey(key);
  if (!settings || settings->status() != QSettings::NoError || settings->allKeys().isEmpty()) {
    return "1 Key not found or is empty.";
  }
  if (name.empty()) return "2 Name not specified.";
  const QString qname = QString::fromStdString(name);
  if (!settings->contains(qname)) return "3 Name not found.";
  QString text = settings->value(qname).toString();
  while (text.endsWith(QChar(0))) text.chop(1);
  value = text.toStdString();
  if (value.empty()) return "0 Empty value";
  return "0 OK";
}

std::string RegistryWriteString(RegistryRoot, const std::string& key, const std::string& name,
                                const std::string& value) {
  const auto settings = key.empty() ? nullptr : OpenKey(key);
  if (!settings || settings->status() != QSettings::NoError || name.empty()) {
    const QSettings::Status st = settings ? settings->status() : QSettings::AccessError;
    return std::to_string(static_cast<int>(st == QSettings::NoError ? QSettings::AccessError : st)) +
           " Unable to create (or find) key.  " + StatusMessage(st);
  }
  const bool existed = !settings->allKeys().isEmpty();
  settings->setValue(QString::fromStdString(name), QString::fromStdString(value));
  settings->sync();
  const QSettings::Status st = settings->status();
  if (st != QSettings::NoError) {
    return std::to_string(static_cast<int>(st)) + " Unable to create (or find) key.  " +
           StatusMessage(st);
  }
  return std::string(existed ? "0 Key already exists." : "0 New key created.") + "  " +
         StatusMessage(st);
}

}  // namespace vemo::settings
