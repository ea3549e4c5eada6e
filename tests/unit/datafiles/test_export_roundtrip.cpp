// A recording goes the whole way: written as a download writes it, loaded
// (multi-bank recordings through their .TL2 file) and exported as CSV. Every
// resolution, wrap phase and bank form gives back each reading, in order, at
// its time.

#include "test_export_support.h"

#include <QDateTime>
#include <memory>

using namespace tamble;
using namespace tamble::testing;

namespace {

struct ExportRoundTripCase {
    const char* name;
    int bits;
    int mask;           // channel mask byte, 0x20 = ended by a power failure
    char model;
    bool wrapped;
    int phase;          // wrapped only
    int endPointer;     // wrapped only
    int sections;       // wrapped: memory images
    int perChannel;     // not wrapped: readings per channel over all banks
};

std::ostream& operator<<(std::ostream& os, const ExportRoundTripCase& c) { return os << c.name; }

class ExportRoundTrip : public ::testing::TestWithParam<ExportRoundTripCase> {};

// Linear channels scaled 0 .. full scale, so that a value reads as its count.
Tl1Header CountingHeader(int bits, int mask, char model)
{
    Tl1Header h = TestHeader(bits, mask, model);
    const QByteArray top = bits == 8 ? "255   " : bits == 10 ? "1023  " : "4095  ";
    for (int c = 0; c < 4; ++c)
        if ((mask >> c) & 1)
            h.scalingTexts[static_cast<std::size_t>(c)] = "0     " + top;
    return h;
}

QByteArray StampAfter(int minutes)
{
    const QDateTime first(QDate(1998, 3, 5), QTime(9, 7, 3));
    return first.addSecs(60LL * minutes).toString(QStringLiteral("MM/dd/yyyy,HH:mm:ss")).toLatin1();
}

TEST_P(ExportRoundTrip, EveryReadingComesBackAtItsTime)
{
    const ExportRoundTripCase& c = GetParam();
    const int channels = ChannelsIn(c.mask & 0x0F);
    const int capacity = MemoryCapacityFor(c.bits);
    const bool dropLast = (c.mask & 0x20) != 0;

    RecordingPlan plan;
    plan.header = CountingHeader(c.bits, c.mask, c.model);
    plan.wrapped = c.wrapped;
    plan.phase = c.phase;
    plan.endPointer = c.endPointer;
    plan.sections = c.sections;
    if (c.wrapped)
        plan.header.lastBank = c.model == '6' ? 'C' : 'A';
    const std::size_t total = c.wrapped ? static_cast<std::size_t>(capacity) * c.sections
                                        : static_cast<std::size_t>(c.perChannel) * channels;
    plan.readings = TestReadings(total, c.bits, static_cast<unsigned>(c.bits * 7 + c.mask));
    const std::vector<std::uint16_t> loaded = ReadingsAsLoaded(plan.readings, c.bits, c.wrapped, c.phase, c.sections);

    // The time steps each bank holds: a bank is one memory image; the
    // power-failure rule takes the last step of every bank.
    std::vector<std::pair<std::size_t, int>> banks;   // first reading, steps
    for (std::size_t from = 0; from < total; from += static_cast<std::size_t>(capacity)) {
        const int steps = static_cast<int>(std::min<std::size_t>(capacity, total - from)) / channels;
        banks.emplace_back(from, dropLast && steps > 1 ? steps - 1 : steps);
    }

    QTemporaryDir dir;
    ExportSettings settings;
    auto data = std::make_unique<DataSet>();
    ASSERT_TRUE(LoadPlan(plan, dir.path(), *data, settings));
    EXPECT_EQ(data->multiBank, banks.size() > 1);

    ExportRequest request;
    request.path = dir.path() + "/all.csv";
    const ExportResult r = ExportData(*data, request, settings);
    ASSERT_TRUE(r.ok) << r.message.toStdString();
    const auto lines = FileLines(request.path);

    int expectedLines = 0;
    for (const auto& b : banks)
        expectedLines += b.second;
    ASSERT_EQ(lines.size(), 17 + expectedLines);
    EXPECT_EQ(lines[2], " Source File: " + (dir.path() + (banks.size() > 1 ? "/rec.TL2" : "/rec.TL1")).toLocal8Bit());

    int line = 17;
    int minutes = 0;
    int mismatches = 0;
    for (const auto& [from, steps] : banks) {
        for (int t = 0; t < steps; ++t, ++line, ++minutes) {
            QByteArray want = StampAfter(minutes);
            for (int p = 0; p < channels; ++p)
                want += "," + QByteArray::number(loaded[from + static_cast<std::size_t>(t * channels + p)]) + ".000";
            if (lines[line] != want && ++mismatches <= 3)
                ADD_FAILURE() << "line " << line + 1 << ": " << lines[line].constData() << " expected "
                              << want.constData();
        }
        ++minutes;   // the next bank begins two intervals after this one
    }
    EXPECT_EQ(mismatches, 0);
}

INSTANTIATE_TEST_SUITE_P(
    AllForms, ExportRoundTrip,
    ::testing::Values(
        ExportRoundTripCase{"EightBitTwoChannels", 8, 0x3, '1', false, 0, 0, 0, 1500},
        ExportRoundTripCase{"EightBitOneChannelFullMemory", 8, 0x1, '5', false, 0, 0, 0, 32256},
        ExportRoundTripCase{"TenBitThreeChannelsPartialGroup", 10, 0x7, '1', false, 0, 0, 0, 333},
        ExportRoundTripCase{"TenBitTwoChannelsFullMemory", 10, 0x3, '5', false, 0, 0, 0, 12900},
        ExportRoundTripCase{"TwelveBitFourChannels", 12, 0xF, '5', false, 0, 0, 0, 1001},
        ExportRoundTripCase{"TwelveBitPowerFailureDropsTheLastStep", 12, 0x21, '1', false, 0, 0, 0, 77},
        ExportRoundTripCase{"EightBitWrapped", 8, 0x3, '1', true, 0, 4000, 1, 0},
        ExportRoundTripCase{"TenBitWrappedPhase0", 10, 0x1, '5', true, 0, 512 + 5 * 300, 1, 0},
        ExportRoundTripCase{"TenBitWrappedPhase1", 10, 0x3, '1', true, 1, 512 + 5 * 10 + 1, 1, 0},
        ExportRoundTripCase{"TenBitWrappedPhase2", 10, 0x5, '5', true, 2, 512 + 5 * 4000 + 2, 1, 0},
        ExportRoundTripCase{"TenBitWrappedPhase3", 10, 0xF, '1', true, 3, 512 + 5 * 6000 + 3, 1, 0},
        ExportRoundTripCase{"TwelveBitWrappedPhase0", 12, 0x3, '1', true, 0, 512 + 3 * 20, 1, 0},
        ExportRoundTripCase{"TwelveBitWrappedPhase1", 12, 0x7, '5', true, 1, 512 + 3 * 5000 + 1, 1, 0},
        ExportRoundTripCase{"TwoBanksEightBitNotWrapped", 8, 0xF, '6', false, 0, 0, 0, 8064 + 100},
        ExportRoundTripCase{"ThreeBanksTenBitNotWrapped", 10, 0x3, '6', false, 0, 0, 0, 2 * 12900 + 7},
        ExportRoundTripCase{"FourBanksTwelveBitNotWrapped", 12, 0xF, '6', false, 0, 0, 0, 3 * 5376 + 1999},
        ExportRoundTripCase{"FourBanksEightBitWrapped", 8, 0x3, '6', true, 0, 9000, 4, 0},
        ExportRoundTripCase{"FourBanksTenBitWrappedPhase2", 10, 0xF, '6', true, 2, 512 + 5 * 1234 + 2, 4, 0},
        ExportRoundTripCase{"FourBanksTwelveBitWrappedPhase1", 12, 0x3, '6', true, 1, 512 + 3 * 700 + 1, 4, 0},
        ExportRoundTripCase{"FourBanksWrappedPowerFailureDropsOneStepPerBank", 10, 0x23, '6', true, 1,
                            512 + 5 * 99 + 1, 4, 0}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
