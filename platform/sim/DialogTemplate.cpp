#include "DialogTemplate.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace {

std::string Trim(const std::string& s)
{
    size_t first = s.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return std::string();
    size_t last = s.find_last_not_of(" \t\r\n");
    return s.substr(first, last - first + 1);
}

// Splits on commas outside double quotes.
std::vector<std::string> SplitArgs(const std::string& s)
{
    std::vector<std::string> parts;
    std::string current;
    bool quoted = false;
    for (char c : s) {
        if (c == '"')
            quoted = !quoted;
        if (c == ',' && !quoted) {
            parts.push_back(Trim(current));
            current.clear();
        } else {
            current += c;
        }
    }
    parts.push_back(Trim(current));
    return parts;
}

std::string Unquote(const std::string& s)
{
    if (s.size() >= 2 && s.front() == '"' && s.back() == '"')
        return s.substr(1, s.size() - 2);
    throw std::runtime_error("expected a quoted text: " + s);
}

std::vector<std::string> SplitStyles(const std::string& s)
{
    std::vector<std::string> styles;
    std::stringstream in(s);
    std::string part;
    while (std::getline(in, part, '|'))
        styles.push_back(Trim(part));
    return styles;
}

int Resolve(const std::map<std::string, int>& ids, const std::string& token)
{
    auto it = ids.find(token);
    if (it != ids.end())
        return it->second;
    try {
        return std::stoi(token, nullptr, 0);
    } catch (const std::exception&) {
        throw std::runtime_error("unknown identifier in resource script: " + token);
    }
}

}  // namespace

bool ControlTemplate::HasStyle(const std::string& name) const
{
    for (const std::string& s : styles)
        if (s == name)
            return true;
    return false;
}

const ControlTemplate* DialogTemplate::Find(int controlId) const
{
    for (const ControlTemplate& c : controls)
        if (c.id == controlId)
            return &c;
    return nullptr;
}

std::map<std::string, int> ReadResourceIds(const std::string& headerPath)
{
    std::ifstream in(headerPath);
    if (!in)
        throw std::runtime_error("cannot read " + headerPath);
    std::map<std::string, int> ids = {{"IDOK", 1}, {"IDCANCEL", 2}};
    std::string line;
    while (std::getline(in, line)) {
        std::stringstream words(line);
        std::string directive, name, value;
        if (words >> directive >> name >> value && directive == "#define")
            ids[name] = std::stoi(value, nullptr, 0);
    }
    return ids;
}

DialogTemplate ReadDialogTemplate(const std::string& rcPath, const std::string& headerPath, int templateId)
{
    std::map<std::string, int> ids = ReadResourceIds(headerPath);
    std::ifstream in(rcPath);
    if (!in)
        throw std::runtime_error("cannot read " + rcPath);

    DialogTemplate dialog;
    bool inDialog = false, inBody = false;
    std::string line;
    while (std::getline(in, line)) {
        std::string t = Trim(line);
        if (!inDialog) {
            std::stringstream words(t);
            std::string name, kind;
            if (words >> name >> kind && kind == "DIALOGEX" && ids.count(name) && ids[name] == templateId) {
                inDialog = true;
                dialog.id = templateId;
                std::string rest;
                std::getline(words, rest);
                std::vector<std::string> rect = SplitArgs(rest);
                if (rect.size() != 4)
                    throw std::runtime_error("dialog rectangle: " + t);
                dialog.x = std::stoi(rect[0]);
                dialog.y = std::stoi(rect[1]);
                dialog.width = std::stoi(rect[2]);
                dialog.height = std::stoi(rect[3]);
            }
            continue;
        }
        if (!inBody) {
            if (t.rfind("STYLE ", 0) == 0)
                dialog.styles = SplitStyles(t.substr(6));
            else if (t.rfind("EXSTYLE ", 0) == 0)
                dialog.exStyles = SplitStyles(t.substr(8));
            else if (t.rfind("CAPTION ", 0) == 0)
                dialog.caption = Unquote(Trim(t.substr(8)));
            else if (t.rfind("FONT ", 0) == 0) {
                std::vector<std::string> args = SplitArgs(t.substr(5));
                dialog.fontSize = std::stoi(args.at(0));
                dialog.fontName = Unquote(args.at(1));
            } else if (t == "BEGIN")
                inBody = true;
            continue;
        }
        if (t == "END")
            return dialog;
        if (t.empty() || t.rfind("//", 0) == 0)
            continue;
        if (t.rfind("CONTROL ", 0) != 0)
            throw std::runtime_error("only CONTROL statements are read: " + t);
        std::vector<std::string> args = SplitArgs(t.substr(8));
        if (args.size() != 8)
            throw std::runtime_error("CONTROL needs 8 arguments: " + t);
        ControlTemplate control;
        control.text = Unquote(args[0]);
        control.id = Resolve(ids, args[1]);
        control.className = Unquote(args[2]);
        control.styles = SplitStyles(args[3]);
        control.visible = control.HasStyle("WS_VISIBLE") && !control.HasStyle("NOT WS_VISIBLE");
        control.x = std::stoi(args[4]);
        control.y = std::stoi(args[5]);
        control.width = std::stoi(args[6]);
        control.height = std::stoi(args[7]);
        dialog.controls.push_back(control);
    }
    throw std::runtime_error("dialog template not found or not ended in " + rcPath);
}
