#include "device/PortNames.h"

#include "res/Format.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace trv {

namespace fs = std::filesystem;

std::string ComPortName(int n) { return Fmt("COM%d", n); }

int ComPortNumber(const std::string& name) {
    if (name.size() < 4 || name.size() > 6) return 0;
    for (int i = 0; i < 3; ++i)
        if (std::toupper(static_cast<unsigned char>(name[i])) != "COM"[i]) return 0;
    int n = 0;
    for (size_t i = 3; i < name.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(name[i]))) return 0;
        n = n * 10 + (name[i] - '0');
    }
    return (n >= 1 && n <= kMaxComPort && name[3] != '0') ? n : 0;
}

namespace {

// "ttyS10" after "ttyS2": digit runs compare by value.
bool NaturalLess(const std::string& a, const std::string& b) {
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (std::isdigit(static_cast<unsigned char>(a[i])) && std::isdigit(static_cast<unsigned char>(b[j]))) {
            size_t i2 = i, j2 = j;
            while (i2 < a.size() && std::isdigit(static_cast<unsigned char>(a[i2]))) ++i2;
            while (j2 < b.size() && std::isdigit(static_cast<unsigned char>(b[j2]))) ++j2;
            const unsigned long long va = std::strtoull(a.substr(i, i2 - i).c_str(), nullptr, 10);
            const unsigned long long vb = std::strtoull(b.substr(j, j2 - j).c_str(), nullptr, 10);
            if (va != vb) return va < vb;
            i = i2;
            j = j2;
        } else {
            if (a[i] != b[j]) return a[i] < b[j];
            ++i;
            ++j;
        }
    }
    return a.size() - i < b.size() - j;
}

}  // namespace

std::vector<std::string> SystemSerialPorts() {
    std::vector<std::string> names;
    std::error_code ec;
    // Every tty with a device behind it; virtual consoles and pseudo-terminals have none.
    for (fs::directory_iterator it("/sys/class/tty", ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::error_code ec2;
        if (!fs::exists(it->path() / "device", ec2)) continue;
        if (name.rfind("tty", 0) != 0 && name.rfind("rfcomm", 0) != 0) continue;
        if (!fs::exists("/dev/" + name, ec2)) continue;
        names.push_back(name);
    }
    std::sort(names.begin(), names.end(), NaturalLess);
    for (auto& n : names) n = "/dev/" + n;
    return names;
}

bool ResolvePortName(const std::string& name, std::string& path) {
    const int n = ComPortNumber(name);
    if (n == 0) {
        if (name.empty()) return false;
        path = name;
        return true;
    }
    if (const char* dir = std::getenv("TRV_PORT_DIR"); dir && *dir) {
        path = std::string(dir) + "/" + ComPortName(n);
        return true;  // whether it exists shows when it is opened
    }
    const auto ports = SystemSerialPorts();
    if (n > static_cast<int>(ports.size())) return false;
    path = ports[static_cast<size_t>(n - 1)];
    return true;
}

std::string PermissionHint(const std::string& devicePath) { return FmtId(IDS_PORT_PERMISSION, devicePath.c_str()); }

}  // namespace trv
