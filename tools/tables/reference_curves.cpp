#include "reference_curves.h"

#include <cmath>
#include <cstddef>
#include <initializer_list>

namespace tamble::tables {

namespace {

// Σ c_i·t^i with the coefficients in ascending order of power.
double Polynomial(std::initializer_list<double> c, double t)
{
    double sum = 0.0;
    double power = 1.0;
    for (double ci : c) {
        sum += ci * power;
        power *= t;
    }
    return sum;
}

// Temperature–emf reference functions of the letter-designated thermocouple
// types on ITS-90: G. W. Burns et al., "Temperature-Electromotive Force
// Reference Functions and Tables for the Letter-Designated Thermocouple Types
// Based on the ITS-90", NIST Monograph 175 (1993), also NIST Standard
// Reference Database 60 (coefficients c0…cn, °C and mV, ascending powers).

double TypeB(double t)
{
    if (t <= 630.615)
        return Polynomial({0.0, -0.246508183460e-03, 0.590404211710e-05, -0.132579316360e-08,
                           0.156682919010e-11, -0.169445292400e-14, 0.629903470940e-18}, t);
    return Polynomial({-0.389381686210e+01, 0.285717474700e-01, -0.848851047850e-04,
                       0.157852801640e-06, -0.168353448640e-09, 0.111097940130e-12,
                       -0.445154310330e-16, 0.989756408210e-20, -0.937913302890e-24}, t);
}

double TypeE(double t)
{
    if (t < 0.0)
        return Polynomial({0.0, 0.586655087080e-01, 0.454109771240e-04, -0.779980486860e-06,
                           -0.258001608430e-07, -0.594525830570e-09, -0.932140586670e-11,
                           -0.102876055340e-12, -0.803701236210e-15, -0.439794973910e-17,
                           -0.164147763550e-19, -0.396736195160e-22, -0.558273287210e-25,
                           -0.346578420130e-28}, t);
    return Polynomial({0.0, 0.586655087100e-01, 0.450322755820e-04, 0.289084072120e-07,
                       -0.330568966520e-09, 0.650244032700e-12, -0.191974955040e-15,
                       -0.125366004970e-17, 0.214892175690e-20, -0.143880417820e-23,
                       0.359608994810e-27}, t);
}

double TypeJ(double t)
{
    if (t <= 760.0)
        return Polynomial({0.0, 0.503811878150e-01, 0.304758369300e-04, -0.856810657200e-07,
                           0.132281952950e-09, -0.170529583370e-12, 0.209480906970e-15,
                           -0.125383953360e-18, 0.156317256970e-22}, t);
    return Polynomial({0.296456256810e+03, -0.149761277860e+01, 0.317871039240e-02,
                       -0.318476867010e-05, 0.157208190040e-08, -0.306913690560e-12}, t);
}

double TypeK(double t)
{
    if (t < 0.0)
        return Polynomial({0.0, 0.394501280250e-01, 0.236223735980e-04, -0.328589067840e-06,
                           -0.499048287770e-08, -0.675090591730e-10, -0.574103274280e-12,
                           -0.310888728940e-14, -0.104516093650e-16, -0.198892668780e-19,
                           -0.163226974860e-22}, t);
    // Above 0 °C the function carries an exponential term a0·exp(a1·(t − a2)²).
    const double a0 = 0.118597600000e+00;
    const double a1 = -0.118343200000e-03;
    const double a2 = 0.126968600000e+03;
    return Polynomial({-0.176004136860e-01, 0.389212049750e-01, 0.185587700320e-04,
                       -0.994575928740e-07, 0.318409457190e-09, -0.560728448890e-12,
                       0.560750590590e-15, -0.320207200030e-18, 0.971511471520e-22,
                       -0.121047212750e-25}, t)
        + a0 * std::exp(a1 * (t - a2) * (t - a2));
}

double TypeN(double t)
{
    if (t < 0.0)
        return Polynomial({0.0, 0.261591059620e-01, 0.109574842280e-04, -0.938411115540e-07,
                           -0.464120397590e-10, -0.263033577160e-11, -0.226534380030e-13,
                           -0.760893007910e-16, -0.934196678350e-19}, t);
    return Polynomial({0.0, 0.259293946010e-01, 0.157101418800e-04, 0.438256272370e-07,
                       -0.252611697940e-09, 0.643118193390e-12, -0.100634715190e-14,
                       0.997453389920e-18, -0.608632456070e-21, 0.208492293390e-24,
                       -0.306821961510e-28}, t);
}

double TypeR(double t)
{
    if (t <= 1064.18)
        return Polynomial({0.0, 0.528961729765e-02, 0.139166589782e-04, -0.238855693017e-07,
                           0.356916001063e-10, -0.462347666298e-13, 0.500777441034e-16,
                           -0.373105886191e-19, 0.157716482367e-22, -0.281038625251e-26}, t);
    if (t <= 1664.5)
        return Polynomial({0.295157925316e+01, -0.252061251332e-02, 0.159564501865e-04,
                           -0.764085947576e-08, 0.205305291024e-11, -0.293359668173e-15}, t);
    return Polynomial({0.152232118209e+03, -0.268819888545e+00, 0.171280280471e-03,
                       -0.345895706453e-07, -0.934633971046e-14}, t);
}

double TypeS(double t)
{
    if (t <= 1064.18)
        return Polynomial({0.0, 0.540313308631e-02, 0.125934289740e-04, -0.232477968689e-07,
                           0.322028823036e-10, -0.331465196389e-13, 0.255744251786e-16,
                           -0.125068871393e-19, 0.271443176145e-23}, t);
    if (t <= 1664.5)
        return Polynomial({0.132900444085e+01, 0.334509311344e-02, 0.654805192818e-05,
                           -0.164856259209e-08, 0.129989605174e-13}, t);
    return Polynomial({0.146628232636e+03, -0.258430516752e+00, 0.163693574641e-03,
                       -0.330439046987e-07, -0.943223690612e-14}, t);
}

double TypeT(double t)
{
    if (t < 0.0)
        return Polynomial({0.0, 0.387481063640e-01, 0.441944343470e-04, 0.118443231050e-06,
                           0.200329735540e-07, 0.901380195590e-09, 0.226511565930e-10,
                           0.360711542050e-12, 0.384939398830e-14, 0.282135219250e-16,
                           0.142515947790e-18, 0.487686622860e-21, 0.107955392700e-23,
                           0.139450270620e-26, 0.797951539270e-30}, t);
    return Polynomial({0.0, 0.387481063640e-01, 0.332922278800e-04, 0.206182434040e-06,
                       -0.218822568460e-08, 0.109968809280e-10, -0.308157587720e-13,
                       0.454791352900e-16, -0.275129016730e-19}, t);
}

// Type C (W-5%Re / W-26%Re) has no ITS-90 letter function from NIST. The
// curve used is the reference polynomial of ASTM E988 ("Temperature-
// Electromotive Force Tables for Tungsten-Rhenium Thermocouples") in its
// commonly published single-range Celsius form, 0 to 2320 °C, mV.
double TypeC(double t)
{
    return Polynomial({0.0, 1.3387722982319094e-02, 1.2252598548103214e-05,
                       -1.0489145155399067e-08, 3.6006582486412798e-12,
                       -4.9446064258560002e-16}, t);
}

} // namespace

double ThermocoupleMillivolts(char type, double t)
{
    switch (type) {
    case 'B': return TypeB(t);
    case 'C': return TypeC(t);
    case 'E': return TypeE(t);
    case 'J': return TypeJ(t);
    case 'K': return TypeK(t);
    case 'N': return TypeN(t);
    case 'R': return TypeR(t);
    case 'S': return TypeS(t);
    case 'T': return TypeT(t);
    default: return 0.0;
    }
}

// J. S. Steinhart and S. R. Hart, "Calibration curves for thermistors",
// Deep-Sea Research 15 (1968) 497–503. Solving the cubic in ln R:
//   x = (a − 1/T)/c,  y = sqrt((b/(3c))³ + x²/4),
//   R = exp(cbrt(y − x/2) − cbrt(y + x/2)).
double SteinhartHartOhms(double a, double b, double c, double t)
{
    const double kelvin = t + 273.15;
    const double x = (a - 1.0 / kelvin) / c;
    const double y = std::sqrt(std::pow(b / (3.0 * c), 3.0) + x * x / 4.0);
    return std::exp(std::cbrt(y - x / 2.0) - std::cbrt(y + x / 2.0));
}

// B-parameter (B-value) form of the NTC resistance–temperature relation as
// defined for NTC thermistors in IEC 60539-1.
double BetaOhms(double r25, double beta, double t)
{
    const double kelvin = t + 273.15;
    return r25 * std::exp(beta * (1.0 / kelvin - 1.0 / 298.15));
}

// Callendar–Van Dusen equation with the IEC 60751 coefficients:
//   R(t) = R0·(1 + A·t + B·t²)                  for t ≥ 0 °C
//   R(t) = R0·(1 + A·t + B·t² + C·(t − 100)·t³)  for t < 0 °C
// A = 3.9083e-3, B = −5.775e-7, C = −4.183e-12.
double PlatinumOhms(double r0, double t)
{
    const double a = 3.9083e-3;
    const double b = -5.775e-7;
    const double c = -4.183e-12;
    double ratio = 1.0 + a * t + b * t * t;
    if (t < 0.0)
        ratio += c * (t - 100.0) * t * t * t;
    return r0 * ratio;
}

// Power law of photoconductive cells, R = R1·E^(−γ) (R. H. Bube,
// "Photoconductivity of Solids", Wiley 1960), normalised here at 10 lx.
double PhotocellOhms(double r10, double gamma, double lux)
{
    return r10 * std::pow(lux / 10.0, -gamma);
}

} // namespace tamble::tables
