#include "app/settings/dialog_folders.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QString>

#include "app/settings/configure_core.h"
#include "app/settings/registry.h"

namespace vemo::settings {

const char* DialogFolderValueName(DialogKind kind) {
  switch (kind) {
    case DialogKind::Picture: return "Folder of pictures";
    case DialogKind::State: return "Folder of states";
    case DialogKind::Export: return "Folder of exports";
  }
  return "Folder of pictures";
}

std::string DialogStartFolder(DialogKind kind) {
  std::string stored;
  const std::string status = RegistryReadString(RegistryRoot::CurrentUser, kRegistryKey, DialogFolderValueName(kind), stored);
  if (status == "0 OK" && QFileInfo(QString::fromStdString(stored)).isDir()) return stored;
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (!documents.isEmpty() && QFileInfo(documents).isDir()) return documents.toStdString();
  return QDir::homePath().toStdString();
}

void RememberDialogFolder(DialogKind kind, const std::string& chosenFile) {
  const QString file = QString::fromStdString(chosenFile);
  if (file.isEmpty() || (!file.contains(QLatin1Char('/')) && !file.contains(QLatin1Char('\\')))) return;
  const QString folder = QFileInfo(file).absolutePath();
  (void)RegistryWriteString(RegistryRoot::CurrentUser, kRegistryKey, DialogFolderValueName(kind), folder.toStdString());
}

}  // namespace vemo::settings
