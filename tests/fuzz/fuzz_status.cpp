// Random status records, real-time lines and dial-out replies: decoding and
// every text built from them must never crash or read outside the input.

#include "conversion/channel_scaling.h"
#include "link/realtime.h"
#include "link/status_encode.h"
#include "link/status_record.h"
#include "link/status_text.h"
#include "support/fuzz_tables.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>

using namespace tamble;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const std::uint8_t options = data[0];
    // An exact-size copy, so any read past the end is caught.
    QByteArray input(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));
    // Random bytes seldom make a record long enough to be decoded: with bit 6
    // the input instead edits a valid record as (position, byte) pairs.
    if ((options & 0x40) && !input.isEmpty()) {
        StatusRecordFields fields;
        fields.resolutionBits = 8 + 2 * (static_cast<std::uint8_t>(input[0]) % 3);
        QByteArray record = EncodeStatusRecord(fields);
        record.resize(250 + static_cast<std::uint8_t>(input[0]) % 10, ' ');
        for (qsizetype i = 1; i + 1 < input.size(); i += 2)
            record[static_cast<std::uint8_t>(input[i]) % record.size()] = input[i + 1];
        input = QByteArray(record.constData(), record.size());
    }

    StatusContext context;
    context.transferStamp = QStringLiteral("12/09/2026 07:30:00");
    context.twelveHourClock = options & 1;
    context.autoAnswer = options & 2;
    context.fahrenheit = options & 4;
    context.humidityQuantity = (options >> 3) & 3;
    context.lastRevision = 'q';

    LoggerInfo info;
    MemoryGeometry geometry;
    ChannelScaling scaling;
    // Half the inputs set the channels up from the record's own codes (tables
    // held in memory), the others with fixed linear scales.
    if (options & 0x80) {
        scaling.tableSource = &fuzz::MemoryTables();
        DecodeStatus(input, context, info, geometry, scaling);
    } else {
        DecodeStatusRecord(input, context, info, geometry);
        for (int ch = 1; ch <= 4; ++ch)
            SetUpChannelScaling(scaling, ch, '3', "0.0000100.00");
        scaling.fullScaleCount = static_cast<std::uint16_t>(info.fullScaleCount > 0 ? info.fullScaleCount : 4095);
    }
    InvalidStatusMessage(input, "C005D");

    const ClockStyle style = context.twelveHourClock ? ClockStyle::AmPm : ClockStyle::Hour24;
    const auto styles = ChannelValueStyles(info, scaling, context.fahrenheit, context.humidityQuantity);
    const auto values = ValueTexts(info.currentValues, styles);
    BuildStatusTexts(info, {true, input.isEmpty() ? 0 : input[0], 7}, ValueBoxTexts(info, values), style);

    // The same bytes as a real-time line and as a dial-out reply.
    static const int kBits[] = {8, 10, 12, 12};
    info.resolutionBits = kBits[(options >> 5) & 3];
    DecodeRealTimeLine(input, info, scaling, context.fahrenheit);
    DecodeReadingFields(input, info.resolutionBits);
    DialOutText(input);
    return 0;
}
