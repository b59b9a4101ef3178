#include "framework/file.h"

CFile::~CFile() { Close(); }

BOOL CFile::Open(const char* lpszFileName, UINT nOpenFlags)
{
    Close();
    const DWORD access = (nOpenFlags & modeWrite) ? GENERIC_WRITE : GENERIC_READ;
    const DWORD disposition = (nOpenFlags & modeCreate) ? CREATE_ALWAYS : OPEN_EXISTING;
    m_hFile = CreateFileA(lpszFileName, access, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    return m_hFile != INVALID_HANDLE_VALUE;
}

BOOL CFile::Write(const void* lpBuf, UINT nCount)
{
    if (m_hFile == INVALID_HANDLE_VALUE)
        return FALSE;
    DWORD written = 0;
    return WriteFile(m_hFile, lpBuf, nCount, &written, nullptr) && written == nCount;
}

void CFile::Close()
{
    if (m_hFile != INVALID_HANDLE_VALUE) {
        CloseHandle(m_hFile);
        m_hFile = INVALID_HANDLE_VALUE;
    }
}
