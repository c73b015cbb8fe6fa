// The program's string class: a heap buffer of ANSI bytes in the system's
// code page, always NUL-terminated. Small on purpose: Install.exe carries no
// C++ library, so this and the containers it needs are ours.
#pragma once

#include <stdarg.h>
#include "Types.h"

class CString {
public:
    CString();
    CString(const char* text);
    CString(const char* text, int length);
    CString(const CString& other);
    CString(CString&& other) noexcept;
    ~CString();

    CString& operator=(const CString& other);
    CString& operator=(CString&& other) noexcept;
    CString& operator=(const char* text);
    CString& operator+=(const CString& other);
    CString& operator+=(const char* text);
    CString& operator+=(char c);

    int GetLength() const { return m_nLength; }
    bool IsEmpty() const { return m_nLength == 0; }
    void Empty();
    operator const char*() const { return m_pData; }
    const char* c_str() const { return m_pData; }
    char GetAt(int index) const { return m_pData[index]; }

    CString Left(int count) const;
    CString Mid(int first) const;
    int Find(char c, int start = 0) const;
    int ReverseFind(char c) const;

    // A writable buffer of at least minLength characters; ReleaseBuffer
    // takes the length from the first NUL (or from newLength when >= 0).
    char* GetBuffer(int minLength);
    void ReleaseBuffer(int newLength = -1);

    // printf-style formatting of %d, %u, %x, %s, %c and %%.
    void Format(const char* format, ...);
    void FormatV(const char* format, va_list args);

    bool operator==(const char* text) const;
    bool operator!=(const char* text) const { return !(*this == text); }
    bool operator==(const CString& other) const { return *this == other.m_pData; }
    bool operator!=(const CString& other) const { return !(*this == other.m_pData); }

private:
    void Assign(const char* text, int length);
    void Append(const char* text, int length);
    void Reserve(int capacity);

    char* m_pData;
    int m_nLength;
    int m_nCapacity;
};

CString operator+(const CString& left, const CString& right);
CString operator+(const CString& left, const char* right);
CString operator+(const char* left, const CString& right);

// Byte helpers the logic shares with the backends (no C library in Install.exe).
int StrLen(const char* text);
int StrCmp(const char* left, const char* right);
void MemCopy(void* target, const void* source, size_t count);
