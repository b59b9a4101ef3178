#pragma once
// A file opened for writing; closes its file when destroyed.
#include <windows.h>

#include <string>

class CFile {
public:
    enum OpenFlags : UINT {
        modeWrite = 0x0001,
        modeCreate = 0x1000,
    };

    CFile() = default;
    ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // modeCreate creates the file or truncates an existing one; no sharing is granted.
    BOOL Open(const char* lpszFileName, UINT nOpenFlags);
    // Writes all `nCount` bytes; FALSE when the file took fewer (a full disk) or failed.
    BOOL Write(const void* lpBuf, UINT nCount);
    void Close();

    HANDLE m_hFile = INVALID_HANDLE_VALUE;
};
