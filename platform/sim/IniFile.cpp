#include "IniFile.h"

#include <fstream>
#include <sstream>
#include <vector>

namespace ini {
namespace {

struct Line {
    std::string raw;      // the line as stored, without its line ending
    std::string ending;   // "\r\n", "\n" or "" for the last line
};

std::vector<Line> SplitLines(const std::string& text)
{
    std::vector<Line> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        Line line;
        if (end == std::string::npos) {
            line.raw = text.substr(start);
            start = text.size();
        } else {
            line.raw = text.substr(start, end - start);
            line.ending = "\n";
            start = end + 1;
        }
        if (!line.raw.empty() && line.raw.back() == '\r') {
            line.raw.pop_back();
            line.ending = "\r" + line.ending;
        }
        lines.push_back(line);
    }
    return lines;
}

std::string Trim(const std::string& s)
{
    size_t first = s.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    size_t last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

bool EqualNoCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z')
            x = x - 'a' + 'A';
        if (y >= 'a' && y <= 'z')
            y = y - 'a' + 'A';
        if (x != y)
            return false;
    }
    return true;
}

// "[name]" gives true and the trimmed name.
bool IsSection(const std::string& raw, std::string* name)
{
    std::string t = Trim(raw);
    if (t.empty() || t[0] != '[')
        return false;
    size_t close = t.find(']');
    *name = Trim(t.substr(1, close == std::string::npos ? std::string::npos : close - 1));
    return true;
}

// "key = value" gives true, the trimmed key and the trimmed, unquoted value.
bool IsKey(const std::string& raw, std::string* key, std::string* value)
{
    size_t eq = raw.find('=');
    if (eq == std::string::npos)
        return false;
    *key = Trim(raw.substr(0, eq));
    std::string v = Trim(raw.substr(eq + 1));
    if (v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v.back() == v[0])
        v = v.substr(1, v.size() - 2);
    *value = v;
    return true;
}

bool ReadFile(const std::string& path, std::string* text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    *text = buffer.str();
    return true;
}

}  // namespace

bool Find(const std::string& text, const std::string& section, const std::string& key, std::string* value)
{
    bool inSection = false;
    std::string name, k, v;
    for (const Line& line : SplitLines(text)) {
        if (IsSection(line.raw, &name)) {
            // The first section of the name is the one that counts.
            if (inSection)
                return false;
            inSection = EqualNoCase(name, Trim(section));
            continue;
        }
        if (inSection && IsKey(line.raw, &k, &v) && EqualNoCase(k, Trim(key))) {
            *value = v;
            return true;
        }
    }
    return false;
}

std::string GetString(const std::string& path, const std::string& section, const std::string& key,
                      const std::string& defaultValue, size_t bufferSize)
{
    std::string text, value;
    if (!ReadFile(path, &text) || !Find(text, section, key, &value))
        value = Trim(defaultValue);
    if (bufferSize == 0)
        return std::string();
    if (value.size() > bufferSize - 1)
        value.resize(bufferSize - 1);
    return value;
}

unsigned GetInt(const std::string& path, const std::string& section, const std::string& key, int defaultValue)
{
    std::string text, value;
    if (!ReadFile(path, &text) || !Find(text, section, key, &value) || value.empty())
        return unsigned(defaultValue);
    size_t i = 0;
    bool negative = false;
    if (value[i] == '-' || value[i] == '+')
        negative = value[i++] == '-';
    unsigned result = 0;
    for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i)
        result = result * 10 + unsigned(value[i] - '0');
    return negative ? 0u - result : result;
}

std::string Edit(const std::string& text, const std::string& section, const char* key, const char* value)
{
    std::vector<Line> lines = SplitLines(text);
    std::string eol = "\r\n";
    for (const Line& line : lines)
        if (!line.ending.empty()) {
            eol = line.ending;
            break;
        }

    // Locate the section: its header line and the end of its lines.
    size_t header = lines.size(), end = lines.size();
    std::string name, k, v;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (!IsSection(lines[i].raw, &name))
            continue;
        if (header != lines.size()) {
            end = i;
            break;
        }
        if (EqualNoCase(name, Trim(section)))
            header = i;
    }

    if (header == lines.size()) {
        if (!key || !value)
            return text;  // nothing to remove
        std::string out = text;
        if (!out.empty() && out.back() != '\n')
            out += eol;
        return out + "[" + section + "]" + eol + key + "=" + value + eol;
    }

    if (!key) {
        lines.erase(lines.begin() + long(header), lines.begin() + long(end));
    } else {
        size_t found = lines.size(), lastKey = header;
        std::string foundName;
        for (size_t i = header + 1; i < end; ++i) {
            if (!IsKey(lines[i].raw, &k, &v))
                continue;
            lastKey = i;
            if (found == lines.size() && EqualNoCase(k, Trim(key))) {
                found = i;
                foundName = k;  // the stored spelling of the key stays
            }
        }
        if (found != lines.size()) {
            if (value)
                lines[found].raw = foundName + "=" + value;
            else
                lines.erase(lines.begin() + long(found));
        } else if (value) {
            if (lines[lastKey].ending.empty())
                lines[lastKey].ending = eol;
            lines.insert(lines.begin() + long(lastKey) + 1, Line{std::string(key) + "=" + value, eol});
        }
    }

    std::string out;
    for (const Line& line : lines)
        out += line.raw + line.ending;
    return out;
}

bool WriteString(const std::string& path, const std::string& section, const char* key, const char* value)
{
    std::string text;
    ReadFile(path, &text);  // a missing file starts empty
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        return false;
    out << Edit(text, section, key, value);
    return bool(out);
}

}  // namespace ini
