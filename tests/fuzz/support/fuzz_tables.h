#pragma once
// Sensor tables for the fuzz targets, held in memory so that no input makes
// the channel set-up touch the disk: a resistance table, a light table, a
// count table and a thermocouple table, looked up under their own names and
// as the fallback table.

#include "conversion/sensor_table.h"

namespace tamble::fuzz {

inline const SensorTableSource& MemoryTables()
{
    static const MemoryTableSource tables = [] {
        MemoryTableSource t;
        const QByteArray resistance = QByteArrayLiteral(
            "Thermistor\r\nC\r\n deg C   ohms\r\n-40 336450\r\n-20 97070\r\n0 32650\r\n25 10000\r\n"
            "50 3603\r\n100 678\r\n150 186\r\n");
        t.add(QStringLiteral("C.Rvt"), resistance);
        t.add(QStringLiteral("A.Rvt"), resistance);
        t.add(QStringLiteral("L.Rvt"), QByteArrayLiteral("Light\r\nL\r\n lux ohms\r\n0 900000\r\n100 20000\r\n10000 300\r\n"));
        t.add(QStringLiteral("P.Rvt"), QByteArrayLiteral("Percent\r\nN\r\n% %\r\n100 100\r\n50 50\r\n0 0\r\n"));
        t.add(QStringLiteral("t.mvt"),
              QByteArrayLiteral("Type T\r\nT\r\n deg C mV\r\n400 20.872\r\n100 4.279\r\n0 0\r\n-100 -3.379\r\n-200 -5.603\r\n"));
        return t;
    }();
    return tables;
}

} // namespace tamble::fuzz
