#pragma once

#include <string>
#include <sys/types.h>

// Replaces `path` with `bytes` so that a reader or a crash sees either the old or the new
// file, never a mix: temporary file in the same folder, fsync, rename, fsync of the folder.
// `mode` applies when the file is new; an existing file keeps its mode.
// Returns false (and leaves the old file untouched) on any failure; `error` then says why.
bool AtomicWriteFile(const std::string& path, const std::string& bytes, mode_t mode = 0644,
                     std::string* error = nullptr);

// Reads a whole file. Returns false when it cannot be opened or read; a missing file sets
// `missing` to true.
bool ReadWholeFile(const std::string& path, std::string& out, bool* missing = nullptr);
