#pragma once
// Golden status records written out position by position, as a logger sends them.

#include <QByteArray>

namespace tamble::status_test {

inline QByteArray Pad(const char* text, int width)
{
    return QByteArray(text).leftJustified(width, ' ', true);
}

// A 12-bit LX700, revision 'q', 254 characters.
inline QByteArray Golden12Bit()
{
    QByteArray r;
    r += "05041515030198";                     //   1-14 first reading: 15:04:05, Sun 15 Mar 98
    r += "10302016030298";                     //  15-28 last reading: 20:30:10, Mon 16 Mar 98
    r += "C0";                                 //  29-30 status flags: recording, 12-bit model bits
    r += "48";                                 //  31-32 rate 'H' (2 minutes)
    r += "2B";                                 //  33-34 channels 1, 2, 4 on; stop when probes detach
    r += "IA";                                 //  35-36 input types: word 73 (ch1-3 temp/RH)
    r += "05";                                 //  37-38 phase byte
    r += "1234";                               //  39-42 memory pointer 0x1234
    r += Pad("Tank [-1.5]", 24);               //  43-66
    r += Pad("Level;Metres", 24);              //  67-90
    r += Pad("Spare", 24);                     //  91-114
    r += Pad("Flue", 24);                      // 115-138
    r += Pad("Boiler house", 31);              // 139-169
    r += "4001237FF00F";                       // 170-181 current readings
    r += "00151120120598";                     // 182-195 clock: 11:15:00, Thu 20 Dec 98
    r += "05";                                 // 196-197 station address
    r += Pad("A", 12);                         // 198-209
    r += "0.0000100.00";                       // 210-221
    r += Pad("", 12);                          // 222-233
    r += Pad("k", 12);                         // 234-245
    r += "A30h";                               // 246-249 scaling codes
    r += "q";                                  // 250 revision
    r += "1";                                  // 251 model digit
    r += "n";                                  // 252 battery byte 110
    r += "00";                                 // 253-254
    return r;
}

// A 10-bit LX53x, revision 'N', 251 characters.
inline QByteArray Golden10Bit()
{
    QByteArray r;
    r += "00000801020397";                     //   1-14 first reading: 08:00:00, Mon 01 Feb 97
    r += "00001201020397";                     //  15-28 last reading
    r += "CB";                                 //  29-30 10 bit, not recording, wrapped, continuous
    r += "4D";                                 //  31-32 rate 'M' (1 hour)
    r += "03";                                 //  33-34 channels 1, 2
    r += "IA";                                 //  35-36 ignored up to revision 'P'
    r += "02";                                 //  37-38 phase
    r += "7FFA";                               //  39-42 pointer
    r += Pad("Cold store", 24);
    r += Pad("Door", 24);
    r += Pad("", 24);
    r += Pad("", 24);
    r += Pad("Freezer 2", 31);
    r += "80402010E480";                       // 170-181: highs 80 40 20 10, lows E4, battery 0x80
    r += "30201301020397";                     // 182-195 clock
    r += "07";                                 // 196-197 ignored up to revision 'N'
    r += Pad("B", 12);
    r += "-10.0 040.00";
    r += Pad("", 12);
    r += Pad("", 12);
    r += "B300";                               // 246-249
    r += "N";                                  // 250 revision
    r += "3";                                  // 251 model digit
    return r;
}

// An 8-bit logger of the oldest family (revision 'C'), 250 characters.
inline QByteArray Golden8BitOld()
{
    QByteArray r;
    r += "00001001019191";                     //   1-14
    r += "00001101019191";                     //  15-28
    r += "00";                                 //  29-30 8 bit, recording
    r += "49";                                 //  31-32 rate 'I' (5 minutes)
    r += "01";                                 //  33-34 channel 1
    r += "@@";
    r += "00";
    r += "0200";
    r += Pad("Air", 24);
    r += Pad("", 24);
    r += Pad("", 24);
    r += Pad("", 24);
    r += Pad("Old one", 31);
    r += "9A80000000FF";                       // 170-181: battery 0x9A, ch1 0x80
    r += "00001201019191";                     // 182-195: year "91"
    r += "00";
    r += Pad("X", 12);
    r += Pad("", 12);
    r += Pad("", 12);
    r += Pad("", 12);
    r += "2000";                               // 246-249
    r += "C";                                  // 250
    return r;
}

} // namespace tamble::status_test
