// The Qt-free part of handing documents to the desktop: naming a file's
// extension, which the browser launcher quotes when no program takes a file.
#pragma once

#include <string>

namespace vemo::reports {

// The text after the last "." of the last component of `path` ("" when that
// component has no dot). Both "/" and "\" separate components, so names typed
// on either system give the same answer. ASCII letters are lowered on request.
std::string FileExtension(const std::string& path, bool lowerCase);

}  // namespace vemo::reports
