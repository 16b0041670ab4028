#include "app/ui/message_box.h"

#include <QFile>

#include "app/text/program_text.h"
#include "app/time/escaped_text.h"

#include <QGuiApplication>
#include <QRegularExpression>

#include <cstdio>

namespace vemo::ui {

namespace {
MessageBoxHook& Hook() {
  static MessageBoxHook hook;
  return hook;
}
}  // namespace

QMessageBox::StandardButton ShowMessageBox(QWidget* parent, const MessageBoxRequest& request) {
  if (Hook()) return Hook()(request);
  QMessageBox box(request.icon, request.title, request.text, request.buttons, parent);
  // A box the program leaves without a title must show none. The window
  // systems put the application's name in place of an empty title (Qt's
  // QPlatformWindow::formatWindowTitle does so on X11 and Windows), but a
  // single blank is kept as it stands and reads as no title.
  if (request.title.isEmpty()) box.setWindowTitle(QStringLiteral(" "));
  if (request.defaultButton != QMessageBox::NoButton) box.setDefaultButton(request.defaultButton);
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

bool ScreenVisible() {
  const QString platform = QGuiApplication::platformName();
  return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

QMessageBox::StandardButton ShowStartUpMessage(QWidget* parent, const MessageBoxRequest& request) {
  // On stderr too, so that a start from a terminal or a service log keeps the
  // reason even when the box is never seen: "vemo: " before the first line,
  // later lines indented, blank lines left out.
  QString out;
  for (const QString& line : request.text.split(QRegularExpression(QStringLiteral("\r?\n")))) {
    if (line.trimmed().isEmpty()) continue;
    out += (out.isEmpty() ? QStringLiteral("vemo: ") : QStringLiteral("  ")) + line.trimmed() + QLatin1Char('\n');
  }
  const QByteArray bytes = out.toUtf8();
  std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
  std::fflush(stderr);
  if (!Hook() && !ScreenVisible()) {
    return request.defaultButton != QMessageBox::NoButton ? request.defaultButton : QMessageBox::Ok;
  }
  return ShowMessageBox(parent, request);
}

void SetMessageBoxHook(MessageBoxHook hook) { Hook() = std::move(hook); }

QString DisplayText(const std::string& text) {
  QString s = QString::fromStdString(text);
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return s;
}

QString ItemText(int item) { return DisplayText(vemo::ProgramText(item)); }

QString OutsideText(const std::string& text) { return QString::fromStdString(EscapedForDisplay(text)); }

std::string FileSystemName(QWidget* parent, const QString& title, const QString& name) {
  const QByteArray bytes = QFile::encodeName(name);
  if (QFile::decodeName(bytes) == name) return bytes.toStdString();
  ShowMessageBox(parent, {QMessageBox::Warning, title,
                          ItemText(458) + QStringLiteral("\n\n") +
                              OutsideText(bytes.toStdString()),
                          QMessageBox::Ok, QMessageBox::Ok});
  return "";
}

QString WriteFailureText(const QString& headline, const std::string& path, const FileWriteResult& result) {
  return headline + QStringLiteral("; ") + QString::fromStdString(WhatBecameOfIt(result)) + QStringLiteral(".\n\n") +
         QStringLiteral("\"") + OutsideText(path) + QStringLiteral("\": ") + QString::fromStdString(result.reason) +
         QStringLiteral(".");
}

}  // namespace vemo::ui
