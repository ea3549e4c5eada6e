#include "datafiles/dataset.h"

namespace tamble {

QByteArray BuildModelText(char modelCode, int resolutionBits)
{
    const int column = resolutionBits == 12 ? 2 : resolutionBits == 10 ? 1 : 0;
    static constexpr const char* kSingle[] = {"LX500", "LX600", "LX700"};
    static constexpr const char* kBits[] = {"8 bit", "10 bit", "12 bit"};
    static constexpr const char* kOlder[] = {"LX52", "LX53", "LX54"};
    switch (modelCode) {
    case '1': return kSingle[column];
    case '5': return QByteArray("LX900     ") + kBits[column];
    case '6': return QByteArray("LX900-M ") + kBits[column];
    default: return QByteArray(kOlder[column]) + modelCode;
    }
}

} // namespace tamble
