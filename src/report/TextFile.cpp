#include "report/TextFile.h"

#include "report/ReadFailure.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace report {
namespace {

std::wstring Failed(const std::wstring& what, DWORD error)
{
    return what + L": " + SystemText(HRESULT_FROM_WIN32(error));
}

struct HandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using FileHandle = std::unique_ptr<void, HandleCloser>;

// The temporary file, removed again once made unless it was moved into place.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::wstring& name) : name_(name) {}
    ~TemporaryFile()
    {
        if (made_)
            DeleteFileW(name_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    void Made() { made_ = true; }
    void Kept() { made_ = false; }

private:
    const std::wstring& name_;
    bool made_ = false;
};

}  // namespace

TextFileResult ReplaceTextFile(const std::wstring& path, const std::string& bytes, uint32_t patienceMs)
{
    // The folder of the full path: a rename within one volume is atomic.
    std::vector<wchar_t> full(MAX_PATH);
    wchar_t* file = nullptr;
    DWORD length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), &file);
    if (length >= full.size()) {
        full.resize(length + 1);
        length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), &file);
    }
    if (length == 0 || length >= full.size() || !file || !*file)
        return {false, Failed(L"could not name " + path, GetLastError())};
    const std::wstring folder(full.data(), file);

    // One temporary name per process: two writers of one folder never share it.
    const std::wstring name = folder + L"orvane-" + std::to_wstring(GetCurrentProcessId()) + L".tmp";
    TemporaryFile temporary(name);
    {
        const HANDLE opened =
            CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (opened == INVALID_HANDLE_VALUE)
            return {false, Failed(L"could not make a file in " + folder, GetLastError())};
        temporary.Made();
        const FileHandle handle(opened);
        std::size_t done = 0;
        while (done < bytes.size()) {
            const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 20));
            DWORD written = 0;
            if (!WriteFile(handle.get(), bytes.data() + done, chunk, &written, nullptr) || written == 0)
                return {false, Failed(L"could not write " + name, GetLastError())};
            done += written;
        }
    }
    // A reader holding the file keeps it from being replaced: wait for it, a while.
    const ULONGLONG until = GetTickCount64() + patienceMs;
    for (;;) {
        if (MoveFileExW(name.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            temporary.Kept();
            return {true, {}};
        }
        const DWORD error = GetLastError();
        const bool held = error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION;
        if (!held || GetTickCount64() >= until)
            return {false, Failed(L"could not replace " + path, error)};
        Sleep(50);
    }
}

}  // namespace report
