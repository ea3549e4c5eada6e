// Arbitrary bytes as a .TL2 file: the CSV reader and the re-export (all
// points and averaged, CSV and text, zoomed or not) must stay inside their
// buffers and end.

#include "datafiles/csv_reader.h"
#include "datafiles/tl2.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    // The reader takes a file name: the file lives in memory (tmpfs) where there is one.
    static QTemporaryDir dir(QDir("/dev/shm").exists() ? QStringLiteral("/dev/shm/tamble-fuzz-XXXXXX")
                                                       : QDir::tempPath() + QStringLiteral("/tamble-fuzz-XXXXXX"));
    const QString path = dir.path() + QStringLiteral("/fuzz.TL2");
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            return 0;
        f.write(reinterpret_cast<const char*>(bytes), static_cast<qint64>(size));
    }
    const std::uint8_t knobs = size > 0 ? bytes[0] : 0;

    // One data set and graph buffer for all inputs, as the program keeps them: the reader resets
    // what it uses, so nothing large is allocated and zeroed per input.
    static auto data = std::make_unique<tamble::DataSet>();
    static auto buffer = std::make_unique<tamble::GraphBuffer>();
    data->zoom = tamble::ZoomState{};
    data->bankFileName = path;
    if (knobs & 1) {
        data->zoom.zoomed = true;
        data->zoom.firstReading = knobs >> 4;
        data->zoom.readingCount = (knobs >> 1) & 7;
    }
    tamble::ReadCsvDataFile(*data, *buffer, dir.path() + QStringLiteral("/"));

    data->dataFileName = path;
    const int averagings[] = {1, 2, 3, 9999};
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    tamble::TextOut text(&out);
    tamble::ReexportFromBankFile(*data, text, (knobs & 2) != 0, averagings[(knobs >> 2) & 3], dir.path() + "/");
    text.flush();
    return 0;
}
