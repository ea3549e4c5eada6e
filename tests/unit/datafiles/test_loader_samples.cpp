// The shipped sample files load with the shipped sensor tables and show the
// weather they were made from.

#include "test_loader_support.h"

#include "conversion/channel_scaling.h"

#include <gtest/gtest.h>

#include <memory>

using namespace tamble;
using namespace tamble::testing;

namespace {

struct SampleCase {
    const char* file;
    int bits;
    bool wrapped;
    int banks;
    int readingsPerChannel;   // of the last bank
    std::vector<int> channels;
};

// Converted values of the first recorded channel (an air temperature in
// every sample) over the bank held in the planes.
std::pair<float, float> AirRange(DataSet& d)
{
    float lo = 1e9f;
    float hi = -1e9f;
    for (int i = 0; i < d.readingsPerChannel; ++i) {
        for (int p = 0; p < d.channelCount(); ++p) {
            std::uint16_t raw = d.reading(p, i);
            const float v = ConvertReading(d.scaling, raw, d.channelList[static_cast<std::size_t>(p)]);
            if (p == 0) {
                lo = std::min(lo, v);
                hi = std::max(hi, v);
            }
        }
    }
    return {lo, hi};
}

TEST(LoaderSamples, EverySampleLoadsWithTheShippedTables)
{
    const SampleCase cases[] = {
        {"sample8.TL1", 8, false, 1, 2880, {1, 2}},
        {"sample10.TL1", 10, false, 1, 2977, {1}},
        {"sample12.TL1", 12, false, 1, 2100, {1, 2, 3}},
        {"wrapped10.TL1", 10, true, 1, 12900, {1, 2}},
        {"banks4.TL1", 12, false, 4, 1999, {1, 2, 3, 4}},
    };
    for (const auto& c : cases) {
        auto d = std::make_unique<DataSet>();
        d->dataFileName = QStringLiteral(TAMBLE_SOURCE_DIR "/data/samples/") + QString::fromLatin1(c.file);
        KeepingBankSink sink;
        LoadOptions options;
        options.programDir = QStringLiteral(TAMBLE_SOURCE_DIR "/data/");
        options.bankSink = &sink;
        const LoadResult r = LoadDataFile(*d, options);
        ASSERT_TRUE(r.ok) << c.file << " " << r.message.toStdString();
        EXPECT_EQ(d->resolutionBits, c.bits) << c.file;
        EXPECT_EQ(d->wrapped, c.wrapped) << c.file;
        EXPECT_EQ(d->channelList, c.channels) << c.file;
        EXPECT_EQ(d->readingsPerChannel, c.readingsPerChannel) << c.file;
        EXPECT_EQ(static_cast<int>(sink.banks.size()), c.banks > 1 ? c.banks : 0) << c.file;
        const auto [lo, hi] = AirRange(*d);
        EXPECT_GT(lo, 0.0f) << c.file;
        EXPECT_LT(hi, 35.0f) << c.file;
        EXPECT_GT(hi - lo, 8.0f) << c.file << ": a daily cycle";
    }
}

} // namespace
