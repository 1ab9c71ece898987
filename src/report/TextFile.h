#pragma once
// A file replaced whole, so that a reader (a textfile collector) never sees
// half of it: the text goes into a temporary file in the same folder, which
// then takes the file's place. No temporary file stays behind on any path.
#include <cstdint>
#include <string>

namespace report {

struct TextFileResult {
    bool written = false;
    std::wstring error;  // what failed, with the system's words, when not written
};

// Retries the replacement for up to `patienceMs` while a reader holds the
// file open (as a collector may on Windows).
TextFileResult ReplaceTextFile(const std::wstring& path, const std::string& bytes, uint32_t patienceMs = 2000);

}  // namespace report
