#pragma once
// Port names: "COMn" (n = 1..100) or a device path.
// With TRV_PORT_DIR set, COMn is the entry COMn of that directory (a device node or a symlink to
// one) and nothing else is probed; otherwise COMn is the n-th serial port of the system, sorted by
// device name (numbers in names compare by value: ttyS2 before ttyS10).
#include <string>
#include <vector>

namespace trv {

constexpr int kMaxComPort = 100;

// "COM%d".
std::string ComPortName(int n);
// n of "COMn" (case-insensitive "COM"), or 0 when the name is no such name.
int ComPortNumber(const std::string& name);

// The device path of a port name; false when COMn has no device.
bool ResolvePortName(const std::string& name, std::string& path);

// The system's serial ports (/dev/ttyS*, ttyUSB*, ttyACM*, rfcomm*, ... that have a driver behind them),
// sorted as above.
std::vector<std::string> SystemSerialPorts();

// The German hint for a port the user may not open (permission denied).
std::string PermissionHint(const std::string& devicePath);

}  // namespace trv
