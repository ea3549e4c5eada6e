// Colour files on arbitrary bytes: reading never crashes, a fault always
// gives the factory scheme, and a scheme that reads writes back to bytes
// that read as the same scheme.

#include "graph/colour_scheme.h"

#include "support/fuzz_check.h"

#include <cstdint>
#include <cstdlib>

using namespace tamble;

using tamble::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const GcfReadResult read = ParseColourFile(bytes);
    if (!read.ok()) {
        check(read.scheme == FactoryColourScheme());
        check(!ColourFileErrorText(read, QStringLiteral("fuzz.gcf")).isEmpty());
        return 0;
    }
    const GcfReadResult again = ParseColourFile(FormatColourFile(read.scheme));
    check(again.ok());
    check(again.scheme == read.scheme);
    const ChartColours colours = ChartColoursOf(read.scheme);
    for (std::uint32_t rgb : colours.channel)
        check(RgbColourCode(rgb) != kUnknownColourCode);
    return 0;
}
