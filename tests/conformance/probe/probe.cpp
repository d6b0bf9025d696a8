// The conformance probe: a Windows console program that performs a script of profile-file and
// registry operations with the Win32 functions themselves and prints one result line for each.
// Run under Wine it is an oracle for the emulated machine: the conformance test gives the same
// script to the platform layer and compares the lines, the profile files and the registry.
//
// A script line is an operation and its fields separated by blanks. Texts are the hex digits of
// their UTF-8 bytes ("-" for the empty text); registry data are the hex digits of the bytes.
//   pw F S K V   WritePrivateProfileString, then a flush        -> ok | fail
//   pr F S K D   GetPrivateProfileString with default D          -> = text
//   pi F S K N   GetPrivateProfileInt with default N, and the text -> number text
//   pd F S K     WritePrivateProfileString(S, K, NULL), a flush  -> ok | fail
//   rc P / ro P  RegCreateKeyEx / RegOpenKeyEx                    -> ok | fail
//   rs P N T D   RegSetValueEx of type T                           -> ok | fail
//   rq P N       RegQueryValueEx                                   -> type hex | missing | nokey
//   rv P N       RegDeleteValue                                    -> ok | fail
//   rd P         delete the key and its subkeys, last-enumerated first -> ok | fail
//   ek P / ev P  RegEnumKeyEx / RegEnumValue                       -> names | nokey
// F is the profile file's number (C:\conf\F.ini); P is a key path below
// HKEY_CURRENT_USER\Software\TolmarConformance.
#include <cstdio>
#include <string>
#include <vector>
#include <windows.h>

namespace {

const wchar_t kRoot[] = L"Software\\TolmarConformance";

std::string Bytes(const std::string& hex)
{
    std::string bytes;
    if (hex == "-") return bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(char(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

std::wstring Text(const std::string& hex)
{
    const std::string utf8 = Bytes(hex);
    if (utf8.empty()) return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring text(std::size_t(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), &text[0], n);
    return text;
}

// Printable ASCII as it is, every other unit (and the backslash) as \uXXXX.
std::string Escaped(const wchar_t* s, std::size_t n)
{
    std::string out;
    char buf[8];
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned c = unsigned(s[i]);
        if (c >= 0x20 && c < 0x7f && c != '\\') {
            out.push_back(char(c));
        } else {
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
        }
    }
    return out;
}

std::string Escaped(const std::wstring& s) { return Escaped(s.data(), s.size()); }

std::string Hex(const unsigned char* data, std::size_t n)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (std::size_t i = 0; i < n; ++i) {
        out.push_back(digits[data[i] >> 4]);
        out.push_back(digits[data[i] & 15]);
    }
    return out.empty() ? "-" : out;
}

std::wstring IniPath(const std::string& file) { return L"C:\\conf\\" + Text(file) + L".ini"; }

std::wstring KeyPath(const std::string& hex)
{
    const std::wstring sub = Text(hex);
    return sub.empty() ? std::wstring(kRoot) : std::wstring(kRoot) + L"\\" + sub;
}

const char* Ok(bool ok) { return ok ? "ok" : "fail"; }

void Flush(const std::wstring& file)
{
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, file.c_str());
}

std::string ProfileRead(const std::wstring& file, const std::wstring& section,
                        const std::wstring& key, const std::wstring& def)
{
    std::vector<wchar_t> buffer(2048);
    const DWORD n = GetPrivateProfileStringW(section.c_str(), key.c_str(), def.c_str(),
                                             buffer.data(), DWORD(buffer.size()), file.c_str());
    return Escaped(buffer.data(), n);
}

HKEY Open(const std::wstring& path, REGSAM access)
{
    HKEY key = nullptr;
    return RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, access, &key) == ERROR_SUCCESS
               ? key
               : nullptr;
}

std::vector<std::wstring> SubkeyNames(HKEY key)
{
    std::vector<std::wstring> names;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD size = 256;
        if (RegEnumKeyExW(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.emplace_back(name, size);
    }
    return names;
}

bool DeleteTree(const std::wstring& path)
{
    if (HKEY key = Open(path, KEY_READ)) {
        const std::vector<std::wstring> names = SubkeyNames(key);
        RegCloseKey(key);
        for (auto it = names.rbegin(); it != names.rend(); ++it)
            DeleteTree(path + L"\\" + *it);
    }
    return RegDeleteKeyW(HKEY_CURRENT_USER, path.c_str()) == ERROR_SUCCESS;
}

std::string Names(const std::vector<std::wstring>& names)
{
    std::string out = "[";
    for (const auto& name : names)
        out += " " + Escaped(name);
    return out + " ]";
}

std::string Run(const std::vector<std::string>& f)
{
    const std::string& op = f[0];
    if (op == "pw" || op == "pd") {
        const std::wstring file = IniPath(f[1]);
        const std::wstring value = op == "pw" ? Text(f[4]) : std::wstring();
        const BOOL ok =
            WritePrivateProfileStringW(Text(f[2]).c_str(), Text(f[3]).c_str(),
                                       op == "pw" ? value.c_str() : nullptr, file.c_str());
        Flush(file);
        return Ok(ok);
    }
    if (op == "pr") return "= " + ProfileRead(IniPath(f[1]), Text(f[2]), Text(f[3]), Text(f[4]));
    if (op == "pi") {
        const std::wstring file = IniPath(f[1]);
        const UINT n = GetPrivateProfileIntW(Text(f[2]).c_str(), Text(f[3]).c_str(),
                                             std::stoi(f[4]), file.c_str());
        return std::to_string(int(n)) + " " + ProfileRead(file, Text(f[2]), Text(f[3]), L"");
    }
    const std::wstring path = KeyPath(f[1]);
    if (op == "rc") {
        HKEY key = nullptr;
        const LONG rc = RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0,
                                        KEY_ALL_ACCESS, nullptr, &key, nullptr);
        if (rc == ERROR_SUCCESS) RegCloseKey(key);
        return Ok(rc == ERROR_SUCCESS);
    }
    if (op == "rd") return Ok(DeleteTree(path));
    HKEY key = Open(path, KEY_ALL_ACCESS);
    if (op == "ro") {
        if (key) RegCloseKey(key);
        return Ok(key != nullptr);
    }
    if (!key) return op == "rs" || op == "rv" ? "fail" : "nokey";
    std::string result;
    if (op == "rs") {
        // Padded so that Windows' completion of a text whose NUL was not counted cannot apply.
        std::string data = Bytes(f[4]) + "\xff\xff";
        result = Ok(RegSetValueExW(key, Text(f[2]).c_str(), 0, DWORD(std::stoul(f[3])),
                                   reinterpret_cast<const BYTE*>(data.data()),
                                   DWORD(data.size() - 2)) == ERROR_SUCCESS);
    } else if (op == "rq") {
        DWORD type = 0;
        std::vector<unsigned char> data(65536);
        DWORD size = DWORD(data.size());
        const LONG rc =
            RegQueryValueExW(key, Text(f[2]).c_str(), nullptr, &type, data.data(), &size);
        result =
            rc == ERROR_SUCCESS ? std::to_string(type) + " " + Hex(data.data(), size) : "missing";
    } else if (op == "rv") {
        result = Ok(RegDeleteValueW(key, Text(f[2]).c_str()) == ERROR_SUCCESS);
    } else if (op == "ek") {
        result = Names(SubkeyNames(key));
    } else if (op == "ev") {
        std::vector<std::wstring> names;
        for (DWORD i = 0;; ++i) {
            wchar_t name[16384];
            DWORD size = 16384;
            if (RegEnumValueW(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) !=
                ERROR_SUCCESS)
                break;
            names.emplace_back(name, size);
        }
        result = Names(names);
    } else {
        result = "unknown";
    }
    RegCloseKey(key);
    return result;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: probe SCRIPT\n");
        return 2;
    }
    std::FILE* script = std::fopen(argv[1], "rb");
    if (!script) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 2;
    }
    std::string line;
    int number = 0;
    for (int c;;) {
        c = std::fgetc(script);
        if (c != EOF && c != '\n') {
            line.push_back(char(c));
            continue;
        }
        if (!line.empty()) {
            std::vector<std::string> fields;
            std::size_t start = 0;
            while (start <= line.size()) {
                const std::size_t blank = line.find(' ', start);
                const std::size_t end = blank == std::string::npos ? line.size() : blank;
                fields.push_back(line.substr(start, end - start));
                start = end + 1;
            }
            std::printf("%d %s %s\n", ++number, fields[0].c_str(), Run(fields).c_str());
        }
        line.clear();
        if (c == EOF) break;
    }
    std::fclose(script);
    return 0;
}
