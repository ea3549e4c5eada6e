// Setup record and data-file header import on arbitrary bytes: no crash, no
// read past a field, and an import that fails leaves the record as it was.

#include "setup/setup_file.h"
#include "setup/setup_record.h"

#include "support/fuzz_check.h"

#include <cstdint>
#include <cstdlib>

using namespace tamble;

using tamble::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    if (const auto r = SetupRecord::fromBytes(bytes)) {
        check(r->bytes().size() == kSetupRecordSize);
        check(r->description().size() <= kDescriptionWidth);
        for (int ch = 0; ch <= 5; ++ch) {
            check(r->channelLabel(ch).size() <= kChannelLabelWidth);
            check(r->tableName(ch).size() <= kTableNameWidth);
            check(r->linearValues(ch).size() <= kLinearValuesWidth);
            r->scalingCode(ch);
            r->inputType(ch);
            r->channelOn(ch);
        }
        r->startDate();
        r->startTime();
        SetupDate(r->startDate());
        // Writing a field back never changes the record's size.
        SetupRecord w = *r;
        w.setDescription(r->description());
        w.setChannelLabel(2, r->channelLabel(3));
        check(w.bytes().size() == kSetupRecordSize);
    } else {
        check(size < static_cast<std::size_t>(kSetupRecordSize));
    }

    const SetupRecord before = DefaultSetupRecord(QDateTime(QDate(2003, 6, 24), QTime(10, 1, 5)));
    SetupRecord r = before;
    const SetupFileOutcome out = ImportSetupFromHeader(bytes, r);
    check(r.bytes().size() == kSetupRecordSize);
    if (!out.ok)
        check(r == before && out.message.has_value());

    ResendSetupFileName(bytes);
    return 0;
}
