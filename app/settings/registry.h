// The per-user settings store. On Windows QSettings writes the real registry
// key HKEY_CURRENT_USER\Software\Tessaly\VEMO; elsewhere an INI file in the
// user's configuration folder (Tessaly/VEMO.conf) takes its place. Callers
// never see an error: every function returns a status text whose first
// character is "0" on success, and the configuration window falls back to the
// defaults when a read fails.
#pragma once

#include <string>

namespace vemo::settings {

enum class RegistryRoot { CurrentUser };

// Reads the string value `name` of `key` ("Software\Tessaly\VEMO").
// Status texts:
//   "1 Key not found or is empty."  empty key, or a key that holds no values
//   "2 Name not specified."         empty name
//   "3 Name not found."             no value of that name
//   "0 Empty value"                 the value exists and is empty
//   "0 OK"                          value read
std::string RegistryReadString(RegistryRoot root, const std::string& key, const std::string& name,
                               std::string& value);

// Stores `value` as the string value `name` of `key`, creating the key when
// needed. Status: "0 New key created." or "0 Key already exists.", then two
// blanks and the store's own message; on failure "<code> Unable to create (or
// find) key." followed by the same.
std::string RegistryWriteString(RegistryRoot root, const std::string& key, const std::string& name,
                                const std::string& value);

}  // namespace vemo::settings
