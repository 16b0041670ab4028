// Opening documents and web addresses with the desktop's default program: the
// manual link of the main window, and anything else the windows hand to the
// browser.
#pragma once

#include <QUrl>

#include <functional>
#include <string>

class QWidget;

namespace vemo::ui {

// Opens `target` with the desktop's default action. An absolute local path or
// a file: URL opens as a local file and must exist, otherwise a warning names
// it; anything with a scheme (http:, https:, mailto:) goes to the desktop as it
// stands. When the desktop refuses, a warning says so and names the extension.
// Returns whether the target was opened.
bool LaunchInBrowser(const std::string& target, QWidget* parent);

// Replaces QDesktopServices::openUrl (tests); an empty opener restores it.
void SetUrlOpenerForTesting(std::function<bool(const QUrl&)> opener);

}  // namespace vemo::ui
