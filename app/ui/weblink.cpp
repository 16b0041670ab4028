#include "app/ui/weblink.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>

#include "app/reports/weblink_core.h"
#include "app/ui/message_box.h"

namespace vemo::ui {

namespace {

std::function<bool(const QUrl&)>& Opener() {
  static std::function<bool(const QUrl&)> opener;
  return opener;
}

bool OpenUrl(const QUrl& url) {
  if (Opener()) return Opener()(url);
  return QDesktopServices::openUrl(url);
}

}  // namespace

bool LaunchInBrowser(const std::string& target, QWidget* parent) {
  const QString text = QString::fromStdString(target);
  QUrl url;
  QString localPath;
  if (QDir::isAbsolutePath(text)) {
    localPath = text;
  } else if (const QUrl given(text); given.isLocalFile()) {
    localPath = given.toLocalFile();
  } else if (given.scheme().size() > 1) {
    // A one-letter "scheme" is a Windows drive, a local name all the same.
    url = given;
  } else {
    localPath = QFileInfo(text).absoluteFilePath();
  }
  if (!localPath.isEmpty()) {
    // The desktop's answer to a missing file is often silence or a browser
    // error page; naming the path tells the user what to look for.
    if (!QFileInfo::exists(localPath)) {
      ShowMessageBox(parent, {QMessageBox::Warning, ItemText(455),
                                  ItemText(456) + QStringLiteral("\r\n") + OutsideText(QDir::toNativeSeparators(localPath).toStdString())});
      return false;
    }
    url = QUrl::fromLocalFile(localPath);
  }
  if (OpenUrl(url)) return true;
  const QString ext = QString::fromStdString(reports::FileExtension(target, true));
  ShowMessageBox(parent, {QMessageBox::Warning, ItemText(457),
                              QStringLiteral("Error launching web browser, error code =") + QStringLiteral(" 31") +
                                  QStringLiteral(".") + QStringLiteral("\r\n\r\n") + QStringLiteral("File extension '") +
                                  ext + QStringLiteral("' is not associated with any application program.")});
  return false;
}

void SetUrlOpenerForTesting(std::function<bool(const QUrl&)> opener) { Opener() = std::move(opener); }

}  // namespace vemo::ui
