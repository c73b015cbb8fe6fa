// Answers profile queries on one INI file: built for Windows it asks the
// system's private-profile functions, built natively it asks the simulated
// machine's INI engine, so the two can be compared answer by answer.
//   ini_probe <ini file> <query file>
// Each query line is "s|section|key|default", "i|section|key|default" or
// "w|section|key|value" (a write; "~" as key or value stands for none). Each
// answer is printed on its own line, bytes outside printable ASCII as \xNN.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <string>

#include "platform/sim/IniFile.h"
#endif

namespace {

void PrintEscaped(const char* prefix, const char* text, size_t length)
{
    printf("%s", prefix);
    for (size_t i = 0; i < length; ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c >= 0x7F || c == '\\')
            printf("\\x%02X", c);
        else
            putchar(c);
    }
    putchar('\n');
}

const char* OrNull(const char* field) { return strcmp(field, "~") == 0 ? nullptr : field; }

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: ini_probe <ini file> <query file>\n");
        return 2;
    }
    FILE* queries = fopen(argv[2], "rb");
    if (!queries) {
        fprintf(stderr, "cannot read %s\n", argv[2]);
        return 1;
    }
    static char line[16384];
    while (fgets(line, sizeof line, queries)) {
        line[strcspn(line, "\r\n")] = 0;
        char* fields[4] = {line, nullptr, nullptr, nullptr};
        for (int f = 1; f < 4; ++f) {
            char* bar = fields[f - 1] ? strchr(fields[f - 1], '|') : nullptr;
            if (bar) {
                *bar = 0;
                fields[f] = bar + 1;
            }
        }
        if (!fields[3])
            continue;
        const char* section = fields[1];
        const char* key = fields[2];
        const char* value = fields[3];
#ifdef _WIN32
        if (fields[0][0] == 's') {
            static char buffer[4096];
            DWORD length = GetPrivateProfileStringA(section, key, value, buffer, sizeof buffer, argv[1]);
            PrintEscaped("s ", buffer, length);
        } else if (fields[0][0] == 'i') {
            printf("i %u\n", GetPrivateProfileIntA(section, key, atoi(value), argv[1]));
        } else if (fields[0][0] == 'w') {
            printf("w %d\n", WritePrivateProfileStringA(section, OrNull(key), OrNull(value), argv[1]) ? 1 : 0);
        }
#else
        if (fields[0][0] == 's') {
            std::string answer = ini::GetString(argv[1], section, key, value);
            PrintEscaped("s ", answer.data(), answer.size());
        } else if (fields[0][0] == 'i') {
            printf("i %u\n", ini::GetInt(argv[1], section, key, atoi(value)));
        } else if (fields[0][0] == 'w') {
            printf("w %d\n", ini::WriteString(argv[1], section, OrNull(key), OrNull(value)) ? 1 : 0);
        }
#endif
    }
    fclose(queries);
    return 0;
}
