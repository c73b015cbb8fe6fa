#include "SimMachine.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "IniFile.h"
#include "pkgfs_posix.h"
#include "pkgunpack.h"

namespace fs = std::filesystem;

SimWindow* SimWindow::Child(int controlId) const
{
    for (const auto& child : children)
        if (child->id == controlId)
            return child.get();
    return nullptr;
}

SimMachine::SimMachine()
{
    system = this;
    files = this;
    processes = this;
    profiles = this;
    char pattern[] = "/tmp/simmachine-XXXXXX";
    if (!mkdtemp(pattern))
        throw std::runtime_error("cannot make the simulated machine's folder");
    m_drives['#'] = pattern;  // the machine's own root, removed at the end
    MapDrive('C', std::string(pattern) + "/c");
    driveTypes['C'] = DRIVE_FIXED;
}

SimMachine::~SimMachine()
{
    std::error_code ignored;
    fs::remove_all(m_drives['#'], ignored);
}

SimMachine& SimMachine::Of(CWinApp* app) { return *static_cast<SimMachine*>(app->m_pPlatform); }

void SimMachine::MapDrive(char letter, const std::string& hostFolder)
{
    fs::create_directories(hostFolder);
    m_drives[char(toupper(letter))] = hostFolder;
}

std::string SimMachine::HostPath(const std::string& windowsPath) const
{
    std::string path = windowsPath;
    if (path.size() < 2 || path[1] != ':')
        path = currentDirectory + "\\" + path;
    auto drive = m_drives.find(char(toupper(path[0])));
    if (drive == m_drives.end())
        return std::string();  // no such drive: nothing can be opened there
    fs::path host = drive->second;
    std::stringstream parts(path.substr(2));
    std::string part;
    while (std::getline(parts, part, '\\')) {
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            if (host != fs::path(drive->second))
                host = host.parent_path();
            continue;
        }
        // Windows names ignore letter case: use the entry that exists.
        fs::path chosen = host / part;
        std::error_code ec;
        if (!fs::exists(chosen, ec) && fs::is_directory(host, ec)) {
            for (const auto& entry : fs::directory_iterator(host, ec)) {
                std::string name = entry.path().filename().string();
                if (strcasecmp(name.c_str(), part.c_str()) == 0) {
                    chosen = entry.path();
                    break;
                }
            }
        }
        host = chosen;
    }
    return host.string();
}

void SimMachine::WriteFile(const std::string& windowsPath, const std::string& content)
{
    std::string host = HostPath(windowsPath);
    fs::create_directories(fs::path(host).parent_path());
    std::ofstream out(host, std::ios::binary | std::ios::trunc);
    out << content;
}

std::string SimMachine::ReadFile(const std::string& windowsPath) const
{
    std::ifstream in(HostPath(windowsPath), std::ios::binary);
    std::ostringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

bool SimMachine::FileExists(const std::string& windowsPath) const
{
    std::error_code ec;
    std::string host = HostPath(windowsPath);
    return !host.empty() && fs::is_regular_file(host, ec);
}

const DialogTemplate& SimMachine::Template(int templateId)
{
    auto it = m_templates.find(templateId);
    if (it == m_templates.end())
        it = m_templates.emplace(templateId, ReadDialogTemplate(SETUP_RC_FILE, SETUP_RESOURCE_H, templateId)).first;
    return it->second;
}

bool SimMachine::OpenDialog(CDialog& dialog)
{
    // The program has one dialog at a time: what an earlier one left
    // queued, and its windows, belong to nobody now.
    m_queue.clear();
    for (auto& old : m_dialogs)
        old->dialog = nullptr;
    const DialogTemplate& layout = Template(int(dialog.TemplateId()));
    auto window = std::make_unique<SimWindow>();
    window->machine = this;
    window->dialog = &dialog;
    window->className = "#32770";
    window->text = layout.caption;
    for (const ControlTemplate& c : layout.controls) {
        auto control = std::make_unique<SimWindow>();
        control->machine = this;
        control->parent = window.get();
        control->id = c.id;
        control->className = c.className;
        control->text = c.text;
        control->visible = c.visible;
        control->autoCheck = c.HasStyle("BS_AUTOCHECKBOX");
        window->children.push_back(std::move(control));
    }
    dialog.m_hWnd = reinterpret_cast<WindowHandle>(window.get());
    m_dialogs.push_back(std::move(window));
    dialog.OnInitDialog();
    Window(dialog.m_hWnd)->visible = !dialog.IsEnded();
    return true;
}

bool SimMachine::Pump(CDialog& dialog)
{
    while (!m_queue.empty() && !dialog.IsEnded()) {
        Posted posted = m_queue.front();
        m_queue.pop_front();
        SimWindow* target = Window(posted.window);
        if (target && target->dialog == &dialog && posted.message == 0x0111 /* WM_COMMAND */)
            RouteCommand(dialog, int(posted.wParam & 0xFFFF), UINT(posted.wParam >> 16));
    }
    return !dialog.IsEnded();
}

void SimMachine::RouteCommand(CDialog& dialog, int controlId, UINT code)
{
    DialogEvent event = {};
    event.kind = EventKind::Command;
    event.id = UINT(controlId);
    event.code = code;
    event.message = 0x0111;
    dialog.OnEvent(event);
}

SimWindow* SimMachine::Control(CDialog& dialog, int controlId) const
{
    SimWindow* window = Window(dialog.m_hWnd);
    return window ? window->Child(controlId) : nullptr;
}

long SimMachine::CtlColorText(CDialog& dialog, int controlId)
{
    SimDc dc;
    CDC context(reinterpret_cast<DcHandle>(&dc));
    CWnd control(reinterpret_cast<WindowHandle>(Control(dialog, controlId)));
    DialogEvent event = {};
    event.kind = EventKind::CtlColor;
    event.dc = &context;
    event.control = &control;
    event.ctlType = 6;  // CTLCOLOR_STATIC: what group boxes and labels ask
    dialog.OnEvent(event);
    return dc.textColourSet ? long(dc.textColour) : -1;
}

void SimMachine::Click(CDialog& dialog, int controlId)
{
    SimWindow* control = Control(dialog, controlId);
    if (!control || !control->visible || !control->enabled)
        return;  // a user cannot click what is hidden or disabled
    if (control->autoCheck)
        control->check = control->check ? 0 : 1;
    RouteCommand(dialog, controlId, BN_CLICKED);
    Pump(dialog);
}

void SimMachine::SelectItem(CDialog& dialog, int comboId, int index)
{
    SimWindow* combo = Control(dialog, comboId);
    if (!combo || index < 0 || index >= int(combo->items.size()))
        return;
    combo->curSel = index;
    RouteCommand(dialog, comboId, CBN_SELCHANGE);
    Pump(dialog);
}

void SimMachine::PressKey(CDialog& dialog, int controlId, UINT virtualKey)
{
    SimWindow* control = Control(dialog, controlId);
    WindowMessage message = {reinterpret_cast<WindowHandle>(control), WM_KEYDOWN, virtualKey, 0};
    dialog.PreTranslateMessage(&message);
    Pump(dialog);
}

void SimMachine::Post(WindowHandle window, UINT message, uintptr_t wParam, intptr_t lParam)
{
    m_queue.push_back({window, message, wParam, lParam});
}

int SimMachine::ShowMessageBox(WindowHandle owner, const char* text, const char* caption, UINT type)
{
    int answer;
    if (!boxAnswers.empty()) {
        answer = boxAnswers.front();
        boxAnswers.pop_front();
    } else {
        switch (type & MB_TYPEMASK) {
        case MB_YESNO:
        case MB_YESNOCANCEL:
            answer = IDYES;
            break;
        case MB_ABORTRETRYIGNORE:
            answer = IDABORT;
            break;
        case MB_RETRYCANCEL:
            answer = IDRETRY;
            break;
        default:
            answer = IDOK;
            break;
        }
    }
    messageBoxes.push_back({owner, text ? text : "", caption ? caption : "", type, answer});
    return answer;
}

bool SimMachine::GetVersionEx(OsVersionInfo* info)
{
    if (versionQueryFails)
        return false;
    *info = version;
    return true;
}

uint16_t SimMachine::GetSystemDefaultLangID() { return langId; }

bool SimMachine::GetModuleFileName(CString* path)
{
    *path = modulePath.c_str();
    return true;
}

UINT SimMachine::GetDriveType(const char* rootPath)
{
    if (!rootPath || !rootPath[0])
        return DRIVE_NO_ROOT_DIR;
    auto it = driveTypes.find(char(toupper(rootPath[0])));
    return it == driveTypes.end() ? DRIVE_NO_ROOT_DIR : it->second;
}

bool SimMachine::GetTempPath(CString* path, DWORD* error)
{
    if (tempPathFails) {
        *error = 5;  // access denied
        return false;
    }
    *path = tempPath.c_str();
    return true;
}

bool SimMachine::CanOpenForReading(const char* path) { return FileExists(path); }

bool SimMachine::CopyFile(const char* source, const char* target, DWORD* error)
{
    std::error_code ec;
    std::string from = HostPath(source), to = HostPath(target);
    if (from.empty() || !fs::is_regular_file(from, ec)) {
        *error = 2;  // file not found
        return false;
    }
    if (to.empty() || !fs::is_directory(fs::path(to).parent_path(), ec)) {
        *error = 3;  // path not found
        return false;
    }
    if (!fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec)) {
        *error = 5;
        return false;
    }
    return true;
}

bool SimMachine::RunHiddenAndWait(const char* commandLine, DWORD* exitCode, DWORD* error)
{
    hiddenRuns.push_back(commandLine);
    // The program is the first word, or the quoted text at the start.
    std::string line = commandLine, program;
    if (!line.empty() && line[0] == '"')
        program = line.substr(1, line.find('"', 1) - 1);
    else
        program = line.substr(0, line.find(' '));
    std::string image = FileExists(program) ? ReadFile(program) : std::string();
    if (image.empty()) {
        *error = 2;  // file not found
        return false;
    }
    const uint8_t* payload = nullptr;
    size_t payloadSize = 0;
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(image.data());
    pkg::Status found = pkg::FindPayload(bytes, image.size(), &payload, &payloadSize);
    if (found == pkg::kErrNoTrailer) {
        *error = 193;  // not a program this machine can run
        return false;
    }
    if (found != pkg::kOk) {
        *exitCode = DWORD(found);  // the stub refuses its own damaged file
        return true;
    }
    std::string unpackFolder = HostPath(tempPath + "TARNOsetup");
    pkg::FileSystem posix = pkg::PosixFileSystem();
    *exitCode = DWORD(pkg::Unpack(payload, payloadSize, unpackFolder.c_str(), &posix));
    return true;
}

bool SimMachine::WinExec(const char* commandLine, UINT)
{
    startedPrograms.push_back(commandLine);
    return true;
}

CString SimMachine::GetString(const char* file, const char* section, const char* key, const char* defaultValue)
{
    return CString(ini::GetString(HostPath(file), section, key, defaultValue).c_str());
}

UINT SimMachine::GetInt(const char* file, const char* section, const char* key, int defaultValue)
{
    return ini::GetInt(HostPath(file), section, key, defaultValue);
}

bool SimMachine::WriteString(const char* file, const char* section, const char* key, const char* value)
{
    std::string host = HostPath(file);
    return !host.empty() && ini::WriteString(host, section, key, value);
}
