// The dialog template as the resource script states it, read by the
// simulated desktop so the native tests run against the real layout.
#pragma once

#include <map>
#include <string>
#include <vector>

struct ControlTemplate {
    std::string text;
    int id = 0;
    std::string className;
    std::vector<std::string> styles;  // style names as written; "NOT X" kept as such
    bool visible = false;
    int x = 0, y = 0, width = 0, height = 0;

    bool HasStyle(const std::string& name) const;
};

struct DialogTemplate {
    int id = 0;
    std::string caption;
    std::string fontName;
    int fontSize = 0;
    std::vector<std::string> styles;
    std::vector<std::string> exStyles;
    int x = 0, y = 0, width = 0, height = 0;
    std::vector<ControlTemplate> controls;  // in tab order

    const ControlTemplate* Find(int controlId) const;
};

// The #define values of a header such as resource.h (plus IDOK, IDCANCEL).
std::map<std::string, int> ReadResourceIds(const std::string& headerPath);

// Reads the DIALOGEX template of the given ID from a resource script whose
// controls are written as generic CONTROL statements. Throws on a script it
// cannot read: the tests must not run against a half-read layout.
DialogTemplate ReadDialogTemplate(const std::string& rcPath, const std::string& headerPath, int templateId);
