#include "String.h"

namespace {
char g_empty[1] = {0};  // shared by every empty string, never written
}

int StrLen(const char* text)
{
    int n = 0;
    if (text)
        while (text[n])
            ++n;
    return n;
}

int StrCmp(const char* left, const char* right)
{
    const unsigned char* a = reinterpret_cast<const unsigned char*>(left ? left : "");
    const unsigned char* b = reinterpret_cast<const unsigned char*>(right ? right : "");
    while (*a && *a == *b) {
        ++a;
        ++b;
    }
    return int(*a) - int(*b);
}

void MemCopy(void* target, const void* source, size_t count)
{
    char* t = static_cast<char*>(target);
    const char* s = static_cast<const char*>(source);
    while (count--)
        *t++ = *s++;
}

CString::CString() : m_pData(g_empty), m_nLength(0), m_nCapacity(0) {}

CString::CString(const char* text) : CString() { Assign(text, StrLen(text)); }

CString::CString(const char* text, int length) : CString() { Assign(text, length); }

CString::CString(const CString& other) : CString() { Assign(other.m_pData, other.m_nLength); }

CString::CString(CString&& other) noexcept
    : m_pData(other.m_pData), m_nLength(other.m_nLength), m_nCapacity(other.m_nCapacity)
{
    other.m_pData = g_empty;
    other.m_nLength = other.m_nCapacity = 0;
}

CString::~CString()
{
    if (m_nCapacity)
        delete[] m_pData;
}

CString& CString::operator=(const CString& other)
{
    if (this != &other)
        Assign(other.m_pData, other.m_nLength);
    return *this;
}

CString& CString::operator=(CString&& other) noexcept
{
    if (this != &other) {
        if (m_nCapacity)
            delete[] m_pData;
        m_pData = other.m_pData;
        m_nLength = other.m_nLength;
        m_nCapacity = other.m_nCapacity;
        other.m_pData = g_empty;
        other.m_nLength = other.m_nCapacity = 0;
    }
    return *this;
}

CString& CString::operator=(const char* text)
{
    // The text may point into this string's own buffer.
    CString copy(text);
    return *this = static_cast<CString&&>(copy);
}

CString& CString::operator+=(const CString& other)
{
    Append(other.m_pData, other.m_nLength);
    return *this;
}

CString& CString::operator+=(const char* text)
{
    Append(text, StrLen(text));
    return *this;
}

CString& CString::operator+=(char c)
{
    Append(&c, 1);
    return *this;
}

void CString::Empty()
{
    m_nLength = 0;
    if (m_nCapacity)
        m_pData[0] = 0;
}

CString CString::Left(int count) const
{
    if (count < 0)
        count = 0;
    return CString(m_pData, count < m_nLength ? count : m_nLength);
}

CString CString::Mid(int first) const
{
    if (first < 0)
        first = 0;
    if (first >= m_nLength)
        return CString();
    return CString(m_pData + first, m_nLength - first);
}

int CString::Find(char c, int start) const
{
    for (int i = start < 0 ? 0 : start; i < m_nLength; ++i)
        if (m_pData[i] == c)
            return i;
    return -1;
}

int CString::ReverseFind(char c) const
{
    for (int i = m_nLength - 1; i >= 0; --i)
        if (m_pData[i] == c)
            return i;
    return -1;
}

char* CString::GetBuffer(int minLength)
{
    Reserve(minLength > m_nLength ? minLength : m_nLength);
    return m_pData;
}

void CString::ReleaseBuffer(int newLength)
{
    if (!m_nCapacity)
        return;
    if (newLength < 0) {
        newLength = 0;
        while (newLength < m_nCapacity && m_pData[newLength])
            ++newLength;
    }
    if (newLength > m_nCapacity)
        newLength = m_nCapacity;
    m_nLength = newLength;
    m_pData[newLength] = 0;
}

void CString::Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CString::FormatV(const char* format, va_list args)
{
    CString out;
    for (const char* p = format; *p; ++p) {
        if (*p != '%' || !p[1]) {
            out += *p;
            continue;
        }
        ++p;
        char digits[16];
        int n = 0;
        switch (*p) {
        case 'd': {
            long value = va_arg(args, int);
            unsigned long magnitude = value < 0 ? 0UL - (unsigned long)value : (unsigned long)value;
            do {
                digits[n++] = char('0' + magnitude % 10);
                magnitude /= 10;
            } while (magnitude);
            if (value < 0)
                out += '-';
            while (n)
                out += digits[--n];
            break;
        }
        case 'u':
        case 'x': {
            unsigned int value = va_arg(args, unsigned int);
            unsigned int base = *p == 'u' ? 10 : 16;
            do {
                digits[n++] = "0123456789abcdef"[value % base];
                value /= base;
            } while (value);
            while (n)
                out += digits[--n];
            break;
        }
        case 's':
            out += va_arg(args, const char*);
            break;
        case 'c':
            out += char(va_arg(args, int));
            break;
        default:
            out += *p;  // "%%" and anything unknown
            break;
        }
    }
    *this = static_cast<CString&&>(out);
}

bool CString::operator==(const char* text) const { return StrCmp(m_pData, text) == 0; }

void CString::Assign(const char* text, int length)
{
    if (length <= 0 || !text) {
        Empty();
        return;
    }
    Reserve(length);
    MemCopy(m_pData, text, size_t(length));
    m_nLength = length;
    m_pData[length] = 0;
}

void CString::Append(const char* text, int length)
{
    if (length <= 0)
        return;
    int needed = m_nLength + length;
    if (needed > m_nCapacity) {
        // The text may lie in the old buffer: copy it before freeing that.
        int capacity = m_nCapacity * 2 > needed ? m_nCapacity * 2 : needed;
        char* data = new char[size_t(capacity) + 1];
        MemCopy(data, m_pData, size_t(m_nLength));
        MemCopy(data + m_nLength, text, size_t(length));
        if (m_nCapacity)
            delete[] m_pData;
        m_pData = data;
        m_nCapacity = capacity;
    } else {
        MemCopy(m_pData + m_nLength, text, size_t(length));
    }
    m_nLength = needed;
    m_pData[m_nLength] = 0;
}

void CString::Reserve(int capacity)
{
    if (capacity <= m_nCapacity)
        return;
    char* data = new char[size_t(capacity) + 1];
    MemCopy(data, m_pData, size_t(m_nLength) + 1);
    if (m_nCapacity)
        delete[] m_pData;
    m_pData = data;
    m_nCapacity = capacity;
}

CString operator+(const CString& left, const CString& right)
{
    CString result(left);
    result += right;
    return result;
}

CString operator+(const CString& left, const char* right)
{
    CString result(left);
    result += right;
    return result;
}

CString operator+(const char* left, const CString& right)
{
    CString result(left);
    result += right;
    return result;
}
