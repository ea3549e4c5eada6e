// Arbitrary bytes as a .TL1 file read back by the writer's parser (the
// simulator's --tl1 and the re-export use it), then formatted again: both
// must stay inside their buffers and end.

#include "writer/tl1_writer.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    const QByteArray file(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(size));
    const auto parsed = tamble::ParseTl1Recording(file);
    if (!parsed.has_value())
        return 0;
    // Formatting walks all the memory the header claims, which costs far more
    // than the parse: it follows for small inputs whose length is a multiple of
    // eight, so that the parser gets most of the time.
    if (size < 4096 && size % 8 == 0)
        (void)tamble::FormatTl1(*parsed);
    return 0;
}
