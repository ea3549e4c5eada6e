#include "shipped_tables.h"

#include "reference_curves.h"

#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <utility>

namespace tamble::tables {

namespace {

struct Point {
    double engineering;
    double measured;
};

struct TableRecipe {
    std::string name;
    std::string title;
    std::string kindLine; // first character is the table kind
    std::string headings;
    const char* format;   // printf format of one point line: engineering, measured
    std::vector<Point> points;
};

std::string FormatLine(const char* format, double engineering, double measured)
{
    char line[96];
    std::snprintf(line, sizeof line, format, engineering, measured);
    return line;
}

// Renders a table and checks what the reader requires of it: 2 to 255
// points whose measured values, as written, strictly descend.
ShippedFile Render(const TableRecipe& recipe)
{
    if (recipe.points.size() < 2 || recipe.points.size() > 255)
        throw std::runtime_error(recipe.name + ": point count out of range");
    std::string text = recipe.title + "\r\n" + recipe.kindLine + "\r\n" + recipe.headings + "\r\n";
    double previous = INFINITY;
    for (const Point& p : recipe.points) {
        const std::string line = FormatLine(recipe.format, p.engineering, p.measured);
        double engineering = 0.0;
        double measured = 0.0;
        if (std::sscanf(line.c_str(), "%lf %lf", &engineering, &measured) != 2 || !(measured < previous))
            throw std::runtime_error(recipe.name + ": measured values do not descend at " + line);
        previous = measured;
        text += line + "\r\n";
    }
    return {recipe.name, text};
}

// Temperatures from `high` down to `low` in steps of `step` (°C).
std::vector<double> Descending(double high, double low, double step)
{
    std::vector<double> t;
    const int n = static_cast<int>(std::lround((high - low) / step));
    for (int i = 0; i <= n; ++i)
        t.push_back(high - step * i);
    return t;
}

// Thermistor tables: resistance falls as temperature rises, so the rows run
// from the coldest (largest resistance) to the hottest.
template <typename Ohms>
TableRecipe Thermistor(std::string name, std::string title, Ohms ohms)
{
    TableRecipe recipe{std::move(name), std::move(title), "T  temperature, degrees C, from resistance",
                   "   degC        ohms", "%6.1f  %12.2f", {}};
    for (int t = -40; t <= 150; ++t)
        recipe.points.push_back({double(t), ohms(double(t))});
    return recipe;
}

TableRecipe Thermocouple(std::string name, char type, double high, double low, double step,
                       const std::string& range)
{
    TableRecipe recipe{std::move(name),
                   std::string("Type ") + type + " thermocouple " + range
                       + ", reference junction 0 degC",
                   "T  temperature, degrees C, from thermoelectric voltage",
                   "   degC          mV", "%7.1f  %10.4f", {}};
    for (double t : Descending(high, low, step))
        recipe.points.push_back({t, ThermocoupleMillivolts(type, t)});
    return recipe;
}

} // namespace

std::vector<ShippedFile> BuildShippedFiles()
{
    std::vector<TableRecipe> recipes;

    // Thermistors: 10 kOhm at 25 °C negative-temperature-coefficient curves.
    // "A": Steinhart–Hart coefficients of a 10 kOhm interchangeable NTC curve
    // as commonly published in thermistor application notes.
    recipes.push_back(Thermistor("A.Rvt", "Thermistor A: 10 kOhm NTC, Steinhart-Hart curve",
                               [](double t) { return SteinhartHartOhms(1.129241e-3, 2.341077e-4, 8.775468e-8, t); }));
    recipes.push_back(Thermistor("B.Rvt", "Thermistor B: 10 kOhm NTC, B25/85 = 3977 K",
                               [](double t) { return BetaOhms(10000.0, 3977.0, t); }));
    recipes.push_back(Thermistor("C.Rvt", "Thermistor C: 10 kOhm NTC, B25/85 = 3435 K",
                               [](double t) { return BetaOhms(10000.0, 3435.0, t); }));

    // Light: a CdS cell of 20 kOhm at 10 lx, gamma 0.7; 1 to 100 000 lx,
    // twenty rows per decade. Brighter light lowers the resistance.
    {
        TableRecipe light{"L.Rvt", "Light sensor: CdS photocell, 20 kOhm at 10 lx, gamma 0.7",
                        "L  light, lux, from resistance", "       lux        ohms", "%12.3f  %12.2f", {}};
        for (int i = 0; i <= 100; ++i) {
            const double lux = std::pow(10.0, i / 20.0);
            light.points.push_back({lux, PhotocellOhms(20000.0, 0.7, lux)});
        }
        recipes.push_back(std::move(light));
    }

    // Platinum: 10 kOhm at 0 °C, IEC 60751 curve, -200 to 850 °C.
    {
        TableRecipe platinum{"P.Rvt", "Platinum RTD 10 kOhm at 0 degC, IEC 60751 (alpha 0.00385)",
                           "T  temperature, degrees C, from resistance", "   degC        ohms",
                           "%7.1f  %12.3f", {}};
        for (double t : Descending(850.0, -200.0, 5.0))
            platinum.points.push_back({t, PlatinumOhms(10000.0, t)});
        recipes.push_back(std::move(platinum));
    }

    // Thermocouples over their reference ranges. Type B is not monotonic
    // below about 40 °C, so its table steps from 50 °C straight to 0 °C.
    {
        TableRecipe b = Thermocouple("b.mvt", 'B', 1820.0, 50.0, 10.0, "(Pt-30%Rh / Pt-6%Rh), NIST ITS-90");
        b.points.push_back({0.0, ThermocoupleMillivolts('B', 0.0)});
        recipes.push_back(std::move(b));
    }
    recipes.push_back(Thermocouple("c.mvt", 'C', 2320.0, 0.0, 10.0, "(W-5%Re / W-26%Re)"));
    recipes.push_back(Thermocouple("e.mvt", 'E', 1000.0, -270.0, 5.0, "(Ni-Cr / Cu-Ni), NIST ITS-90"));
    recipes.push_back(Thermocouple("j.mvt", 'J', 1200.0, -210.0, 10.0, "(Fe / Cu-Ni), NIST ITS-90"));
    recipes.push_back(Thermocouple("k.mvt", 'K', 1370.0, -270.0, 10.0, "(Ni-Cr / Ni-Al), NIST ITS-90"));
    recipes.push_back(Thermocouple("n.mvt", 'N', 1300.0, -270.0, 10.0, "(Ni-Cr-Si / Ni-Si), NIST ITS-90"));
    recipes.push_back(Thermocouple("r.mvt", 'R', 1760.0, -50.0, 10.0, "(Pt-13%Rh / Pt), NIST ITS-90"));
    recipes.push_back(Thermocouple("s.mvt", 'S', 1760.0, -50.0, 10.0, "(Pt-10%Rh / Pt), NIST ITS-90"));
    recipes.push_back(Thermocouple("t.mvt", 'T', 400.0, -270.0, 5.0, "(Cu / Cu-Ni), NIST ITS-90"));

    // "Cold" input range: the low-temperature tables of types E, J, K, N and
    // T, one row per degree from 50 °C down to -200 °C.
    const std::pair<const char*, char> cold[] = {
        {"f.mvt", 'E'}, {"i.mvt", 'J'}, {"l.mvt", 'K'}, {"m.mvt", 'N'}, {"u.mvt", 'T'}};
    for (const auto& [name, type] : cold)
        recipes.push_back(Thermocouple(name, type, 50.0, -200.0, 1.0, "cold range, NIST ITS-90"));

    std::vector<ShippedFile> files;
    for (const TableRecipe& recipe : recipes)
        files.push_back(Render(recipe));

    // Factory graph colours: teal, lime, blue, red channels; black text;
    // teal grid; white background and border.
    files.push_back({"default.gcf", "10\r\n6\r\n4\r\n7\r\n16\r\n10\r\n1\r\n1\r\n"});
    return files;
}

} // namespace tamble::tables
