// Arbitrary bytes as a .TL1 file: the loader, the graph buffer over what it
// loaded, and the writer's parser must stay inside their buffers and end.

#include "datafiles/dataset.h"
#include "datafiles/graph_buffer.h"
#include "datafiles/tl1_loader.h"
#include "writer/tl1_writer.h"
#include "support/fuzz_tables.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <memory>

namespace {

// Touches every reading handed over, as the .TL2 writer would.
class ReadingBankSink : public tamble::BankSink {
public:
    unsigned sum = 0;
    bool writeBank(const tamble::DataSet& data, int) override
    {
        for (int p = 0; p < data.channelCount(); ++p)
            for (int i = 0; i < data.readingsPerChannel; ++i)
                sum += data.reading(p, i);
        return true;
    }
    void finish(const tamble::DataSet&) override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    const QByteArray file(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(size));
    // One data set and graph buffer for all inputs, as the program keeps one for every load:
    // each load resets what it uses, and the raw planes are not allocated and zeroed per input.
    static auto data = std::make_unique<tamble::DataSet>();
    static auto buffer = std::make_unique<tamble::GraphBuffer>();
    data->dataFileName = QStringLiteral("/nonexistent/fuzz.TL1");
    ReadingBankSink sink;
    tamble::LoadOptions options;
    options.programDir = QStringLiteral("/nonexistent/");
    options.tableSource = &tamble::fuzz::MemoryTables();
    options.bankSink = &sink;
    const tamble::LoadResult result = tamble::LoadTl1FromBytes(*data, file, options);
    if (result.ok && !data->multiBank) {
        buffer->graphPointCount = 0;
        tamble::BuildGraphBuffer(*data, *buffer, size & 1);
    }
    const auto parsed = tamble::ParseTl1Recording(file);
    if (parsed.has_value() && size < 4096)
        (void)tamble::FormatTl1(*parsed);
    return 0;
}
