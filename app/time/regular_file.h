// Opening a data file for reading only when it is a regular file.
//
// A FIFO in place of a data file would block the open (waiting for a writer)
// or the reads (waiting for data) for ever; a device such as /dev/zero never
// ends. The file is therefore opened without blocking and checked with fstat
// before a byte is read.
#pragma once

#include <cstdio>
#include <string>

namespace vemo {

// Opens path for binary reading. Returns the stream, with *size its length in
// bytes, or nullptr with *error the reason ("not a regular file" for a folder,
// FIFO or device, else the system's reason). The caller closes the stream.
std::FILE* OpenRegularFile(const std::string& path, long long* size, std::string* error);

}  // namespace vemo
