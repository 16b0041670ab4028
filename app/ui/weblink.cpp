#include "app/ui/weblink.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>

#include "app/reports/weblink_core.h"
#include "app/time/date_texts.h"
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
                              vemo::InProgramLanguage("Error launching web browser, error code = 31.\r\n\r\nFile extension '",
                                                      "Fehler beim Starten des Webbrowsers, Fehlercode = 31.\r\n\r\n"
                                                      "Die Dateiendung \u201E") +
                                  ext +
                                  vemo::InProgramLanguage("' is not associated with any application program.",
                                                          "\u201C ist keinem Programm zugeordnet.")});
  return false;
}

void SetUrlOpenerForTesting(std::function<bool(const QUrl&)> opener) { Opener() = std::move(opener); }

}  // namespace vemo::ui
