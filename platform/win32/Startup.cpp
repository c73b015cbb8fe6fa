// The process entry of Install.exe and the little of a C/C++ runtime it
// needs. The program links no C library: everything below is the whole
// runtime, so it runs on every supported system without a runtime DLL.
#include "Win32.h"

#include "../framework/WinApp.h"
#include "Win32Platform.h"

extern "C" {

// The compiler may call these for copies and zero-fills.
void* memcpy(void* target, const void* source, size_t count)
{
    MemCopy(target, source, count);
    return target;
}

void* memmove(void* target, const void* source, size_t count)
{
    unsigned char* t = static_cast<unsigned char*>(target);
    const unsigned char* s = static_cast<const unsigned char*>(source);
    if (t < s)
        while (count--)
            *t++ = *s++;
    else
        while (count--)
            t[count] = s[count];
    return target;
}

void* memset(void* target, int value, size_t count)
{
    unsigned char* t = static_cast<unsigned char*>(target);
    while (count--)
        *t++ = static_cast<unsigned char>(value);
    return target;
}

int memcmp(const void* left, const void* right, size_t count)
{
    const unsigned char* a = static_cast<const unsigned char*>(left);
    const unsigned char* b = static_cast<const unsigned char*>(right);
    for (; count; --count, ++a, ++b)
        if (*a != *b)
            return int(*a) - int(*b);
    return 0;
}

size_t strlen(const char* text) { return size_t(StrLen(text)); }

// Static destructors register here; they run once, in reverse, at exit.
typedef void(__cdecl* ExitFunction)(void);
static ExitFunction s_atExit[32];
static int s_atExitCount;

int atexit(ExitFunction function)
{
    if (s_atExitCount == int(sizeof(s_atExit) / sizeof(s_atExit[0])))
        return -1;
    s_atExit[s_atExitCount++] = function;
    return 0;
}

void __cxa_pure_virtual() { ::ExitProcess(3); }

// The linker's table of static constructors: -1, the functions, 0.
typedef void (*Constructor)(void);
extern Constructor __CTOR_LIST__[];

void __main() {}

}  // extern "C"

void* operator new(size_t size) { return ::HeapAlloc(::GetProcessHeap(), 0, size ? size : 1); }
void* operator new[](size_t size) { return operator new(size); }
void operator delete(void* block) noexcept
{
    if (block)
        ::HeapFree(::GetProcessHeap(), 0, block);
}
void operator delete[](void* block) noexcept { operator delete(block); }
void operator delete(void* block, size_t) noexcept { operator delete(block); }
void operator delete[](void* block, size_t) noexcept { operator delete(block); }

static void RunConstructors()
{
    Constructor* end = __CTOR_LIST__ + 1;
    while (*end)
        ++end;
    // The linker lists them in reverse order of construction.
    while (--end > __CTOR_LIST__)
        (*end)();
}

static void RunExitFunctions()
{
    while (s_atExitCount)
        s_atExit[--s_atExitCount]();
}

extern "C" void __stdcall EntryPoint()
{
    RunConstructors();
    ::InitCommonControls();
    Win32Platform platform;
    int code = AfxWinMain(AfxGetApp(), reinterpret_cast<ModuleHandle>(::GetModuleHandleA(nullptr)), &platform);
    RunExitFunctions();
    ::ExitProcess(UINT(code));
}
