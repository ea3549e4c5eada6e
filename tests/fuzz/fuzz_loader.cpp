// Arbitrary bytes as a .TL1 file: the loader must stay inside its buffers
// and end. The graph buffer and the writer's parser have targets of their own.

#include "datafiles/dataset.h"
#include "datafiles/tl1_loader.h"
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
    // One data set for all inputs, as the program keeps one for every load:
    // each load resets what it uses, and the raw planes are not allocated and zeroed per input.
    static auto data = std::make_unique<tamble::DataSet>();
    data->dataFileName = QStringLiteral("/nonexistent/fuzz.TL1");
    ReadingBankSink sink;
    tamble::LoadOptions options;
    options.programDir = QStringLiteral("/nonexistent/");
    options.tableSource = &tamble::fuzz::MemoryTables();
    options.bankSink = &sink;
    (void)tamble::LoadTl1FromBytes(*data, file, options);
    return 0;
}
