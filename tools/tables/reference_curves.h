#pragma once
// Sensor curves the shipped tables are computed from. Every curve is a
// published equation; the coefficients are cited where they are defined.

namespace tamble::tables {

// Thermoelectric voltage in millivolts of a thermocouple at temperature t
// (°C) with its reference junction at 0 °C. `type` is one of B C E J K N R S T.
double ThermocoupleMillivolts(char type, double t);

// NTC thermistor resistance (ohms) at temperature t (°C), from the
// Steinhart–Hart equation 1/T = a + b·ln R + c·(ln R)³ (T in kelvin).
double SteinhartHartOhms(double a, double b, double c, double t);

// NTC thermistor resistance from the B-parameter form
// R = R25 · exp(B · (1/T − 1/298.15 K)).
double BetaOhms(double r25, double beta, double t);

// Platinum resistance thermometer (Callendar–Van Dusen, IEC 60751).
double PlatinumOhms(double r0, double t);

// Photoconductive (CdS) cell: R = r10 · (lux / 10)^(−gamma).
double PhotocellOhms(double r10, double gamma, double lux);

} // namespace tamble::tables
