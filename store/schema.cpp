#include "store/schema.h"

#include <cstring>

namespace store {

int TableSchema::fieldPosition(const char* name) const
{
    for (size_t i = 0; i < fields.size(); ++i) {
        if (std::strcmp(fields[i].name, name) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

namespace schema {
namespace {

constexpr auto C = FieldType::Character;
constexpr auto N = FieldType::Numeric;
constexpr auto D = FieldType::Date;

// Widths hold the value ranges of the diary (schema.h); an amount takes
// four digits, the day's weight one decimal and a booked amount two (the
// piece symbols book 0.25 and 0.13).

} // namespace

const TableSchema& nrg()
{
    static const TableSchema s{"ZEB_NRG.dbf",
                               {{"NRGKAT", N, 2},
                                {"NRGNAME", C, 30},
                                {"NRGME", N, 1},
                                {"NRGENERGIE", N, kEnergyWidth},
                                {"NRGPROTEIN", N, 6, 1},
                                {"NRGKOHLENH", N, 6, 1},
                                {"NRGFETT", N, 6, 1}},
                               "NRGNAME.NDX",
                               "NRGNAME"};
    return s;
}

const TableSchema& akt()
{
    static const TableSchema s{
        "ZEB_AKT.dbf",
        {{"AKTKAT", N, 2}, {"AKTNAME", C, 30}, {"AKTME", N, 1}, {"AKTENERGIE", N, kEnergyWidth}},
        "AKTNAME.NDX",
        "AKTNAME"};
    return s;
}

const TableSchema& ntb()
{
    static const TableSchema s{"ZEB_NTB.DBF",
                               {{"NTBDATUM", D, 8},
                                {"NTBMENGE", N, 7, 2},
                                {"NTBME", C, 3},
                                {"NTBNAME", C, 30, 0, CodePage::Cp1252},
                                {"NTBENERGIE", N, kEnergyWidth},
                                {"NTBPROTEIN", N, kNutrientWidth},
                                {"NTBKOHLENH", N, kNutrientWidth},
                                {"NTBFETT", N, kNutrientWidth}},
                               nullptr,
                               nullptr,
                               "NTBDATUM",
                               false,
                               CodePage::Cp1252};
    return s;
}

const TableSchema& ftb()
{
    static const TableSchema s{"ZEB_FTB.dbf",
                               {{"FTBDATUM", D, 8},
                                {"FTBMENGE", N, kMinutesWidth},
                                {"FTBNAME", C, 30, 0, CodePage::Cp1252},
                                {"FTBENERGIE", N, kEnergyWidth}},
                               nullptr,
                               nullptr,
                               "FTBDATUM",
                               false,
                               CodePage::Cp1252};
    return s;
}

const TableSchema& zeb()
{
    static const TableSchema s{"ZEB_ZEB.dbf",
                               {{"ZEBDATUM", D, 8},
                                {"ZEBGEWICHT", N, 5, 1},
                                {"ZEBENERGIE", N, kEnergyWidth},
                                {"ZEBPROTEIN", N, kDayTotalWidth},
                                {"ZEBKOHLENH", N, kDayTotalWidth},
                                {"ZEBFETT", N, kDayTotalWidth},
                                {"ZEBFITNESS", N, kEnergyWidth}},
                               nullptr,
                               nullptr,
                               "ZEBDATUM"};
    return s;
}

const TableSchema& xtb()
{
    static const TableSchema s{"ZEB_XTB.dbf",
                               {{"XTBDATUM", D, 8},
                                {"XTBKAT", N, 2},
                                {"XTBTEXT1", C, 250},
                                {"XTBTEXT2", C, 250},
                                {"XTBTEXT3", C, 250},
                                {"XTBTEXT4", C, 250},
                                {"XTBTEXT5", C, 250},
                                {"XTBTEXT6", C, 250},
                                {"XTBTEXT7", C, 250},
                                {"XTBTEXT8", C, 250}},
                               nullptr,
                               nullptr,
                               "XTBDATUM"};
    return s;
}

const TableSchema& reg()
{
    // Small integers get six columns so that any 16-bit value fits.
    static const TableSchema s = [] {
        TableSchema t{"ZEB_REG.dbf",
                               {{"NF", N, 6},   {"SF", N, 6},   {"SZX", N, 6},  {"SBM1", N, 6}, {"SBM2", N, 6},
                                {"SBM3", N, 6}, {"AF", N, 6},   {"SZY1", N, 6}, {"SBM4", N, 6}, {"SBM5", N, 6},
                                {"SBM6", N, 6}, {"SZY2", N, 6}, {"SZY3", N, 6}, {"SZY4", N, 6}, {"SZY5", N, 6},
                                {"SZY6", N, 6}, {"SZY7", N, 6}, {"SG", N, 6},   {"CBG", N, 6},  {"CBA", N, 6},
                                {"CBB", N, 6},  {"CBH", N, 6},  {"CBM", N, 6},  {"EE", C, 6},   {"EF", C, 6},
                                {"EP", C, 6},   {"EK", C, 6},   {"EA", N, 6}}};
        t.fieldsOptional = true;
        return t;
    }();
    return s;
}

const std::vector<const TableSchema*>& all()
{
    static const std::vector<const TableSchema*> tables = {&reg(), &akt(), &nrg(), &ntb(), &ftb(), &xtb(), &zeb()};
    return tables;
}

std::vector<const char*> diaryFileNames()
{
    std::vector<const char*> names;
    for (const TableSchema* table : all()) {
        names.push_back(table->fileName);
        if (table->indexFileName)
            names.push_back(table->indexFileName);
    }
    return names;
}

} // namespace schema
} // namespace store
