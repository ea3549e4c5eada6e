// Sensor table text of any shape: the reader must stay inside its input and
// its 255 rows, and whatever table it produces (complete or not) must convert
// every reading without reading outside the table.
//
// Input: 2 bytes full-scale count, 1 byte scaling code, then the table text.

#include "conversion/channel_scaling.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

using namespace tamble;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 3)
        return 0;
    const auto fullScale = static_cast<std::uint16_t>(data[0] | (data[1] << 8));
    const char code = static_cast<char>(data[2]);
    const std::string_view text(reinterpret_cast<const char*>(data + 3), size - 3);

    const ParsedSensorTable parsed = ParseSensorTable(text, fullScale);
    if (parsed.table.pointCount < 0.0f || parsed.table.pointCount > 255.0f)
        __builtin_trap();

    // Install the table as the set-up would and convert across the range.
    ChannelScaling s;
    s.fullScaleCount = fullScale;
    s.inputTypes = 0x0249; // every channel temperature/RH
    s.humidityQuantity = static_cast<int>(size % 3);
    for (int channel = 1; channel <= 4; ++channel) {
        ChannelConversion& c = s.channels[static_cast<std::size_t>(channel - 1)];
        c.code = code == '0' ? 'A' : code;
        c.thermocouple = IsThermocoupleCode(c.code);
        c.table = parsed.table;
        c.countInput = parsed.kind == 'N' || parsed.table.inputColumn[0] == 0.0f;
    }
    FixCountTables(s);
    const std::uint16_t readings[] = {0, 1, 2, 127, 255, 1023, 2048, 4094, 4095, fullScale,
                                      static_cast<std::uint16_t>(fullScale - 1), 65535};
    for (std::uint16_t r : readings) {
        for (int channel = 1; channel <= 4; ++channel) {
            std::uint16_t reading = r;
            (void)ConvertReading(s, reading, channel);
        }
    }
    (void)ColdJunctionMillivolts(parsed.table, s.lastChannel1Value);
    return 0;
}
