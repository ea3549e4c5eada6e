// A logger that dialled in: every end of its download is a log line (with the description, and the
// channel labels on the failures that carry them), never a dialog, and the modem is hung up after a failure.
#include "virtual_host.h"

#include <gtest/gtest.h>

using namespace tamble;
using namespace tamble::vt;

namespace {

// "<description>,<label 1>,...,<label 4>" as the scripted logger's status record carries them.
QString DescriptionAndLabels()
{
    QString text = QStringLiteral("Test run").leftJustified(31, QLatin1Char(' '));
    for (int i = 1; i <= 4; ++i)
        text += QStringLiteral(",Label %1").arg(i).leftJustified(25, QLatin1Char(' '));
    return text;
}

struct DialledIn {
    VirtualLink link;
    explicit DialledIn(const QByteArray& status)
    {
        link.records.session.autoAnswerCount = 1;
        link.records.session.modemOnline = true;
        link.host.vport.opened = true;
        link.logger.status = status;
    }
    void run()
    {
        link.start(TransactionKind::ReceiveData);
        link.host.run();
    }
};

} // namespace

struct DialledInNoDataCase {
    const char* name;
    QByteArray status;
    QString head;  // the summary up to the description
};

class DialledInNoData : public ::testing::TestWithParam<DialledInNoDataCase> {};

TEST_P(DialledInNoData, LogsTheSummaryWaitsAndStartsTheSetupResend)
{
    const DialledInNoDataCase c = GetParam();
    DialledIn d(c.status);
    d.run();
    ASSERT_EQ(d.link.host.logLines.size(), 1);
    EXPECT_EQ(d.link.host.logLines[0], c.head + DescriptionAndLabels());
    EXPECT_TRUE(d.link.host.messages.isEmpty());
    EXPECT_NE(std::find(d.link.host.waits.begin(), d.link.host.waits.end(), 18), d.link.host.waits.end());
    EXPECT_EQ(d.link.host.resendTimerStarts, 1);
    EXPECT_TRUE(d.link.logger.blockRequests.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Summaries, DialledInNoData,
    ::testing::Values(
        DialledInNoDataCase{"empty", StatusRecord{}.pointer(512).build(),
                            QStringLiteral("No data to receive;\rNo data file created. ")},
        DialledInNoDataCase{"preset", StatusRecord{}.flags(0x04).pointer(700).build(),
                            QStringLiteral("No data to receive; ws")},
        DialledInNoDataCase{"probes", StatusRecord{}.revision('q').flags(0x10).pointer(700).build(),
                            QStringLiteral("No data to receive; waiting for ch1 temp. probe to be attached.\r"
                                           "No data file created. wp ")},
        DialledInNoDataCase{"allOff", StatusRecord{}.channels(0).pointer(700).build(),
                            QStringLiteral("No data to receive; ao")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DialledInFailures, FiftyBadLinesLogTheFileDescriptionAndLabelsAndHangUp)
{
    DialledIn d(StatusRecord{}.pointer(2000).build());
    d.link.logger.corruptAlways = true;
    d.run();
    ASSERT_EQ(d.link.host.logLines.size(), 1);
    EXPECT_EQ(d.link.host.logLines[0], QStringLiteral("Rec. aborted; excessive comm. errors: ") +
                                           d.link.records.dataFileName + QLatin1Char(',') +
                                           DescriptionAndLabels());
    EXPECT_EQ(d.link.host.autoAnswerHangups, 1);
    EXPECT_FALSE(d.link.records.session.modemOnline);
    EXPECT_TRUE(d.link.dirEntries().isEmpty());
    EXPECT_TRUE(d.link.host.messages.isEmpty());
}

TEST(DialledInFailures, FiftyTimeOutsLogTheTextDescriptionAndLabelsAndHangUp)
{
    DialledIn d(StatusRecord{}.pointer(2000).build());
    d.link.logger.silentBlocks = true;
    d.run();
    EXPECT_EQ(d.link.logger.blockRequests.size(), 50);
    ASSERT_EQ(d.link.host.logLines.size(), 1);
    EXPECT_EQ(d.link.host.logLines[0],
              QStringLiteral("Transfer aborted; No response from logger; No data file created ") +
                  DescriptionAndLabels());
    EXPECT_EQ(d.link.host.autoAnswerHangups, 1);
    EXPECT_TRUE(d.link.dirEntries().isEmpty());
}
