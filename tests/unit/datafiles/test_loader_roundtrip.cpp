// Files written the way a download writes them load back to the readings they
// were made from: every resolution, channel count, wrap phase and bank form.

#include "test_loader_support.h"

#include <gtest/gtest.h>

using namespace tamble;
using namespace tamble::testing;

namespace {

struct RoundTripCase {
    const char* name;
    int bits;
    int mask;
    char model;
    bool wrapped;
    int phase;          // wrapped only
    int endPointer;     // wrapped only
    int sections;       // wrapped: memory images; not wrapped: 0
    std::size_t readings; // not wrapped: total readings in all banks
};

std::ostream& operator<<(std::ostream& os, const RoundTripCase& c) { return os << c.name; }

class LoaderRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(LoaderRoundTrip, LoadsBackEveryReadingOfEveryBank)
{
    const RoundTripCase& c = GetParam();
    const int channels = ChannelsIn(c.mask);
    const int capacity = MemoryCapacityFor(c.bits);

    RecordingPlan plan;
    plan.header = TestHeader(c.bits, c.mask, c.model);
    plan.wrapped = c.wrapped;
    plan.phase = c.phase;
    plan.endPointer = c.endPointer;
    plan.sections = c.sections;
    if (c.wrapped)
        plan.header.lastBank = c.model == '6' ? 'C' : 'A';
    const std::size_t total = c.wrapped ? static_cast<std::size_t>(capacity) * c.sections : c.readings;
    plan.readings = TestReadings(total, c.bits, static_cast<unsigned>(c.bits * 100 + c.mask));
    const std::vector<std::uint16_t> expected =
        ReadingsAsLoaded(plan.readings, c.bits, c.wrapped, c.phase, c.sections);

    const QByteArray file = FormatTl1(MakeRecording(plan));
    DataSet data;
    KeepingBankSink sink;
    const LoadResult result = LoadBytes(data, file, &sink);
    ASSERT_TRUE(result.ok) << result.message.toStdString();
    EXPECT_TRUE(data.valid);
    EXPECT_EQ(data.resolutionBits, c.bits);
    EXPECT_EQ(data.wrapped, c.wrapped);

    // Readings per bank, as the recording was split into memory images.
    std::vector<std::size_t> bankReadings;
    for (std::size_t from = 0; from < total || bankReadings.empty(); from += static_cast<std::size_t>(capacity))
        bankReadings.push_back(std::min<std::size_t>(capacity, total - from));

    if (!data.multiBank) {
        ASSERT_EQ(bankReadings.size(), 1u);
        ASSERT_EQ(data.readingsPerChannel, static_cast<int>(bankReadings[0] / channels));
        for (int p = 0; p < channels; ++p)
            EXPECT_EQ(LoadedPlane(data, p), Plane(expected, channels, p, 0, bankReadings[0] / channels)) << "plane " << p;
        EXPECT_TRUE(sink.banks.empty());
        return;
    }

    ASSERT_EQ(sink.banks.size(), bankReadings.size());
    EXPECT_EQ(sink.finished, 1);
    EXPECT_EQ(data.dataFileName, QStringLiteral("/tmp/test.TL2"));
    for (std::size_t b = 0; b < bankReadings.size(); ++b) {
        const std::size_t perChannel = bankReadings[b] / channels;
        ASSERT_EQ(sink.banks[b].readingsPerChannel, static_cast<int>(perChannel)) << "bank " << b;
        for (int p = 0; p < channels; ++p)
            EXPECT_EQ(sink.banks[b].planes[static_cast<std::size_t>(p)],
                      Plane(expected, channels, p, b * static_cast<std::size_t>(capacity), perChannel))
                << "bank " << b << " plane " << p;
    }
}

INSTANTIATE_TEST_SUITE_P(
    AllForms, LoaderRoundTrip,
    ::testing::Values(
        RoundTripCase{"EightBitOneChannelPartial", 8, 0x1, '1', false, 0, 0, 0, 1000},
        RoundTripCase{"EightBitFourChannelsFull", 8, 0xF, '5', false, 0, 0, 0, 32256},
        RoundTripCase{"EightBitThreeChannelsOddBlock", 8, 0xB, '1', false, 0, 0, 0, 3 * 777},
        RoundTripCase{"TenBitTwoChannelsPartialGroup", 10, 0x6, '1', false, 0, 0, 0, 2 * 1001},
        RoundTripCase{"TenBitOneChannelFull", 10, 0x1, '5', false, 0, 0, 0, 25800},
        RoundTripCase{"TwelveBitThreeChannelsPartialGroup", 12, 0x7, '1', false, 0, 0, 0, 3 * 333},
        RoundTripCase{"TwelveBitFourChannelsFull", 12, 0xF, '5', false, 0, 0, 0, 21504},
        RoundTripCase{"EightBitWrapped", 8, 0x3, '1', true, 0, 1000, 1, 0},
        RoundTripCase{"TenBitWrappedPhase0", 10, 0xF, '1', true, 0, 512 + 5 * 100, 1, 0},
        RoundTripCase{"TenBitWrappedPhase1", 10, 0x1, '1', true, 1, 512 + 5 * 100 + 1, 1, 0},
        RoundTripCase{"TenBitWrappedPhase2", 10, 0x3, '5', true, 2, 512 + 5 * 2000 + 2, 1, 0},
        RoundTripCase{"TenBitWrappedPhase3", 10, 0x7, '1', true, 3, 512 + 5 * 6449 + 3, 1, 0},
        RoundTripCase{"TwelveBitWrappedPhase0", 12, 0x5, '1', true, 0, 512 + 3 * 50, 1, 0},
        RoundTripCase{"TwelveBitWrappedPhase1", 12, 0xF, '5', true, 1, 512 + 3 * 9000 + 1, 1, 0},
        RoundTripCase{"FourBanksEightBitNotWrapped", 8, 0xF, '6', false, 0, 0, 0, 3 * 32256 + 4 * 500},
        RoundTripCase{"TwoBanksTwelveBitNotWrapped", 12, 0x3, '6', false, 0, 0, 0, 21504 + 2 * 100},
        RoundTripCase{"ThreeBanksTenBitNotWrappedLastBankFull", 10, 0x1, '6', false, 0, 0, 0, 3 * 25800},
        RoundTripCase{"FourBanksEightBitWrapped", 8, 0x3, '6', true, 0, 20000, 4, 0},
        RoundTripCase{"FourBanksTenBitWrappedPhase3", 10, 0xF, '6', true, 3, 512 + 5 * 77 + 3, 4, 0},
        RoundTripCase{"FourBanksTenBitWrappedPhase1", 10, 0x3, '6', true, 1, 512 + 5 * 4321 + 1, 4, 0},
        RoundTripCase{"FourBanksTwelveBitWrappedPhase1", 12, 0x7, '6', true, 1, 512 + 3 * 7000 + 1, 4, 0}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
