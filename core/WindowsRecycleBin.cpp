// The recycle bin through the shell's file operation with undo allowed.
#include "WindowsRecycleBin.h"

#include <windows.h>
// shellapi.h needs windows.h before it.
#include <shellapi.h>

#include <string>

namespace murvex {

bool MoveFileToRecycleBin(const std::string& path) {
    const int size = static_cast<int>(path.size());
    const int n =
        ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.data(), size, nullptr, 0);
    if (path.empty() || n <= 0) return false;
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.data(), size, wide.data(), n);
    // The shell wants a full path (a relative one is not undoable) shorter than MAX_PATH.
    wchar_t full[MAX_PATH];
    const DWORD length = ::GetFullPathNameW(wide.c_str(), MAX_PATH, full, nullptr);
    if (length == 0 || length >= MAX_PATH - 1) return false;
    const DWORD attributes = ::GetFileAttributesW(full);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return false;
    std::wstring from(full, length);
    from.push_back(L'\0');  // a list of names, ended by an empty one
    SHFILEOPSTRUCTW operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags =
        FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT | FOF_WANTNUKEWARNING;
    if (::SHFileOperationW(&operation) != 0 || operation.fAnyOperationsAborted) return false;
    return ::GetFileAttributesW(full) == INVALID_FILE_ATTRIBUTES;
}

}  // namespace murvex
