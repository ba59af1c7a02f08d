#include "sim/SimMemory.h"

#include "device/Crc16.h"
#include "device/DeviceProtocol.h"
#include "device/MemorySlot.h"
#include "res/Format.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace trv::sim {

namespace {

bool ParseReading(const std::string& line, SimReading& r, std::string& why) {
    std::istringstream in(line);
    std::string date, time, type, flags, lactate;
    if (!(in >> r.id >> date >> time >> type >> flags >> lactate >> r.temperature >> r.status >> r.duration)) {
        why = "erwartet: id datum zeit typ marken laktat temperatur status dauer";
        return false;
    }
    if (std::sscanf(date.c_str(), "%d-%d-%d", &r.year, &r.month, &r.day) != 3 ||
        std::sscanf(time.c_str(), "%d:%d:%d", &r.hour, &r.minute, &r.second) != 3) {
        why = "Datum oder Uhrzeit unlesbar";
        return false;
    }
    static const char* kTypes[] = {"single", "PrL", "Ld", "AFL"};
    r.type = -1;
    for (int i = 0; i < 4; ++i)
        if (type == kTypes[i]) r.type = i;
    if (r.type < 0) {
        why = "unbekannter Typ \"" + type + "\"";
        return false;
    }
    r.start = flags.find("start") != std::string::npos;
    r.end = flags.find("end") != std::string::npos;
    if (lactate == "High") {
        r.status = 6;
    } else if (lactate == "Low") {
        r.status = 7;
    } else {
        double v = 0;
        if (!ParseDecimal(lactate, v) || v < 0 || v > 6553) {
            why = "Laktatwert unlesbar";
            return false;
        }
        r.lactate = static_cast<int>(v * 10 + 0.5);
    }
    if (r.id < 1 || r.id > 65535 || r.status < 0 || r.status > 15 || r.duration < 0 || r.duration > 65535 ||
        r.temperature < 0 || r.temperature > 255) {
        why = "Wert außerhalb des Bereichs";
        return false;
    }
    return true;
}

}  // namespace

Result ParseSimMemory(const std::string& text, SimMemory& memory) {
    SimMemory m;
    std::istringstream in(text);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (const auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
        std::istringstream words(line);
        std::string key;
        if (!(words >> key)) continue;
        std::string value;
        words >> value;
        if (key == "device") {
            if (value.size() != 10) return Result::Fail(Fmt("Zeile %d: die Geräte-ID hat 10 Zeichen", number));
            m.deviceId = value;
        } else if (key == "firmware") {
            double fw = 0;
            if (!ParseDecimal(value, fw) || fw < 0 || fw > 9.99)
                return Result::Fail(Fmt("Zeile %d: Firmware-Version unlesbar", number));
            m.firmware100 = static_cast<int>(fw * 100 + 0.5);
        } else if (key == "steptest") {
            m.stepTestMode = value == "on";
        } else {
            SimReading r;
            std::string why;
            if (!ParseReading(line, r, why)) return Result::Fail(Fmt("Zeile %d: ", number) + why);
            m.readings.push_back(r);
        }
    }
    memory = std::move(m);
    return Result::Ok();
}

Result LoadSimMemory(const std::string& path, SimMemory& memory) {
    std::ifstream f(path, std::ios::binary);
    if (!f) return Result::Fail("Die Datei " + path + " kann nicht gelesen werden.");
    std::stringstream s;
    s << f.rdbuf();
    return ParseSimMemory(s.str(), memory);
}

SimMemory SampleMemory() {
    SimMemory m;
    ParseSimMemory(SampleMemoryText(), m);
    return m;
}

std::vector<uint8_t> BuildMemoryImage(const std::vector<SimReading>& readings) {
    std::vector<uint8_t> image(proto::kMemoryBytes, 0);
    std::vector<SimReading> sorted(readings);
    std::sort(sorted.begin(), sorted.end(), [](const SimReading& a, const SimReading& b) { return a.id < b.id; });
    for (const SimReading& r : sorted) {
        MDataType m;
        m.m_nMeasId = static_cast<uint16_t>(r.id);
        m.m_nStepDuration = static_cast<uint16_t>(r.duration);
        m.m_nMeasType = static_cast<uint8_t>(r.type);
        m.m_bFirstStep = r.start;
        m.m_bLastStep = r.end;
        m.m_nStatus = static_cast<uint8_t>(r.status);
        m.m_nLactate = static_cast<uint16_t>(r.lactate);
        m.m_nTemperature = static_cast<uint8_t>(r.temperature);
        m.m_Time = COleDateTime::FromParts(r.year, r.month, r.day, r.hour, r.minute, r.second);
        EncodeSlot(m, image.data() + ((r.id - 1) % proto::kMemorySlots) * proto::kSlotBytes);
    }
    return image;
}

std::vector<uint8_t> BuildMemoryFrame(const std::vector<SimReading>& readings) {
    std::vector<uint8_t> frame = BuildMemoryImage(readings);
    const uint16_t crc = Crc16Arc(frame.data(), frame.size());
    frame.resize(proto::kFrameBytes, 0);
    frame[proto::kCrcOffset] = static_cast<uint8_t>(crc & 0xFF);
    frame[proto::kCrcOffset + 1] = static_cast<uint8_t>(crc >> 8);
    return frame;
}

}  // namespace trv::sim
