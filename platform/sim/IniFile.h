// An INI engine with the private-profile rules, for the simulated machine:
// sections and keys match without regard to case, blanks around names and
// values are trimmed, one pair of surrounding quotes is stripped, string
// values are cut to the caller's buffer, and writes touch only the lines they
// change.
#pragma once

#include <string>

namespace ini {

// The value of key in section of the INI text, or nullptr-like absence.
bool Find(const std::string& text, const std::string& section, const std::string& key, std::string* value);

// GetPrivateProfileString: the value or the default, cut to bufferSize - 1.
std::string GetString(const std::string& path, const std::string& section, const std::string& key,
                      const std::string& defaultValue, size_t bufferSize = 4096);

// GetPrivateProfileInt: a missing or empty value gives the default; otherwise
// the leading decimal number (with sign) as an unsigned 32-bit value.
unsigned GetInt(const std::string& path, const std::string& section, const std::string& key, int defaultValue);

// WritePrivateProfileString: creates a missing file, section or key; a null
// key removes the section, a null value removes the key.
bool WriteString(const std::string& path, const std::string& section, const char* key, const char* value);

// The same edit on text in memory.
std::string Edit(const std::string& text, const std::string& section, const char* key, const char* value);

}  // namespace ini
